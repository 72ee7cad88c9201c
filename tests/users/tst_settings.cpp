#include "GuardedTest.h"
#include "base/ProfileFile.h"
#include "base/ProgramDir.h"
#include "base/SettingKeys.h"
#include "base/Settings.h"
#include "base/SettingsBatch.h"
#include "base/TabloraError.h"
#include "base/Windows1251.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(TextKey)
Q_DECLARE_METATYPE(IntKey)
Q_DECLARE_METATYPE(BoolKey)
Q_DECLARE_METATYPE(SettingsFile)

namespace {

QByteArray cp1251(const QString &text)
{
    return Windows1251::encode(text);
}

} // namespace

class SettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void readString_data();
    void readString();
    void readDefaultWithoutFile();
    void readCutsLongText();
    void readInteger_data();
    void readInteger();
    void readBool_data();
    void readBool();

    void write_data();
    void write();
    void writeTypedValues();
    void writeCyrillicAsWindows1251();
    void writeCreatesFileButNotFolder();
    void refusedWrite_data();
    void refusedWrite();
    void unreadableFileIsNotReplaced();
    void valuesThatReadBackExactly_data();
    void valuesThatReadBackExactly();
    void everyAccessGoesToDisk();
    void batchEqualsOneWriteAfterAnother_data();
    void batchEqualsOneWriteAfterAnother();
    void refusedBatchWritesNothing_data();
    void refusedBatchWritesNothing();
    void otherDatIsCreatedForItsOwnerOnly();
    void batchOverTwoFilesSaysWhatWasWritten();

    void keyIndex_data();
    void keyIndex();
    void readersWithDifferentDefaultsAgreeOnStoredValue();
    void settingsFilesBesideProgram();

private:
    QString path(const QString &relative = QStringLiteral("test.ini")) const;
    void put(const QByteArray &bytes, const QString &relative = QStringLiteral("test.ini")) const;
    QByteArray contents(const QString &relative = QStringLiteral("test.ini")) const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void SettingsTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString SettingsTest::path(const QString &relative) const
{
    return m_dir->filePath(relative);
}

void SettingsTest::put(const QByteArray &bytes, const QString &relative) const
{
    QFile f(path(relative));
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray SettingsTest::contents(const QString &relative) const
{
    QFile f(path(relative));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return f.readAll();
}

// ---- reading ---------------------------------------------------------------

void SettingsTest::readString_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected"); // the default is "Left"

    const QString g = QStringLiteral("General");
    const QString a = QStringLiteral("Align");

    QTest::newRow("plain") << QByteArray("[General]\r\nAlign=Center\r\n") << g << a << "Center";
    QTest::newRow("names any case") << QByteArray("[gENERAL]\r\nALIGN=Center\r\n") << g << a << "Center";
    QTest::newRow("cyrillic names any case") << cp1251(QStringLiteral("[Раздел Ёж]\r\nИмя Ключа=x\r\n"))
                                             << QStringLiteral("рАЗДЕЛ ёЖ") << QStringLiteral("иМЯ кЛЮЧА") << "x";
    QTest::newRow("cyrillic letters differ") << cp1251(QStringLiteral("[Раздел]\r\nКлюч=x\r\n"))
                                             << QStringLiteral("Раздел") << QStringLiteral("Клюк") << "Left";
    QTest::newRow("space tab vt trimmed")
        << QByteArray(" \t\v[ \tGeneral\v ] \r\n \t Align \v=\t Center \v\r\n") << g << a << "Center";
    const QByteArray nbsp(1, '\xA0');
    QTest::newRow("no-break space kept in value") << "[General]\r\nAlign=" + nbsp + "Center" + nbsp + "\r\n"
                                                  << g << a << "\u00A0Center\u00A0";
    QTest::newRow("no-break space kept in name") << QByteArray("[General]\r\nAlign\xA0=Center\r\n") << g << a << "Left";
    QTest::newRow("double quotes removed")
        << QByteArray("[General]\r\nAlign=\"  Center \"\r\n") << g << a << "  Center ";
    QTest::newRow("single quotes removed") << QByteArray("[General]\r\nAlign='x y'\r\n") << g << a << "x y";
    QTest::newRow("one pair only") << QByteArray("[General]\r\nAlign=\"\"x\"\"\r\n") << g << a << "\"x\"";
    QTest::newRow("empty quotes") << QByteArray("[General]\r\nAlign=\"\"\r\n") << g << a << "";
    QTest::newRow("mismatched quotes kept") << QByteArray("[General]\r\nAlign=\"x'\r\n") << g << a << "\"x'";
    QTest::newRow("lone quote kept") << QByteArray("[General]\r\nAlign=\"\r\n") << g << a << "\"";
    QTest::newRow("inner quotes kept") << QByteArray("[General]\r\nAlign=a\"b\"\r\n") << g << a << "a\"b\"";
    QTest::newRow("comment line skipped")
        << QByteArray("[General]\r\n;Align=Right\r\nAlign=Center\r\n") << g << a << "Center";
    QTest::newRow("indented comment") << QByteArray("[General]\r\n \t;Align=Right\r\n") << g << a << "Left";
    QTest::newRow("commented section") << QByteArray(";[General]\r\nAlign=Right\r\n") << g << a << "Left";
    QTest::newRow("no inline comment") << QByteArray("[General]\r\nAlign=Center ; note\r\n") << g << a
                                       << "Center ; note";
    QTest::newRow("split at first equals") << QByteArray("[General]\r\nAlign==a=b\r\n") << g << a << "=a=b";
    QTest::newRow("empty value is a value") << QByteArray("[General]\r\nAlign=\r\n") << g << a << "";
    QTest::newRow("blank value is empty") << QByteArray("[General]\r\nAlign= \t \r\n") << g << a << "";
    QTest::newRow("line without equals") << QByteArray("[General]\r\nAlign\r\n") << g << a << "Left";
    QTest::newRow("first duplicate key wins")
        << QByteArray("[General]\r\nAlign=Center\r\nalign=Right\r\n") << g << a << "Center";
    QTest::newRow("first duplicate section wins")
        << QByteArray("[General]\r\nAlign=Center\r\n[GENERAL]\r\nAlign=Right\r\n") << g << a << "Center";
    QTest::newRow("later duplicate section not consulted")
        << QByteArray("[General]\r\nX=1\r\n[General]\r\nAlign=Right\r\n") << g << a << "Left";
    QTest::newRow("key of another section") << QByteArray("[Font]\r\nAlign=Right\r\n[General]\r\n") << g << a << "Left";
    QTest::newRow("key before any section") << QByteArray("Align=Right\r\n[General]\r\n") << g << a << "Left";
    QTest::newRow("name runs to first bracket") << QByteArray("[General]x]\r\nAlign=Right\r\n") << g << a << "Right";
    QTest::newRow("header without bracket") << QByteArray("[ General \r\nAlign=Right\r\n") << g << a << "Right";
    QTest::newRow("bracket line with equals is a header")
        << QByteArray("[General]\r\n[Other=x\r\nAlign=Right\r\n") << g << a << "Left";
    QTest::newRow("bracket line is no key")
        << QByteArray("[General]\r\n[Align]=Right\r\n") << g << QStringLiteral("[Align]") << "Left";
    QTest::newRow("LF lines") << QByteArray("[General]\nX=1\nAlign=Center\nY=2") << g << a << "Center";
    QTest::newRow("CR lines") << QByteArray("[General]\rX=1\rAlign=Center\rY=2") << g << a << "Center";
    QTest::newRow("mixed lines") << QByteArray("\n\r[General]\r\r\n\n\rAlign=Center\r") << g << a << "Center";
    QTest::newRow("last line without ending") << QByteArray("[General]\r\nAlign=Center") << g << a << "Center";
    QTest::newRow("missing section") << QByteArray("[Font]\r\nName=Arial\r\n") << g << a << "Left";
    QTest::newRow("missing key") << QByteArray("[General]\r\nAlignment=Right\r\n") << g << a << "Left";
    QTest::newRow("empty file") << QByteArray() << g << a << "Left";
}

