#pragma once

#include "RecoveryFolder.h"

#include <QString>

class DesktopServices;
class FileCommands;
class ProgramDir;
class RecoveryCopy;

// At start, after the login: offers the unsaved changes that runs of the
// program ended by a crash, a kill or a power cut left in recovery copies,
// newest first, until one is restored. "Да" opens the copy as the modified
// table under the name of its database, so that Save writes there once the
// user has looked; "Нет" moves it aside as a database file of its own, named
// in the question. A copy that cannot be read is reported and moved aside,
// never deleted. Restoring asks no right: opening asks none.
class RecoveryRestore
{
public:
    RecoveryRestore(FileCommands &files, RecoveryCopy &copy, DesktopServices &desktop, const ProgramDir &dir);

    void offer();

    static QString caption() { return QStringLiteral("Восстановление"); }
    static QString question(const RecoveryDescription &description, const QString &keptPath);
    // An entry without a description is named by nothing.
    static QString damagedMessage(const RecoveryFolder::Entry &entry, const QString &folder);

private:
    // True when the copy was restored.
    bool offer(const RecoveryFolder::Entry &entry);
    void reportDamaged(const RecoveryFolder::Entry &entry);

    FileCommands &m_files;
    RecoveryCopy &m_copy;
    DesktopServices &m_desktop;
    RecoveryFolder m_folder;
};
