#include "topdf/model/ToPdfFiles.h"

#include <QFileInfo>

namespace {

bool endsWithAny(const QString& path, std::initializer_list<const char*> endings)
{
    for (const char* ending : endings) {
        if (path.endsWith(QLatin1String(ending), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

namespace ToPdfFiles {

NewTasks newTasks(const QStringList& paths, const QString& publisher)
{
    NewTasks result;
    for (const QString& path : paths) {
        const QFileInfo file(path);
        if (!file.isFile()) {
            result.missing << path;
            continue;
        }
        ToPDFTask task;
        task.file = file;
        task.fileSettings.fileName = file.completeBaseName();
        task.fileSettings.publisher = publisher;
        result.tasks << task;
    }
    return result;
}

bool isImage(const QString& path)
{
    return hasPixelSize(path) || endsWithAny(path, {".tiff", ".tif"});
}

bool hasPixelSize(const QString& path)
{
    return endsWithAny(path, {".jpeg", ".jpg", ".png", ".bmp"});
}

} // namespace ToPdfFiles
