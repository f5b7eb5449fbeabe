#pragma once

#include <QStringList>

#include <functional>

class QDragEnterEvent;
class QMimeData;

// What the drop targets share: which drags they take and which dropped files they keep.
namespace DroppedFiles {

// Accepts the proposed action when the drag offers "text/uri-list"; otherwise leaves the event
// unaccepted, which refuses the drag.
void acceptUriList(QDragEnterEvent* event);

// The local paths of the dropped URLs, in drop order, whose suffix (the text after the last dot
// of the file name, as QFileInfo::suffix gives it) keep() accepts. A URL that is not a local
// file gives an empty path with an empty suffix. Existence is not tested.
QStringList localPaths(const QMimeData* data, const std::function<bool(const QString& suffix)>& keep);

} // namespace DroppedFiles
