#include "SampleTable.h"

#include "document/TableData.h"

#include <QStringList>

#include <cstdint>

namespace {

// SplitMix64: small, fast, and the same sequence on every platform.
class Sequence
{
public:
    explicit Sequence(std::uint64_t seed)
        : m_state(seed)
    {
    }

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % std::uint64_t(n)); }

private:
    std::uint64_t m_state;
};

const QStringList &words()
{
    static const QStringList list = {
        QStringLiteral("Иванов"), QStringLiteral("Петрова"), QStringLiteral("Москва"),  QStringLiteral("улица"),
        QStringLiteral("дом"),    QStringLiteral("склад"),   QStringLiteral("товар"),   QStringLiteral("накладная"),
        QStringLiteral("№"),      QStringLiteral("ёлка"),    QStringLiteral("«Заря»"),  QStringLiteral("отгрузка"),
        QStringLiteral("Smith"),  QStringLiteral("London"),  QStringLiteral("invoice"), QStringLiteral("order"),
        QStringLiteral("box"),    QStringLiteral("Ltd."),    QStringLiteral("12"),      QStringLiteral("2024-05-17"),
        QStringLiteral("+7 495"), QStringLiteral("1500,00"), QStringLiteral("—"),       QStringLiteral("e-mail"),
    };
    return list;
}

QString cellText(Sequence &seq)
{
    const int kind = seq.below(1000);
    if (kind < 140)
        return QString();
    // One cell in a thousand is long, so lines of every length pass through.
    const int wordCount = kind < 999 ? 1 + seq.below(3) : 40 + seq.below(60);
    QString text;
    for (int w = 0; w < wordCount; ++w) {
        if (w > 0)
            text += QLatin1Char(' ');
        text += words().at(seq.below(int(words().size())));
    }
    return text;
}

QString randomWord(Sequence &seq, int length)
{
    static const QString latin = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    static const QString cyrillic = QStringLiteral("абвгдеёжзийклмнопрстуфхцчшщъыьэюя");
    const QString &alphabet = seq.below(2) == 0 ? latin : cyrillic;
    QString word;
    for (int i = 0; i < length; ++i)
        word += alphabet.at(seq.below(int(alphabet.size())));
    if (seq.below(2) == 0)
        word[0] = word[0].toUpper();
    return word;
}

} // namespace

TableData sampleTable(int recordCount)
{
    TableData table;
    table.setTitle(1, QStringLiteral("Фамилия"));
    table.setTitle(2, QStringLiteral("Город"));
    table.setTitle(3, QStringLiteral("Address"));
    table.setWidth(3, 180);
    table.reserve(recordCount);
    Sequence seq(20240517);
    for (int k = 0; k < recordCount; ++k) {
        Record::Cells cells;
        cells[0] = QString::number(k + 1);
        for (int c = 1; c < kColumnCount; ++c)
            cells[c] = cellText(seq);
        table.appendRecord(Record(cells));
    }
    return table;
}

TableData randomWordsTable(int recordCount)
{
    TableData table;
    table.reserve(recordCount);
    Sequence seq(20260526);
    for (int k = 0; k < recordCount; ++k) {
        Record::Cells cells;
        cells[0] = QString::number(seq.below(1000000));
        for (int c = 1; c < kColumnCount; ++c) {
            const int length = 8 + seq.below(13);
            const int first = 3 + seq.below(length - 4);
            cells[c] = randomWord(seq, first) + QLatin1Char(' ') + randomWord(seq, length - first - 1);
        }
        table.appendRecord(Record(cells));
    }
    return table;
}

TableData numberedTable(int recordCount)
{
    TableData table = sampleTable(recordCount);
    for (int k = 0; k < recordCount; ++k) {
        Record::Cells cells = table.record(k).cells();
        const QString number = QString::number(k + 1);
        for (int c = 1; c < kColumnCount; ++c)
            cells[c] = cells[c].isEmpty() ? number : cells[c] + QLatin1Char(' ') + number;
        table.exchangeRecord(k, Record(cells));
    }
    return table;
}
