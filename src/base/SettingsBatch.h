#pragma once

#include "ProfileFile.h"
#include "SettingKeys.h"

#include <QList>

// Writes to the settings files gathered to be made together: Settings::write
// applies each file's share as one change (ProfileFile::writeStrings), so a
// dialog that stores many keys never leaves a file half written.
class SettingsBatch
{
public:
    void set(const TextKey &key, const QString &value);
    void set(const IntKey &key, int value);
    void set(const BoolKey &key, bool value);

    // The files written to, in the order of their first write.
    QList<SettingsFile> files() const;
    // One file's writes, in the order they were made.
    QList<ProfileFile::Entry> entries(SettingsFile file) const;

private:
    struct Write
    {
        SettingsFile file;
        ProfileFile::Entry entry;
    };
    QList<Write> m_writes;
};
