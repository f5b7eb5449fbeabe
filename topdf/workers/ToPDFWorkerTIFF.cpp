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
#include <QRegularExpression>

#include <algorithm>

namespace {

// The page files the image tool writes: its scene number, counted from 0, fills the "%d".
const char pagePattern[] = "page-%d.png";

int pageNumber(const QString& path)
{
    static const QRegularExpression number(QStringLiteral("-(\\d+)\\.png$"));
    return number.match(path).captured(1).toInt();
}

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

QStringList ToPDFWorkerTIFF::inPageOrder(QStringList pages)
{
    std::stable_sort(pages.begin(), pages.end(),
                     [](const QString& a, const QString& b) { return pageNumber(a) < pageNumber(b); });
    return pages;
}

QStringList ToPDFWorkerTIFF::convertTiffToPng(const QString& tiffPath, const QString& workFolder)
{
    // The tool reads the source through a link of a fixed name with the TIFF reader named: a "%",
    // "[...]" or "name:" in the user's file name is then never taken as one of its own directives,
    // and a file that is not a TIFF is not read by another reader.
    const QString source = workFolder + QStringLiteral("/source.tif");
    if (!QFile::link(QFileInfo(tiffPath).absoluteFilePath(), source))
        return QStringList();
    const QStringList arguments = {QStringLiteral("tiff:") + source, workFolder + QLatin1Char('/') + QLatin1String(pagePattern)};
    const QString program = ToolPaths::path(ToolPaths::Convert);
    qDebug() << Q_FUNC_INFO << "Arguments:" << arguments.join(QLatin1Char(','));
    const ChildProcess::Result result =
        ChildProcess::run(program, arguments, ToPdfOutput::timeoutFor(tiffPath, 3, 10), m_context.stopRequested);
    qDebug() << Q_FUNC_INFO << "Result:" << int(result.outcome) << result.exitCode;
    if (!result.succeeded())
        return QStringList();

    QStringList pages;
    const QStringList names = QDir(workFolder).entryList({QStringLiteral("page-*.png")}, QDir::Files);
    for (const QString& name : names)
        pages << workFolder + QLatin1Char('/') + name;
    pages = inPageOrder(pages);
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
