#pragma once

#include <QFileInfo>
#include <QString>

namespace OutputFolder {

// Where the outputs of one source go: save mode 0 a folder named after the source (complete base
// name) beside it, 1 the source's folder, 2 customFolder, any other an empty path. The folder is
// created when missing; the path comes back with native separators.
QString forSource(const QFileInfo& source, int saveMode, const QString& customFolder);

} // namespace OutputFolder
