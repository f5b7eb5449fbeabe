#include "topdf/workers/ToPDFWorkerWebPage.h"

#include "app/core/Logger.h"
#include "app/core/ToolPaths.h"
#include "platform/process/ChildProcess.h"
#include "topdf/workers/PdfFinish.h"
#include "topdf/workers/ToPdfOutput.h"

#include <QFile>

namespace {

int pageSizeCode(int pageSize)
{
    switch (pageSize) {
    case LayoutSettingsData::Letter:
        return 2;
    case LayoutSettingsData::A3:
        return 8;
    case LayoutSettingsData::A5:
        return 9;
    case LayoutSettingsData::B5:
        return 1;
    default:
        return 0;
    }
}

} // namespace

ToPDFWorkerWebPage::ToPDFWorkerWebPage(ToPdfWorkerContext context)
    : m_context(std::move(context))
{
}

QStringList ToPDFWorkerWebPage::arguments(const ToPDFTask& task, const QString& output)
{
    const LayoutSettingsData& layout = task.layoutSettings;
    return {task.file.filePath(), output, QString::number(pageSizeCode(layout.pageSize)),
            QString::number(LayoutSettingsData::marginMillimetres(layout.margin)),
            QString::number(layout.orientation == LayoutSettingsData::Landscape ? 1 : 0)};
}

bool ToPDFWorkerWebPage::execute(const ToPDFTask& task, int saveMode, const QString& outputFolder)
{
    m_resultPath.clear();
    if (!task.file.exists())
        return false;

    const QString intermediate = ToPdfOutput::temporaryPdfPath();
    // The tool may end with an error code over a picture it could not load and still write the
    // page: the PDF it leaves decides.
    const ChildProcess::Result run =
        ChildProcess::run(ToolPaths::path(ToolPaths::QuillWeb), arguments(task, intermediate),
                          ToPdfOutput::timeoutFor(task.file.filePath(), 5, 1), m_context.stopRequested);
    if (run.outcome != ChildProcess::Outcome::Finished || !QFile::exists(intermediate)) {
        Logger::instance()->log(QStringLiteral("Web page to PDF [FAILED] %1 (%2, exit code %3)")
                                    .arg(task.file.filePath())
                                    .arg(int(run.outcome))
                                    .arg(run.exitCode),
                                Logger::Error);
        QFile::remove(intermediate);
        return false;
    }

    const QString target = deliverPdf(m_context.service, intermediate, task, saveMode, outputFolder);
    if (target.isEmpty())
        return false;
    m_resultPath = target;
    return true;
}
