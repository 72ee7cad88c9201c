#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

// What a file on disk was at one moment: which file it was (device and
// inode), its size, when its content and its inode last changed, and a hash
// of its whole content. Enough to notice that another program has written
// or replaced the file since, even one that rewrote it in place and set the
// modification time back: the inode change time cannot be set back, and
// where it ticks too coarsely to tell two writes apart, the hash still does.
class FileStamp
{
public:
    // Nothing known: no file was looked at.
    FileStamp() = default;

    // The file at path now, a symbolic link followed; a missing file gives
    // a known stamp that says so. Reads the whole file.
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
    qint64 m_changed = 0; // the inode's change, nanoseconds since the epoch
    QByteArray m_digest;
};
