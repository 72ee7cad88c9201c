#include "GuardedTest.h"
#include "base/IntegerText.h"
#include "base/Utf8.h"
#include "base/Windows1251.h"

#include <QStringDecoder>
#include <QTest>

// The base floor's text: integers as the files spell them, and Windows-1251.
class TextTest : public QObject
{
    Q_OBJECT

private slots:
    void integerSyntax_data();
    void integerSyntax();
    void windows1251();
    void utf8_data();
    void utf8();
};

void TextTest::integerSyntax_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "25" << true << 25;
    QTest::newRow("leading spaces") << "   25" << true << 25;
    QTest::newRow("plus") << "+7" << true << 7;
    QTest::newRow("minus") << "-2" << true << -2;
    QTest::newRow("leading zeros") << "007" << true << 7;
    QTest::newRow("dollar hex") << "$1F" << true << 31;
    QTest::newRow("x hex") << "x1f" << true << 31;
    QTest::newRow("X hex") << "X10" << true << 16;
    QTest::newRow("0x hex") << "0x1F" << true << 31;
    QTest::newRow("0X hex") << "0X1f" << true << 31;
    QTest::newRow("negative hex") << "-$10" << true << -16;
    QTest::newRow("max") << "2147483647" << true << 2147483647;
    QTest::newRow("min") << "-2147483648" << true << int(-2147483647 - 1);
    QTest::newRow("hex max") << "$7FFFFFFF" << true << 2147483647;
    QTest::newRow("too big") << "2147483648" << false << 0;
    QTest::newRow("hex too big") << "$80000000" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("spaces only") << "   " << false << 0;
    QTest::newRow("trailing space") << "25 " << false << 0;
    QTest::newRow("tab") << "\t25" << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("prefix only") << "0x" << false << 0;
    QTest::newRow("dollar only") << "$" << false << 0;
    QTest::newRow("space after sign") << "- 5" << false << 0;
    QTest::newRow("letters") << "12a" << false << 0;
    QTest::newRow("hex digit in decimal") << "1F" << false << 0;
    QTest::newRow("two signs") << "+-1" << false << 0;
    QTest::newRow("cyrillic") << "１２" << false << 0;
}

void TextTest::integerSyntax()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    const auto fromText = IntegerText::parse(QStringView(text));
    const QByteArray bytes = text.toLatin1();
    QCOMPARE(fromText.has_value(), ok);
    if (text.toLatin1() == text.toUtf8()) // the byte form agrees on ASCII input
        QCOMPARE(IntegerText::parse(QByteArrayView(bytes)), fromText);
    if (ok)
        QCOMPARE(*fromText, value);
}

