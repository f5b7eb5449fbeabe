#include "ToPdfWorkerImages.h"

#include "DebenuDocument.h"
#include "Logger.h"
#include "ToPdfOutput.h"

#include <QFile>

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

bool ToPdfWorkerImages::drawImage(DebenuDocument& document, const QString& imagePath)
{
    if (!QFile::exists(imagePath))
        return false;
    const int imageId = document.addImageFromFile(imagePath, 0);
    if (imageId == 0) {
        logError(QStringLiteral("Read image [FAILED] %1").arg(imagePath));
        return false;
    }

    int margin = 0;
    int hAlign = 0;
    int vAlign = 0;
    // A turned image is drawn turned in every layout; with FitImage the page turns with it.
    const int rotation = rotationCode(m_layout.rotate);
    if (m_layout.pageSize == LayoutSettingsData::FitImage) {
        // The size and resolution the library read with the image: decoding the whole picture
        // again just for its resolution would cost more than the rest of the page.
        const int dpiX = document.imageHorizontalResolution() > 0 ? document.imageHorizontalResolution() : 72;
        const int dpiY = document.imageVerticalResolution() > 0 ? document.imageVerticalResolution() : 72;
        int width = int(double(document.imageWidth(imageId)) / dpiX * 72);
        int height = int(double(document.imageHeight(imageId)) / dpiY * 72);
        if (m_layout.rotate == 90 || m_layout.rotate == 270)
            std::swap(width, height);
        document.setPageDimensions(width, height);
    } else {
        document.setPageSize(paperName(m_layout.pageSize, m_layout.orientation));
        margin = marginPoints(m_layout.margin);
        hAlign = LayoutSettingsData::horizontalAlignment(m_layout.position);
        vAlign = LayoutSettingsData::verticalAlignment(m_layout.position);
    }

    const int width = document.pageWidth();
    const int height = document.pageHeight();
    if (document.fitImage(imageId, margin, height - margin, width - 2 * margin, height - 2 * margin, hAlign, vAlign,
                          rotation)
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
    if (!ToPdfOutput::hasEnding(task.file.filePath(), {".jpeg", ".jpg", ".png", ".bmp"}))
        return false;
    DebenuDocument document(m_context.service, false);
    m_layout = task.layoutSettings;
    // An image that cannot be read fails the task: a blank page is no conversion.
    if (!drawImage(document, task.file.filePath()))
        return false;
    return saveDocument(document, task, ToPdfOutput::targetPath(task, saveMode, outputFolder), task.fileSettings.publisher);
}
