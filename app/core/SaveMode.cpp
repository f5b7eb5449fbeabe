#include "app/core/SaveMode.h"

QString SaveMode::folderFor(int mode, const QFileInfo& source, const QString& chosenFolder)
{
    switch (mode) {
    case SubFolder:
        return source.absolutePath() + QLatin1Char('/') + source.completeBaseName();
    case SourceFolder:
        return source.absolutePath();
    case ChosenFolder:
        return chosenFolder;
    default:
        return QString();
    }
}
