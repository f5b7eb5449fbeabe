#include "frompdf/engine/PageImageExport.h"

#include "app/core/FileSystem.h"
#include "app/core/IProgress.h"
#include "app/core/ImageQuality.h"
#include "app/core/Logger.h"
#include "app/core/ProgressWait.h"
#include "app/core/ToolPaths.h"
#include "frompdf/engine/OutputFormats.h"
#include "pdflib/service/DebenuDocument.h"
#include "platform/process/ChildProcess.h"
#include "services/metrics/MetricSender.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <set>

namespace {

QString padded(int page, int digits)
{
    return QStringLiteral("%1").arg(page, digits, 10, QLatin1Char('0'));
}

int highestPage(const PageRangeList& ranges)
{
    int highest = 0;
    for (const PageRange& range : ranges)
        highest = std::max({highest, range.first, range.second});
    return highest;
}

} // namespace

PageImageExport::PageImageExport(QSharedPointer<DebenuService> service, IProgress* progress, QObject* parent)
    : QObject(parent)
    , m_service(std::move(service))
    , m_progress(progress)
{
}

void PageImageExport::setImageQuality(int quality) { m_imageQuality = quality; }
void PageImageExport::setRunPages(int totalPages) { m_runPages = totalPages; }

int PageImageExport::renderFormat(const QString& format)
{
    const OutputFormats::Format* found = OutputFormats::find(format);
    return found ? found->renderCode : -1;
}

int PageImageExport::exportTask(const FromPDFTask& task, const QString& outputFolder)
{
    int error = NoError;
    if (renderFormat(task.format) < 0) {
        // No image of another format goes out under this name.
        Logger::instance()->log(QStringLiteral("Unknown image format [FAILED] %1").arg(task.format), Logger::Error);
        error = UnknownFormat;
    } else {
        DebenuDocument document(m_service, task.file.filePath(), task.password, false);
        if (!document.isLoaded())
            return NoError;
        const int digits = QString::number(highestPage(task.ranges)).size();
        const bool onePerPage = FromPDFTask::isAlwaysSplitFormat(task.format) || task.split;
        error = onePerPage ? exportPages(document, task, outputFolder, digits)
                           : exportRanges(document, task, outputFolder, digits);
    }
    if (error != NoError)
        MetricSender::sendMetric(QStringLiteral("err1"), QStringLiteral("to") + task.format.toLower(),
                                 QString::number(error));
    return error;
}

int PageImageExport::exportPages(DebenuDocument& document, const FromPDFTask& task, const QString& outputFolder,
                                 int digits)
{
    std::set<int> pages;
    for (const PageRange& range : task.ranges) {
        for (int page = range.first; page <= range.second; ++page)
            pages.insert(page);
    }
    const QString baseName = task.file.completeBaseName();
    const int code = renderFormat(task.format);
    for (int page : pages) {
        if (!ProgressWait::untilResumed(m_progress))
            break;
        const QString name = QStringLiteral("%1_%2.%3").arg(baseName, padded(page, digits), task.format);
        const QString path = FileSystem::uniqueFilePath(outputFolder, name);
        const int result = document.renderPageToFile(ImageQuality::dotsPerInch(m_imageQuality), page, code, path);
        if (result == 1)
            m_lastOutput = path;
        else if (result == 0)
            return RenderFailed;
        else if (result == 2)
            return RenderRefused;
        emit pageFinished();
    }
    return NoError;
}

int PageImageExport::exportRanges(DebenuDocument& document, const FromPDFTask& task, const QString& outputFolder,
                                  int digits)
{
    int error = NoError;
    const int code = renderFormat(task.format);
    for (const PageRange& range : task.ranges) {
        if (!ProgressWait::untilResumed(m_progress))
            break;
        const QString pageFolder = FileSystem::cachePath() + QLatin1Char('/') + FileSystem::createUniqueId()
                                   + QLatin1Char('/');
        FileSystem::createDir(pageFolder);

        bool stopped = false;
        for (int page = range.first; page <= range.second; ++page) {
            // A pause waits here and the range goes on afterwards; only a stop ends it.
            if (!ProgressWait::untilResumed(m_progress)) {
                stopped = true;
                break;
            }
            const QString pageFile = pageFolder + QStringLiteral("%1.%2").arg(padded(page, digits), task.format);
            Logger::instance()->log(QStringLiteral("%1 %2").arg(QLatin1String(Q_FUNC_INFO), pageFile), Logger::Debug);
            if (document.renderPageToFile(ImageQuality::dotsPerInch(m_imageQuality), page, code, pageFile) != 1) {
                qCritical() << "Render failed. Page number:" << page;
                error = RenderFailed;
            }
            emit pageFinished();
        }
        if (!stopped && !joinRange(pageFolder, task, range, outputFolder))
            error = JoinFailed;
        FileSystem::removeDir(pageFolder);
        if (stopped)
            break;
    }
    return error;
}

bool PageImageExport::joinRange(const QString& pageFolder, const FromPDFTask& task, const PageRange& range,
                                const QString& outputFolder)
{
    if (m_progress) {
        m_progress->setMinimum(0);
        m_progress->setMaximum(0);
        m_progress->setValue(0);
        m_progress->setText(tr("Merge images..."));
    }
    const QString name =
        QStringLiteral("%1_%2.%3").arg(task.file.completeBaseName(), pageRangeText(range), task.format);
    const QString output = FileSystem::uniqueFilePath(outputFolder, name);
    const bool joined = mergeImages(pageFolder, task.format, output);
    if (joined)
        m_lastOutput = output;
    else
        Logger::instance()->log(QStringLiteral("Merge images [FAILED]"), Logger::Debug);
    if (m_progress && m_runPages > 0) {
        // Back from the busy display to the run's count of pages done.
        m_progress->setMinimum(0);
        m_progress->setMaximum(m_runPages);
    }
    return joined;
}

bool PageImageExport::mergeImages(const QString& folder, const QString& format, const QString& output)
{
    // The image tool writes under a hidden name beside the output, which takes the output's name
    // only when the tool succeeded: a failed join (a JPEG or GIF beyond its format's size limit,
    // say) leaves no file behind, empty or partial.
    const QFileInfo target(output);
    const QString partial = target.absolutePath() + QStringLiteral("/.") + FileSystem::createUniqueId()
                            + QLatin1Char('.') + target.suffix();
    const QString program = QDir::toNativeSeparators(ToolPaths::path(ToolPaths::Convert));
    const QStringList arguments = {QStringLiteral("-append"), QStringLiteral("%1*.%2").arg(folder, format), partial};
    const QString signature = QLatin1String(Q_FUNC_INFO);
    Logger::instance()->log(QStringLiteral("%1 Arguments: %2").arg(signature, arguments.join(QLatin1Char(','))),
                            Logger::Debug);
    // As a child of ours: the tool and its ImageMagick end with the program.
    const ChildProcess::Result result = ChildProcess::run(program, arguments, 0);
    Logger::instance()->log(QStringLiteral("%1 Result: %2").arg(signature).arg(result.exitCode), Logger::Debug);
    const bool joined = result.succeeded() && QFileInfo(partial).size() > 0 && QFile::rename(partial, output);
    if (!joined)
        QFile::remove(partial);
    return joined;
}
