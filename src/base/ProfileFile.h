#pragma once

#include <QList>
#include <QString>
#include <QStringView>

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

    // Who may read a file that a write creates. An existing file keeps the
    // permissions it has.
    enum class NewFile {
        Shared, // as the process's file-creation mask allows
        OwnerOnly // readable and writable by its owner only (it holds passwords)
    };

    // One write of a batch.
    struct Entry
    {
        QString section;
        QString key;
        QString value;
    };

    explicit ProfileFile(QString path, NewFile newFile = NewFile::Shared);

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
    // The file is replaced whole through SafeWrite, never overwritten in
    // place, so that an interrupted write leaves the old content or the new,
    // never a mix. A refused write throws TabloraError("Unable to write to
    // <full path>. <the system's reason>") and leaves the previous content in
    // place; where the folder takes no new file, the reason says so. So does an existing file that
    // cannot be read, and a value or name holding a line break, which would
    // otherwise add lines of its own (the last without a reason).
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);

    // Applies the writes in order as one change of the file. On success the
    // bytes are those the same writeString calls one after another would
    // leave; when any of them would be refused, or the file cannot be
    // replaced, the file is left exactly as it was and nothing is written.
    void writeStrings(const QList<Entry> &entries);

    // How writeInteger and writeBool spell their values.
    static QString integerText(int value);
    static QString boolText(bool value);

    // Why a text written as a value would not read back exactly as it is, as
    // the end of a sentence ("в нём есть перевод строки"); empty when it would.
    // A value fails when it holds a line break or a character Windows-1251
    // lacks, is longer than MaxTextLength, starts or ends with a blank (space,
    // tab, vertical tab), or is wrapped in a matching pair of quotes (" or ').
    static QString unstorableReason(QStringView value);

private:
    // Throws "Unable to write to <full path>", followed by ". <reason>" when
    // the system gave one.
    [[noreturn]] void refuseWrite(const QString &reason = QString()) const;
    // Creates the missing file empty, readable by its owner only, so that the
    // replacing write keeps those permissions. True when it made the file.
    bool createOwnerOnly() const;

    QString m_path;
    NewFile m_newFile;
};
