#include "SettingsBatch.h"

void SettingsBatch::set(const TextKey &key, const QString &value)
{
    m_writes.append({key.file, {key.section, key.name, value}});
}

void SettingsBatch::set(const IntKey &key, int value)
{
    m_writes.append({key.file, {key.section, key.name, ProfileFile::integerText(value)}});
}

void SettingsBatch::set(const BoolKey &key, bool value)
{
    m_writes.append({key.file, {key.section, key.name, ProfileFile::boolText(value)}});
}

QList<SettingsFile> SettingsBatch::files() const
{
    QList<SettingsFile> files;
    for (const Write &w : m_writes) {
        if (!files.contains(w.file))
            files.append(w.file);
    }
    return files;
}

QList<ProfileFile::Entry> SettingsBatch::entries(SettingsFile file) const
{
    QList<ProfileFile::Entry> entries;
    for (const Write &w : m_writes) {
        if (w.file == file)
            entries.append(w.entry);
    }
    return entries;
}
