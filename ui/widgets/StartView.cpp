#include "ui/widgets/StartView.h"

#include "app/core/UserContext.h"
#include "ui/kit/StyleNames.h"
#include "ui/widgets/DroppedFiles.h"

#include <QDropEvent>
#include <QFileInfo>

#include <algorithm>

StartView::StartView(QWidget* parent)
    : QFrame(parent)
    , m_formats(UserContext().supportedFormats())
{
    setObjectName(StyleName::initialView);
    setAcceptDrops(true);
}

void StartView::dragEnterEvent(QDragEnterEvent* event)
{
    DroppedFiles::acceptUriList(event);
}

void StartView::dragMoveEvent(QDragMoveEvent* event)
{
    event->acceptProposedAction();
}

void StartView::dragLeaveEvent(QDragLeaveEvent* event)
{
    event->accept();
}

void StartView::dropEvent(QDropEvent* event)
{
    auto isPdf = [](const QString& suffix) { return suffix.compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0; };
    auto isMedia = [this](const QString& suffix) { return m_formats.contains(suffix, Qt::CaseInsensitive); };
    const QStringList kept = DroppedFiles::localPaths(
        event->mimeData(), [&](const QString& suffix) { return isPdf(suffix) || isMedia(suffix); });
    if (kept.isEmpty())
        return;
    auto suffix = [](const QString& path) { return QFileInfo(path).suffix(); };
    if (std::all_of(kept.cbegin(), kept.cend(), [&](const QString& p) { return isPdf(suffix(p)); }))
        emit droppedPdfFiles(kept);
    else if (std::all_of(kept.cbegin(), kept.cend(), [&](const QString& p) { return isMedia(suffix(p)); }))
        emit droppedMediaFiles(kept);
}