void SettingsTest::readString()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    put(file);
    QCOMPARE(ProfileFile(path()).readString(section, key, QStringLiteral("Left")), expected);
}

void SettingsTest::readDefaultWithoutFile()
{
    const ProfileFile missing(path(QStringLiteral("none/config.ini")));
    QCOMPARE(missing.readString("A", "B", "Left  "), QStringLiteral("Left"));
    QCOMPARE(missing.readString("A", "B", "\tx y \t  "), QStringLiteral("\tx y \t"));
    QCOMPARE(missing.readString("A", "B", "   "), QString());
    QCOMPARE(missing.readInteger("A", "B", -3), -3);
    QCOMPARE(missing.readBool("A", "B", true), true);
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("none"))));
}

void SettingsTest::readCutsLongText()
{
    const QString longText(3000, QLatin1Char('x'));
    const QString exact = QString(2046, QLatin1Char('y')) + QLatin1Char('z');
    put("[S]\r\nlong=" + longText.toLatin1() + "\r\nexact=" + exact.toLatin1() + "\r\nquoted=\"" + exact.toLatin1()
        + "\"\r\n");
    const ProfileFile f(path());
    QCOMPARE(f.readString("S", "long", ""), longText.first(ProfileFile::MaxTextLength));
    QCOMPARE(f.readString("S", "exact", ""), exact);
    QCOMPARE(f.readString("S", "quoted", ""), exact);
    QCOMPARE(f.readString("S", "missing", longText), longText.first(ProfileFile::MaxTextLength));
}

void SettingsTest::readInteger_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("expected"); // the default is 7

    QTest::newRow("decimal") << QByteArray("770") << 770;
    QTest::newRow("negative") << QByteArray("-1") << -1;
    QTest::newRow("plus sign") << QByteArray("+5") << 5;
    QTest::newRow("blanks around") << QByteArray(" \t12\v ") << 12;
    QTest::newRow("quoted") << QByteArray("\"12\"") << 12;
    QTest::newRow("hex 0x") << QByteArray("0x1F") << 31;
    QTest::newRow("hex 0X lower digits") << QByteArray("0X1f") << 31;
    QTest::newRow("hex dollar") << QByteArray("$10") << 16;
    QTest::newRow("0x alone") << QByteArray("0x") << 7;
    QTest::newRow("0x then sign") << QByteArray("0x-1") << 7;
    QTest::newRow("zero") << QByteArray("0") << 0;
    QTest::newRow("largest") << QByteArray("2147483647") << 2147483647;
    QTest::newRow("smallest") << QByteArray("-2147483648") << int(-2147483648LL);
    QTest::newRow("overflow") << QByteArray("2147483648") << 7;
    QTest::newRow("trailing text") << QByteArray("12abc") << 7;
    QTest::newRow("fraction") << QByteArray("1.5") << 7;
    QTest::newRow("word") << QByteArray("Yes") << 7;
    QTest::newRow("empty") << QByteArray("") << 7;
    QTest::newRow("no-break space") << QByteArray(1, '\xA0') + "12" << 7;
}

