#include "pdflib/service/DebenuDocument.h"

#include "app/core/Logger.h"

#include <memory>

DebenuDocument::DebenuDocument(QSharedPointer<DebenuService> service, const QString& path, const QString& password,
                               QObject* parent)
    : QObject(parent)
    , m_service(std::move(service))
{
    m_loaded = m_service->open(path, password, m_id, m_passwordRequired);
}

DebenuDocument::DebenuDocument(QSharedPointer<DebenuService> service, const QString& path, const QString& password,
                               bool /*big*/, QObject* parent)
    : DebenuDocument(std::move(service), path, password, parent)
{
}

DebenuDocument::DebenuDocument(QSharedPointer<DebenuService> service, QObject* parent)
    : QObject(parent)
    , m_service(std::move(service))
{
    m_id = m_service->newDocument();
    m_loaded = true;
}

DebenuDocument::DebenuDocument(QSharedPointer<DebenuService> service, bool /*big*/, QObject* parent)
    : DebenuDocument(std::move(service), parent)
{
}

DebenuDocument::~DebenuDocument()
{
    m_service->close(m_id);
    m_id = 0;
    m_service.reset();
}

int DebenuDocument::id() const { return m_id; }
void DebenuDocument::setId(int id) { m_id = id; }
bool DebenuDocument::isLoaded() const { return m_loaded; }
bool DebenuDocument::isPasswordRequired() const { return m_passwordRequired; }

int DebenuDocument::pageCount() { return m_service->pageCount(m_id); }
int DebenuDocument::pageWidth() { return m_service->pageWidth(m_id); }
int DebenuDocument::pageHeight() { return m_service->pageHeight(m_id); }
QSize DebenuDocument::pageSize(int page) { return m_service->pageSize(m_id, page); }
QPixmap DebenuDocument::renderPixmap(int page) { return QPixmap::fromImage(m_service->renderPage(m_id, page, 72.0)); }
QImage DebenuDocument::renderFirstPage() { return m_service->renderPage(m_id, 1, 72.0); }
QImage DebenuDocument::renderPage(int page, double dpi) { return m_service->renderPage(m_id, page, dpi); }

int DebenuDocument::renderPageToFile(double dpi, int page, int options, const QString& path)
{
    return m_service->renderPageToFile(m_id, dpi, page, options, path);
}

bool DebenuDocument::save(const QString& path) { return m_service->save(m_id, path); }
bool DebenuDocument::setProperties(DocumentProperties properties) { return m_service->setProperties(m_id, properties); }
QString DebenuDocument::title() { return m_service->title(m_id); }

int DebenuDocument::setPageDimensions(double width, double height)
{
    return m_service->setPageDimensions(m_id, width, height);
}

int DebenuDocument::setPageSize(const QString& paperName) { return m_service->setPageSize(m_id, paperName); }
int DebenuDocument::fontCount() { return m_service->fontCount(m_id); }
bool DebenuDocument::isEncrypted() { return m_service->isEncrypted(m_id); }
bool DebenuDocument::securityInfo5Is6() { return m_service->securityInfo5Is6(m_id); }
bool DebenuDocument::hasText() { return m_service->hasText(m_id); }

int DebenuDocument::addImageFromFile(const QString& path, int options)
{
    return m_service->addImageFromFile(m_id, path, options);
}

int DebenuDocument::selectImage(int imageId) { return m_service->selectImage(m_id, imageId); }

int DebenuDocument::fitImage(int imageId, double left, double top, double width, double height, int hAlign,
                             int vAlign, int rotate)
{
    return m_service->fitImage(m_id, imageId, left, top, width, height, hAlign, vAlign, rotate);
}

int DebenuDocument::newPage() { return m_service->newPage(m_id); }
int DebenuDocument::selectPage(int page) { return m_service->selectPage(m_id, page); }
int DebenuDocument::selectedPage() { return m_service->selectedPage(m_id); }
int DebenuDocument::imageWidth(int imageId) { return m_service->imageWidth(m_id, imageId); }
int DebenuDocument::imageHeight(int imageId) { return m_service->imageHeight(m_id, imageId); }
int DebenuDocument::imageHorizontalResolution() { return m_service->imageHorizontalResolution(m_id); }
int DebenuDocument::imageVerticalResolution() { return m_service->imageVerticalResolution(m_id); }

int DebenuDocument::drawImage(int imageId, double left, double top, double width, double height)
{
    return m_service->drawImage(m_id, imageId, left, top, width, height);
}

int DebenuDocument::objectCount() { return m_service->objectCount(m_id); }

bool DebenuDocument::merge(const QStringList& files, const QString& output, QSharedPointer<DebenuService> service)
{
    Logger* logger = Logger::instance();
    logger->log(QStringLiteral("Merge [BEGIN]"), Logger::Debug);
    if (files.isEmpty()) {
        logger->log(QStringLiteral("Merge [FAILED]. Result merge count and count files for merge missmatch"),
                    Logger::Debug);
        return false;
    }

    // Every further file is appended to the first; at most two documents are open at a time.
    std::unique_ptr<DebenuDocument> first(new DebenuDocument(service, files.first(), QString()));
    if (!first->isLoaded() || first->isPasswordRequired()) {
        logger->log(QStringLiteral("Open file [FAILED]:%1").arg(files.first()), Logger::Debug);
        logger->log(QStringLiteral("Last error code:%1").arg(service->lastErrorCode()), Logger::Debug);
        return false;
    }
    for (int i = 1; i < files.size(); ++i) {
        std::unique_ptr<DebenuDocument> other(new DebenuDocument(service, files[i], QString()));
        if (service->mergeDocument(first->id(), other->id()) != 1) {
            logger->log(QStringLiteral("Append file [FAILED]:%1").arg(files[i]), Logger::Debug);
            logger->log(QStringLiteral("Last error code:%1").arg(service->lastErrorCode()), Logger::Debug);
            return false;
        }
    }

    if (!service->save(first->id(), output)) {
        logger->log(QStringLiteral("Save to file [FAILED]:%1").arg(output), Logger::Debug);
        logger->log(QStringLiteral("Last error code:%1").arg(service->lastErrorCode()), Logger::Debug);
        return false;
    }
    logger->log(QStringLiteral("Merge [OK]"), Logger::Debug);
    return true;
}
