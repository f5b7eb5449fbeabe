#pragma once

#include "app/OcrLanguages.h"
#include "app/RunningWorkers.h"
#include "app/core/WorkClaim.h"
#include "platform/singleapp/QtSingleApplication.h"

#include <QSharedPointer>
#include <QString>
#include <QStringList>

#include <memory>

class CheckController;
class DebenuService;
class IProgress;
class QSettings;
class QThread;
class QTranslator;
class UserContext;

// The application object of quillpress: one per process, on main()'s stack from the first
// statement to the last. Every part of the program reaches the shared services through it: the
// PDF service, the user context, the scanned-PDF controller, the settings file, the product's
// names, the interface language and the OCR languages, and the helpers that open files and links.
//
// The members are set up by the constructor and not changed afterwards (except the translator,
// which only the GUI thread touches), so worker threads call the getters without a lock.
class Application : public QtSingleApplication
{
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    ~Application() override;

    static Application* instance();

    // Records the run ("uex" = 1, "first_run"), sends the start-up metrics, schedules the
    // program-file hash metric and sends crash reports of earlier runs. Called once by main()
    // after the first window is shown.
    void start();

    // Claims the cache folders for this run and removes what earlier runs that were killed or
    // crashed left in them (work folders, temporary files, LibreOffice's folders); while another
    // instance runs, its files stay. Called once by main() when no other instance took the start.
    void removeLeftoverWork();

    CheckController* checkController() const;
    QSharedPointer<DebenuService> debenuService() const;
    UserContext* userContext() const;

    QString productName() const;
    QString defaultPublisher() const;
    QString productId() const;
    // "DisplayVersion" of the product's registry key, default the application version.
    QString displayVersion() const;
    // "CurrentVersion" of the product's registry key, default displayVersion().
    QString currentVersion() const;

    // "<per-user configuration folder>/<fileName>" with native separators.
    static QString configFilePath(const QString& fileName);
    // A new settings object over "settings.ini" on every call.
    QSharedPointer<QSettings> settings() const;

    // Each returns false, warns on the debug output and sends "err0" when the desktop refused.
    bool openLocalFile(const QString& path);
    bool openLink(const QString& url);
    // Shows a file selected in its folder, or opens a folder.
    bool openLinkInExplorer(const QString& path);

    void initOcrLanguages();
    QStringList ocrLanguages() const;
    QString defaultOcrLanguage() const;
    QString tesseractLanguage(const QString& code) const;
    bool canBuildParagraphs(const QString& code) const;

    // A conversion thread that must end before the application tears down; progress is what
    // the worker polls for stop. Call on the GUI thread before starting the thread.
    void registerWorker(QThread* thread, IProgress* progress);
    // Stops the registered workers and waits up to timeoutMs for their threads; true when all
    // have ended. main() calls it once the event loop has returned.
    bool stopWorkers(int timeoutMs);

public slots:
    // Installs the translation of the "Language" setting (default: the system's language).
    void loadTranslator();
    // Installs the translation of code; sends "err11" when it does not load, "err12" when it
    // cannot be installed.
    void setLanguage(const QString& code);

private:
    OcrLanguages m_ocrLanguages;
    QTranslator* m_translator = nullptr;
    UserContext* m_userContext = nullptr;
    QSharedPointer<DebenuService> m_debenuService;
    CheckController* m_checkController = nullptr;
    RunningWorkers m_workers;
    std::unique_ptr<WorkClaim> m_cacheClaim;
};

// Sends the MD5 of the program file as the metric "ha"; nothing when the file cannot be read.
void sendExecutableHash();
