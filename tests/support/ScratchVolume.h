#pragma once

#include <QString>
#include <QTemporaryDir>

// A small tmpfs of its own over a temporary folder, where this process may
// mount one (as root, outside a container that forbids it): a volume a test
// can fill, or run out of inodes, without touching any other. options are
// mount(8)'s for tmpfs ("size=256k,nr_inodes=6").
class ScratchVolume
{
public:
    explicit ScratchVolume(const char *options);
    ~ScratchVolume();
    ScratchVolume(const ScratchVolume &) = delete;
    ScratchVolume &operator=(const ScratchVolume &) = delete;

    bool isMounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};
