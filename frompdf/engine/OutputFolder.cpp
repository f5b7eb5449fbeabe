#include "frompdf/engine/OutputFolder.h"

#include "app/core/FileSystem.h"

#include <QDir>

namespace OutputFolder {

QString forSource(const QFileInfo& source, int saveMode, const QString& customFolder)
{
    QString folder;
    switch (saveMode) {
    case 0:
        folder = source.absolutePath() + QLatin1Char('/') + source.completeBaseName();
        break;
    case 1:
        folder = source.absolutePath();
        break;
    case 2:
        folder = customFolder;
        break;
    default:
        return QString();
    }
    FileSystem::createDir(folder);
    return QDir::toNativeSeparators(folder);
}

} // namespace OutputFolder