void SettingsTest::readInteger()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, expected);
    put("[Window]\r\nWidth=" + stored + "\r\n");
    const ProfileFile f(path());
    QCOMPARE(f.readInteger("Window", "Width", 7), expected);
    QCOMPARE(f.readInteger("Window", "Height", 7), 7);
}

void SettingsTest::readBool_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("defaultValue");
    QTest::addColumn<bool>("expected");

    QTest::newRow("1") << QByteArray("1") << false << true;
    QTest::newRow("0") << QByteArray("0") << true << false;
    QTest::newRow("2 is true") << QByteArray("2") << false << true;
    QTest::newRow("negative is true") << QByteArray("-1") << false << true;
    QTest::newRow("hex zero") << QByteArray("0x0") << true << false;
    QTest::newRow("true gives default true") << QByteArray("true") << true << true;
    QTest::newRow("true gives default false") << QByteArray("true") << false << false;
    QTest::newRow("Yes gives default") << QByteArray("Yes") << false << false;
    QTest::newRow("empty gives default") << QByteArray("") << true << true;
}

void SettingsTest::readBool()
{
    QFETCH(QByteArray, stored);
    QFETCH(bool, defaultValue);
    QFETCH(bool, expected);
    put("[Run]\r\nFirst=" + stored + "\r\n");
    const ProfileFile f(path());
    QCOMPARE(f.readBool("Run", "First", defaultValue), expected);
    QCOMPARE(f.readBool("Run", "Other", defaultValue), defaultValue);
}

// ---- writing ---------------------------------------------------------------

void SettingsTest::write_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    const QString g = QStringLiteral("General");
    const QString a = QStringLiteral("Align");

    QTest::newRow("only the key line changes")
        << QByteArray("; head\r\n\r\n[General]\r\nSave=1\n \t aLiGn \v= Right ; "
                      "x\r\n\r\n;tail\r[Font]\r\nName=Arial")
        << g << a << "Center"
        << QByteArray("; head\r\n\r\n[General]\r\nSave=1\naLiGn=Center\r\n\r\n;tail\r[Font]\r\nName=Arial");
    QTest::newRow("key line keeps its LF") << QByteArray("[General]\nAlign=Right\nX=1\n") << g << a << "Left"
                                           << QByteArray("[General]\nAlign=Left\nX=1\n");
    QTest::newRow("key line keeps its CR") << QByteArray("[General]\rAlign=Right\rX=1\r") << g << a << "Left"
                                           << QByteArray("[General]\rAlign=Left\rX=1\r");
    QTest::newRow("last key line gets its ending")
        << QByteArray("[General]\r\nAlign=Right") << g << a << "Left" << QByteArray("[General]\r\nAlign=Left\r\n");
    QTest::newRow("header without bracket")
        << QByteArray("[General\r\nX=1\r\n") << g << a << "Left" << QByteArray("[General\r\nX=1\r\nAlign=Left\r\n");
    QTest::newRow("names written trimmed") << QByteArray() << QStringLiteral(" Main\t") << QStringLiteral(" Key ")
                                           << "v" << QByteArray("[Main]\r\nKey=v\r\n");
    QTest::newRow("names matched trimmed") << QByteArray("[Main]\r\nKey=1\r\n") << QStringLiteral(" Main ")
                                           << QStringLiteral("\tKey ") << "2" << QByteArray("[Main]\r\nKey=2\r\n");
    QTest::newRow("file spelling of section and key") << QByteArray("[ gENERAL ]\r\nALIGN=Right\r\n") << g << a
                                                      << "Left" << QByteArray("[ gENERAL ]\r\nALIGN=Left\r\n");
    QTest::newRow("cyrillic names any case")
        << cp1251(QStringLiteral("[Раздел]\r\nКЛЮЧ=1\r\n")) << QStringLiteral("рАЗДЕЛ") << QStringLiteral("ключ") << "2"
        << cp1251(QStringLiteral("[Раздел]\r\nКЛЮЧ=2\r\n"));
    QTest::newRow("first of duplicate keys") << QByteArray("[General]\r\nAlign=1\r\nAlign=2\r\n") << g << a << "3"
                                             << QByteArray("[General]\r\nAlign=3\r\nAlign=2\r\n");
    QTest::newRow("first of duplicate sections")
        << QByteArray("[General]\r\nX=1\r\n[Font]\r\n[general]\r\nAlign=2\r\n") << g << a << "3"
        << QByteArray("[General]\r\nX=1\r\nAlign=3\r\n[Font]\r\n[general]\r\nAlign=2\r\n");
    QTest::newRow("new key after last key line")
        << QByteArray("[General]\r\nX=1\r\n;comment\r\n\r\n[Font]\r\n") << g << a << "Left"
        << QByteArray("[General]\r\nX=1\r\nAlign=Left\r\n;comment\r\n\r\n[Font]\r\n");
    QTest::newRow("new key after LF line") << QByteArray("[General]\nX=1\n\n[Font]\n") << g << a << "Left"
                                           << QByteArray("[General]\nX=1\nAlign=Left\r\n\n[Font]\n");
    QTest::newRow("new key passes lines without equals")
        << QByteArray("[General]\r\nX=1\r\njunk\r\n") << g << a << "Left"
        << QByteArray("[General]\r\nX=1\r\nAlign=Left\r\njunk\r\n");
    QTest::newRow("new key under bare header") << QByteArray("[General]\r\n;Align=Right\r\n[Font]") << g << a << "Left"
                                               << QByteArray("[General]\r\nAlign=Left\r\n;Align=Right\r\n[Font]");
    QTest::newRow("new key after unended last line")
        << QByteArray("[General]\r\nX=1") << g << a << "Left" << QByteArray("[General]\r\nX=1\r\nAlign=Left\r\n");
    QTest::newRow("new key after unended header")
        << QByteArray("[General]") << g << a << "Left" << QByteArray("[General]\r\nAlign=Left\r\n");
    QTest::newRow("key before any section untouched") << QByteArray("Align=Right\r\n[General]\r\n") << g << a << "Left"
                                                      << QByteArray("Align=Right\r\n[General]\r\nAlign=Left\r\n");
    QTest::newRow("new section at end") << QByteArray("[Font]\r\nName=Arial\r\n\r\n") << g << a << "Left"
                                        << QByteArray("[Font]\r\nName=Arial\r\n\r\n[General]\r\nAlign=Left\r\n");
    QTest::newRow("new section adds CR LF") << QByteArray("[Font]\r\nName=Arial") << g << a << "Left"
                                            << QByteArray("[Font]\r\nName=Arial\r\n[General]\r\nAlign=Left\r\n");
    QTest::newRow("new section after LF") << QByteArray("[Font]\nName=Arial\n") << g << a << "Left"
                                          << QByteArray("[Font]\nName=Arial\n[General]\r\nAlign=Left\r\n");
    QTest::newRow("new section after CR") << QByteArray("[Font]\rName=Arial\r") << g << a << "Left"
                                          << QByteArray("[Font]\rName=Arial\r[General]\r\nAlign=Left\r\n");
    QTest::newRow("new section in empty file")
        << QByteArray() << g << a << "Left" << QByteArray("[General]\r\nAlign=Left\r\n");
    QTest::newRow("value written as given") << QByteArray("[General]\r\nAlign=Right\r\n") << g << a << " \"q\" ; =x\t"
                                            << QByteArray("[General]\r\nAlign= \"q\" ; =x\t\r\n");
    QTest::newRow("empty value") << QByteArray("[General]\r\nAlign=Right\r\n") << g << a << ""
                                 << QByteArray("[General]\r\nAlign=\r\n");
}

