#include "StoredValues.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace StoredValues {

QString configFilePath(const QString& fileName)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return QDir::toNativeSeparators(QStringLiteral("%1/%2").arg(folder, fileName));
}

QSharedPointer<QSettings> settings()
{
    return QSharedPointer<QSettings>::create(configFilePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
}

} // namespace StoredValues