void TextTest::windows1251()
{
    QByteArray all(256, '\0');
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    const QString text = Windows1251::decode(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(text.at(0xB9), QChar(0x2116)); // №
    QCOMPARE(text.at(0xC0), QChar(0x0410)); // А
    QCOMPARE(text.at(0xFF), QChar(0x044F)); // я
    QCOMPARE(Windows1251::encode(text), all); // every byte survives, 0x98 included
    QVERIFY(Windows1251::canEncode(text));
    // Qt's own codec agrees, however the bytes fall into blocks.
    const QString byQt = QStringDecoder("windows-1251", QStringDecoder::Flag::Stateless).decode(all);
    for (int from = 0; from < 8; ++from)
        QCOMPARE(Windows1251::decode(all.mid(from) + all.left(from)), byQt.mid(from) + byQt.left(from));
    // Lines of every length up to 17 bytes, each byte but CR and LF in them,
    // decoded as they are split.
    QByteArray split;
    QList<QByteArray> lines;
    for (int length = 0, b = 0; length <= 17; ++length) {
        QByteArray line;
        while (line.size() < length) {
            if (b % 256 != '\r' && b % 256 != '\n')
                line += char(b % 256);
            ++b;
        }
        lines.append(line);
        split += line + QByteArray(length % 3 == 0 ? "\r\n" : length % 3 == 1 ? "\n" : "\r");
    }
    const char *p = split.constData();
    for (const QByteArray &line : lines) {
        QString decoded(line.size() + 8, QChar());
        const char *lineEnd = nullptr;
        const QChar *end = Windows1251::decodeLineInto(decoded.data(), p, split.constData() + split.size(), lineEnd);
        QCOMPARE(QStringView(decoded.constData(), end), Windows1251::decode(line));
        QCOMPARE(lineEnd, p + line.size());
        p = lineEnd + (*lineEnd == '\r' && lineEnd[1] == '\n' ? 2 : 1);
    }

    const QString mixed = QStringLiteral("Цена 5€ — 中");
    QCOMPARE(Windows1251::firstUnencodable(mixed), mixed.indexOf(QChar(0x4E2D)));
    QCOMPARE(Windows1251::encode(mixed).right(2), QByteArray(" ?"));
    QCOMPARE(Windows1251::firstUnencodable(QStringLiteral("x?y")), -1);

    // As the code page keeps it: one "?" a character, one outside the BMP and
    // a lone half included.
    QCOMPARE(Windows1251::replaceUnencodable(mixed), QStringLiteral("Цена 5€ — ?"));
    QCOMPARE(Windows1251::replaceUnencodable(QStringLiteral("a😀b😀")), QStringLiteral("a?b?"));
    QCOMPARE(Windows1251::replaceUnencodable(QString(QChar(0xD83D)) + u'x' + QChar(0xDE00)), QStringLiteral("?x?"));
}

void TextTest::utf8_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text"); // null: not well-formed
    QTest::addColumn<bool>("startOfLonger"); // well-formed as the start of a longer text

    QTest::newRow("ASCII") << QByteArray("0123456789abcdef!") << QStringLiteral("0123456789abcdef!") << true;
    QTest::newRow("two, three and four bytes")
        << QByteArray("\xD0\x81\xE2\x84\x96\xF0\x9F\x98\x80") << QStringLiteral("Ё№\U0001F600") << true;
    QTest::newRow("Windows-1251 bytes") << QByteArray("\xD6\xE5\xED\xE0") << QString() << false;
    QTest::newRow("overlong") << QByteArray("\xC0\xAF") << QString() << false;
    QTest::newRow("overlong three bytes") << QByteArray("\xE0\x80\xAF") << QString() << false;
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << QString() << false;
    QTest::newRow("past U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << QString() << false;
    QTest::newRow("cut at the end") << QByteArray("ab\xE2\x84") << QString() << true;
    QTest::newRow("cut before the end") << QByteArray("ab\xE2\x84z") << QString() << false;
    QTest::newRow("lone continuation") << QByteArray("a\x80") << QString() << false;
    QTest::newRow("ASCII run then Cyrillic")
        << QByteArray("abcdefghijklmnop\xD0\xAF") << QStringLiteral("abcdefghijklmnopЯ") << true;
}

void TextTest::utf8()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(bool, startOfLonger);

    QCOMPARE(Utf8::isWellFormed(bytes), !text.isNull());
    QCOMPARE(Utf8::isWellFormed(bytes, true), startOfLonger);
    std::vector<QChar> chars(size_t(bytes.size()));
    const QChar *end = Utf8::decodeInto(chars.data(), bytes);
    if (text.isNull()) {
        QVERIFY(!end);
        return;
    }
    QVERIFY(end);
    QCOMPARE(QString(chars.data(), end - chars.data()), text);
    QByteArray encoded(3 * text.size(), Qt::Uninitialized);
    encoded.truncate(Utf8::encodeInto(encoded.data(), text) - encoded.data());
    QCOMPARE(encoded, bytes);
}

TABLORA_APPLESS_TEST_MAIN(TextTest)
#include "tst_text.moc"