void SettingsTest::write()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    put(before);
    ProfileFile f(path());
    f.writeString(section, key, value);
    QCOMPARE(contents(), after);
    QCOMPARE(f.readString(section, key, QStringLiteral("default")), value.trimmed());
}

void SettingsTest::writeTypedValues()
{
    ProfileFile f(path());
    f.writeInteger("Window", "Left", -76);
    f.writeInteger("Window", "Width", 770);
    f.writeBool("Run", "First", false);
    f.writeBool("Enter", "QuestionOnStart", true);
    QCOMPARE(contents(),
             QByteArray("[Window]\r\nLeft=-76\r\nWidth=770\r\n[Run]\r\nFirst=0\r\n"
                        "[Enter]\r\nQuestionOnStart=1\r\n"));
    QCOMPARE(f.readInteger("Window", "Left", 0), -76);
    QCOMPARE(f.readBool("Run", "First", true), false);
    QCOMPARE(f.readBool("Enter", "QuestionOnStart", false), true);
}

void SettingsTest::writeCyrillicAsWindows1251()
{
    ProfileFile f(path());
    const QString value = QStringLiteral("Иванов Ёж №5 «ы»");
    f.writeString(QStringLiteral("Users"), QStringLiteral("Login1"), value);
    f.writeString(QStringLiteral("Users"), QStringLiteral("Login2"), QStringLiteral("日本"));
    QCOMPARE(contents(),
             QByteArray("[Users]\r\nLogin1=\xC8\xE2\xE0\xED\xEE\xE2 \xA8\xE6 \xB9"
                        "5 \xAB\xFB\xBB\r\nLogin2=??\r\n"));
    QCOMPARE(f.readString(QStringLiteral("users"), QStringLiteral("LOGIN1"), QString()), value);
}

void SettingsTest::writeCreatesFileButNotFolder()
{
    ProfileFile created(path(QStringLiteral("new.ini")));
    created.writeString("S", "K", "V");
    QCOMPARE(contents(QStringLiteral("new.ini")), QByteArray("[S]\r\nK=V\r\n"));

    ProfileFile nested(path(QStringLiteral("data/config.ini")));
    QVERIFY_THROWS_EXCEPTION(TabloraError, nested.writeString("S", "K", "V"));
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("data"))));
}

void SettingsTest::refusedWrite_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("reason"); // after the path, when the system gave one

    const QString v = QStringLiteral("v");
    const QString file = QStringLiteral("test.ini");
    QTest::newRow("folder missing") << QStringLiteral("missing/config.ini") << v
                                    << QStringLiteral(". No such file or directory");
    QTest::newRow("parent is a file") << QStringLiteral("plain/config.ini") << v << QStringLiteral(". Not a directory");
    QTest::newRow("path is a folder") << QStringLiteral("folder") << v << QStringLiteral(". Is a directory");
    QTest::newRow("value with CR LF") << file << QStringLiteral("a\r\n[Injected]\r\nk=v") << QString();
    QTest::newRow("value with LF") << file << QStringLiteral("a\nk=v") << QString();
    QTest::newRow("value with CR") << file << QStringLiteral("a\rk=v") << QString();
}

