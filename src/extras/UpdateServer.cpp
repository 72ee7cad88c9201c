#include "UpdateServer.h"

#include "base/AppInfo.h"
#include "base/ProgramDir.h"

namespace UpdateServer {

namespace {

QUrl address(const QString &path)
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setAuthority(host());
    url.setPath(path);
    return url;
}

} // namespace

QString host()
{
    const QString configured = qEnvironmentVariable("TABLORA_UPDATE_HOST").trimmed();
    return configured.isEmpty() ? QString(AppInfo::kSiteHost) : configured;
}

QUrl versionFileAddress()
{
    return address(QStringLiteral("/other/tabloraversion.txt"));
}

QUrl updaterAddress()
{
    return address(QStringLiteral("/files/tabloraupdate.exe"));
}

QUrl signatureAddress()
{
    return address(QStringLiteral("/files/tabloraupdate.exe.sig"));
}

QUrl updatePageAddress()
{
    return address(QStringLiteral("/update.php"));
}

QString versionFilePath(const ProgramDir &dir)
{
    return dir.file(QStringLiteral("tabloraversion.txt"));
}

QString updaterPath(const ProgramDir &dir)
{
    return dir.file(QStringLiteral("tabloraupdate.exe"));
}

QString signaturePath(const ProgramDir &dir)
{
    return dir.file(QStringLiteral("tabloraupdate.exe.sig"));
}

} // namespace UpdateServer
