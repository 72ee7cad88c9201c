#pragma once

#include <QString>

// A handle on one settings file in the private-profile format (see
// ProfileFormat.h). It holds only the path: every read parses the file as it
// is on disk, and every write is on disk before it returns, so two handles on
// one path always agree and two running programs see each other's writes.
//
// Values follow the classic profile wrapper: text reads give at most
// MaxTextLength characters; integers are decimal, or hexadecimal after "0x";
// booleans are integers, non-zero is true, written "1" and "0".
class ProfileFile
{
public:
    static constexpr int MaxTextLength = 2047;

    explicit ProfileFile(QString path);

    const QString &path() const { return m_path; }

    // A missing or unreadable file, section or key gives defaultValue with its
    // trailing spaces removed (and cut like a stored text). Only a regular
    // file of at most 16 MB is read.
    QString readString(const QString &section, const QString &key, const QString &defaultValue) const;
    // A value that is not an integer gives defaultValue.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;

    // Writes the value as given, in Windows-1251; characters the code page
    // lacks become "?". The file is created when missing, its folder never.
    // The file is replaced whole through SafeWrite; only where its folder
    // takes no new file is it overwritten in place. A refused write throws
    // TabloraError("Unable to write to <full path>. <the system's reason>")
    // and leaves the previous content in place. So does an existing file that
    // cannot be read, and a value or name holding a line break, which would
    // otherwise add lines of its own (the last without a reason).
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);

private:
    // Throws "Unable to write to <full path>", followed by ". <reason>" when
    // the system gave one.
    [[noreturn]] void refuseWrite(const QString &reason = QString()) const;

    QString m_path;
};
