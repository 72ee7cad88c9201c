#include "FileCommands.h"

#include "DatabaseCodec.h"
#include "Document.h"
#include "DocumentTexts.h"
#include "DocumentView.h"
#include "TextReplacement.h"
#include "base/LongWork.h"
#include "base/TabloraError.h"
#include "users/Accounts.h"
#include "users/SettingKeys.h"
#include "users/Settings.h"

#include <new>

namespace {

// Turns any failure of a load into the command's own message, but for
// memory running out: that is told as what it is, not as a damaged file.
template<typename Body>
void withMessage(const QString &message, Body &&body)
{
    try {
        body();
    } catch (const std::bad_alloc &) {
        throw;
    } catch (const WorkStopped &) {
        throw; // the user's stop, which ends the command without a message
    } catch (const std::exception &) {
        throw TabloraError(message);
    }
}

QString columnName(const TableData &table, int column)
{
    const QString &title = table.title(column);
    return title.isEmpty() ? QString::number(column + 1) : QStringLiteral("«%1»").arg(title);
}

} // namespace

FileCommands::FileCommands(Document &document, Settings &settings, DesktopServices &desktop, DocumentView &view,
                           const ProgramDir &dir)
    : m_document(document)
    , m_settings(settings)
    , m_desktop(desktop)
    , m_view(view)
    , m_dir(dir)
{
}

DesktopServices::FileDialog FileCommands::openDialog()
{
    return {QStringLiteral("Tablora [Открыть...]"),
            {{QStringLiteral("Базы данных (*.db)"), QStringLiteral("*.db")},
             {QStringLiteral("Все файлы (*.*)"), QStringLiteral("*.*")}}};
}

DesktopServices::FileDialog FileCommands::saveDialog()
{
    return {QStringLiteral("Tablora [Сохранить]"),
            {{QStringLiteral("База данных (*.db)"), QStringLiteral("*.db")},
             {QStringLiteral("Все файлы (*.*)"), QStringLiteral("*.*")}}};
}

QString FileCommands::targetPath(const DesktopServices::FileChoice &choice)
{
    if (choice.filterIndex == 0 && !choice.fileName.endsWith(QStringLiteral(".db"), Qt::CaseInsensitive))
        return choice.fileName + QStringLiteral(".db");
    return choice.fileName;
}

QString FileCommands::exampleFile(Example example)
{
    switch (example) {
    case Example::Programs:
        return QStringLiteral("Примеры/Программы.db");
    case Example::Profile:
        return QStringLiteral("Примеры/Профайл.db");
    case Example::School:
        break;
    }
    return QStringLiteral("Примеры/Школьная база.db");
}

QString FileCommands::openFailureMessage()
{
    return QStringLiteral("Не возможно открыть выбранный файл. База имеет формат, не поддерживающийся программой");
}

QString FileCommands::exampleFailureMessage()
{
    return QStringLiteral("Пример повреждён. Переустановите приложение");
}

QString FileCommands::openProgressText()
{
    return QStringLiteral("Открытие базы данных...");
}

QString FileCommands::saveProgressText()
{
    return QStringLiteral("Сохранение базы данных...");
}

QString FileCommands::importProgressText()
{
    return QStringLiteral("Импорт базы данных...");
}

DesktopServices::Answer FileCommands::askToSaveChanges()
{
    m_desktop.beep();
    return m_desktop.ask(QStringLiteral("Предупреждение"),
                         QStringLiteral("База данных \"") + DocumentTexts::filePart(m_document.fileName())
                             + QStringLiteral("\" была изменена. Сохранить изменения?"),
                         DesktopServices::Icon::Question, DesktopServices::Buttons::YesNoCancel);
}

bool FileCommands::promptStep()
{
    if (!m_document.isModified())
        return true;
    switch (askToSaveChanges()) {
    case DesktopServices::Answer::Yes:
        // A save that did not happen (its dialog cancelled, the replacement of
        // unencodable text declined, the write failed and the second choice
        // cancelled) ends the command as Cancel does, so the table is not lost.
        save();
        return !m_document.isModified();
    case DesktopServices::Answer::No:
        return true;
    case DesktopServices::Answer::Cancel:
        break;
    }
    return false;
}

void FileCommands::newDatabase()
{
    if (!promptStep())
        return;
    TableData table;
    for (int c = 0; c < kColumnCount; ++c) {
        table.setWidth(c, m_settings.read(Keys::columnWidth(c)));
        table.setTitle(c, m_settings.read(Keys::caption(c)));
    }
    adopt(std::move(table), Document::untitledName());
}

void FileCommands::openDatabase()
{
    if (!m_desktop.chooseOpenFile(openDialog(), m_openChoice))
        return;
    const QString path = m_openChoice.fileName;
    withMessage(openFailureMessage(), [&] {
        if (!promptStep())
            return;
        adopt(readFile(path), path);
        addToRecent(path);
    });
}

void FileCommands::reopen(int k)
{
    withMessage(openFailureMessage(), [&] {
        if (!promptStep())
            return;
        const QString path = m_settings.read(Keys::reopenFile(k, m_dir));
        adopt(readFile(path), path);
    });
}

void FileCommands::openExample(Example example)
{
    withMessage(exampleFailureMessage(), [&] {
        if (!promptStep())
            return;
        const QString path = m_dir.file(exampleFile(example));
        adopt(readFile(path), path);
    });
}

