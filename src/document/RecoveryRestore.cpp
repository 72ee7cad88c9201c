#include "RecoveryRestore.h"

#include "DatabaseCodec.h"
#include "DocumentTexts.h"
#include "FileCommands.h"
#include "RecoveryCopy.h"
#include "base/DesktopServices.h"

#include <QDir>

namespace {

QString timeText(const QDateTime &time)
{
    return time.toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

QString copyName(const RecoveryDescription &description)
{
    return QStringLiteral("базы данных \"%1\" от %2")
        .arg(DocumentTexts::filePart(description.fileName), timeText(description.time));
}

} // namespace

RecoveryRestore::RecoveryRestore(FileCommands &files, RecoveryCopy &copy, DesktopServices &desktop,
                                 const ProgramDir &dir)
    : m_files(files)
    , m_copy(copy)
    , m_desktop(desktop)
    , m_folder(dir)
{
}

QString RecoveryRestore::question(const RecoveryDescription &description, const QString &keptPath)
{
    return QStringLiteral("Работа программы была прервана. Восстановить несохранённые изменения %1?\n\n"
                          "Если ответить «Нет», они останутся в файле\n%2\n"
                          "который можно открыть командой «Открыть базу данных...».")
        .arg(copyName(description), QDir::toNativeSeparators(keptPath));
}

QString RecoveryRestore::damagedMessage(const RecoveryFolder::Entry &entry, const QString &folder)
{
    const QString what = entry.description ? QStringLiteral(" ") + copyName(*entry.description) : QString();
    return QStringLiteral("Копию несохранённых изменений%1 не удалось прочитать: она повреждена. "
                          "Копия перенесена в папку\n%2")
        .arg(what, QDir::toNativeSeparators(folder));
}

void RecoveryRestore::offer()
{
    for (const RecoveryFolder::Entry &entry : m_folder.leftBehind()) {
        if (offer(entry))
            return; // the others wait for the next start
    }
}

bool RecoveryRestore::offer(const RecoveryFolder::Entry &entry)
{
    if (!entry.description) {
        reportDamaged(entry);
        return false;
    }
    TableData table;
    try {
        BusyScope busy(m_desktop);
        table = DatabaseCodec::readBaseFile(m_folder.copyPath(entry.id));
    } catch (const DatabaseReadError &) {
        reportDamaged(entry);
        return false;
    }
    const QString keptPath = m_folder.keptPath(entry);
    const DesktopServices::Answer answer = m_desktop.ask(caption(), question(*entry.description, keptPath),
                                                         DesktopServices::Icon::Question,
                                                         DesktopServices::Buttons::YesNo);
    if (answer != DesktopServices::Answer::Yes) {
        if (!m_folder.keep(entry, keptPath)) {
            m_desktop.showMessage(
                caption(),
                QStringLiteral("Копию не удалось перенести в файл\n%1\nОна осталась в файле\n%2")
                    .arg(QDir::toNativeSeparators(keptPath), QDir::toNativeSeparators(m_folder.copyPath(entry.id))),
                DesktopServices::Icon::Warning);
        }
        return false;
    }
    m_files.restore(std::move(table), entry.description->fileName, entry.description->stamp);
    m_copy.adopt(entry);
    return true;
}

void RecoveryRestore::reportDamaged(const RecoveryFolder::Entry &entry)
{
    const QString folder = m_folder.setAside(entry);
    m_desktop.showMessage(caption(), damagedMessage(entry, folder), DesktopServices::Icon::Warning);
}
