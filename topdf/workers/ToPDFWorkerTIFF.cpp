#include "ToPDFWorkerTIFF.h"

#include "ChildProcess.h"
#include "DebenuDocument.h"
#include "Logger.h"
#include "ToPdfOutput.h"
#include "ToolPaths.h"

#include <QDebug>
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
            qDebug() << Q_FUNC_INFO << "Arguments:" << arguments.join(QLatin1Char(',')) << "Result:" << int(result.outcome)
                     << result.exitCode;
            return QStringList();
        }
    }
    qDebug() << Q_FUNC_INFO << "Files:" << pages;
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
