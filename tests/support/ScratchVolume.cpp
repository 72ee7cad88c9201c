#include "ScratchVolume.h"

#include <QFile>

#include <sys/mount.h>

ScratchVolume::ScratchVolume(const char *options)
{
    m_mounted = m_dir.isValid()
        && ::mount("tablora-test", QFile::encodeName(m_dir.path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV, options)
            == 0;
}

ScratchVolume::~ScratchVolume()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}
