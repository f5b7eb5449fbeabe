#include "topdf/workers/ToPdfWorkerImages.h"

#include "app/core/Logger.h"
#include "pdflib/service/DebenuDocument.h"
#include "topdf/workers/ToPdfOutput.h"

#include <QFile>
#include <QRectF>

namespace {

void logError(const QString& text)
{
    Logger::instance()->log(text, Logger::Error);
}

} // namespace

ToPdfWorkerImages::ToPdfWorkerImages(ToPdfWorkerContext context)
    : m_context(std::move(context))
{
}

QString ToPdfWorkerImages::paperName(int pageSize, int orientation)
{
    static const char* const names[] = {"Letter", "A3", "A4", "A5", "B5"};
    if (pageSize < LayoutSettingsData::Letter || pageSize > LayoutSettingsData::B5)
        return QString();
    QString name = QLatin1String(names[pageSize]);
    if (orientation == LayoutSettingsData::Landscape)
        name += QStringLiteral(" Landscape");
    return name;
}

int ToPdfWorkerImages::marginPoints(int margin)
{
    // The single-precision 25.4 keeps the truncated values of the earlier releases (28 and 56).
    return int(LayoutSettingsData::marginMillimetres(margin) * 72.0 / double(25.4f));
}

int ToPdfWorkerImages::rotationCode(int degrees)
{
    switch (degrees) {
    case 90:
        return 2;
    case 180:
        return 3;
    case 270:
        return 1;
    default:
        return 0;
    }
}

QSizeF ToPdfWorkerImages::pictureSize(DebenuDocument& document, int imageId)
{
    document.selectImage(imageId);
    // The size and resolution the library read with the image: decoding the whole picture
    // again just for its resolution would cost more than the rest of the page.
    const int dpiX = document.imageHorizontalResolution() > 0 ? document.imageHorizontalResolution() : 96;
    const int dpiY = document.imageVerticalResolution() > 0 ? document.imageVerticalResolution() : 96;
    return QSizeF(double(document.imageWidth(imageId)) / dpiX * 72, double(document.imageHeight(imageId)) / dpiY * 72);
}

QSizeF ToPdfWorkerImages::pictureSize(const QSharedPointer<DebenuService>& service, const QString& path)
{
    DebenuDocument document(service, false);
    const int imageId = document.addImageFromFile(path, 0);
    return imageId == 0 ? QSizeF() : pictureSize(document, imageId);
}

QRectF ToPdfWorkerImages::originalSizeBox(QSizeF picture, QSizeF page, int margin, int hAlign, int vAlign)
{
    // Aligned in the box within the margins as a fitted picture would be, but not scaled: a picture
    // larger than the box reaches over the margins (and is cut by the page's edges).
    const double left = margin + (page.width() - 2 * margin - picture.width()) * hAlign / 2.0;
    const double top = margin + (page.height() - 2 * margin - picture.height()) * vAlign / 2.0;
    return QRectF(QPointF(left, top), picture);
}

bool ToPdfWorkerImages::drawImage(DebenuDocument& document, const QString& imagePath)
{
    if (!QFile::exists(imagePath))
        return false;
    const int imageId = document.addImageFromFile(imagePath, 0);
    if (imageId == 0) {
        logError(QStringLiteral("Read image [FAILED] %1: not a picture that can be read whole (cut short, damaged or of "
                                "another kind)")
                     .arg(imagePath));
        return false;
    }

    // A turned image is drawn turned in every layout; with FitImage the page turns with it.
    const int rotation = rotationCode(m_layout.rotate);
    const bool quarterTurn = m_layout.rotate == 90 || m_layout.rotate == 270;
    const QSizeF picture = pictureSize(document, imageId);
    const QSizeF footprint = quarterTurn ? picture.transposed() : picture;
    if (m_layout.pageSize == LayoutSettingsData::FitImage) {
        document.setPageDimensions(int(footprint.width()), int(footprint.height()));
    } else {
        document.setPageSize(paperName(m_layout.pageSize, m_layout.orientation));
    }
    const int width = document.pageWidth();
    const int height = document.pageHeight();

    // The box the picture is fitted into, measured from the page's top left.
    QRectF box(0, 0, width, height);
    int hAlign = 0;
    int vAlign = 0;
    if (m_layout.pageSize != LayoutSettingsData::FitImage) {
        const int margin = marginPoints(m_layout.margin);
        hAlign = LayoutSettingsData::horizontalAlignment(m_layout.position);
        vAlign = LayoutSettingsData::verticalAlignment(m_layout.position);
        box = m_layout.imageSize == LayoutSettingsData::Original
                  ? originalSizeBox(footprint, QSizeF(width, height), margin, hAlign, vAlign)
                  : box.adjusted(margin, margin, -margin, -margin);
    }
    // The library measures top from the page's bottom, PDF style.
    if (document.fitImage(imageId, box.left(), height - box.top(), box.width(), box.height(), hAlign, vAlign, rotation)
        == 0) {
        logError(QStringLiteral("Draw image %1").arg(imagePath));
        return false;
    }
    return true;
}

bool ToPdfWorkerImages::saveDocument(DebenuDocument& document, const ToPDFTask& task, const QString& path,
                                     const QString& creator)
{
    m_resultPath.clear();
    if (path.isEmpty())
        return false;
    // Without its password the file must not be written at all.
    if (!task.mergePart && !document.setProperties(ToPdfOutput::propertiesFor(task.fileSettings, creator))) {
        logError(QStringLiteral("Set properties [FAILED]"));
        return false;
    }
    const QString password = task.mergePart ? QString() : task.fileSettings.password;
    if (!document.save(path) || !ToPdfOutput::opensAsPdf(m_context.service, path, password)) {
        logError(QStringLiteral("Save file [FAILED] %1").arg(path));
        QFile::remove(path);
        return false;
    }
    m_resultPath = path;
    return true;
}

bool ToPdfWorkerImages::execute(const ToPDFTask& task, int saveMode, const QString& outputFolder)
{
    m_resultPath.clear();
    if (!ToPdfOutput::hasSuffix(task.file.filePath(), {"jpeg", "jpg", "png", "bmp"}))
        return false;
    DebenuDocument document(m_context.service, false);
    m_layout = task.layoutSettings;
    // An image that cannot be read fails the task: a blank page is no conversion.
    if (!drawImage(document, task.file.filePath()))
        return false;
    return saveDocument(document, task, ToPdfOutput::targetPath(task, saveMode, outputFolder), task.fileSettings.publisher);
}
