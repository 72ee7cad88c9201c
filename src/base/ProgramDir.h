#pragma once

#include <QString>

// The directory of the program's executable. Every file of the program is
// addressed relative to it, never to the working directory.
class ProgramDir
{
public:
    explicit ProgramDir(QString directory);

    // The executable's directory of the running application.
    static ProgramDir ofApplication();

    const QString &path() const { return m_path; }

    // Joins a relative path written with '/' to the directory, using the
    // platform's separator ("data/config.ini" -> ".../data/config.ini").
    QString file(const QString &relative) const;

    QString configIni() const { return file(QStringLiteral("data/config.ini")); }
    QString otherDat() const { return file(QStringLiteral("data/other.dat")); }
    QString favouriteIni() const { return file(QStringLiteral("db/favourite/favourite.ini")); }
    QString defaultDb() const { return file(QStringLiteral("db/default.db")); }
    QString helpFile() const { return file(QStringLiteral("help.chm")); }
    QString errorLog() const { return file(QStringLiteral("errors.log")); }

private:
    QString m_path;
};
