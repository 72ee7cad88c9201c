#include "GuardedTest.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// The house's rules, read off the #include lines of src/:
// - a folder includes only its own floor and the floors below it;
// - an include of another folder names it ("base/Settings.h"), so the floor
//   it reaches is visible;
// - a source of tablora_core includes no widget header, with or without its
//   module prefix (Qt's common include root would let one compile);
// - the widgets of a floor stand in its ui/ folder: every source of tablora_ui
//   lies in a ui/ folder, no core source does, and no core source includes a
//   header of one.
// And read off every source of src/, tests/, bench/ and fuzz/: no name is a
// form designer's control kind with a number ("Edit" and "2"), which says
// nothing of what the thing is, and no class is named "T...Form".
namespace {

struct Rules
{
    QString sourceRoot;
    QStringList floors; // from the ground up
    QStringList coreSources; // absolute paths
    QStringList uiSources; // absolute paths
    QStringList widgetIncludeDirs;
    QStringList nameRoots; // the folders whose sources are read for names
};

QStringList quotedIncludes(const QByteArray &text, QStringList *angled)
{
    static const QRegularExpression include(QStringLiteral(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])"),
                                            QRegularExpression::MultilineOption);
    QStringList quoted;
    for (auto it = include.globalMatch(QString::fromUtf8(text)); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        (m.captured(1) == QLatin1String("\"") ? quoted : *angled) << m.captured(2);
    }
    return quoted;
}

bool isWidgetHeader(const QString &header, const QStringList &widgetDirs)
{
    static const QStringList modules = {QStringLiteral("QtWidgets"), QStringLiteral("QtPrintSupport"),
                                        QStringLiteral("QtWebEngineWidgets"), QStringLiteral("QtOpenGLWidgets")};
    const QString module = header.section(QLatin1Char('/'), 0, 0);
    if (header.contains(QLatin1Char('/')) && modules.contains(module))
        return true;
    for (const QString &dir : widgetDirs) {
        if (QFile::exists(dir + QLatin1Char('/') + header))
            return true;
    }
    return false;
}

// Whether a path (relative to the sources, or an include) lies in a ui/ folder.
bool isInUiFolder(const QString &path)
{
    return path.split(QLatin1Char('/')).contains(QLatin1String("ui"));
}

// Every broken rule, one line each ("path: reason").
QStringList violations(const Rules &rules)
{
    QStringList found;
    const QDir root(rules.sourceRoot);
    QDirIterator it(rules.sourceRoot, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = root.relativeFilePath(path);
        const QString folder = relative.section(QLatin1Char('/'), 0, 0);
        const qsizetype floor = rules.floors.indexOf(folder);
        if (floor < 0) {
            found << relative + QStringLiteral(": folder is on no floor");
            continue;
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            found << relative + QStringLiteral(": cannot be read");
            continue;
        }
        QStringList angled;
        const QStringList quoted = quotedIncludes(file.readAll(), &angled);
        const QString absolute = QFileInfo(path).absoluteFilePath();
        const bool core = rules.coreSources.contains(absolute);
        if (core && isInUiFolder(relative))
            found << relative + QStringLiteral(": core source in a ui/ folder");
        if (rules.uiSources.contains(absolute) && !isInUiFolder(relative))
            found << relative + QStringLiteral(": widget source outside a ui/ folder");
        for (const QString &include : quoted) {
            if (core && isInUiFolder(include))
                found << relative + QStringLiteral(": core source includes \"%1\"").arg(include);
            if (!include.contains(QLatin1Char('/'))) {
                if (!QFile::exists(QFileInfo(path).dir().filePath(include)))
                    found << relative + QStringLiteral(": \"%1\" is not in its folder").arg(include);
                continue;
            }
            const QString target = include.section(QLatin1Char('/'), 0, 0);
            const qsizetype targetFloor = rules.floors.indexOf(target);
            if (targetFloor < 0)
                found << relative + QStringLiteral(": \"%1\" is on no floor").arg(include);
            else if (targetFloor > floor)
                found << relative + QStringLiteral(": \"%1\" is on a higher floor").arg(include);
        }
        if (core) {
            for (const QString &include : angled) {
                if (isWidgetHeader(include, rules.widgetIncludeDirs))
                    found << relative + QStringLiteral(": core source includes <%1>").arg(include);
            }
        }
    }
    found.sort();
    return found;
}

