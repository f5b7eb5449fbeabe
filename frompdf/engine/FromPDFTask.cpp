#include "frompdf/engine/FromPDFTask.h"

#include <QStringList>

namespace {

bool containsFormat(const QStringList& formats, const QString& format)
{
    return formats.contains(format, Qt::CaseInsensitive);
}

} // namespace

bool FromPDFTask::isDocumentFormat(const QString& format)
{
    static const QStringList formats = {"doc", "docx", "odt", "ods", "rtf", "html"};
    return containsFormat(formats, format);
}

bool FromPDFTask::isImageFormat(const QString& format)
{
    static const QStringList formats = {"jpg", "bmp", "tiff", "gif", "eps", "wmf", "png"};
    return containsFormat(formats, format);
}

bool FromPDFTask::isTextFormat(const QString& format)
{
    return format.compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0;
}

bool FromPDFTask::isAlwaysSplitFormat(const QString& format)
{
    static const QStringList formats = {"eps", "wmf"};
    return containsFormat(formats, format);
}

void FromPDFTask::setFormat(const QString& newFormat)
{
    format = newFormat;
    if (isDocumentFormat(format) || isTextFormat(format))
        split = false;
    else
        ocrLanguage.clear();
    if (isImageFormat(format))
        split = true;
}

void FromPDFTask::setOcrLanguage(const QString& language)
{
    if (isDocumentFormat(format) || isTextFormat(format))
        ocrLanguage = language;
    else
        ocrLanguage.clear();
}

bool FromPDFTask::needsPassword() const
{
    return passwordRequired && password.isEmpty();
}

void registerFromPdfRecordTypes()
{
    qRegisterMetaType<FromPDFTask>("FromPDFTask");
    qRegisterMetaType<FromPDFTaskList>("FromPDFTaskList");
    qRegisterMetaType<PageRange>("PageRange");
    qRegisterMetaType<PageRangeList>("PageRangeList");
}
