#pragma once

#include "shared/records/ToPDFTask.h"

#include <QList>
#include <QStringList>

// The files the "To PDF" tab takes in, and the tasks it makes of them.
namespace ToPdfFiles {

struct NewTasks
{
    QList<ToPDFTask> tasks; // one per file that exists, in the given order
    QStringList missing;    // the paths that are no (longer a) file, in the given order
};

// A task for each path that names an existing file: its own file name (the complete base name),
// no title, the given publisher, no password, file settings enabled and the default layout
// (scale to fit, A4 portrait, small margin, centred, not rotated). Missing paths are set aside.
NewTasks newTasks(const QStringList& paths, const QString& publisher);

// A picture that the layout settings apply to: JPEG, PNG, BMP or TIFF (by the path's ending, any case).
bool isImage(const QString& path);

// A single picture whose pixel size the task table shows: JPEG, PNG or BMP.
bool hasPixelSize(const QString& path);

} // namespace ToPdfFiles
