#pragma once

#include "RecoveryDescription.h"

#include <QList>
#include <QString>

#include <optional>

class ProgramDir;

// The folder of recovery copies, "recovery" in the program's folder and its
// owner's only: each window's copy "<id>.db" with its description
// "<id>.json" beside it; copies the user chose not to restore in "kept",
// copies that could not be read in "damaged".
class RecoveryFolder
{
public:
    explicit RecoveryFolder(const ProgramDir &dir);

    const QString &path() const { return m_path; }
    QString copyPath(const QString &id) const;
    QString descriptionPath(const QString &id) const;
    // Makes the folder, its owner's only, when it is missing. Nothing on
    // success, otherwise the reason.
    std::optional<QString> make() const;

    // A copy left behind by a run that ended without saving its changes or
    // giving them up.
    struct Entry
    {
        QString id;
        // Nothing when the description cannot be read.
        std::optional<RecoveryDescription> description;
    };
    // The copies whose writers ended - crashed, killed, or the power failed -,
    // those that cannot be read first, then the newest first. Copies of
    // running processes and of other computers are left to them. A
    // description without its copy, left when a writer ended between the
    // two, is removed: there is nothing to restore.
    QList<Entry> leftBehind() const;

    // Where keep() puts a copy: "kept/<name> (копия 14.03.2026 15-09-26).db",
    // after the database's file name and the copy's time, with a number added
    // when that name is taken.
    QString keptPath(const Entry &entry) const;
    // Moves the copy to keptPath, a database file of its own the user may
    // open, and removes its description. False when it could not be moved,
    // or something stands at keptPath by now: nothing is replaced.
    bool keep(const Entry &entry, const QString &keptPath) const;
    // Moves the copy and its description into "damaged", as they are named.
    // The folder they are in afterwards.
    QString setAside(const Entry &entry) const;

private:
    QString m_path;
};
