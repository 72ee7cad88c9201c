#pragma once

#include <QString>
#include <QStringList>

// The program's folder. Every file of the program is addressed relative to
// it, never to the working directory. It is the executable's own folder
// where the program may write there, as in a build folder or a copy the
// user unpacked. An installed program's folder is shared and read-only, so
// there each user gets a folder of their own, seeded from the installed one;
// only the files that ship read-only (the help file) are still read beside
// the executable.
class ProgramDir
{
public:
    // directory holds the program's files; shippedDirectory, when given, the
    // files that ship read-only (otherwise directory holds those too).
    explicit ProgramDir(QString directory, QString shippedDirectory = QString());

    // The folder of the running application, chosen (choose) from what
    // probe finds beside the executable and the user's folder below the XDG
    // data home ("~/.local/share/tablora"). Nothing is made: a program that
    // only reads finds defaults where the user's folder does not exist yet.
    static ProgramDir ofApplication();
    // ofApplication, with the user's folder seeded when it is missing (seed),
    // for the program that writes there. Throws TabloraError when that folder
    // cannot be made.
    static ProgramDir prepareForApplication();

    // What start-up learns about the executable's folder.
    struct Probe
    {
        bool writable = false; // a new file can be created in it
        bool installed = false; // it holds installedMark()
    };
    static Probe probe(const QString &executableDir);

    // The executable's folder when it is writable and not an installed copy,
    // otherwise userDir (with the shipped files still beside the executable).
    // The installed mark counts even for a user who may write there, so that
    // root starting the installed program keeps to a folder of its own too,
    // instead of leaving files in the package's folder for every user's
    // seeding.
    static ProgramDir choose(const QString &executableDir, const Probe &probe, const QString &userDir);

    // The file the install lays beside the executable to say "installed".
    static QString installedMark() { return QStringLiteral("installed"); }

    // The folders copied into a new user's folder.
    static QStringList seededFolders();

    // Makes the user's folder at to, a copy of seededFolders() of from, when
    // it does not exist yet; an existing folder is left exactly as it is. The
    // copy is made under a temporary name and put in place whole, so an
    // interrupted copy is simply made again on the next start. Its folders
    // and files are its owner's only: they hold passwords and databases.
    // Throws TabloraError when it cannot be made.
    static void seed(const QString &from, const QString &to);

    const QString &path() const { return m_path; }
    const QString &shippedPath() const { return m_shippedPath; }
    // The program runs from an installed copy (choose found installedMark()):
    // the package manager, or whoever installed it, updates it.
    bool isInstalled() const { return m_installed; }

    // Joins a relative path written with '/' to the directory, using the
    // platform's separator ("data/config.ini" -> ".../data/config.ini").
    QString file(const QString &relative) const;

    QString configIni() const { return file(QStringLiteral("data/config.ini")); }
    QString otherDat() const { return file(QStringLiteral("data/other.dat")); }
    QString favouriteIni() const { return file(QStringLiteral("db/favourite/favourite.ini")); }
    QString defaultDb() const { return file(QStringLiteral("db/default.db")); }
    QString helpFile() const { return shippedFile(QStringLiteral("help.chm")); }
    QString errorLog() const { return file(QStringLiteral("errors.log")); }

private:
    QString shippedFile(const QString &relative) const;

    QString m_path;
    QString m_shippedPath;
    bool m_installed = false;
};