// A designer's control kind followed by its number. "[1]" keeps the
// pattern itself from reading as such a name.
const QRegularExpression &designerName()
{
    static const QRegularExpression name(QStringLiteral(
        R"(\b(Action[0-9]|BitBtn[0-9]|Timer[0-9]|Edit[0-9]|CheckBox[0-9]|ComboBox[0-9]|GroupBox[0-9]|)"
        R"(SpeedButton[0-9]|Label[0-9]|Panel[0-9]|RadioButton[0-9]|PageControl[0-9]|ToolButton[0-9]|)"
        R"(StatusBar[0-9]|PopupMenu[1]|Table[1]|Memo[0-9]|Image[0-9]|ProgressBar[0-9]|WebBrowser[0-9])\w*)"));
    return name;
}

const QRegularExpression &designerClass()
{
    static const QRegularExpression name(QStringLiteral(R"(\b(?:class|struct)\s+(T[A-Z]\w*Form)\b)"));
    return name;
}

// Every such name, one line each ("path:line: name"), paths relative to the
// root's parent.
QStringList designerNames(const QStringList &roots)
{
    QStringList found;
    for (const QString &rootPath : roots) {
        const QDir parent = QFileInfo(rootPath).dir();
        QDirIterator it(rootPath, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                found << parent.relativeFilePath(path) + QStringLiteral(": cannot be read");
                continue;
            }
            const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
            for (qsizetype i = 0; i < lines.size(); ++i) {
                const QString where = parent.relativeFilePath(path) + QLatin1Char(':') + QString::number(i + 1);
                for (auto m = designerName().globalMatch(lines[i]); m.hasNext();)
                    found << where + QStringLiteral(": ") + m.next().captured(0);
                for (auto m = designerClass().globalMatch(lines[i]); m.hasNext();)
                    found << where + QStringLiteral(": class ") + m.next().captured(1);
            }
        }
    }
    found.sort();
    return found;
}

Rules projectRules()
{
    QHash<QString, QString> values;
    QFile file(QStringLiteral(TABLORA_ARCHITECTURE));
    if (file.open(QIODevice::ReadOnly)) {
        for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')))
            values.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1));
    }
    const auto list = [&](const char *key) {
        return values.value(QLatin1String(key)).split(QLatin1Char(','), Qt::SkipEmptyParts);
    };
    Rules rules;
    rules.sourceRoot = values.value(QStringLiteral("sources"));
    rules.floors = list("floors");
    rules.nameRoots = list("names");
    for (const QString &source : list("core"))
        rules.coreSources << QFileInfo(source).absoluteFilePath();
    for (const QString &source : list("ui"))
        rules.uiSources << QFileInfo(source).absoluteFilePath();
    // The widget modules' own folders; their dependencies' folders come along.
    for (const QString &dir : list("widgets")) {
        const QString module = QFileInfo(dir).fileName();
        if (module == QLatin1String("QtWidgets") || module == QLatin1String("QtPrintSupport"))
            rules.widgetIncludeDirs << dir;
    }
    return rules;
}

} // namespace

class ArchitectureTest : public QObject
{
    Q_OBJECT

private slots:
    void theHouseKeepsItsRules();
    void brokenRulesAreFound_data();
    void brokenRulesAreFound();
    void namesSayWhatTheyAre();
    void designerNamesAreFound_data();
    void designerNamesAreFound();
};

void ArchitectureTest::theHouseKeepsItsRules()
{
    const Rules rules = projectRules();
    QVERIFY(rules.floors.size() > 1);
    QVERIFY(rules.coreSources.size() > 10);
    QVERIFY(rules.uiSources.size() > 10);
    QVERIFY(!rules.widgetIncludeDirs.isEmpty());
    const QStringList broken = violations(rules);
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QLatin1Char('\n'))));
}

void ArchitectureTest::brokenRulesAreFound_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("library"); // "core", "ui" or none
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("violation");

    const QString core = QStringLiteral("core");
    const QString ui = QStringLiteral("ui");
    QTest::newRow("own floor") << "lower/A.cpp" << core << QByteArray("#include \"lower/B.h\"\n") << QString();
    QTest::newRow("floor below") << "upper/ui/A.cpp" << ui << QByteArray("#include \"lower/B.h\"\n") << QString();
    QTest::newRow("floor above") << "lower/A.cpp" << QString() << QByteArray("#include \"upper/C.h\"\n")
                                 << "lower/A.cpp: \"upper/C.h\" is on a higher floor";
    QTest::newRow("unqualified other folder") << "lower/A.cpp" << QString() << QByteArray("#include \"C.h\"\n")
                                              << "lower/A.cpp: \"C.h\" is not in its folder";
    QTest::newRow("widget with module") << "lower/A.cpp" << core << QByteArray("#include <QtWidgets/QWidget>\n")
                                        << "lower/A.cpp: core source includes <QtWidgets/QWidget>";
    QTest::newRow("widget by class") << "lower/A.cpp" << core << QByteArray("  #  include <QDialog>\n")
                                     << "lower/A.cpp: core source includes <QDialog>";
    QTest::newRow("widget in the UI") << "lower/ui/A.cpp" << ui << QByteArray("#include <QDialog>\n") << QString();
    QTest::newRow("core header") << "lower/A.cpp" << core << QByteArray("#include <QString>\n") << QString();
    QTest::newRow("widget outside ui/") << "lower/A.cpp" << ui << QByteArray()
                                        << "lower/A.cpp: widget source outside a ui/ folder";
    QTest::newRow("core in ui/") << "lower/ui/A.cpp" << core << QByteArray()
                                 << "lower/ui/A.cpp: core source in a ui/ folder";
    QTest::newRow("core includes a ui/ header") << "upper/A.cpp" << core << QByteArray("#include \"lower/ui/D.h\"\n")
                                                << "upper/A.cpp: core source includes \"lower/ui/D.h\"";
}