void SettingsTest::refusedWrite()
{
    QFETCH(QString, relative);
    QFETCH(QString, value);
    QFETCH(QString, reason);
    const QByteArray before("[S]\r\nK=old\r\n");
    put(before);
    put("not a folder", QStringLiteral("plain"));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder")));

    ProfileFile f(path(relative));
    try {
        f.writeString("S", "K", value);
        QFAIL("the write was not refused");
    } catch (const TabloraError &e) {
        QCOMPARE(e.message(),
                 QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(path(relative)) + reason);
    }
    QCOMPARE(contents(), before);
    QCOMPARE(contents(QStringLiteral("plain")), QByteArray("not a folder"));
    QVERIFY(QFileInfo(path(QStringLiteral("folder"))).isDir());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList({"folder", "plain", "test.ini"}));
}

void SettingsTest::unreadableFileIsNotReplaced()
{
    // A settings file far larger than any real one is not read, by root
    // either, while a write could still replace it. Sparse, it costs nothing.
    constexpr qint64 size = 256 * 1024 * 1024;
    QFile huge(path());
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(size));
    huge.close();

    ProfileFile f(path());
    QCOMPARE(f.readString("S", "Other", "default"), QStringLiteral("default"));
    QVERIFY_THROWS_EXCEPTION(TabloraError, f.writeString("S", "K", "v"));
    QCOMPARE(QFileInfo(path()).size(), size);
}

// A value is refused exactly when writing and reading it back would not give
// it as it was, so a check made before writing protects the reader.
void SettingsTest::valuesThatReadBackExactly_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("storable");
    QTest::newRow("plain") << QStringLiteral("Admin") << true;
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("Russian, €, № and inner blanks") << QStringLiteral("пароль  € №\t5") << true;
    QTest::newRow("every other control character") << QStringLiteral("a\x01\x1F\fb") << true;
    QTest::newRow("no-break spaces at the ends") << QStringLiteral("\u00A0x\u00A0") << true;
    QTest::newRow("quotes that do not wrap it") << QStringLiteral("\"a\" '") << true;
    QTest::newRow("a lone quote") << QStringLiteral("\"") << true;
    QTest::newRow("the longest") << QString(ProfileFile::MaxTextLength, u'я') << true;
    QTest::newRow("too long") << QString(ProfileFile::MaxTextLength + 1, u'я') << false;
    QTest::newRow("leading space") << QStringLiteral(" x") << false;
    QTest::newRow("trailing tab") << QStringLiteral("x\t") << false;
    QTest::newRow("vertical tab") << QStringLiteral("\vx") << false;
    QTest::newRow("double quotes") << QStringLiteral("\"x\"") << false;
    QTest::newRow("single quotes") << QStringLiteral("''") << false;
    QTest::newRow("ä") << QStringLiteral("pässword") << false;
    QTest::newRow("emoji") << QStringLiteral("x😀") << false;
}

void SettingsTest::valuesThatReadBackExactly()
{
    QFETCH(QString, value);
    QFETCH(bool, storable);
    QCOMPARE(ProfileFile::unstorableReason(value).isEmpty(), storable);
    ProfileFile file(path());
    file.writeString(QStringLiteral("Users"), QStringLiteral("Password"), value);
    QCOMPARE(file.readString(QStringLiteral("Users"), QStringLiteral("Password"), QStringLiteral("default")) == value,
             storable);
}

void SettingsTest::everyAccessGoesToDisk()
{
    ProfileFile first(path());
    const ProfileFile second(path());
    first.writeString("S", "K", "one");
    QCOMPARE(second.readString("S", "K", ""), QStringLiteral("one"));
    ProfileFile(path()).writeString("S", "K", "two");
    QCOMPARE(first.readString("S", "K", ""), QStringLiteral("two"));

    put("[S]\r\nK=edited by hand\r\n");
    QCOMPARE(second.readString("S", "K", ""), QStringLiteral("edited by hand"));
    QVERIFY(QFile::remove(path()));
    QCOMPARE(second.readString("S", "K", "gone"), QStringLiteral("gone"));
}

// ---- several writes as one change --------------------------------------------

namespace {

// Writes that add, replace and re-replace keys in old and new sections.
QList<ProfileFile::Entry> mixedWrites()
{
    return {{"Users", "Admin", "Админ"},       {"Users", "Password", "9107"}, {"Users", "Login1", "petrov"},
            {"Enter", "QuestionOnStart", "0"}, {"users", "ADMIN", "Admin"},   {"Users", "Prava1", "moder"}};
}

} // namespace

void SettingsTest::batchEqualsOneWriteAfterAnother_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("no file") << QByteArray();
    QTest::newRow("keys in place") << QByteArray("[Users]\r\nLogin1=x\r\nAdmin=a\r\nOther=keep\r\n");
    QTest::newRow("LF lines, unended") << QByteArray("; hand-made\n[Enter]\nQuestionOnStart=1\n[Users]\nAdmin=a");
    QTest::newRow("duplicate sections") << QByteArray("[Users]\r\nX=1\r\n[Prava]\r\n[users]\r\nAdmin=b\r\n");
}

void SettingsTest::batchEqualsOneWriteAfterAnother()
{
    QFETCH(QByteArray, before);
    const QString single = QStringLiteral("single.ini");
    if (!before.isEmpty()) {
        put(before);
        put(before, single);
    }
    ProfileFile one(path(single));
    for (const ProfileFile::Entry &e : mixedWrites())
        one.writeString(e.section, e.key, e.value);
    ProfileFile(path()).writeStrings(mixedWrites());
    QCOMPARE(contents(), contents(single));
}

