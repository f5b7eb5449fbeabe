#include "topdf/engine/ToPDFAlgorithm.h"

#include "app/core/FileSystem.h"
#include "app/core/IProgress.h"
#include "app/core/Logger.h"
#include "app/core/ProgressWait.h"
#include "app/core/SaveMode.h"
#include "app/core/UserContext.h"
#include "services/metrics/MetricSender.h"
#include "services/metrics/UsageStatistics.h"
#include "services/metrics/WorkflowCounter.h"
#include "topdf/workers/ToPdfOutput.h"
#include "topdf/workers/ToPdfWorkerFactory.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

// The to-PDF side always writes into the folder the run is given (SaveMode::ChosenFolder); the
// usage statistics' code of that output folder.
constexpr int givenFolderStatisticsCode = 5;

QString fromKey(const ToPDFTask& task)
{
    return QStringLiteral("from") + task.file.suffix().toLower();
}

// The creator of a merged file: the product name and the maker's web address.
QString mergedCreator()
{
    const QString domain = QCoreApplication::organizationDomain();
    const QString name = ToPdfOutput::productName();
    return domain.isEmpty() ? name : QStringLiteral("%1 (https://%2)").arg(name, domain);
}

} // namespace

ToPDFAlgorithm::ToPDFAlgorithm(QSharedPointer<DebenuService> service, IProgress* progress, UserContext* userContext)
    : m_service(std::move(service))
    , m_userContext(userContext)
    , m_progress(progress)
{
    qRegisterMetaType<ToPdfRunResult>("ToPdfRunResult");
    m_workerContext.service = m_service;
    m_workerContext.stopRequested = [progress] { return progress->isStopped(); };
}

ToPDFAlgorithm::~ToPDFAlgorithm()
{
    Logger::instance()->log(QStringLiteral("ToPDFAlgorithm::~ToPDFAlgorithm"), Logger::Debug);
}

void ToPDFAlgorithm::setTasks(const QList<ToPDFTask>& tasks) { m_tasks = tasks; }
void ToPDFAlgorithm::setOutputFolder(const QString& folder) { m_outputFolder = folder; }
void ToPDFAlgorithm::setMerge(bool merge) { m_merge = merge; }
void ToPDFAlgorithm::setFileSettings(const FileSettingsData& settings) { m_fileSettings = settings; }

bool ToPDFAlgorithm::isStopped() const
{
    return m_progress->isStopped();
}

void ToPDFAlgorithm::run()
{
    emit started();
    m_result = ToPdfRunResult();
    m_result.taskCount = m_tasks.size();
    m_parts.clear();
    if (!m_tasks.isEmpty()) {
        const int count = m_tasks.size();
        m_progress->setMinimum(1);
        m_progress->setMaximum(count);
        if (m_merge) {
            for (ToPDFTask& task : m_tasks)
                task.mergePart = true;
        }
        startStatistics();

        for (int i = 0; i < count;) {
            if (!ProgressWait::untilResumed(m_progress))
                break;
            const ToPDFTask task = m_tasks.at(i);
            m_progress->setText(tr("%1 of %2 converting").arg(QString::number(i + 1), QString::number(count)));
            convertTask(task);
            ++i;
            m_progress->setValue(i);
        }

        m_result.stopped = isStopped();
        if (m_merge && m_result.stopped) {
            // The parts of a stopped merging run are no output of their own.
            for (const ToPdfMerge::Part& part : m_parts)
                FileSystem::removeFiles({part.path});
        } else if (m_merge) {
            mergeParts();
        }
    }
    emit summary(m_result);
    emit finished();
}

void ToPDFAlgorithm::startStatistics()
{
    WorkflowCounter workflow;
    for (const ToPDFTask& task : m_tasks)
        workflow.add(fromKey(task));
    clearUsageStatistics();
    setFromPdfOutFolder(givenFolderStatisticsCode);
    setStartFilesCount(m_tasks.size());
    setStartWorkflow(workflow.toString());
    sendStartMetrics();
}

void ToPDFAlgorithm::convertTask(const ToPDFTask& task)
{
    // An empty file is no document, whatever its name says (LibreOffice and the web-page tool
    // would make a blank page of it): its task fails without a worker.
    const QFileInfo source(task.file.filePath());
    const bool empty = !source.isFile() || source.size() == 0;
    const std::unique_ptr<IToPdfWorker> worker = empty ? nullptr : createWorker(task, m_workerContext);
    if (empty)
        Logger::instance()->log(QStringLiteral("File is empty or missing [FAILED] %1").arg(task.file.filePath()),
                                Logger::Error);
    else if (!worker)
        Logger::instance()->log(QStringLiteral("File format is not supported. File path:%1").arg(task.file.filePath()),
                                Logger::Error);
    if (worker && worker->execute(task, SaveMode::ChosenFolder, m_outputFolder)) {
        if (task.mergePart)
            m_parts.append({worker->resultPath(), ToPdfOutput::outputFileName(task)});
        else
            recordLastFile(worker->resultPath());
        return;
    }
    // A task cut short by a stop is not a failure of its own.
    if (isStopped())
        return;
    ++m_result.failedCount;
    MetricSender::sendMetric(QStringLiteral("err1"), fromKey(task), QString());
}

void ToPDFAlgorithm::mergeParts()
{
    if (m_parts.isEmpty())
        return;
    // The merged file is named after the general file settings (after the first source when they
    // give no name).
    ToPDFTask named = m_tasks.first();
    named.fileSettings = m_fileSettings;
    ToPdfMerge merge(m_service);
    if (merge.merge(m_parts, m_outputFolder, ToPdfOutput::outputFileName(named),
                    ToPdfOutput::propertiesFor(m_fileSettings, mergedCreator()))) {
        recordLastFile(merge.mergedPath());
        return;
    }
    m_result.mergeFailed = true;
    if (!merge.keptPaths().isEmpty())
        recordLastFile(merge.keptPaths().last());
}

void ToPDFAlgorithm::recordLastFile(const QString& path)
{
    m_result.lastFile = path;
    if (m_userContext)
        m_userContext->setLastConvertedFile(UserContext::ToPdf, path);
}