void ArchitectureTest::brokenRulesAreFound()
{
    QFETCH(QString, file);
    QFETCH(QString, library);
    QFETCH(QByteArray, text);
    QFETCH(QString, violation);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("lower/ui")));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("upper/ui")));
    for (const QString &name :
         {QStringLiteral("lower/B.h"), QStringLiteral("upper/C.h"), QStringLiteral("lower/ui/D.h"), file}) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(name == file ? text : QByteArray());
    }
    Rules rules = projectRules();
    rules.sourceRoot = dir.path();
    rules.floors = {QStringLiteral("lower"), QStringLiteral("upper")};
    rules.coreSources = {};
    rules.uiSources = {};
    const QString absolute = QFileInfo(dir.filePath(file)).absoluteFilePath();
    if (library == QLatin1String("core"))
        rules.coreSources << absolute;
    else if (library == QLatin1String("ui"))
        rules.uiSources << absolute;

    QCOMPARE(violations(rules), violation.isEmpty() ? QStringList() : QStringList{violation});
}

void ArchitectureTest::namesSayWhatTheyAre()
{
    const Rules rules = projectRules();
    QCOMPARE(rules.nameRoots.size(), 4);
    const QStringList found = designerNames(rules.nameRoots);
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

// Each kind of designer name is caught, written as a member, a call, an
// object name or in a comment; names that only contain a kind are not. The
// samples are put together at run time, so that this file holds none.
void ArchitectureTest::designerNamesAreFound_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("found"); // empty: nothing is found

    const char *kinds[] = {"Action",      "BitBtn", "Timer", "Edit",        "CheckBox",    "ComboBox",   "GroupBox",
                           "SpeedButton", "Label",  "Panel", "RadioButton", "PageControl", "ToolButton", "StatusBar",
                           "PopupMenu",   "Table",  "Memo",  "Image",       "ProgressBar", "WebBrowser"};
    const auto found = [](int line, const QByteArray &name) {
        return QStringLiteral("A.h:%1: ").arg(line) + QString::fromLatin1(name);
    };
    for (const char *kind : kinds) {
        const QByteArray name = QByteArray(kind) + '1';
        QTest::newRow(kind) << "    QWidget *" + name + ";\n" << found(1, name);
    }
    const QByteArray handler = QByteArray("Action") + "48Execute";
    QTest::newRow("handler") << "void " + handler + "();\n" << found(1, handler);
    const QByteArray button = QByteArray("BitBtn") + "7";
    QTest::newRow("object name") << "\n    b->setObjectName(\"" + button + "\");\n" << found(2, button);
    const QByteArray edit = QByteArray("Edit") + "1";
    QTest::newRow("comment") << "// " + edit + " to 8: the titles\n" << found(1, edit);
    const QByteArray mainForm = QByteArray("T") + "MainForm";
    QTest::newRow("designer class") << "class " + mainForm + " : public QMainWindow\n" << found(1, "class " + mainForm);
    const QByteArray editForm = QByteArray("T") + "EditForm";
    QTest::newRow("designer struct") << "struct " + editForm + ";\n" << found(1, "class " + editForm);

    QTest::newRow("kind inside a name") << QByteArray("QLineEdit *m_columnEdit1; QTimer m_loadTimer;\n") << QString();
    QTest::newRow("kind without a number") << QByteArray("QAction *action; QLabel *fontLabel;\n") << QString();
    QTest::newRow("class of another name") << QByteArray("class MainWindow; class TableFormat;\n") << QString();
}

void ArchitectureTest::designerNamesAreFound()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, found);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("src")));
    QFile f(dir.filePath(QStringLiteral("src/A.h")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.close();

    const QStringList expected = found.isEmpty() ? QStringList() : QStringList{QStringLiteral("src/") + found};
    QCOMPARE(designerNames({dir.filePath(QStringLiteral("src"))}), expected);
}

TABLORA_GUILESS_TEST_MAIN(ArchitectureTest)
#include "tst_architecture.moc"
