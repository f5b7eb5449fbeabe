#include "quillbook/ConfinedNetworkAccess.h"

#include "quillbook/reader/ConfinedPath.h"

#include "app/core/Logger.h"

#include <QNetworkRequest>

ConfinedNetworkAccess::ConfinedNetworkAccess(const QString& workFolder, QObject* parent)
    : QNetworkAccessManager(parent)
    , m_workFolder(workFolder)
{
}

bool ConfinedNetworkAccess::isAllowed(Operation operation, const QUrl& url) const
{
    if (operation != GetOperation && operation != HeadOperation)
        return false;
    if (url.scheme() == QLatin1String("data"))
        return true;
    return url.isLocalFile() && ConfinedPath::contains(m_workFolder, url.toLocalFile());
}

QNetworkReply* ConfinedNetworkAccess::createRequest(Operation operation, const QNetworkRequest& request,
                                                    QIODevice* outgoingData)
{
    if (isAllowed(operation, request.url()))
        return QNetworkAccessManager::createRequest(operation, request, outgoingData);
    Logger::instance()->log(QStringLiteral("Blocked request:%1").arg(request.url().toDisplayString()),
                            Logger::Warning);
    // A request without an address fails at once with "protocol unknown".
    return QNetworkAccessManager::createRequest(GetOperation, QNetworkRequest(QUrl()), nullptr);
}
