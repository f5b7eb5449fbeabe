#include "ui/widgets/DroppedFiles.h"

#include <QDragEnterEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

void DroppedFiles::acceptUriList(QDragEnterEvent* event)
{
    if (event->mimeData()->hasFormat(QStringLiteral("text/uri-list")))
        event->acceptProposedAction();
}

QStringList DroppedFiles::localPaths(const QMimeData* data, const std::function<bool(const QString&)>& keep)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        const QString path = url.toLocalFile();
        if (keep(QFileInfo(path).suffix()))
            paths << path;
    }
    return paths;
}
