#include "ToPDFWorkerOffice.h"

#include "Logger.h"
#include "OfficeService.h"
#include "PdfFinish.h"
#include "ToPdfOutput.h"

#include <QRegularExpression>

namespace {

void log(const QString& text, int level = Logger::Debug)
{
    Logger::instance()->log(text, level);
}

const QString blankLine(29, QLatin1Char(' '));
const QString ruleLine(29, QLatin1Char('-'));

} // namespace

ToPDFWorkerOffice::ToPDFWorkerOffice(ToPdfWorkerContext context)
    : m_context(std::move(context))
{
}

bool ToPDFWorkerOffice::execute(const ToPDFTask& task, int saveMode, const QString& outputFolder)
{
    m_resultPath.clear();
    const QString source = task.file.filePath();
    log(blankLine);
    log(ruleLine);
    log(QStringLiteral("Convert doc office to pdf. Begin"));
    log(QStringLiteral("File path:%1").arg(source));
    static const QRegularExpression endings(QStringLiteral("\\.(doc|docx|odt|ods|xls|xlsx|htm|html)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (!endings.match(source).hasMatch()) {
        log(QStringLiteral("File format is not supported. File path:%1").arg(source), Logger::Error);
        return false;
    }

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
    log(QStringLiteral("Conversion complete. Result file path:%1").arg(target));
    log(ruleLine);
    log(blankLine);
    return true;
}
