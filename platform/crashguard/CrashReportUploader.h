#pragma once

#include <QObject>
#include <QStringList>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

// Sends the crash reports that earlier runs left in the reports folder, one HTTP POST
// (multipart/form-data, every file of the report as a "file" part) per report folder, one at a
// time. A report the server accepted (status 2xx) is deleted; any other outcome keeps it for the
// next start.
class CrashReportUploader : public QObject
{
    Q_OBJECT
public:
    explicit CrashReportUploader(QObject* parent = nullptr);

    // The report folders waiting in reportsFolder, oldest first; skip is left out (the folder
    // the running process would write).
    static QStringList pendingReports(const QString& reportsFolder, const QString& skip = QString());
    // Deletes all but the newest keep report folders.
    static void prune(const QString& reportsFolder, int keep);

    // Starts sending the pending reports to address; finished() follows, also when there is
    // nothing to send.
    void upload(const QString& reportsFolder, const QUrl& address, const QString& skip = QString());

signals:
    void finished(int sent, int failed);

private:
    void sendNext();
    void onReplyFinished(QNetworkReply* reply, const QString& folder);

    QNetworkAccessManager* m_network = nullptr;
    QUrl m_address;
    QStringList m_queue;
    int m_sent = 0;
    int m_failed = 0;
};
