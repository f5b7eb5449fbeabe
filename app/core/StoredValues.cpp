#include "app/core/StoredValues.h"

#include <QDir>
#include <QStandardPaths>

namespace StoredValues {

QString configFilePath(const QString& fileName)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return QDir::toNativeSeparators(QStringLiteral("%1/%2").arg(folder, fileName));
}

} // namespace StoredValues
