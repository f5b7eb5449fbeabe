#include "frompdf/engine/FromPDFTask.h"

#include "frompdf/engine/OutputFormats.h"

namespace {

bool isKind(const QString& format, OutputFormats::Kind kind)
{
    const OutputFormats::Format* found = OutputFormats::find(format);
    return found && found->kind == kind;
}

} // namespace

bool FromPDFTask::isDocumentFormat(const QString& format)
{
    return isKind(format, OutputFormats::Kind::Document);
}

bool FromPDFTask::isImageFormat(const QString& format)
{
    return isKind(format, OutputFormats::Kind::Image);
}

bool FromPDFTask::isTextFormat(const QString& format)
{
    return isKind(format, OutputFormats::Kind::Text);
}

bool FromPDFTask::isAlwaysSplitFormat(const QString& format)
{
    const OutputFormats::Format* found = OutputFormats::find(format);
    return found && (found->flags & OutputFormats::OnePerPage);
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
