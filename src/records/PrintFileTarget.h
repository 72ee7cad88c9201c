#pragma once

#include "base/SafeWrite.h"

#include <QString>

#include <memory>

class QIODevice;

// The file a print job writes when it prints to a file. The job writes a new
// file beside the chosen one that has no name while it is written (where the
// file system can; otherwise a hidden name of its own, as every replaced
// file has, SafeWrite), and that takes the chosen name, synced to the disk,
// only once the job has ended well. A job that fails, is cancelled or is
// killed leaves nothing behind, and a file the user had under that name
// stays as it was.
class PrintFileTarget
{
public:
    // Makes the new file; throws TabloraError, naming the file and the
    // system's reason, when the folder takes none.
    explicit PrintFileTarget(const QString &fileName);
    // Removes the new file unless it has taken the chosen name.
    ~PrintFileTarget();
    PrintFileTarget(const PrintFileTarget &) = delete;
    PrintFileTarget &operator=(const PrintFileTarget &) = delete;

    // Where the job writes, open for writing.
    QIODevice &device();
    // Throws TabloraError, naming the file and the system's reason, once the
    // new file has taken no more bytes (a full disk).
    void throwIfFailed() const;
    // Gives the written file the chosen name, over a file of that name;
    // throws TabloraError when it cannot.
    void commit();

    static QString failureMessage(const QString &fileName, const QString &reason);

private:
    class Sink;

    QString m_fileName;
    SafeWrite::Replacement m_replacement;
    std::unique_ptr<Sink> m_sink;
};
