#include "RecordsBench.h"

#include "SampleTable.h"
#include "app/ui/QtDesktopServices.h"
#include "app/ui/RecordListView.h"
#include "base/ProgramDir.h"
#include "base/Settings.h"
#include "document/Document.h"
#include "document/DocumentView.h"
#include "records/RecordAnchor.h"
#include "records/RecordCommands.h"
#include "records/RecordHistory.h"
#include "records/SortCommands.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace {

// The Qt desktop with every question answered Yes and no message shown; the
// clipboard is the real one.
class AnsweringDesktop : public QtDesktopServices
{
public:
    Answer ask(const QString &, const QString &, Icon, Buttons) override { return Answer::Yes; }
    void showMessage(const QString &, const QString &, Icon) override {}
    void beep() override {}
};

class TitleOnlyView : public DocumentView
{
public:
    void updateTitle() override {}
    void updateRecentFiles() override {}
    bool reopenVisible(int) const override { return false; }
    QString applicationTitle() const override { return QStringLiteral("Tablora 1.5"); }
};

double medianMs(std::vector<qint64> ns)
{
    std::sort(ns.begin(), ns.end());
    return double(ns[ns.size() / 2]) / 1e6;
}

} // namespace

int runRecordsBench(const QStringList &args)
{
    QTextStream out(stdout);
    bool ok = false;
    const int count = args.value(0).toInt(&ok);
    if (!ok || count < 10) {
        QTextStream(stderr) << "usage: tablora-bench records N  (N at least 10)\n";
        return 2;
    }

    QTemporaryDir dir; // settings of their own: the administrator needs no right keys
    QDir(dir.path()).mkpath(QStringLiteral("data")); // the sort column is stored there
    Settings settings{ProgramDir(dir.path())};
    Document document;
    document.setRole(QStringLiteral("admin"));
    document.model().replaceTable(sampleTable(count));
    RecordListView view(&document.model());
    view.resize(770, 480);
    view.show();
    AnsweringDesktop desktop;
    TitleOnlyView titles;
    RecordHistory history(document, settings, *view.selectionModel());
    RecordCommands commands(document, settings, desktop, titles, *view.selectionModel(), history);
    int resets = 0;
    QObject::connect(&document.model(), &QAbstractItemModel::modelReset, [&] { ++resets; });

    const auto selectMiddle = [&] {
        view.selectRow(document.model().recordCount() / 2);
        QCoreApplication::processEvents();
    };
    // One run: the set-up untimed, then the command and the list's update.
    const auto time = [&](const std::function<void()> &setUp, const std::function<void()> &command) {
        setUp();
        QElapsedTimer timer;
        timer.start();
        command();
        QCoreApplication::processEvents();
        view.viewport()->repaint();
        return timer.nsecsElapsed();
    };
    const auto report = [&](const char *name, int runs, const std::function<void()> &setUp,
                            const std::function<void()> &command) {
        std::vector<qint64> ns;
        for (int i = 0; i < runs; ++i)
            ns.push_back(time(setUp, command));
        out << name << "_ms " << QString::number(medianMs(ns), 'f', 3) << '\n';
        out.flush();
    };

    out << "records " << count << '\n';
    selectMiddle();
    const Record sample = document.model().table().record(count / 2);
    const auto nothing = [] {};
    report("add", 5, nothing, [&] { commands.appendRecord(sample.cells()); });
    std::unique_ptr<RecordAnchor> edited; // the record an edit dialog was opened on
    const auto openEdit = [&] {
        selectMiddle();
        edited.reset(commands.anchorRecord(document.model().recordCount() / 2, nullptr));
    };
    report("edit", 5, openEdit, [&] { commands.writeRecord(*edited, sample.cells()); });
    edited.reset();
    report("delete", 5, selectMiddle, [&] { commands.deleteRecord(); });
    report("cut", 5, selectMiddle, [&] { commands.cutRecord(); });
    report("paste", 5, nothing, [&] { commands.pasteRecord(); });
    report("titles", 5, nothing, [&] { commands.setTitles(commands.titles(), commands.tableNumber()); });
    const int beforeClear = document.model().recordCount();
    report("clear", 1, nothing, [&] { commands.clearAll(); });
    const bool cleared = document.model().recordCount() == 0;
    report("undo_clear", 1, nothing, [&] { history.undo(); });
    report("redo_clear", 1, nothing, [&] { history.redo(); });
    report("undo_clear_again", 1, nothing, [&] { history.undo(); });
    SortCommands sort(document.model(), settings, desktop, history);
    sort.chooseColumn(1);
    const Record first = document.model().table().record(0);
    report("sort", 1, nothing, [&] { sort.resort(); });
    report("undo_sort", 1, nothing, [&] { history.undo(); });
    out << "resets " << resets << '\n';
    out.flush();
    const bool restored = document.model().recordCount() == beforeClear && document.model().table().record(0) == first;
    return cleared && restored ? 0 : 1;
}
