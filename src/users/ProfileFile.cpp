#include "ProfileFile.h"

#include "ProfileFormat.h"
#include "base/TabloraError.h"
#include "base/IntegerText.h"
#include "base/SafeWrite.h"
#include "base/Windows1251.h"

#include <QFile>
#include <QFileInfo>
#include <optional>

namespace {

// Nothing when the file cannot be read, whether missing or not.
std::optional<QByteArray> readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

bool holdsLineBreak(const QString &s)
{
    return s.contains(QLatin1Char('\r')) || s.contains(QLatin1Char('\n'));
}

} // namespace

ProfileFile::ProfileFile(QString path)
    : m_path(std::move(path))
{
}

QString ProfileFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    if (const auto text = readFile(m_path)) {
        if (const auto value = ProfileFormat::value(*text, section, key))
            return Windows1251::decode(QByteArrayView(*value).first(qMin(value->size(), MaxTextLength)));
    }
    qsizetype end = defaultValue.size();
    while (end > 0 && defaultValue.at(end - 1) == QLatin1Char(' '))
        --end;
    return defaultValue.first(qMin(end, qsizetype(MaxTextLength)));
}

int ProfileFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    QString text = readString(section, key, QString());
    // The classic wrapper turns "0x" into its own hexadecimal mark before parsing.
    if (text.size() > 2 && text.at(0) == QLatin1Char('0')
        && (text.at(1) == QLatin1Char('x') || text.at(1) == QLatin1Char('X')))
        text.replace(0, 2, QLatin1Char('$'));
    return IntegerText::parse(text).value_or(defaultValue);
}

bool ProfileFile::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void ProfileFile::writeString(const QString &section, const QString &key, const QString &value)
{
    if (holdsLineBreak(section) || holdsLineBreak(key) || holdsLineBreak(value)
        || section.contains(QLatin1Char(']')) || key.contains(QLatin1Char('=')))
        refuseWrite();

    QByteArray text;
    if (const auto current = readFile(m_path))
        text = *current;
    else if (QFileInfo::exists(m_path))
        refuseWrite(); // rewriting a file we cannot read would lose its other keys

    const QByteArray updated = ProfileFormat::withValue(text, section, key, Windows1251::encode(value));

    // Where no temporary file can be made beside it, the file is written in
    // place.
    if (SafeWrite::replaceFile(m_path, updated, SafeWrite::InPlace::AsLastResort))
        refuseWrite();
}

void ProfileFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void ProfileFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void ProfileFile::refuseWrite() const
{
    throw TabloraError(QStringLiteral("Unable to write to %1").arg(SafeWrite::nativeFullPath(m_path)));
}
