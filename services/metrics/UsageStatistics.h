#pragma once

#include <QMap>
#include <QMutex>
#include <QString>

// The process-wide store in which a conversion run gathers its figures before sendStartMetrics()
// sends them as one batch. Values are kept as text; every read and write is made under the
// store's own lock, so the GUI thread and the conversion threads may use it at once.
class UsageStatistics
{
public:
    static UsageStatistics& instance();

    void setValue(const QString& key, const QString& text);
    // Empty when the key is absent.
    QString value(const QString& key) const;
    QMap<QString, QString> snapshot() const;
    void clear();

    // Keys of the store.
    static const char* addSourceKey() { return "TAG_ADD_SOURCE"; }
    static const char* startFilesCountKey() { return "TAG_START_FILES_COUNT"; }
    static const char* startAvgPagesKey() { return "TAG_START_AVG_PAGES"; }
    static const char* fromPdfOutFolderKey() { return "TAG_FROM_PDF_OUT_FOLDER"; }
    static const char* startWorkflowKey() { return "TAG_START_WORKFLOW"; }
    static const char* startPageRangesWorkflowKey() { return "TAG_START_PAGE_RANGES_WORKFLOW"; }

private:
    UsageStatistics() = default;

    mutable QMutex m_mutex;
    QMap<QString, QString> m_values;
};

// Where the next added files come from: 1 a drop (or a hand-over by the main window), 2 the drop
// area's own add button; sent as the information of the "add" metric.
void setAddSource(int source);
void setStartFilesCount(int count);
void setStartAvgPages(int pages);
// Save-mode code of the run: 1 a sub-folder per source, 2 the source's folder, 5 the chosen folder.
void setFromPdfOutFolder(int code);
// The WorkflowCounter texts of the run; an empty text leaves a previous value in place.
void setStartWorkflow(const QString& workflow);
void setStartPageRangesWorkflow(const QString& workflow);
void clearUsageStatistics();
QString startWorkflow();

// Sends "add" with the number of files and the stored add source, for the first add of the
// process only, and resets the add source to 0.
void sendAddMetric(int fileCount);
// Sends the stored figures as one batch: "start" always, then "fpnum", "fold" and "pages" when
// their figures are stored. Nothing is sent for an empty store, and the store is kept.
void sendStartMetrics();
