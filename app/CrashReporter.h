#pragma once

#include <QObject>
#include <QUrl>

class QTimer;

// Crash reporting for the life of main(): the constructor installs the crash guard, the
// destructor uninstalls it. A crash sets the exit marker "uex" to 2 and leaves a report folder
// with today's log, "settings.ini", a screenshot and the screen sizes, which the next start
// uploads.
//
// The report's content is prepared while the program runs, because the crash handler may do
// no more than write bytes: the log path is renewed at midnight, the screen sizes when screens
// change, the screenshot once the first window shows and when one of the program's windows
// gains focus (at most every 10 s).
class CrashReporter : public QObject
{
    Q_OBJECT
public:
    CrashReporter();
    ~CrashReporter() override;

    // Where reports are kept until they are sent: "crashreports" in the per-user data folder.
    static QString reportsFolder();
    // QUILLPRESS_CRASH_REPORT_URL when set, else the address the program was built with
    // (CMake's QP_CRASH_REPORT_URL); empty means reports are kept but not sent.
    static QUrl uploadAddress();
    // Starts sending the reports of earlier runs (deleting those the server accepted) and keeps
    // at most the newest ten otherwise.
    static void uploadPendingReports();

public slots:
    // Takes the screenshot a report would carry now (at most every 10 s).
    void prepareScreenshot();

private slots:
    void prepareFiles();
    void prepareScreens();

private:
    void scheduleMidnight();

    QTimer* m_midnight = nullptr;
    qint64 m_lastScreenshotMs = -1;
};
