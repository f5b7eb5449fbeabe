#pragma once

#include <QFileInfo>
#include <QString>

namespace OutputFolder {

// Where the outputs of one source go under a SaveMode mode (customFolder for ChosenFolder), an
// empty path for a number of no mode. The folder is created when missing; the path comes back
// with native separators.
QString forSource(const QFileInfo& source, int saveMode, const QString& customFolder);

} // namespace OutputFolder
