#include "FileTypeByName.h"

#include <QFileInfo>
#include <QIcon>

QMimeType FileTypeByName::typeByName(const QFileInfo &info) const
{
    return m_mimeTypes.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
}

QIcon FileTypeByName::icon(const QFileInfo &info) const
{
    if (info.isDir())
        return QFileIconProvider::icon(Folder);
    const QIcon generic = QFileIconProvider::icon(File);
    if (!info.isFile())
        return generic;
    const QMimeType mimeType = typeByName(info);
    return QIcon::fromTheme(mimeType.iconName(), QIcon::fromTheme(mimeType.genericIconName(), generic));
}

QString FileTypeByName::type(const QFileInfo &info) const
{
    if (!info.isFile())
        return QFileIconProvider::type(info); // tells folders and the rest apart without reading
    const QMimeType mimeType = typeByName(info);
    return mimeType.comment().isEmpty() ? mimeType.name() : mimeType.comment();
}
