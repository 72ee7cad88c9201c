#pragma once

#include <QString>
#include <QUrl>

class ProgramDir;

// The update server: one web server over plain HTTP that publishes the
// version file, the updater with its signature beside it (its address and
// ".sig") and the update page. It is the program's web
// site, unless the environment variable TABLORA_UPDATE_HOST names another
// host ("host" or "host:port"). The downloads are saved beside the program
// and stay there.
namespace UpdateServer {

// The host as the user is told it, with its port when one is set.
QString host();

QUrl versionFileAddress();
QUrl updaterAddress();
QUrl signatureAddress();
QUrl updatePageAddress();

// The most each download may hold: the version file is a few bytes of text,
// the updater a program, its signature 64 bytes. Anything larger fails the
// transfer.
inline constexpr qint64 kVersionFileMaxBytes = 64 * 1024;
inline constexpr qint64 kUpdaterMaxBytes = qint64(512) << 20;
inline constexpr qint64 kSignatureMaxBytes = 64;

QString versionFilePath(const ProgramDir &dir);
QString updaterPath(const ProgramDir &dir);
QString signaturePath(const ProgramDir &dir);

} // namespace UpdateServer
