#include "DocumentTexts.h"

#include "base/AppInfo.h"

namespace DocumentTexts {

QString filePart(const QString &fileName)
{
    qsizetype cut = -1;
    for (QChar sep : {QLatin1Char('\\'), QLatin1Char(':'), QLatin1Char('/')})
        cut = std::max(cut, fileName.lastIndexOf(sep));
    return fileName.mid(cut + 1);
}

QString windowTitle(const QString &fileName)
{
    return AppInfo::kTitle + QStringLiteral(" [") + filePart(fileName) + QLatin1Char(']');
}

QString statusName(const QString &fileName)
{
    return QStringLiteral("Имя: ") + filePart(fileName);
}

QString recordCount(int count)
{
    return QStringLiteral("Всего записей: ") + QString::number(count);
}

QString loggedInAs(const QString &role)
{
    return QStringLiteral("Вы вошли как: ") + role;
}

} // namespace DocumentTexts
