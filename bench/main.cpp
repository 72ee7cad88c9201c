#include "BenchCommands.h"
#include "FindBench.h"
#include "RecordsBench.h"
#include "RecoveryBench.h"
#include "SortBench.h"

#include <QApplication>

#include <cstdio>
#include <memory>

namespace {

struct CommandSpec
{
    const char *name;
    const char *arguments;
    BenchCommand run;
    bool widgets = false; // shows a list or draws text, off screen unless a platform is set
};

// A new command is one line here and one function in BenchCommands.h.
constexpr CommandSpec kCommands[] = {
    {"gen", "N OUT.db", runGen},
    {"roundtrip", "IN.db OUT.db", runRoundtrip},
    {"import", "OLD.db OUT.db", runImport},
    {"save", "IN.db OUT.db", runSave},
    {"settings", "FILE N LENGTH", runSettings},
    {"sort", "IN.db COL DIR OUT.db", runSortBench},
    {"records", "N", runRecordsBench, true},
    {"print", "IN.db OUT.pdf", runPrint, true},
    {"preview", "IN.db", runPreview, true},
    {"find", "N", runFindBench},
    {"csv", "IN.db OUT", runCsvBench},
    {"recovery", "N", runRecoveryBench},
};

int argumentCount(const CommandSpec &spec)
{
    return int(QString::fromLatin1(spec.arguments).split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
}

int usage()
{
    std::fprintf(stderr, "usage:\n");
    for (const CommandSpec &spec : kCommands)
        std::fprintf(stderr, "  tablora-bench %s %s\n", spec.name, spec.arguments);
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.isEmpty())
        return usage();
    for (const CommandSpec &spec : kCommands) {
        if (args.first() == QLatin1String(spec.name)) {
            std::unique_ptr<QCoreApplication> app;
            if (spec.widgets) {
                if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                    qputenv("QT_QPA_PLATFORM", "offscreen");
                app = std::make_unique<QApplication>(argc, argv);
            } else {
                app = std::make_unique<QCoreApplication>(argc, argv);
            }
            if (args.size() - 1 != argumentCount(spec))
                return usage();
            return spec.run(args.mid(1));
        }
    }
    return usage();
}
