#pragma once

#include "pdflib/binding/generated/DebenuPDFLibraryDLLQt1212.h"
#include "pdflib/service/DocumentProperties.h"

#include <QImage>
#include <QMutex>
#include <QSize>
#include <QString>
#include <QStringList>

// The program's one gateway to the PDF library: it owns the single library instance and one
// mutex. The library keeps a selected document (and per document a selected page and image) as
// hidden state, so every operation selects its document and acts on it as one step under the
// mutex; the GUI thread and the conversion threads share the instance this way. No operation
// calls another while it holds the mutex, and no caller ever holds it.
//
// Documents are the library's int ids (0: none); pages are 1-based; lengths are in points. An
// operation on an id the library does not know (0 after a failed open, a closed document)
// returns its failure value and touches no other document.
class DebenuService
{
public:
    // Loads the library from the program folder (ToolPaths::PdfLibrary).
    DebenuService();
    ~DebenuService();

    DebenuService(const DebenuService&) = delete;
    DebenuService& operator=(const DebenuService&) = delete;

    // True when the file loaded (id set) or when it needs another password (library error 404:
    // passwordRequired set, id left as it was). False when it could not be opened.
    bool open(const QString& path, const QString& password, int& id, bool& passwordRequired);
    int newDocument();
    int close(int id);

    int pageCount(int id);
    // The selected page's size in whole points.
    int pageWidth(int id);
    int pageHeight(int id);
    // Page box 2 of the page in whole points, width and height swapped for a page turned by 90
    // or 270 degrees.
    QSize pageSize(int id, int page);
    // The page at one pixel per point (callers pass 72 dpi); a null image when the page has no
    // size or the library does not render it.
    QImage renderPage(int id, int page, double dpi);
    int renderPageToFile(int id, double dpi, int page, int options, const QString& path);
    bool save(int id, const QString& path);
    // Writes author, title, creator and producer; a non-blank password encrypts the document
    // (owner and user password alike, every permission granted) when it is saved.
    bool setProperties(int id, DocumentProperties properties);
    QString title(int id);
    int setPageDimensions(int id, double width, double height);
    int setPageSize(int id, const QString& paperName);
    int fontCount(int id);
    bool isEncrypted(int id);
    bool securityInfo5Is6(int id);
    int addImageFromFile(int id, const QString& path, int options);
    int selectImage(int id, int imageId);
    int fitImage(int id, int imageId, double left, double top, double width, double height, int hAlign,
                 int vAlign, int rotate);
    int newPage(int id);
    int selectPage(int id, int page);
    int selectedPage(int id);
    // True as soon as one page gives text.
    bool hasText(int id);
    // Appends the other document's pages to document id; 1 is success.
    int mergeDocument(int id, int otherId);
    int lastErrorCode();

    // File to file; no document stays loaded.
    int decryptFile(const QString& input, const QString& output, const QString& password);
    int extractFilePages(const QString& input, const QString& password, const QString& output,
                         const QString& rangeList);
    int extractPages(const QString& input, const QString& password, const QString& output, int startPage,
                     int pageCount);

    int addToFileList(const QString& listName, const QString& fileName);
    int encryptFile(const QString& input, const QString& output, const QString& password);
    int extractFilePagesEx(const QString& input, const QString& password, const QString& output,
                           const QString& rangeList, int options);
    int imagePageCount(const QString& path);
    int imageWidth(int id, int imageId);
    int imageHeight(int id, int imageId);
    int imageHorizontalResolution(int id);
    int imageVerticalResolution(int id);
    int mergeFileList(const QString& listName, const QString& output);
    int mergeFileListFast(const QString& listName, const QString& output);
    bool mergeFiles(const QStringList& files, const QString& output);
    int mergeTwoFiles(const QString& first, const QString& second, const QString& output);
    int objectCount(int id);
    int drawImage(int id, int imageId, double left, double top, double width, double height);
    int selectDocument(int id);

private:
    // Selects document id; false when the library does not know it. Called with the mutex held.
    bool select(int id);
    // Under the mutex: selects document id and returns what act gives, or the empty value of
    // act's result type (0, false, an empty string) when the library does not know the document.
    template <typename Act> auto onDocument(int id, Act act) -> decltype(act());
    // The granted-everything permissions value for Encrypt. Called with the mutex held.
    int allPermissions();

    DebenuPDFLibraryDLLQt1212 library;
    QMutex mutex;
};
