#include "RecoveryDescription.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString kFormat = QStringLiteral("tablora-recovery");

} // namespace

QByteArray RecoveryDescription::toJson() const
{
    const QJsonObject json{{QStringLiteral("format"), kFormat},
                           {QStringLiteral("file"), fileName},
                           {QStringLiteral("time"), time.toUTC().toString(Qt::ISODateWithMs)},
                           {QStringLiteral("user"), user},
                           {QStringLiteral("process"), process.toJson()},
                           {QStringLiteral("stamp"), stamp.toJson()}};
    return QJsonDocument(json).toJson();
}

std::optional<RecoveryDescription> RecoveryDescription::fromJson(const QByteArray &json)
{
    const QJsonObject object = QJsonDocument::fromJson(json).object();
    RecoveryDescription description;
    description.fileName = object.value(QStringLiteral("file")).toString();
    description.time = QDateTime::fromString(object.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs);
    // A NUL names no file: the system would take the name cut short there.
    if (object.value(QStringLiteral("format")).toString() != kFormat || description.fileName.isEmpty()
        || description.fileName.contains(QChar(0)) || !description.time.isValid())
        return std::nullopt;
    description.user = object.value(QStringLiteral("user")).toString();
    description.process = ProcessIdentity::fromJson(object.value(QStringLiteral("process")).toObject());
    description.stamp = FileStamp::fromJson(object.value(QStringLiteral("stamp")).toObject());
    return description;
}
