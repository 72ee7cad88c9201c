#include "ProfileFile.h"

#include "IntegerText.h"
#include "ProfileFormat.h"
#include "SafeRead.h"
#include "SafeWrite.h"
#include "TabloraError.h"
#include "Windows1251.h"

#include <QFile>

namespace {

// Settings files are a few kilobytes; every read parses the whole file, so a
// file far beyond that is taken as unreadable rather than read again and again.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

SafeRead::Content readFile(const QString &path)
{
    return SafeRead::wholeFile(path, kMaxFileSize);
}

bool holdsLineBreak(QStringView s)
{
    return s.contains(QLatin1Char('\r')) || s.contains(QLatin1Char('\n'));
}

// The blanks the reader takes off both ends of a value.
bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\v';
}

} // namespace

ProfileFile::ProfileFile(QString path, NewFile newFile)
    : m_path(std::move(path))
    , m_newFile(newFile)
{
}

QString ProfileFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    if (const SafeRead::Content text = readFile(m_path); text.ok()) {
        if (const auto value = ProfileFormat::value(text.bytes, section, key))
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
    writeStrings({{section, key, value}});
}

void ProfileFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, integerText(value));
}

void ProfileFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, boolText(value));
}

void ProfileFile::writeStrings(const QList<Entry> &entries)
{
    if (entries.isEmpty())
        return;
    for (const Entry &e : entries) {
        if (holdsLineBreak(e.section) || holdsLineBreak(e.key) || holdsLineBreak(e.value)
            || e.section.contains(QLatin1Char(']')) || e.key.contains(QLatin1Char('=')))
            refuseWrite();
    }

    // Rewriting a file that cannot be read would lose its other keys.
    const SafeRead::Content current = readFile(m_path);
    if (!current.ok() && !current.missing)
        refuseWrite(current.failure);

    QByteArray text = current.bytes;
    for (const Entry &e : entries)
        text = ProfileFormat::withValue(text, e.section, e.key, Windows1251::encode(e.value));

    const bool created = m_newFile == NewFile::OwnerOnly && current.missing && createOwnerOnly();
    // Never in place: a file overwritten where it stands cannot go from the
    // old keys to the new ones at once, so a write interrupted there would
    // leave a mix of both. A folder that takes no new file refuses the write.
    if (const auto reason = SafeWrite::replaceFile(m_path, text, SafeWrite::InPlace::Never)) {
        if (created)
            QFile::remove(m_path);
        refuseWrite(*reason);
    }
}

QString ProfileFile::integerText(int value)
{
    return QString::number(value);
}

QString ProfileFile::boolText(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

QString ProfileFile::unstorableReason(QStringView value)
{
    if (holdsLineBreak(value))
        return QStringLiteral("в нём есть перевод строки");
    if (const qsizetype at = Windows1251::firstUnencodable(value); at >= 0) {
        // A character outside the BMP stands in two halves: it is named whole.
        const qsizetype length =
            value[at].isHighSurrogate() && at + 1 < value.size() && value[at + 1].isLowSurrogate() ? 2 : 1;
        const QStringView character = value.sliced(at, length);
        const QString code = QString::number(character.toUcs4().value(0), 16).toUpper().rightJustified(4, u'0');
        return QStringLiteral("в нём есть знак «%1» (U+%2), которого нет в кодировке Windows-1251")
            .arg(character, code);
    }
    if (value.size() > MaxTextLength)
        return QStringLiteral("оно длиннее %1 знаков").arg(MaxTextLength);
    if (value.isEmpty())
        return {};
    for (const QChar end : {value.front(), value.back()}) {
        if (isBlank(end)) {
            return end == u' ' ? QStringLiteral("в начале или в конце стоит пробел")
                               : QStringLiteral("в начале или в конце стоит знак табуляции");
        }
    }
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        return QStringLiteral("оно заключено в кавычки, которые при чтении отбрасываются");
    return {};
}

bool ProfileFile::createOwnerOnly() const
{
    QFile file(m_path);
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void ProfileFile::refuseWrite(const QString &reason) const
{
    QString message = QStringLiteral("Unable to write to %1").arg(SafeWrite::nativeFullPath(m_path));
    if (!reason.isEmpty())
        message += QStringLiteral(". ") + reason;
    throw TabloraError(message);
}
