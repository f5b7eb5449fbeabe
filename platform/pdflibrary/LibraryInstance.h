#pragma once

#include "platform/mupdf/FitzContext.h"
#include "platform/pdflibrary/DocumentIO.h"
#include "platform/pdflibrary/LibraryDocument.h"
#include "platform/pdflibrary/PageBoxes.h"
#include "platform/wintypes/WinTypes.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace dpl {

// The state of one library instance, and every operation the library performs for real. Each
// operation starts with a clear last-error code and sets it when it fails; the infrastructure
// (results, buffers) never touches it. Strings are UTF-8. Callers hold mutex() around each call
// and the follow-up calls that read its result.
class LibraryInstance
{
public:
    LibraryInstance();
    ~LibraryInstance();
    LibraryInstance(const LibraryInstance&) = delete;
    LibraryInstance& operator=(const LibraryInstance&) = delete;

    bool isUsable() const { return m_ctx != nullptr; }
    std::mutex& mutex() { return m_mutex; }

    // Latest results and buffers (infrastructure).
    const wchar_t* keepWideResult(std::wstring text);
    int wideResultLength() const { return int(m_wideResult.size()); }
    int byteResultLength() const { return int(m_byteResult.size()); }
    char* createBuffer(int length);
    int addToBuffer(char* buffer, const char* data, int length);
    int releaseBuffer(char* buffer);

    // Every operation but the infrastructure and LastErrorCode starts with this.
    void beginCall() { m_lastError = 0; }
    int lastErrorCode() const { return m_lastError; }
    // A function this library does not implement was called.
    void notImplemented();
    // An unexpected failure (out of memory) ended the current call; it leaves no result behind.
    void internalFailure();

    // Documents and selection.
    int loadFromFile(const std::string& path, const std::string& password);
    int newDocument();
    int selectDocument(int id);
    int selectedDocument() const { return m_selected; }
    int removeDocument(int id);
    int documentCount() const { return int(m_documents.size()); }
    std::string libraryVersion() const { return "12.12"; }

    // Pages of the selected document.
    int pageCount();
    int selectPage(int page);
    int selectedPage();
    double pageWidth();
    double pageHeight();
    int pageRotation();
    double getPageBox(int boxType, int dimension);
    int setPageSize(const std::string& paperName);
    int setPageDimensions(double width, double height);
    int newPage();

    // Information, security and content of the selected document.
    std::string getInformation(int key);
    int setInformation(int key, const std::string& value);
    int securityInfo(int item);
    int findFonts();
    std::string getPageText(int options);
    int getObjectCount();

    // Rendering.
    int renderPageToDC(double dpi, int page, HDC dc);
    int renderPageToFile(double dpi, int page, int options, const std::string& path);

    // Images.
    int addImageFromFile(const std::string& path, int options);
    int selectImage(int id);
    int imageWidth();
    int imageHeight();
    int imageHorizontalResolution();
    int imageVerticalResolution();
    int fitImage(double left, double top, double width, double height, int hAlign, int vAlign, int rotate);
    int setOrigin(int origin);
    int drawImage(double left, double top, double width, double height);
    int getImagePageCount(const std::string& path);

    // Whole documents and files.
    int mergeDocument(int otherId);
    int extractPages(int startPage, int pageCount);
    int addToFileList(const std::string& listName, const std::string& fileName);
    int mergeFileList(const std::string& listName, const std::string& output);
    int mergeFiles(const std::string& first, const std::string& second, const std::string& output);
    int extractFilePages(const std::string& input, const std::string& password, const std::string& output,
                         const std::string& rangeList);
    // The options of the Ex form are not used.
    int extractFilePagesEx(const std::string& input, const std::string& password, const std::string& output,
                           const std::string& rangeList, int options);
    int decryptFile(const std::string& input, const std::string& output, const std::string& password);
    int encryptFile(const std::string& input, const std::string& output, const std::string& owner,
                    const std::string& user, int strength, int permissions);
    static int encodePermissions(int canPrint, int canCopy, int canChange, int canAddNotes, int canFillFields,
                                 int canCopyAccess, int canAssemble, int canPrintFull);
    int encrypt(const std::string& owner, const std::string& user, int strength, int permissions);
    int saveToFile(const std::string& path);

private:
    int fail(int code);
    Document* current();
    int addDocument(pdf_document* pdf);
    int mergeFileSet(const std::vector<std::string>& files, const std::string& output);
    // Opens a file as a document outside the instance's list; null with the error code when it
    // does not open.
    std::unique_ptr<Document> openFile(const std::string& path, const std::string& password, int* error);
    // Writes the document; 1, or 0 with the error recorded.
    int writeFile(Document& document, const std::string& path, Encryption encryption);
    // The selected document's selected image; null with NoImage recorded when there is none.
    DocumentImage* selectedImage(Document* document);
    int imageProperty(int DocumentImage::*property);
    // Draws the selected image on the selected page where the rule places it within the page's
    // crop box; a rule that returns false rejects its arguments.
    using PlacementRule = std::function<bool(const DocumentImage&, const fz_rect& box, ImagePlacement*)>;
    int placeSelectedImage(const PlacementRule& rule);

    std::mutex m_mutex;
    qpmupdf::ContextPtr m_context;
    fz_context* m_ctx = nullptr; // m_context's, for the calls

    std::map<int, std::unique_ptr<Document>> m_documents;
    int m_selected = 0;
    int m_lastError = 0;
    int m_origin = 0;
    std::wstring m_wideResult;
    std::string m_byteResult;
    std::map<char*, std::unique_ptr<std::string>> m_buffers;
    std::map<std::string, std::vector<std::string>> m_fileLists;
};

} // namespace dpl