void SettingsTest::refusedBatchWritesNothing_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QString>("lastValue");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a late value with a line break")
        << QStringLiteral("test.ini") << QStringLiteral("x\ny") << QString();
    QTest::newRow("folder missing") << QStringLiteral("missing/test.ini") << QStringLiteral("v")
                                    << QStringLiteral(". No such file or directory");
    QTest::newRow("path is a folder") << QStringLiteral("folder") << QStringLiteral("v")
                                      << QStringLiteral(". Is a directory");
}

void SettingsTest::refusedBatchWritesNothing()
{
    QFETCH(QString, relative);
    QFETCH(QString, lastValue);
    QFETCH(QString, reason);
    const QByteArray before("[Users]\r\nAdmin=old\r\n");
    put(before);
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder")));
    QList<ProfileFile::Entry> writes = mixedWrites();
    writes.append({"Users", "Login2", lastValue});
    ProfileFile f(path(relative), ProfileFile::NewFile::OwnerOnly);
    try {
        f.writeStrings(writes);
        QFAIL("the batch was not refused");
    } catch (const TabloraError &e) {
        QCOMPARE(e.message(),
                 QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(path(relative)) + reason);
    }
    QCOMPARE(contents(), before);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList({"folder", "test.ini"}));
}

void SettingsTest::otherDatIsCreatedForItsOwnerOnly()
{
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("data")));
    const ProgramDir dir(m_dir->path());
    Settings settings(dir);
    const auto permissions = [](const QString &file) {
        return QFileInfo(file).permissions()
            & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther
               | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    };
    const QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

    settings.write(Keys::login(1), QStringLiteral("petrov"));
    QCOMPARE(permissions(dir.otherDat()), ownerOnly);
    SettingsBatch batch;
    batch.set(Keys::password(1), QStringLiteral("secret"));
    settings.write(batch);
    QCOMPARE(permissions(dir.otherDat()), ownerOnly);

    // An existing file keeps what its owner gave it, wider or narrower.
    const QFileDevice::Permissions shared = ownerOnly | QFileDevice::ReadGroup;
    QVERIFY(QFile::setPermissions(dir.otherDat(), shared));
    settings.write(batch);
    QCOMPARE(permissions(dir.otherDat()), shared);

    QVERIFY(QFile::remove(dir.otherDat()));
    SettingsBatch refused;
    refused.set(Keys::login(1), QStringLiteral("a\nb"));
    QVERIFY_THROWS_EXCEPTION(TabloraError, settings.write(refused));
    QVERIFY(!QFileInfo::exists(dir.otherDat()));
}

void SettingsTest::batchOverTwoFilesSaysWhatWasWritten()
{
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("data")));
    const ProgramDir dir(m_dir->path());
    Settings settings(dir);
    SettingsBatch batch;
    batch.set(Keys::savePosition(), false);
    batch.set(Keys::questionOnStart(), false);
    batch.set(Keys::align(), QStringLiteral("Center"));
    batch.set(Keys::pravaEditBase(), true);
    QCOMPARE(batch.files(), QList<SettingsFile>({SettingsFile::Config, SettingsFile::Other}));

    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("data/other.dat")));
    try {
        settings.write(batch);
        QFAIL("the batch was not refused");
    } catch (const TabloraError &e) {
        QCOMPARE(e.message(),
                 QStringLiteral("Unable to write to %1. Is a directory\nИзменения записаны только в %2.")
                     .arg(dir.otherDat(), dir.configIni()));
    }
    QCOMPARE(contents(QStringLiteral("data/config.ini")),
             QByteArray("[General]\r\nSavePosition=0\r\nAlign=Center\r\n"));

    // The first file failing stops the batch there.
    QVERIFY(QFile::remove(dir.configIni()));
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("data/config.ini")));
    QVERIFY(QDir(m_dir->path()).rmdir(QStringLiteral("data/other.dat")));
    QVERIFY_THROWS_EXCEPTION(TabloraError, settings.write(batch));
    QVERIFY(!QFileInfo::exists(dir.otherDat()));
}

// ---- key index -------------------------------------------------------------

