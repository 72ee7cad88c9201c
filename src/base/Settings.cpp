#include "Settings.h"

#include "ProgramDir.h"
#include "SafeWrite.h"
#include "SettingsBatch.h"
#include "TabloraError.h"

Settings::Settings(const ProgramDir &dir)
    : m_config(dir.configIni())
    , m_other(dir.otherDat(), ProfileFile::NewFile::OwnerOnly)
    , m_favourite(dir.favouriteIni())
{
}

ProfileFile &Settings::file(SettingsFile which)
{
    return const_cast<ProfileFile &>(std::as_const(*this).file(which));
}

const ProfileFile &Settings::file(SettingsFile which) const
{
    switch (which) {
    case SettingsFile::Config:
        return m_config;
    case SettingsFile::Other:
        return m_other;
    case SettingsFile::Favourite:
        return m_favourite;
    }
    Q_UNREACHABLE();
}

QString Settings::read(const TextKey &key) const
{
    return file(key.file).readString(key.section, key.name, key.defaultValue);
}

int Settings::read(const IntKey &key) const
{
    return file(key.file).readInteger(key.section, key.name, key.defaultValue);
}

bool Settings::read(const BoolKey &key) const
{
    return file(key.file).readBool(key.section, key.name, key.defaultValue);
}

void Settings::write(const TextKey &key, const QString &value)
{
    file(key.file).writeString(key.section, key.name, value);
}

void Settings::write(const IntKey &key, int value)
{
    file(key.file).writeInteger(key.section, key.name, value);
}

void Settings::write(const BoolKey &key, bool value)
{
    file(key.file).writeBool(key.section, key.name, value);
}

void Settings::write(const SettingsBatch &batch)
{
    QStringList written;
    for (const SettingsFile which : batch.files()) {
        ProfileFile &target = file(which);
        try {
            target.writeStrings(batch.entries(which));
        } catch (const TabloraError &e) {
            if (written.isEmpty())
                throw;
            throw TabloraError(e.message() + QStringLiteral("\nИзменения записаны только в ")
                               + written.join(QStringLiteral(", ")) + QLatin1Char('.'));
        }
        written.append(SafeWrite::nativeFullPath(target.path()));
    }
}
