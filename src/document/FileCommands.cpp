#include "FileCommands.h"

#include "DatabaseCodec.h"
#include "Document.h"
#include "DocumentTexts.h"
#include "DocumentView.h"
#include "TextReplacement.h"
#include "base/FileStamp.h"
#include "base/LongWork.h"
#include "base/SafeWrite.h"
#include "base/SettingKeys.h"
#include "base/Settings.h"
#include "base/TabloraError.h"
#include "users/Accounts.h"

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
    adopt(std::move(table), Document::untitledName(), FileStamp());
}

void FileCommands::openDatabase()
{
    QString path;
    if (chooseFileToOpen(path))
        open(path, databaseReading(openFailureMessage()), Recent::Add);
}

void FileCommands::reopen(int k)
{
    open(m_settings.read(Keys::reopenFile(k, m_dir)), databaseReading(openFailureMessage()), Recent::Keep);
}

void FileCommands::openExample(Example example)
{
    open(m_dir.file(exampleFile(example)), databaseReading(exampleFailureMessage()), Recent::Keep);
}

void FileCommands::importVersion10()
{
    QString path;
    if (!chooseFileToOpen(path))
        return;
    const Reading plainList{
        [](const QString &file, WorkProgress *progress) { return DatabaseCodec::readPlainFile(file, progress); },
        importProgressText(), importFailureMessage()};
    open(path, plainList, Recent::Keep);
}

QString FileCommands::importFailureMessage()
{
    return QStringLiteral("Файл не является форматом баз данных Tablora 1.0");
}

void FileCommands::loadFile(const QString &path)
{
    open(path, databaseReading(openFailureMessage()), Recent::Keep);
}

FileCommands::Reading FileCommands::databaseReading(const QString &failureMessage)
{
    return {[](const QString &file, WorkProgress *progress) { return DatabaseCodec::readBaseFile(file, progress); },
            openProgressText(), failureMessage};
}

bool FileCommands::chooseFileToOpen(QString &path)
{
    if (!m_desktop.chooseOpenFile(openDialog(), m_openChoice))
        return false;
    path = m_openChoice.fileName;
    return true;
}

void FileCommands::open(const QString &path, const Reading &reading, Recent recent)
{
    withMessage(reading.failureMessage, [&] {
        if (!mayOpen(path) || !promptStep())
            return;
        // The stamp is taken before the read, so that a change made
        // meanwhile counts as one.
        const FileStamp stamp = FileStamp::of(path);
        adopt(LongWork::run(m_desktop, reading.progressText,
                            [&](WorkProgress &progress) { return reading.read(path, &progress); }),
              path, stamp);
        if (recent == Recent::Add)
            addToRecent(path);
    });
}

void FileCommands::adoptNew(TableData table, const QString &suggestedName)
{
    adopt(std::move(table), Document::untitledName(), FileStamp());
    m_document.setModified(true);
    m_saveChoice = {suggestedName, 0};
}

void FileCommands::restore(TableData table, const QString &fileName, const FileStamp &stamp)
{
    adopt(std::move(table), fileName, stamp);
    m_document.setModified(true);
}

void FileCommands::adopt(TableData table, const QString &fileName, const FileStamp &stamp)
{
    m_document.model().replaceTable(std::move(table));
    takeFileName(fileName, stamp);
}

void FileCommands::takeFileName(const QString &fileName, const FileStamp &stamp)
{
    m_document.setFileName(fileName);
    m_document.setDiskStamp(stamp);
    if (m_document.isUntitled())
        m_lock.release();
    else if (!m_lock.holds(fileName))
        m_lock.acquire(fileName, m_desktop.now());
    m_view.updateTitle();
    m_document.setModified(false);
}

bool FileCommands::mayOpen(const QString &path)
{
    const std::optional<FileLock::Holder> holder = m_lock.otherHolder(path);
    return !holder
        || m_desktop.ask(QStringLiteral("Вопрос"), lockedQuestion(path, *holder), DesktopServices::Icon::Question,
                         DesktopServices::Buttons::YesNo)
        == DesktopServices::Answer::Yes;
}

QString FileCommands::lockedQuestion(const QString &path, const FileLock::Holder &holder)
{
    const QString file = SafeWrite::nativeFullPath(path);
    if (!holder.known) {
        return QStringLiteral("Файл \"%1\" может быть открыт другой программой: рядом с ним лежит файл блокировки "
                              "\"%2\". Всё равно открыть его?")
            .arg(file, SafeWrite::nativeFullPath(FileLock::lockPath(path)));
    }
    const QString since = holder.since.isValid()
        ? QStringLiteral(" с ") + holder.since.toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"))
        : QString();
    return QStringLiteral("Файл \"%1\" уже открыт в Tablora%2: пользователь %3, компьютер %4, процесс %5. "
                          "Если изменять его и там, и здесь, при сохранении придётся выбирать, чьи изменения "
                          "оставить. Всё равно открыть его?")
        .arg(file, since, holder.process.login, holder.process.host, QString::number(holder.process.pid));
}

QString FileCommands::changedOnDiskQuestion(const QString &path)
{
    return QStringLiteral("Файл \"%1\" был изменён другой программой после того, как он был открыт или сохранён "
                          "здесь. Если перезаписать его, те изменения будут потеряны.")
        .arg(SafeWrite::nativeFullPath(path));
}

QStringList FileCommands::changedOnDiskButtons()
{
    return {QStringLiteral("Перезаписать"), QStringLiteral("Сохранить как..."), QStringLiteral("Отмена")};
}

FileCommands::Overwrite FileCommands::askBeforeOverwrite()
{
    const FileStamp &known = m_document.diskStamp();
    if (!known.isKnown() || !known.exists())
        return Overwrite::Yes;
    const FileStamp now = FileStamp::of(m_document.fileName());
    if (!now.exists() || now == known)
        return Overwrite::Yes; // nothing there to lose
    switch (m_desktop.choose(QStringLiteral("Предупреждение"), changedOnDiskQuestion(m_document.fileName()),
                             DesktopServices::Icon::Warning, changedOnDiskButtons())) {
    case 0:
        return Overwrite::Yes;
    case 1:
        return Overwrite::SaveAs;
    default:
        return Overwrite::Cancel;
    }
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
        switch (askBeforeOverwrite()) {
        case Overwrite::Yes:
            break;
        case Overwrite::SaveAs:
            saveToChosenFile(replacing);
            return;
        case Overwrite::Cancel:
            return;
        }
        if (tryWrite(m_document.fileName(), replacing)) {
            takeFileName(m_document.fileName(), FileStamp::of(m_document.fileName()));
            return;
        }
    } else {
        if (!chooseTarget(target))
            return;
        if (tryWrite(target, replacing)) {
            takeFileName(target, FileStamp::of(target));
            return;
        }
    }
    // The write failed: the user chooses another place; a second failure is
    // reported.
    if (!chooseTarget(target))
        return;
    write(target, replacing);
    takeFileName(target, FileStamp::of(target));
}

void FileCommands::saveAs()
{
    const Readiness readiness = readyToSave();
    if (readiness != Readiness::Declined)
        saveToChosenFile(readiness == Readiness::ReadyReplacing);
}

void FileCommands::saveToChosenFile(bool replacing)
{
    QString target;
    if (!chooseTarget(target))
        return;
    write(target, replacing);
    takeFileName(target, FileStamp::of(target));
}