namespace {

// A row of the index as the file holds it: which file, the exact section and
// key names, the reader's default and a value to store.
struct IndexRow
{
    QByteArray tag;
    QVariant key;
    SettingsFile file;
    QString section;
    QString name;
    QVariant defaultValue;
};

QList<IndexRow> indexRows(const ProgramDir &dir)
{
    using F = SettingsFile;
    QList<IndexRow> rows{
        {"SavePosition", QVariant::fromValue(Keys::savePosition()), F::Config, "General", "SavePosition", true},
        {"SaveSize", QVariant::fromValue(Keys::saveSize()), F::Config, "General", "SaveSize", true},
        {"QuickStart", QVariant::fromValue(Keys::quickStart()), F::Config, "General", "QuickStart", false},
        {"Align", QVariant::fromValue(Keys::align()), F::Config, "General", "Align", "Left"},
        {"Font Name", QVariant::fromValue(Keys::fontName()), F::Config, "Font", "Name", "Courier New"},
        {"Font Name in options", QVariant::fromValue(Keys::fontNameInOptions()), F::Config, "Font", "Name", "Verdana"},
        {"Font Size", QVariant::fromValue(Keys::fontSize()), F::Config, "Font", "Size", 8},
        {"ColNum", QVariant::fromValue(Keys::sortColumn()), F::Config, "Table", "ColNum", 0},
        {"Sort", QVariant::fromValue(Keys::sortDirection()), F::Config, "Table", "Sort", 1},
        {"Count", QVariant::fromValue(Keys::recordCount()), F::Config, "Table", "Count", 0},
        {"Left", QVariant::fromValue(Keys::windowLeft()), F::Config, "Window", "Left", 76},
        {"Top", QVariant::fromValue(Keys::windowTop()), F::Config, "Window", "Top", 44},
        {"Width", QVariant::fromValue(Keys::windowWidth()), F::Config, "Window", "Width", 770},
        {"Height", QVariant::fromValue(Keys::windowHeight()), F::Config, "Window", "Height", 566},
        {"First", QVariant::fromValue(Keys::firstRun()), F::Config, "Run", "First", true},
        {"QuestionOnStart", QVariant::fromValue(Keys::questionOnStart()), F::Other, "Enter", "QuestionOnStart", true},
        {"Admin", QVariant::fromValue(Keys::adminLogin()), F::Other, "Users", "Admin", ""},
        {"Admin in manager", QVariant::fromValue(Keys::adminLoginInManager()), F::Other, "Users", "Admin", "Admin"},
        {"Password", QVariant::fromValue(Keys::adminPassword()), F::Other, "Users", "Password", ""},
        {"Password in manager", QVariant::fromValue(Keys::adminPasswordInManager()), F::Other, "Users", "Password",
         "9107"},
        {"Moder EditUsers", QVariant::fromValue(Keys::moderEditUsers()), F::Other, "Moder", "EditUsers", false},
        {"Moder EditUsers in options", QVariant::fromValue(Keys::moderEditUsersInOptions()), F::Other, "Moder",
         "EditUsers", true},
        {"Moder EditOptions", QVariant::fromValue(Keys::moderEditOptions()), F::Other, "Moder", "EditOptions", false},
        {"Prava EditBase", QVariant::fromValue(Keys::pravaEditBase()), F::Other, "Prava", "EditBase", false},
        {"Prava SaveBase", QVariant::fromValue(Keys::pravaSaveBase()), F::Other, "Prava", "SaveBase", false},
        {"Prava EditOptions", QVariant::fromValue(Keys::pravaEditOptions()), F::Other, "Prava", "EditOptions", false},
        {"Prava Manager", QVariant::fromValue(Keys::pravaManager()), F::Other, "Prava", "Manager", false},
        {"Prava AddNewUsers", QVariant::fromValue(Keys::pravaAddNewUsers()), F::Other, "Prava", "AddNewUsers", false},
        {"Prava UpdateProgram", QVariant::fromValue(Keys::pravaUpdateProgram()), F::Other, "Prava", "UpdateProgram",
         false},
    };
    auto numbered = [&](const QString &tag, QVariant key, F file, const QString &section, const QString &name,
                        QVariant defaultValue) {
        rows.append({tag.toUtf8(), std::move(key), file, section, name, std::move(defaultValue)});
    };
    const QStringList captions{"№",         "1 столбец", "2 столбец", "3 столбец",
                               "4 столбец", "5 столбец", "6 столбец", "7 столбец"};
    for (int c = 0; c < kColumnCount; ++c) {
        numbered(QString("%1 caption").arg(c), QVariant::fromValue(Keys::caption(c)), F::Config, "Table",
                 QString("%1 caption").arg(c), captions.at(c));
        numbered(QString("%1 column").arg(c), QVariant::fromValue(Keys::columnWidth(c)), F::Config, "Table",
                 QString("%1 column").arg(c), c == 0 ? 20 : 100);
    }
    for (int k = 1; k <= kRecentFileCount; ++k) {
        numbered(QString("File%1").arg(k), QVariant::fromValue(Keys::reopenFile(k, dir)), F::Config, "Reopen",
                 QString("File%1").arg(k), dir.path() + "/db/default.db");
        numbered(QString("File%1 for shift").arg(k), QVariant::fromValue(Keys::reopenFileForShift(k)), F::Config,
                 "Reopen", QString("File%1").arg(k), "");
        numbered(QString("Enabled%1").arg(k), QVariant::fromValue(Keys::reopenEnabled(k)), F::Config, "Reopen",
                 QString("Enabled%1").arg(k), false);
    }
    for (int n = 1; n <= kAccountSlotCount; ++n) {
        numbered(QString("Login%1").arg(n), QVariant::fromValue(Keys::login(n)), F::Other, "Users",
                 QString("Login%1").arg(n), "");
        numbered(QString("Password%1").arg(n), QVariant::fromValue(Keys::password(n)), F::Other, "Users",
                 QString("Password%1").arg(n), "");
        numbered(QString("Prava%1").arg(n), QVariant::fromValue(Keys::prava(n)), F::Other, "Users",
                 QString("Prava%1").arg(n), "user");
        numbered(QString("Prava%1 in manager").arg(n), QVariant::fromValue(Keys::pravaInManager(n)), F::Other, "Users",
                 QString("Prava%1").arg(n), "guest");
    }
    for (int n = 1; n <= kFavouriteCount; ++n) {
        numbered(QString("Item%1 Enabled").arg(n), QVariant::fromValue(Keys::favouriteEnabled(n)), F::Favourite,
                 QString("Item%1").arg(n), "Enabled", false);
        numbered(QString("Item%1 Name").arg(n), QVariant::fromValue(Keys::favouriteName(n)), F::Favourite,
                 QString("Item%1").arg(n), "Name", "Без имени");
    }
    return rows;
}

QString relativePath(SettingsFile file)
{
    switch (file) {
    case SettingsFile::Config:
        return QStringLiteral("data/config.ini");
    case SettingsFile::Other:
        return QStringLiteral("data/other.dat");
    case SettingsFile::Favourite:
        return QStringLiteral("db/favourite/favourite.ini");
    }
    return {};
}

} // namespace

