#include "SafeWrite.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace SafeWrite {

std::optional<QString> replaceFile(const QString &path, QByteArrayView bytes, InPlace inPlace)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(inPlace == InPlace::AsLastResort);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes.data(), bytes.size()) == bytes.size()
        && file.commit();
    if (written)
        return std::nullopt;
    return file.errorString();
}

QString nativeFullPath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

} // namespace SafeWrite
