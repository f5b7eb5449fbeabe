#pragma once

#include "shared/records/LayoutSettingsData.h"
#include "topdf/workers/IToPdfWorker.h"

#include <QRectF>
#include <QSizeF>

class DebenuDocument;
class DebenuService;

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

    // A picture's own size in points: its pixels over its resolution as the library reads it from
    // the file (96 dpi when the file states none). The image must belong to the document.
    static QSizeF pictureSize(DebenuDocument& document, int imageId);
    // The same for a picture file (the library reads no more than its header); empty when it does
    // not read.
    static QSizeF pictureSize(const QSharedPointer<DebenuService>& service, const QString& path);
    // Where a picture of its own size (turned as it is drawn) lies on a page, measured from the
    // page's top left in points: aligned in the box within the margins, reaching over them when
    // it is larger.
    static QRectF originalSizeBox(QSizeF picture, QSizeF page, int margin, int hAlign, int vAlign);

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