void SettingsTest::keyIndex_data()
{
    QTest::addColumn<QVariant>("key");
    QTest::addColumn<SettingsFile>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("defaultValue");

    for (const IndexRow &r : indexRows(ProgramDir(QStringLiteral("/opt/tablora"))))
        QTest::newRow(r.tag.constData()) << r.key << r.file << r.section << r.name << r.defaultValue;
}

// Each key addresses exactly the spelled file, section and name (case
// included, though reads ignore it) and reads back what is stored there.
void SettingsTest::keyIndex()
{
    QFETCH(QVariant, key);
    QFETCH(SettingsFile, file);
    QFETCH(QString, section);
    QFETCH(QString, name);
    QFETCH(QVariant, defaultValue);

    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("data")));
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("db/favourite")));
    const ProgramDir dir(m_dir->path());
    Settings settings(dir);
    ProfileFile spelled(dir.file(relativePath(file)));
    const auto stored = [&] { return contents(relativePath(file)); };

    if (key.metaType() == QMetaType::fromType<TextKey>()) {
        const TextKey k = key.value<TextKey>();
        QCOMPARE(k.file, file);
        QCOMPARE(k.section, section);
        QCOMPARE(k.name, name);
        QCOMPARE(k.defaultValue, defaultValue.toString());
        QCOMPARE(settings.read(k), defaultValue.toString());
        spelled.writeString(section, name, QStringLiteral("Значение"));
        QCOMPARE(settings.read(k), QStringLiteral("Значение"));
        settings.write(k, QStringLiteral("другое"));
        QCOMPARE(spelled.readString(section, name, QString()), QStringLiteral("другое"));
    } else if (key.metaType() == QMetaType::fromType<IntKey>()) {
        const IntKey k = key.value<IntKey>();
        QCOMPARE(k.file, file);
        QCOMPARE(k.section, section);
        QCOMPARE(k.name, name);
        QCOMPARE(k.defaultValue, defaultValue.toInt());
        QCOMPARE(settings.read(k), defaultValue.toInt());
        spelled.writeInteger(section, name, -12345);
        QCOMPARE(settings.read(k), -12345);
        settings.write(k, 987);
        QCOMPARE(spelled.readInteger(section, name, 0), 987);
    } else {
        QCOMPARE(key.metaType(), QMetaType::fromType<BoolKey>());
        const BoolKey k = key.value<BoolKey>();
        QCOMPARE(k.file, file);
        QCOMPARE(k.section, section);
        QCOMPARE(k.name, name);
        QCOMPARE(k.defaultValue, defaultValue.toBool());
        QCOMPARE(settings.read(k), defaultValue.toBool());
        spelled.writeBool(section, name, !k.defaultValue);
        QCOMPARE(settings.read(k), !k.defaultValue);
        settings.write(k, k.defaultValue);
        QCOMPARE(spelled.readBool(section, name, !k.defaultValue), k.defaultValue);
    }
    // Nothing else was written, to no other file.
    QCOMPARE(stored().count('\n'), 2);
    for (SettingsFile other : {SettingsFile::Config, SettingsFile::Other, SettingsFile::Favourite}) {
        if (other != file)
            QVERIFY(!QFileInfo::exists(dir.file(relativePath(other))));
    }
}

void SettingsTest::readersWithDifferentDefaultsAgreeOnStoredValue()
{
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("data")));
    Settings settings{ProgramDir(m_dir->path())};
    QVERIFY(settings.read(Keys::fontName()) != settings.read(Keys::fontNameInOptions()));
    QVERIFY(settings.read(Keys::moderEditUsers()) != settings.read(Keys::moderEditUsersInOptions()));

    settings.write(Keys::fontNameInOptions(), settings.read(Keys::fontNameInOptions()));
    settings.write(Keys::moderEditUsersInOptions(), settings.read(Keys::moderEditUsersInOptions()));
    settings.write(Keys::pravaInManager(3), settings.read(Keys::pravaInManager(3)));
    QCOMPARE(settings.read(Keys::fontName()), QStringLiteral("Verdana"));
    QCOMPARE(settings.read(Keys::moderEditUsers()), true);
    QCOMPARE(settings.read(Keys::prava(3)), QStringLiteral("guest"));
}

void SettingsTest::settingsFilesBesideProgram()
{
    const ProgramDir dir(m_dir->path());
    Settings settings(dir);
    QCOMPARE(settings.file(SettingsFile::Config).path(), dir.configIni());
    QCOMPARE(settings.file(SettingsFile::Other).path(), dir.otherDat());
    QCOMPARE(settings.file(SettingsFile::Favourite).path(), dir.favouriteIni());

    // Without the data folder every reader gets its default and every write
    // is refused; the folder is never made.
    QCOMPARE(settings.read(Keys::windowWidth()), 770);
    try {
        settings.write(Keys::windowWidth(), 800);
        QFAIL("the write was not refused");
    } catch (const TabloraError &e) {
        QCOMPARE(e.message(),
                 QStringLiteral("Unable to write to ") + dir.configIni()
                     + QStringLiteral(". No such file or directory"));
    }
    QVERIFY(!QFileInfo::exists(dir.file(QStringLiteral("data"))));
}

TABLORA_GUILESS_TEST_MAIN(SettingsTest)
#include "tst_settings.moc"
