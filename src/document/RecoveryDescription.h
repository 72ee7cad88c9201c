#pragma once

#include "base/FileStamp.h"
#include "base/ProcessIdentity.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

// The small file beside a recovery copy: the database the copy belongs to
// (its file name, or "Новая база данных" for one never saved), when the copy
// was taken, the user who was logged in, the process that wrote it, and what
// the database's file was on disk when it was last read or saved, so that a
// restored table still notices a change made to the file since.
struct RecoveryDescription
{
    QString fileName;
    QDateTime time;
    QString user;
    ProcessIdentity process;
    FileStamp stamp;

    QByteArray toJson() const;
    // Nothing for text that is not such a description, or names no file.
    static std::optional<RecoveryDescription> fromJson(const QByteArray &json);
};
