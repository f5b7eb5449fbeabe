#include "frompdf/engine/InformationWorker.h"

#include "app/core/Logger.h"
#include "frompdf/engine/PdfFacts.h"
#include "pdflib/service/DebenuDocument.h"

InformationWorker::InformationWorker(QSharedPointer<DebenuService> service, const QString& path,
                                     const QString& password, int /*unused*/, QObject* parent)
    : QObject(parent)
    , m_service(std::move(service))
    , m_path(path)
    , m_password(password)
{
}

void InformationWorker::run()
{
    emit started();
    PdfInformation information;
    information.path = m_path;

    DebenuDocument document(m_service, m_path, m_password, false);
    m_loaded = document.isLoaded();
    if (document.isLoaded()) {
        if (document.isPasswordRequired()) {
            information.passwordRequired = true;
            information.passwordProtected = true;
        } else {
            information.title = document.title();
            information.encrypted = document.isEncrypted();
            information.pageCount = document.pageCount();
            if (!m_password.isEmpty()) {
                information.passwordProtected = true;
                information.password = m_password;
            }
            information.securityInfo5Is6 = document.securityInfo5Is6();
            information.scanned = PdfFacts::looksScanned(document);
        }
    }
    const QString scanned = information.scanned ? QStringLiteral("true") : QStringLiteral("false");
    Logger::instance()->log(QStringLiteral("SET INFO: %1").arg(scanned), Logger::Debug);

    m_done = true;
    m_information = information;
    emit finished();
}
