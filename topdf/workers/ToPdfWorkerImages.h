#pragma once

#include "IToPdfWorker.h"
#include "LayoutSettingsData.h"

class DebenuDocument;

// One JPEG, PNG or BMP image on one PDF page, laid out by the task's layout settings.
class ToPdfWorkerImages : public IToPdfWorker
{
public:
    explicit ToPdfWorkerImages(ToPdfWorkerContext context);

    bool execute(const ToPDFTask& task, int saveMode, const QString& outputFolder) override;
    QString resultPath() const override { return m_resultPath; }

    // The library's paper name of a page size ("A4", "Letter Landscape", ...); empty for FitImage
    // and unknown sizes.
    static QString paperName(int pageSize, int orientation);
    // A margin in whole points (10 mm is 28 points, 20 mm 56).
    static int marginPoints(int margin);
    // The library's rotation code of a clockwise turn: 90 gives 2, 180 gives 3, 270 gives 1.
    static int rotationCode(int degrees);

protected:
    // Lays out one image on the document's selected page with the worker's layout. False when the
    // image cannot be read or drawn: the page is then left blank.
    bool drawImage(DebenuDocument& document, const QString& imagePath);

    // Writes the document to path: with the task's properties (creator as given) unless it is a
    // merge part. True, with the result path set, when the saved file opens.
    bool saveDocument(DebenuDocument& document, const ToPDFTask& task, const QString& path, const QString& creator);

    ToPdfWorkerContext m_context;
    LayoutSettingsData m_layout;
    QString m_resultPath;
};
