#pragma once

#include <QString>

// The file a print job writes when it prints to a file: the job writes a new
// file beside the chosen one, which takes the chosen name only once the job
// has ended well. A job that fails or is cancelled leaves no half file under
// that name, and a file the user had there stays as it was until then.
class PrintFileTarget
{
public:
    // Makes the new file; throws TabloraError when the folder takes none.
    explicit PrintFileTarget(const QString &fileName);
    // Removes the new file unless it has taken the chosen name.
    ~PrintFileTarget();
    PrintFileTarget(const PrintFileTarget &) = delete;
    PrintFileTarget &operator=(const PrintFileTarget &) = delete;

    // Where the job is to write.
    const QString &partName() const { return m_partName; }
    // Gives the written file the chosen name, over a file of that name;
    // throws TabloraError when it cannot.
    void commit();

    static QString failureMessage(const QString &fileName, const QString &reason);

private:
    QString m_fileName;
    QString m_partName;
    bool m_committed = false;
};
