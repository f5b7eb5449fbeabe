#include "frompdf/engine/OutputFolder.h"

#include "app/core/FileSystem.h"
#include "app/core/SaveMode.h"

#include <QDir>

namespace OutputFolder {

QString forSource(const QFileInfo& source, int saveMode, const QString& customFolder)
{
    const QString folder = SaveMode::folderFor(saveMode, source, customFolder);
    if (folder.isEmpty())
        return QString();
    FileSystem::createDir(folder);
    return QDir::toNativeSeparators(folder);
}

} // namespace OutputFolder
