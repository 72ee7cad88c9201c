#pragma once

#include <QFileIconProvider>
#include <QMimeDatabase>

// The icons and type names the standard file dialogs show, judged by the
// file's name alone. Qt's own provider reads a file's first bytes to tell its
// type, and the dialog asks it on the window's thread for every file of a
// folder it lists or completes: typing "/proc/" read /proc/kmsg, which blocks
// until the kernel logs something, and froze the program. No file is opened
// here; folders and special files (devices, FIFOs, sockets) get the generic
// pictures and names.
class FileTypeByName : public QFileIconProvider
{
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo &info) const override;
    QString type(const QFileInfo &info) const override;

private:
    QMimeType typeByName(const QFileInfo &info) const;

    QMimeDatabase m_mimeTypes;
};
