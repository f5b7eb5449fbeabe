#pragma once

#include <QNetworkAccessManager>

// The web view's only way to load anything: it reads local files inside the work folder and
// inline data, and refuses every other request (remote addresses, files elsewhere, writes).
class ConfinedNetworkAccess : public QNetworkAccessManager
{
    Q_OBJECT
public:
    ConfinedNetworkAccess(const QString& workFolder, QObject* parent = nullptr);

    bool isAllowed(Operation operation, const QUrl& url) const;

protected:
    QNetworkReply* createRequest(Operation operation, const QNetworkRequest& request,
                                 QIODevice* outgoingData) override;

private:
    const QString m_workFolder;
};
