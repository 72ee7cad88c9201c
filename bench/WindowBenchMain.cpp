#include "BenchMain.h"
#include "PhaseTimes.h"
#include "RecordsBench.h"
#include "RecoveryBench.h"
#include "app/ui/ProgramStart.h"
#include "app/ui/QtDesktopServices.h"
#include "app/ui/TabloraApplication.h"
#include "base/Counts.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <iterator>

namespace {

// For commands that show a list or draw text: off screen unless a platform
// is set.
std::unique_ptr<QCoreApplication> widgetsApplication(int &argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
}

// The commands that need the window library besides `phases`.
constexpr CommandSpec kCommands[] = {
    {"records", "N", runRecordsBench, widgetsApplication},
    {"print", "IN.db OUT.pdf", runPrint, widgetsApplication},
    {"preview", "IN.db", runPreview, widgetsApplication},
    {"recovery", "N", runRecoveryBench},
};

// `tablora-window-bench phases COLUMN FILE.db`: the program as it starts,
// from the folder beside this executable, with FILE.db, its phases timed
// (PhaseTimes); sorts by COLUMN, saves over FILE.db and ends.
int runPhases(int argc, char *argv[])
{
    char *end = nullptr;
    const long column = std::strtol(argv[2], &end, 10);
    if (*end != '\0' || column < 0 || column >= kColumnCount) {
        std::fprintf(stderr, "usage: tablora-window-bench phases COLUMN FILE.db  (COLUMN 0-7)\n");
        return 2;
    }
    PhaseTimes timings{int(column)};
    TabloraApplication app(argc, argv);
    QtDesktopServices desktop;
    ProgramStart start(app, desktop);
    if (!start.prepare())
        return 1;
    timings.attach(start.makeWindow({QString::fromLocal8Bit(argv[3])}));
    if (!start.login())
        return 1;
    timings.loginDone();
    return start.run();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 4 && std::strcmp(argv[1], "phases") == 0)
        return runPhases(argc, argv);
    const int code = runBenchCommand(argc, argv, "tablora-window-bench", std::begin(kCommands), std::end(kCommands));
    if (code == 2)
        std::fprintf(stderr, "  tablora-window-bench phases COLUMN FILE.db\n");
    return code;
}
