// Builds the databases the program ships with from readable sources, with the
// program's own writer:
//   tablora-mkdb SOURCE.tsv OUT.db   a database from a tab-separated source
//   tablora-mkdb --new OUT.db         an empty new database
// A source is UTF-8 text: lines starting with "#" are comments, the first
// other line holds the eight column widths, the next the eight titles, and
// every further line one record of eight cells.

#include "document/DatabaseCodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace {

[[noreturn]] void fail(const QString &reason)
{
    std::fprintf(stderr, "tablora-mkdb: %s\n", qPrintable(reason));
    std::exit(1);
}

QStringList eightFields(const QString &line, int lineNumber, const QString &source)
{
    QStringList fields = line.split(QLatin1Char('\t'));
    if (fields.size() > kColumnCount)
        fail(QStringLiteral("%1:%2: more than eight fields").arg(source).arg(lineNumber));
    while (fields.size() < kColumnCount)
        fields.append(QString());
    return fields;
}

TableData readSource(const QString &source)
{
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        fail(QStringLiteral("cannot read %1").arg(source));
    TableData table;
    int part = 0; // 0 widths, 1 titles, 2 records
    int lineNumber = 0;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        ++lineNumber;
        if (line.startsWith(QLatin1Char('#')) || (line.isEmpty() && part < 2))
            continue;
        const QStringList fields = eightFields(line, lineNumber, source);
        for (int c = 0; c < kColumnCount; ++c) {
            if (part == 0) {
                bool ok = false;
                table.setWidth(c, fields[c].toInt(&ok));
                if (!ok)
                    fail(QStringLiteral("%1:%2: a width is not a number").arg(source).arg(lineNumber));
            } else if (part == 1) {
                table.setTitle(c, fields[c]);
            }
        }
        if (part == 2) {
            Record::Cells cells;
            std::copy(fields.begin(), fields.end(), cells.begin());
            table.appendRecord(Record(cells));
        }
        part = std::min(part + 1, 2);
    }
    if (part < 2)
        fail(QStringLiteral("%1: widths and titles are missing").arg(source));
    return table;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 2)
        fail(QStringLiteral("usage: tablora-mkdb SOURCE.tsv|--new OUT.db"));

    TableData table;
    if (args[0] == QLatin1String("--new")) {
        for (int c = 0; c < kColumnCount; ++c)
            table.setWidth(c, c == 0 ? 20 : 100); // as New makes it with no settings
    } else {
        table = readSource(args[0]);
    }
    if (const auto bad = DatabaseCodec::findUnencodable(table))
        fail(QStringLiteral("record %1, column %2 holds text Windows-1251 cannot store")
                 .arg(bad->record + 1)
                 .arg(bad->column));
    QDir().mkpath(QFileInfo(args[1]).absolutePath());
    try {
        DatabaseCodec::writeTableFile(args[1], table);
    } catch (const std::exception &e) {
        fail(QString::fromUtf8(e.what()));
    }
    return 0;
}