void FileCommands::importVersion10()
{
    if (!m_desktop.chooseOpenFile(openDialog(), m_openChoice))
        return;
    const QString path = m_openChoice.fileName;
    withMessage(importFailureMessage(), [&] {
        if (!promptStep())
            return;
        adopt(readVersion10File(path), path);
    });
}

QString FileCommands::importFailureMessage()
{
    return QStringLiteral("Файл не является форматом баз данных Tablora 1.0");
}

void FileCommands::loadFile(const QString &path)
{
    adopt(readFile(path), path);
}

void FileCommands::adoptNew(TableData table, const QString &suggestedName)
{
    adopt(std::move(table), Document::untitledName());
    m_document.setModified(true);
    m_saveChoice = {suggestedName, 0};
}

TableData FileCommands::readFile(const QString &path)
{
    return LongWork::run(m_desktop, openProgressText(),
                         [&](WorkProgress &progress) { return DatabaseCodec::readBaseFile(path, &progress); });
}

TableData FileCommands::readVersion10File(const QString &path)
{
    return LongWork::run(m_desktop, importProgressText(),
                         [&](WorkProgress &progress) { return DatabaseCodec::readPlainFile(path, &progress); });
}

void FileCommands::adopt(TableData table, const QString &fileName)
{
    m_document.model().replaceTable(std::move(table));
    takeFileName(fileName);
}

void FileCommands::takeFileName(const QString &fileName)
{
    m_document.setFileName(fileName);
    m_view.updateTitle();
    m_document.setModified(false);
}

void FileCommands::addToRecent(const QString &path)
{
    for (int k = 1; k <= kRecentFileCount; ++k) {
        if (!m_view.reopenVisible(k)) {
            m_settings.write(Keys::reopenFileForShift(k), path);
            m_settings.write(Keys::reopenEnabled(k), true);
            m_view.updateRecentFiles();
            return;
        }
    }
    // All five in use: the list shifts down and entry 5 drops out.
    for (int k = kRecentFileCount; k > 1; --k)
        m_settings.write(Keys::reopenFileForShift(k), m_settings.read(Keys::reopenFileForShift(k - 1)));
    m_settings.write(Keys::reopenFileForShift(1), path);
    m_view.updateRecentFiles();
}

FileCommands::Readiness FileCommands::readyToSave()
{
    Accounts::checkRights(m_settings, m_document.role(), Keys::pravaSaveBase());
    const TableData &table = m_document.model().table();
    if (const auto bad = DatabaseCodec::findUnencodable(table)) {
        const QString where = bad->record < 0
            ? QStringLiteral("В заголовке столбца %1").arg(columnName(table, bad->column))
            : QStringLiteral("В записи %1, в столбце %2,").arg(bad->record + 1).arg(columnName(table, bad->column));
        const QString question = where
            + QStringLiteral(" есть символы, которые нельзя сохранить в файле базы данных. "
                             "Сохранить, заменив их знаком \"?\"?");
        if (m_desktop.ask(QStringLiteral("Вопрос"), question, DesktopServices::Icon::Question,
                          DesktopServices::Buttons::YesNo)
            != DesktopServices::Answer::Yes)
            return Readiness::Declined;
        return Readiness::ReadyReplacing;
    }
    return Readiness::Ready;
}

void FileCommands::write(const QString &path, bool replacing)
{
    BusyScope busy(m_desktop);
    TextReplacement replacement = replacing ? TextReplacement::make(m_document.model()) : TextReplacement();
    const TableData &table = m_document.model().table();
    try {
        LongWork::run(m_desktop, saveProgressText(),
                      [&](WorkProgress &progress) { DatabaseCodec::writeTableFile(path, table, &progress); });
    } catch (...) {
        replacement.swap(m_document.model());
        throw;
    }
    if (!replacement.isEmpty())
        m_view.keepReplacement(std::move(replacement));
}

bool FileCommands::tryWrite(const QString &path, bool replacing)
{
    try {
        write(path, replacing);
        return true;
    } catch (const TabloraError &) {
        return false;
    }
}

bool FileCommands::chooseTarget(QString &target)
{
    if (!m_desktop.chooseSaveFile(saveDialog(), m_saveChoice))
        return false;
    target = targetPath(m_saveChoice);
    return true;
}

void FileCommands::save()
{
    const Readiness readiness = readyToSave();
    if (readiness == Readiness::Declined)
        return;
    const bool replacing = readiness == Readiness::ReadyReplacing;
    QString target;
    if (!m_document.isUntitled()) {
        if (tryWrite(m_document.fileName(), replacing)) {
            m_document.setModified(false);
            m_view.updateTitle();
            return;
        }
    } else {
        if (!chooseTarget(target))
            return;
        if (tryWrite(target, replacing)) {
            takeFileName(target);
            return;
        }
    }
    // The write failed: the user chooses another place; a second failure is
    // reported.
    if (!chooseTarget(target))
        return;
    write(target, replacing);
    takeFileName(target);
}

void FileCommands::saveAs()
{
    const Readiness readiness = readyToSave();
    if (readiness == Readiness::Declined)
        return;
    QString target;
    if (!chooseTarget(target))
        return;
    write(target, readiness == Readiness::ReadyReplacing);
    takeFileName(target);
}
