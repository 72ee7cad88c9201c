#pragma once

#include "RecoveryFolder.h"

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <optional>

class DesktopServices;
class Document;
class ProgramDir;

// The recovery copy of the open table, so that a crash, a kill or a power
// cut loses at most the last half minute of work. While the table holds
// unsaved changes, a copy of it in the database file format stands in the
// recovery folder with a description beside it (RecoveryFolder), its
// owner's only. It follows the modified flag: written at most an interval
// after a change, and not more often while changes go on; removed as soon
// as the table is saved, its changes are given up (discard) or undone.
//
// Only a snapshot of the table is taken on the window's thread; the file is
// made and written on the work pool, through the safe write. The copy is
// written whatever the user's rights: it is their own unsaved work.
class RecoveryCopy : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kInterval{30000};

    RecoveryCopy(Document &document, const ProgramDir &dir, DesktopServices &desktop, QObject *parent = nullptr);
    // Waits for a write under way. A copy of changes neither saved nor given
    // up stays: the program ends without the user having decided on them.
    ~RecoveryCopy() override;

    // The time from a change to its copy (kInterval), shorter for tests.
    void setInterval(std::chrono::milliseconds interval) { m_timer.setInterval(interval); }

    // Starts writing a copy of the table when it holds unsaved changes
    // (the timer's tick); a write under way is followed by another.
    void writeNow();
    // Removes the copy; one being written is removed when its write ends.
    void discard();
    // Takes a copy left behind by an earlier run over as this window's own
    // (its table was just restored), so that it stays until the restored
    // changes are saved or given up.
    void adopt(const RecoveryFolder::Entry &entry);

    QString copyPath() const { return m_folder.copyPath(m_id); }
    QString descriptionPath() const { return m_folder.descriptionPath(m_id); }

signals:
    // A copy is on the disk.
    void written();
    // A copy could not be written; the reason in the system's words.
    void failed(const QString &reason);

private:
    friend class RecoveryCopyAccess; // tests/support/RecoveryCopyAccess.h

    void onTableChanged();
    // Handles the end of the write under way, once.
    void finishWrite();
    void removeFiles();

    Document &m_document;
    DesktopServices &m_desktop;
    RecoveryFolder m_folder;
    QString m_id;
    QTimer m_timer;
    // The write under way: nothing, or the system's reason of its failure.
    QFutureWatcher<std::optional<QString>> m_write;
    bool m_writing = false;
    bool m_onDisk = false; // the copy's files may exist
    bool m_again = false; // another write is wanted once this one ends
    bool m_removeWhenDone = false;
};
