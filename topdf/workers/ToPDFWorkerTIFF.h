#pragma once

#include "topdf/workers/ToPdfWorkerImages.h"

#include <QStringList>

// A TIFF file, one PDF page per TIFF page: the program folder's image tool turns the pages into
// PNG files in a work folder, each of which then goes on a page with the task's layout.
class ToPDFWorkerTIFF : public ToPdfWorkerImages
{
public:
    explicit ToPDFWorkerTIFF(ToPdfWorkerContext context);

    bool execute(const ToPDFTask& task, int saveMode, const QString& outputFolder) override;

    // The pages of tiffPath as PNG files in workFolder, in page order; empty when the file holds no
    // readable page or the image tool is missing, fails, is stopped or runs past its time-out.
    QStringList convertTiffToPng(const QString& tiffPath, const QString& workFolder);
};
