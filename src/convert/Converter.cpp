#include "Converter.h"

#include "ConvertError.h"
#include "ConvertFiles.h"
#include "ConvertOptions.h"
#include "CsvErrorText.h"
#include "UsageError.h"
#include "base/SettingKeys.h"
#include "base/Settings.h"
#include "base/Windows1251.h"
#include "base/WorkProgress.h"
#include "document/CsvReader.h"
#include "document/CsvWriter.h"
#include "document/DatabaseCodec.h"

#include <QIODevice>

#include <new>

using namespace ConvertFiles;

namespace {

QByteArray encodedDatabase(TableData &&table)
{
    QByteArray plain = DatabaseCodec::buildPlainList(table);
    table = TableData(); // its records are in the plain list now
    return DatabaseCodec::encodePlainList(std::move(plain));
}

QString unencodableMessage(const QString &file, const TableData &table, const DatabaseCodec::Unencodable &bad)
{
    const QStringView text = bad.record < 0 ? QStringView(table.title(bad.column)) : table.cell(bad.record, bad.column);
    const char32_t character = text.mid(Windows1251::firstUnencodable(text)).toUcs4().value(0);
    return QStringLiteral("%1: %2 holds \"%3\" (U+%4), which Windows-1251 cannot hold "
                          "(--replace-unencodable writes \"?\" instead)")
        .arg(file, CsvErrorText::cellName(bad.record, bad.column), QString::fromUcs4(&character, 1),
             QString::number(uint(character), 16).toUpper().rightJustified(4, QLatin1Char('0')));
}

} // namespace

Converter::Converter(Console &console, const ProgramDir &dir)
    : m_console(console)
    , m_dir(dir)
    , m_progress(console.err, console.errIsTerminal)
{
}

int Converter::run(const QStringList &arguments)
{
    try {
        const ConvertOptions options = ConvertOptions::parse(arguments);
        switch (options.command) {
        case ConvertOptions::Command::Help:
            m_console.out.write(ConvertOptions::usage().toUtf8());
            break;
        case ConvertOptions::Command::ToCsv:
            toCsv(options);
            break;
        case ConvertOptions::Command::FromCsv:
            fromCsv(options);
            break;
        case ConvertOptions::Command::Upgrade:
            upgrade(options);
            break;
        case ConvertOptions::Command::Info:
            info(options);
            break;
        }
        m_progress.finish();
        return 0;
    } catch (const UsageError &e) {
        fail(e.message());
        m_console.err.write(ConvertOptions::usage().toUtf8());
        return 2;
    } catch (const TabloraError &e) {
        fail(e.message());
    } catch (const std::bad_alloc &) {
        fail(QStringLiteral("not enough memory"));
    }
    return 1;
}

void Converter::fail(const QString &message)
{
    m_progress.finish();
    m_console.err.write((QStringLiteral("tablora-convert: ") + message + QLatin1Char('\n')).toUtf8());
}

void Converter::toCsv(const ConvertOptions &options)
{
    m_progress.stage(QStringLiteral("reading ") + inputName(options.input));
    Database database = readDatabase(options.input, m_console.in);
    m_progress.stage(QStringLiteral("writing ") + outputName(options.output));
    CsvWriteOptions csv;
    csv.delimiter = options.delimiter;
    csv.protectFormulas = options.protectFormulas;
    WorkProgress writing;
    m_progress.follow(writing);
    const QByteArray text = CsvWriter::write(database.table, csv, &writing);
    database.table = TableData();
    writeOutput(options.output, text, m_console.out);
}

void Converter::fromCsv(const ConvertOptions &options)
{
    const QString name = inputName(options.input);
    m_progress.stage(QStringLiteral("reading ") + name);
    TableData table = [&] {
        const QByteArray text = readInput(options.input, m_console.in);
        CsvReadOptions csv;
        csv.delimiter = options.delimiter;
        csv.replaceBreaks = options.replaceBreaks;
        WorkProgress reading;
        m_progress.follow(reading);
        try {
            return CsvReader(csv).read(text, &reading);
        } catch (const CsvReadError &e) {
            throw ConvertError(CsvErrorText::describe(name, e));
        }
    }();
    const Settings settings(m_dir);
    for (int c = 0; c < kColumnCount; ++c)
        table.setWidth(c, options.widths ? (*options.widths)[c] : settings.read(Keys::columnWidth(c)));
    if (!options.replaceUnencodable) {
        if (const auto bad = DatabaseCodec::findUnencodable(table))
            throw ConvertError(unencodableMessage(name, table, *bad));
    }
    m_progress.stage(QStringLiteral("writing ") + outputName(options.output));
    writeOutput(options.output, encodedDatabase(std::move(table)), m_console.out);
}

void Converter::upgrade(const ConvertOptions &options)
{
    m_progress.stage(QStringLiteral("reading ") + inputName(options.input));
    Database database = readDatabase(options.input, m_console.in);
    if (database.format == DatabaseFormat::Current)
        throw ConvertError(inputName(options.input) + QStringLiteral(": already in the current format"));
    m_progress.stage(QStringLiteral("writing ") + outputName(options.output));
    writeOutput(options.output, encodedDatabase(std::move(database.table)), m_console.out);
}

void Converter::info(const ConvertOptions &options)
{
    const Database database = readDatabase(options.input, m_console.in);
    const TableData &table = database.table;
    QString text = QStringLiteral("format: %1\nrecords: %2\n")
                       .arg(database.format == DatabaseFormat::Current ? QStringLiteral("current")
                                                                       : QStringLiteral("version 1.0"))
                       .arg(table.recordCount());
    for (int c = 0; c < kColumnCount; ++c)
        text += QStringLiteral("column %1: %2 %3\n").arg(c + 1).arg(table.width(c)).arg(table.title(c));
    writeOutput(QStringLiteral("-"), text.toUtf8(), m_console.out);
}
