#include "CsvCommands.h"

#include "CsvExportDialog.h"
#include "CsvImportDialog.h"
#include "base/LongWork.h"
#include "base/SafeRead.h"
#include "base/SafeWrite.h"
#include "base/SettingKeys.h"
#include "base/Settings.h"
#include "document/CsvDetection.h"
#include "document/CsvReader.h"
#include "document/CsvWriter.h"
#include "document/DatabaseCodec.h"
#include "document/Document.h"
#include "document/DocumentTexts.h"
#include "document/FileCommands.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Where reading the file ends on the bar of the import's reading.
constexpr int kFileRead = WorkProgress::kScale;

struct Extension
{
    int filter;
    QString suffix;
};

const Extension kExtensions[] = {{0, QStringLiteral(".csv")}, {1, QStringLiteral(".tsv")}};

} // namespace

CsvCommands::CsvCommands(Document &document, FileCommands &files, Settings &settings, DesktopServices &desktop,
                         QWidget *dialogParent)
    : m_document(document)
    , m_files(files)
    , m_settings(settings)
    , m_desktop(desktop)
    , m_dialogParent(dialogParent)
{
    // What spreadsheets in Russian locales open as they stand.
    m_exportOptions.delimiter = ';';
    m_exportOptions.byteOrderMark = true;
    m_exportOptions.protectFormulas = true;
}

DesktopServices::FileDialog CsvCommands::exportDialog()
{
    return {QStringLiteral("Tablora [Экспорт в CSV]"),
            {{QStringLiteral("Файлы CSV (*.csv)"), QStringLiteral("*.csv")},
             {QStringLiteral("Текст с табуляциями (*.tsv)"), QStringLiteral("*.tsv")},
             {QStringLiteral("Все файлы (*.*)"), QStringLiteral("*.*")}}};
}

DesktopServices::FileDialog CsvCommands::importDialog()
{
    return {QStringLiteral("Tablora [Импорт из CSV]"),
            {{QStringLiteral("Файлы CSV (*.csv *.tsv *.txt)"), QStringLiteral("*.csv;*.tsv;*.txt")},
             {QStringLiteral("Все файлы (*.*)"), QStringLiteral("*.*")}}};
}

QString CsvCommands::exportPath(const DesktopServices::FileChoice &choice)
{
    for (const Extension &extension : kExtensions) {
        if (choice.filterIndex == extension.filter && !choice.fileName.endsWith(extension.suffix, Qt::CaseInsensitive))
            return choice.fileName + extension.suffix;
    }
    return choice.fileName;
}

QString CsvCommands::exportProgressText()
{
    return QStringLiteral("Экспорт в CSV...");
}

QString CsvCommands::readProgressText()
{
    return QStringLiteral("Чтение файла...");
}

QString CsvCommands::importProgressText()
{
    return QStringLiteral("Импорт из CSV...");
}

QString CsvCommands::readFailureMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("Не удаётся прочитать файл \"%1\". %2").arg(SafeWrite::nativeFullPath(path), reason);
}

QString CsvCommands::suggestedExportName() const
{
    if (m_document.isUntitled())
        return DocumentTexts::filePart(m_document.fileName()) + kExtensions[0].suffix;
    const QFileInfo database(m_document.fileName());
    return database.dir().filePath(database.completeBaseName() + kExtensions[0].suffix);
}

void CsvCommands::exportCsv()
{
    CsvExportDialog options(m_dialogParent);
    options.setOptions(m_exportOptions);
    if (m_desktop.execDialog(options) != QDialog::Accepted)
        return;
    m_exportOptions = options.options();

    if (m_exportChoice.fileName.isEmpty())
        m_exportChoice.fileName = suggestedExportName();
    // The filter follows the delimiter unless the user chose all files.
    if (m_exportChoice.filterIndex != 2)
        m_exportChoice.filterIndex = m_exportOptions.delimiter == '\t' ? 1 : 0;
    if (!m_desktop.chooseSaveFile(exportDialog(), m_exportChoice))
        return;
    const QString path = exportPath(m_exportChoice);
    const TableData &table = m_document.model().table();
    LongWork::run(m_desktop, exportProgressText(),
                  [&](WorkProgress &progress) { CsvWriter::writeFile(path, table, m_exportOptions, &progress); });
}

void CsvCommands::importCsv()
{
    if (!m_desktop.chooseOpenFile(importDialog(), m_importChoice))
        return;
    const QString path = m_importChoice.fileName;
    QByteArray text = LongWork::run(m_desktop, readProgressText(), [&](WorkProgress &progress) {
        progress.beginStage(kFileRead, QFileInfo(path).size());
        SafeRead::Content content = SafeRead::wholeFile(path, DatabaseCodec::maxFileSize(), &progress);
        progress.throwIfStopped();
        if (!content.ok())
            throw TabloraError(readFailureMessage(path, content.failure));
        return std::move(content.bytes);
    });

    CsvReadOptions detected;
    detected.encoding = CsvDetection::encoding(text);
    detected.delimiter = CsvDetection::delimiter(text);
    detected.titlesInFirstRow = m_titlesInFirstRow;
    detected.removeFormulaMarks = m_removeFormulaMarks;
    CsvImportDialog options(text, path, m_dialogParent);
    options.setOptions(detected);
    if (m_desktop.execDialog(options) != QDialog::Accepted)
        return;
    const CsvReadOptions chosen = options.options();
    m_titlesInFirstRow = chosen.titlesInFirstRow;
    m_removeFormulaMarks = chosen.removeFormulaMarks;

    TableData table = LongWork::run(m_desktop, importProgressText(),
                                    [&](WorkProgress &progress) { return CsvReader(chosen).read(text, &progress); });
    text = QByteArray();
    for (int c = 0; c < kColumnCount; ++c) {
        table.setWidth(c, m_settings.read(Keys::columnWidth(c)));
        if (!chosen.titlesInFirstRow)
            table.setTitle(c, m_settings.read(Keys::caption(c)));
    }
    if (!m_files.promptStep())
        return;
    const QFileInfo file(path);
    m_files.adoptNew(std::move(table), file.dir().filePath(file.completeBaseName() + QStringLiteral(".db")));
}
