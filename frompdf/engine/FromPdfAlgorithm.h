#pragma once

#include "app/core/ImageQuality.h"
#include "app/core/SaveMode.h"
#include "frompdf/engine/FromPDFTask.h"

#include <QObject>
#include <QSharedPointer>
#include <QString>
#include <QStringList>

#include <functional>

class CheckController;
class DebenuService;
class IProgress;
class UserContext;

// The from-PDF conversion run: turns a list of tasks into output files on the thread it was
// moved to. Image formats go to the page-image export; document formats (and "txt") are
// converted range by range by the OCR converter for scanned files the user wants recognised,
// and by the PDF-to-Word converter otherwise. Progress, pause and stop go through IProgress; the
// last file written ends up in the user context for the completion message.
class FromPdfAlgorithm : public QObject
{
    Q_OBJECT

public:
    // What the run takes from the application: the scanned-PDF question, the user context that
    // keeps the last converted file, whether an OCR language allows building paragraphs and the
    // Tesseract data name of an OCR language (handed to the OCR converter). Without a controller
    // scanned files convert without OCR; without a user context the last file is not recorded;
    // empty functions fall back to the OCR converter's own choices.
    struct Host
    {
        CheckController* checkController = nullptr;
        UserContext* userContext = nullptr;
        std::function<bool(const QString& language)> canBuildParagraphs;
        std::function<QString(const QString& language)> tesseractLanguage;
    };

    // Error codes of a task (sent as the usage metric "err1", never shown).
    enum Error {
        NoError = 0,
        DecryptFailed = 700, // also Word status 2
        WordStatus3 = 701,
        WordFailed = 702,
        WordRetryFailed = 703,
        WordStatus1 = 707,
        OcrErrorBase = 750, // plus the OCR converter's error type
    };

    // progress may be null; it is not owned.
    FromPdfAlgorithm(QSharedPointer<DebenuService> service, IProgress* progress, Host host);
    ~FromPdfAlgorithm() override;

    void setTasks(const FromPDFTaskList& tasks);
    // An ImageQuality level.
    void setImageQuality(int quality);
    // A SaveMode mode; customFolder for SaveMode::ChosenFolder.
    void setSaveMode(int mode, const QString& customFolder);

    // Stacks the images "<folder>*.<format>" into output (PageImageExport::mergeImages).
    static bool mergeImages(const QString& folder, const QString& format, const QString& output);

    // "%1_%2-%3.%4", "%1.%2" or "%1_%2.%3" for one range of a document export.
    static QString documentFileName(const QString& baseName, const QString& format, const PageRange& range,
                                    bool singleRangeInUse, int pageCount);

public slots:
    void run();

    // Tasks of the last run that ran to their end but wrote no output or hit an error; tasks
    // left because of a stop do not count.
    int failedTasks() const { return m_failedTasks; }

signals:
    void finished();
    void started();
    // Emitted just before finished(): how many tasks the run had and how many of them failed,
    // so that the completion message can tell the user.
    void summary(int taskCount, int failedCount);

private slots:
    void onConverterProgress(int current, int total);
    void onImagePageFinished();

private:
    void startStatistics();
    // Each returns true when the task wrote its output without an error.
    bool exportToImages(const FromPDFTask& task);
    bool exportToDocument(const FromPDFTask& task);
    bool askUseOcr(const FromPDFTask& task);
    int convertWithOcr(const FromPDFTask& task, const QString& source, const QString& password,
                       const QString& output, const PageRange& range);
    int convertWithWord(const QString& source, const QString& password, const QString& output, const PageRange& range);
    bool waitWhilePaused() const;
    void updateProgress();

    QSharedPointer<DebenuService> m_service;
    Host m_host;
    int m_saveMode = SaveMode::SubFolder;
    QString m_customFolder;
    int m_imageQuality = ImageQuality::Medium;
    int m_totalPages = 0;
    int m_pagesBefore = 0;
    int m_pagesInStep = 0;
    int m_taskCount = 0;
    int m_currentTask = 0;
    bool m_skipOcrForAll = false;
    bool m_useOcrForAll = false;
    int m_failedTasks = 0;
    QString m_lastOutput;
    IProgress* m_progress;
    FromPDFTaskList m_tasks;
};
