#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QString>

class QNetworkReply;

// Asks the maker's update endpoint once for the latest version of the program and reports it when
// it is newer than the installed one. Lives on the GUI thread; nothing is shown or stored here.
//
// The answer comes from the network and is not trusted: only a short version made of digits and
// dots is accepted (surrounding white space is dropped), a longer body is cut off unread, and
// anything else counts as no answer.
class UpdateChecker : public QObject
{
    Q_OBJECT
public:
    UpdateChecker(const QString& productId, const QString& currentVersion, QObject* parent = nullptr);
    ~UpdateChecker() override;

    // The last network error; empty unless a request failed.
    QString errorString() const;

    // The address asked, without the query. The built-in default can be replaced by the
    // environment variable QUILLPRESS_UPDATE_URL or, for the whole process, by this setter.
    static void setEndpoint(const QString& address);
    static QString endpoint();

    // The version an answer body offers, or an empty text when the body is not a short dotted
    // version ("2.2.7", "3", at most four parts of up to six digits each).
    static QString acceptedVersion(const QByteArray& body);

signals:
    void newVersionAvalible(QString newVerion);

public slots:
    void checkUpdates();

private slots:
    void complete();

private:
    void onDownloadProgress(qint64 received);

    QNetworkAccessManager m_network;
    QNetworkReply* m_reply = nullptr;
    QString m_errorString;
    QString m_productId;
    QString m_currentVersion;
};
