#include "topdf/workers/ToPDFWorkerOffice.h"

#include "app/core/Logger.h"
#include "shared/office/OfficeService.h"
#include "topdf/workers/PdfFinish.h"
#include "topdf/workers/ToPdfOutput.h"

namespace {

void log(const QString& text)
{
    Logger::instance()->log(text, Logger::Debug);
}

} // namespace

ToPDFWorkerOffice::ToPDFWorkerOffice(ToPdfWorkerContext context)
    : m_context(std::move(context))
{
}

bool ToPDFWorkerOffice::execute(const ToPDFTask& task, int saveMode, const QString& outputFolder)
{
    m_resultPath.clear();
    const QString source = task.file.filePath();
    ToPdfOutput::logTaskBegin(QStringLiteral("Convert doc office to pdf. Begin"), source);
    if (!ToPdfOutput::hasSuffix(source, {"doc", "docx", "odt", "ods", "xls", "xlsx", "htm", "html"}))
        return false;

    const QString intermediate = ToPdfOutput::temporaryPdfPath();
    log(QStringLiteral("Create temporary pdf file"));
    if (!OfficeService::instance().saveDocAs(source, intermediate, m_context.stopRequested)) {
        log(QStringLiteral("Can not convert office document to PDF :%1").arg(source));
        return false;
    }
    log(QStringLiteral("pdf written. Temporary file path:%1").arg(intermediate));

    const QString target = deliverPdf(m_context.service, intermediate, task, saveMode, outputFolder);
    if (target.isEmpty())
        return false;
    m_resultPath = target;
    ToPdfOutput::logTaskEnd(target);
    return true;
}
