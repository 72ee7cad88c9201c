#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

// What a file on disk was at one moment: which file it was (device and
// inode), its size, when it was last written, and a digest of its first and
// last 64 KiB. Enough to notice cheaply that another program has written or
// replaced the file since, without reading it whole.
class FileStamp
{
public:
    // Nothing known: no file was looked at.
    FileStamp() = default;

    // The file at path now, a symbolic link followed; a missing file gives
    // a known stamp that says so.
    static FileStamp of(const QString &path);

    bool isKnown() const { return m_known; }
    bool exists() const { return m_exists; }

    QJsonObject toJson() const;
    // An empty or malformed object gives an unknown stamp.
    static FileStamp fromJson(const QJsonObject &json);

    friend bool operator==(const FileStamp &a, const FileStamp &b);
    friend bool operator!=(const FileStamp &a, const FileStamp &b) { return !(a == b); }

private:
    bool m_known = false;
    bool m_exists = false;
    qint64 m_device = 0;
    qint64 m_inode = 0;
    qint64 m_size = 0;
    qint64 m_modified = 0; // nanoseconds since the epoch
    QByteArray m_digest;
};
