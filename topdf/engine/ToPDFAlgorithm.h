#pragma once

#include "shared/records/FileSettingsData.h"
#include "shared/records/LayoutSettingsData.h"
#include "shared/records/ToPDFTask.h"
#include "topdf/engine/ToPdfMerge.h"
#include "topdf/workers/IToPdfWorker.h"

#include <QList>
#include <QMetaType>
#include <QObject>
#include <QSharedPointer>
#include <QString>

class DebenuService;
class IProgress;
class UserContext;

// What a to-PDF run left, for the tab's completion message.
struct ToPdfRunResult
{
    int taskCount = 0;
    // Tasks that ran to their end without a PDF (a task cut short by a stop does not count).
    int failedCount = 0;
    bool stopped = false;
    // Merging was asked for and failed: the converted parts are in the output folder under their
    // own names instead.
    bool mergeFailed = false;
    // The last file written: the merged file, or the last task's PDF; empty when none.
    QString lastFile;
};

Q_DECLARE_METATYPE(ToPdfRunResult)

// The to-PDF conversion run: converts each task with the worker for its file (on the thread the
// run was moved to) and, when asked, merges the results into one PDF named after the general file
// settings, with their properties and password. Progress, pause and stop come through IProgress;
// a stop also ends the outside program of the task in hand within a second.
class ToPDFAlgorithm : public QObject
{
    Q_OBJECT

public:
    // progress must not be null and is not owned; without a user context the last converted file
    // is not recorded there.
    ToPDFAlgorithm(QSharedPointer<DebenuService> service, IProgress* progress, UserContext* userContext = nullptr);
    ~ToPDFAlgorithm() override;

    void setTasks(const QList<ToPDFTask>& tasks);
    void setOutputFolder(const QString& folder);
    void setMerge(bool merge);
    // Name, properties and password of the merged file.
    void setFileSettings(const FileSettingsData& settings);
    // The general layout. Every task carries its own layout and the merged file takes its pages
    // as they come, so the run keeps nothing of it; the tab hands it over with the other general
    // settings.
    void setLayoutSettings(const LayoutSettingsData&) {}

    ToPdfRunResult result() const { return m_result; }

public slots:
    void run();

signals:
    void finished();
    void started();
    // Emitted once per run, just before finished().
    void summary(const ToPdfRunResult& result);

private:
    void startStatistics();
    void convertTask(const ToPDFTask& task);
    void mergeParts();
    void recordLastFile(const QString& path);
    bool isStopped() const;

    QSharedPointer<DebenuService> m_service;
    UserContext* m_userContext;
    bool m_merge = false;
    FileSettingsData m_fileSettings;
    QString m_outputFolder;
    QList<ToPdfMerge::Part> m_parts;
    IProgress* m_progress;
    QList<ToPDFTask> m_tasks;
    ToPdfWorkerContext m_workerContext;
    ToPdfRunResult m_result;
};
