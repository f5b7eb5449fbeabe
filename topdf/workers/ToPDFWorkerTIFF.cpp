#include "topdf/workers/ToPDFWorkerTIFF.h"

#include "app/core/Logger.h"
#include "app/core/ToolPaths.h"
#include "pdflib/service/DebenuDocument.h"
#include "platform/process/ChildProcess.h"
#include "topdf/workers/ToPdfOutput.h"

#include <QDir>
#include <QFile>

ToPDFWorkerTIFF::ToPDFWorkerTIFF(ToPdfWorkerContext context)
    : ToPdfWorkerImages(std::move(context))
{
}

QStringList ToPDFWorkerTIFF::convertTiffToPng(const QString& tiffPath, const QString& workFolder)
{
    // The tool reads the source through a link of a fixed name with the TIFF reader named: a "%",
    // "[...]" or "name:" in the user's file name is then never taken as one of its own directives,
    // and a file that is not a TIFF is not read by another reader.
    const QString source = workFolder + QStringLiteral("/source.tif");
    if (!QFile::link(QFileInfo(tiffPath).absoluteFilePath(), source))
        return QStringList();
    const int pageCount = m_context.service->imagePageCount(source);
    if (pageCount < 1)
        return QStringList();
    // One run for every page, "%d" standing for the page number (from 0) in the PNG names; a page
    // the tool hands on to ImageMagick may take some seconds.
    const QStringList arguments = {QStringLiteral("tiff:%1").arg(source), workFolder + QStringLiteral("/page-%d.png")};
    const int timeout = ToPdfOutput::timeoutFor(tiffPath, 3 + pageCount / 4, 10);
    const ChildProcess::Result result =
        ChildProcess::run(ToolPaths::path(ToolPaths::Convert), arguments, timeout, m_context.stopRequested);
    QStringList pages;
    for (int page = 0; page < pageCount; ++page)
        pages << QStringLiteral("%1/page-%2.png").arg(workFolder, QString::number(page));
    for (const QString& page : pages) {
        if (!result.succeeded() || !QFileInfo(page).isFile()) {
            Logger::instance()->log(QStringLiteral("%1 Arguments: %2 Result: %3 %4")
                                        .arg(QLatin1String(Q_FUNC_INFO), arguments.join(QLatin1Char(',')))
                                        .arg(int(result.outcome))
                                        .arg(result.exitCode),
                                    Logger::Debug);
            return QStringList();
        }
    }
    Logger::instance()->log(
        QStringLiteral("%1 Files: %2").arg(QLatin1String(Q_FUNC_INFO), pages.join(QLatin1Char(','))),
        Logger::Debug);
    return pages;
}

bool ToPDFWorkerTIFF::execute(const ToPDFTask& task, int saveMode, const QString& outputFolder)
{
    m_resultPath.clear();
    const ToPdfOutput::WorkFolder work;
    const QStringList pages = convertTiffToPng(task.file.filePath(), work.path);
    if (pages.isEmpty()) {
        Logger::instance()->log(QStringLiteral("Split TIFF [FAILED] %1").arg(task.file.filePath()), Logger::Error);
        return false;
    }

    m_layout = task.layoutSettings;
    DebenuDocument document(m_context.service, false);
    for (int i = 0; i < pages.size(); ++i) {
        if (m_context.isStopped())
            return false;
        if (i > 0)
            document.newPage();
        if (!drawImage(document, pages[i]))
            return false;
    }
    return saveDocument(document, task, ToPdfOutput::targetPath(task, saveMode, outputFolder), ToPdfOutput::productName());
}
