#pragma once

#include "pdflib/service/DebenuService.h"
#include "pdflib/service/DocumentProperties.h"

#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QSharedPointer>
#include <QSize>
#include <QStringList>

// One PDF held open in the PDF library: a file loaded from disk or a new document that a
// conversion fills and saves. It keeps the shared service (and with it the library) alive and
// forwards each operation to the service with its document id; the library document lives
// exactly as long as this object. One thread uses a document at a time.
class DebenuDocument : public QObject
{
    Q_OBJECT

public:
    // Opens the file. isLoaded() and isPasswordRequired() tell the outcome: loaded with a
    // non-zero id, loaded but needing another password (id 0), or not loaded (id 0).
    DebenuDocument(QSharedPointer<DebenuService> service, const QString& path, const QString& password,
                   QObject* parent = nullptr);
    // The same; big is accepted for the callers that pass it and has no effect.
    DebenuDocument(QSharedPointer<DebenuService> service, const QString& path, const QString& password, bool big,
                   QObject* parent = nullptr);
    // A new document with one blank page.
    explicit DebenuDocument(QSharedPointer<DebenuService> service, QObject* parent = nullptr);
    DebenuDocument(QSharedPointer<DebenuService> service, bool big, QObject* parent = nullptr);
    // Removes the library document; the last holder of the service destroys it.
    ~DebenuDocument() override;

    int id() const;
    void setId(int id);
    bool isLoaded() const;
    bool isPasswordRequired() const;

    int pageCount();
    int pageWidth();
    int pageHeight();
    QSize pageSize(int page);
    QPixmap renderPixmap(int page);
    QImage renderFirstPage();
    QImage renderPage(int page, double dpi);
    int renderPageToFile(double dpi, int page, int options, const QString& path);
    bool save(const QString& path);
    bool setProperties(DocumentProperties properties);
    QString title();
    int setPageDimensions(double width, double height);
    int setPageSize(const QString& paperName);
    int fontCount();
    bool isEncrypted();
    bool securityInfo5Is6();
    bool hasText();
    int addImageFromFile(const QString& path, int options);
    int selectImage(int imageId);
    int fitImage(int imageId, double left, double top, double width, double height, int hAlign, int vAlign,
                 int rotate);
    int newPage();
    int selectPage(int page);
    int selectedPage();
    int imageWidth(int imageId);
    int imageHeight(int imageId);
    int imageHorizontalResolution();
    int imageVerticalResolution();
    int drawImage(int imageId, double left, double top, double width, double height);
    int objectCount();

    // Joins the PDF files, in order, into output. Writes nothing unless every file opened and
    // was appended; false for an empty list.
    static bool merge(const QStringList& files, const QString& output, QSharedPointer<DebenuService> service);

private:
    QSharedPointer<DebenuService> m_service;
    int m_id = 0;
    bool m_loaded = false;
    bool m_passwordRequired = false;
};
