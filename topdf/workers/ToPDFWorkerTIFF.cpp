#include "ToPDFWorkerTIFF.h"

#include "ChildProcess.h"
#include "DebenuDocument.h"
#include "FileSystem.h"
#include "Logger.h"
#include "ToPdfOutput.h"
#include "ToolPaths.h"

#include <QDebug>
#include <QDir>
#include <QFile>

namespace {

// Removes the work folder and the page files in it when the task ends.
struct WorkFolder
{
    const QString path = FileSystem::createTempDir();
    ~WorkFolder() { FileSystem::removeDir(path); }
};

} // namespace

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
    // One page per run: the tool holds every page it reads in memory at 16 bits a sample, which
    // for a 20-page 300-dpi scan is close to 2 GB.
    const int pageCount = m_context.service->imagePageCount(source);
    const QString program = ToolPaths::path(ToolPaths::Convert);
    const int timeout = ToPdfOutput::timeoutFor(tiffPath, 3, 10);
    QStringList pages;
    for (int page = 0; page < pageCount; ++page) {
        const QString png = QStringLiteral("%1/page-%2.png").arg(workFolder, QString::number(page));
        const QStringList arguments = {QStringLiteral("tiff:%1[%2]").arg(source, QString::number(page)), png};
        const ChildProcess::Result result = ChildProcess::run(program, arguments, timeout, m_context.stopRequested);
        if (!result.succeeded() || !QFileInfo(png).isFile()) {
            qDebug() << Q_FUNC_INFO << "Arguments:" << arguments.join(QLatin1Char(',')) << "Result:" << int(result.outcome)
                     << result.exitCode;
            return QStringList();
        }
        pages << png;
    }
    qDebug() << Q_FUNC_INFO << "Files:" << pages;
    return pages;
}

bool ToPDFWorkerTIFF::execute(const ToPDFTask& task, int saveMode, const QString& outputFolder)
{
    m_resultPath.clear();
    const WorkFolder work;
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
