#pragma once

#include "ProfileFile.h"
#include "SettingKeys.h"

class ProgramDir;
class SettingsBatch;

// Handles on the three settings files of one window, addressed beside the
// executable, with typed access through the key index (SettingKeys.h). Like
// the handles it holds, it keeps no values: every read goes to the file.
// other.dat holds passwords: when a write creates it, only its owner may read
// it.
class Settings
{
public:
    explicit Settings(const ProgramDir &dir);

    ProfileFile &file(SettingsFile which);
    const ProfileFile &file(SettingsFile which) const;

    QString read(const TextKey &key) const;
    int read(const IntKey &key) const;
    bool read(const BoolKey &key) const;

    // Throw TabloraError when the file refuses the write (ProfileFile).
    void write(const TextKey &key, const QString &value);
    void write(const IntKey &key, int value);
    void write(const BoolKey &key, bool value);

    // Writes each file of the batch as one change, in the order of the
    // batch's files: a file that fails is left as it was, and so are the
    // files after it. When an earlier file was already written, the error
    // says which.
    void write(const SettingsBatch &batch);

private:
    ProfileFile m_config;
    ProfileFile m_other;
    ProfileFile m_favourite;
};
