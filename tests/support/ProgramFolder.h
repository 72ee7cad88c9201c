#pragma once

#include "base/ProgramDir.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// The program folder a test runs the program's parts in: a fresh temporary
// folder with its data/ folder, removed with the object. Files are named by
// their path inside it ("data/config.ini"). A step that cannot be done fails
// the running test.
class ProgramFolder
{
public:
    ProgramFolder();

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &relative) const { return m_dir.filePath(relative); }
    // The folder as the program addresses it.
    ProgramDir dir() const { return ProgramDir(path()); }

    // Makes the folder, with those above it that are missing.
    void makeFolder(const QString &relative) const;
    // Writes the file whole, replacing what it held.
    void write(const QString &relative, const QByteArray &bytes) const;
    // The file's bytes; empty when it cannot be read.
    QByteArray read(const QString &relative) const;

private:
    QTemporaryDir m_dir;
};
