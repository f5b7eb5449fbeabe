#include "frompdf/engine/FromPdfAlgorithm.h"

#include "app/core/IProgress.h"
#include "app/core/Logger.h"
#include "app/core/ProgressWait.h"
#include "app/core/UserContext.h"
#include "frompdf/engine/OutputFolder.h"
#include "frompdf/engine/PageImageExport.h"
#include "services/metrics/UsageStatistics.h"
#include "services/metrics/WorkflowCounter.h"

namespace {

// Save-mode codes of the usage statistics.
int outFolderCode(int saveMode)
{
    switch (saveMode) {
    case SaveMode::SubFolder:
        return 1;
    case SaveMode::SourceFolder:
        return 2;
    case SaveMode::ChosenFolder:
        return 5;
    default:
        return 0;
    }
}

int pagesOf(const FromPDFTask& task)
{
    if (task.ranges.isEmpty())
        return task.pageCount;
    int pages = 0;
    for (const PageRange& range : task.ranges)
        pages += range.second - range.first + 1;
    return pages;
}

} // namespace

FromPdfAlgorithm::FromPdfAlgorithm(QSharedPointer<DebenuService> service, IProgress* progress, Host host)
    : m_service(std::move(service))
    , m_host(std::move(host))
    , m_progress(progress)
{
}

FromPdfAlgorithm::~FromPdfAlgorithm()
{
    Logger::instance()->log(QStringLiteral("FromPdfAlgorithm::~FromPdfAlgorithm"), Logger::Debug);
}

void FromPdfAlgorithm::setTasks(const FromPDFTaskList& tasks) { m_tasks = tasks; }
void FromPdfAlgorithm::setImageQuality(int quality) { m_imageQuality = quality; }

void FromPdfAlgorithm::setSaveMode(int mode, const QString& customFolder)
{
    m_saveMode = mode;
    m_customFolder = customFolder;
}

bool FromPdfAlgorithm::mergeImages(const QString& folder, const QString& format, const QString& output)
{
    return PageImageExport::mergeImages(folder, format, output);
}

QString FromPdfAlgorithm::documentFileName(const QString& baseName, const QString& format, const PageRange& range,
                                           bool singleRangeInUse, int pageCount)
{
    // Each name is filled in one call: a "%2" in the source's name stays as it is.
    const QString first = QString::number(range.first);
    if (range.first != range.second)
        return QStringLiteral("%1_%2-%3.%4").arg(baseName, first, QString::number(range.second), format);
    if (singleRangeInUse && pageCount == 1)
        return QStringLiteral("%1.%2").arg(baseName, format);
    return QStringLiteral("%1_%2.%3").arg(baseName, first, format);
}

void FromPdfAlgorithm::run()
{
    emit started();
    m_failedTasks = 0;
    if (m_tasks.isEmpty()) {
        emit summary(0, 0);
        emit finished();
        return;
    }
    startStatistics();
    // The bar counts the pages done: from 0, so that a run of one page is no busy bar.
    if (m_progress) {
        m_progress->setMinimum(0);
        m_progress->setMaximum(m_totalPages);
    }

    while (m_currentTask < m_taskCount) {
        if (!waitWhilePaused())
            break;
        const FromPDFTask task = m_tasks.at(m_currentTask);
        bool converted = false;
        if (FromPDFTask::isImageFormat(task.format))
            converted = exportToImages(task);
        else if (FromPDFTask::isDocumentFormat(task.format) || FromPDFTask::isTextFormat(task.format))
            converted = exportToDocument(task);
        // A task cut short by a stop is not a failure of its own.
        if (!converted && !(m_progress && m_progress->isStopped()))
            ++m_failedTasks;
        updateProgress();
        ++m_currentTask;
    }

    if (UserContext* context = m_host.userContext)
        context->setLastConvertedFile(UserContext::FromPdf, m_lastOutput);
    emit summary(m_taskCount, m_failedTasks);
    emit finished();
}

void FromPdfAlgorithm::startStatistics()
{
    m_taskCount = m_tasks.size();
    m_currentTask = 0;
    m_totalPages = 0;
    WorkflowCounter workflow;
    WorkflowCounter rangesWorkflow;
    int pageSum = 0;
    for (const FromPDFTask& task : m_tasks) {
        m_totalPages += pagesOf(task);
        const QString key = QStringLiteral("to") + task.format.toLower();
        workflow.add(key);
        if (!task.ranges.isEmpty() && task.rangesChosen)
            rangesWorkflow.add(key);
        pageSum += task.pageCount;
    }
    clearUsageStatistics();
    setFromPdfOutFolder(outFolderCode(m_saveMode));
    setStartFilesCount(m_taskCount);
    setStartAvgPages(pageSum / m_taskCount);
    setStartWorkflow(workflow.toString());
    setStartPageRangesWorkflow(rangesWorkflow.toString());
    sendStartMetrics();
}

bool FromPdfAlgorithm::exportToImages(const FromPDFTask& task)
{
    PageImageExport exporter(m_service, m_progress);
    exporter.setImageQuality(m_imageQuality);
    exporter.setRunPages(m_totalPages);
    connect(&exporter, &PageImageExport::pageFinished, this, &FromPdfAlgorithm::onImagePageFinished);
    const int error = exporter.exportTask(task, OutputFolder::forSource(task.file, m_saveMode, m_customFolder));
    if (!exporter.lastOutput().isEmpty())
        m_lastOutput = exporter.lastOutput();
    return error == PageImageExport::NoError && !exporter.lastOutput().isEmpty();
}

void FromPdfAlgorithm::onImagePageFinished()
{
    ++m_pagesBefore;
    updateProgress();
}

void FromPdfAlgorithm::onConverterProgress(int current, int)
{
    m_pagesInStep = current;
    updateProgress();
}

bool FromPdfAlgorithm::waitWhilePaused() const
{
    return ProgressWait::untilResumed(m_progress);
}

void FromPdfAlgorithm::updateProgress()
{
    if (!m_progress)
        return;
    const int value = m_pagesBefore + m_pagesInStep;
    m_progress->setValue(value);
    m_progress->setText(tr("%1 of %2 converting. %3 of %4 pages")
                            .arg(m_currentTask + 1)
                            .arg(m_taskCount)
                            .arg(value)
                            .arg(m_totalPages));
}
