#include "LibraryInstance.h"

#include "DocumentIO.h"
#include "DocumentInfo.h"
#include "ErrorCodes.h"
#include "ImageImport.h"
#include "PageCopy.h"
#include "PageImageFile.h"
#include "PageLayout.h"
#include "PageRender.h"

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstdio>

namespace dpl {

namespace {

// Document ids are unique across instances, so an id from one instance never names a document
// of another.
std::atomic<int> nextDocumentId{1};

constexpr double a4Width = 595;
constexpr double a4Height = 842;

void quiet(void* user, const char* message)
{
    if (std::getenv("QP_PDFLIBRARY_DEBUG"))
        std::fprintf(stderr, "pdflibrary: %s\n", message);
}

std::vector<int> allPages(int count)
{
    std::vector<int> pages(size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
        pages[size_t(i)] = i + 1;
    return pages;
}

// Encrypt's strength codes: 0 RC4 40-bit, 1 and 2 AES 128-bit, 3 AES 256-bit.
bool encryptionMethod(int strength, int* method)
{
    switch (strength) {
    case 0: *method = PDF_ENCRYPT_RC4_40; return true;
    case 1:
    case 2: *method = PDF_ENCRYPT_AES_128; return true;
    case 3: *method = PDF_ENCRYPT_AES_256; return true;
    default: return false;
    }
}

// Permission values as EncodePermissions makes them: reserved bits set, bits 1-2 clear.
constexpr unsigned permissionBits = 4 | 8 | 16 | 32 | 256 | 512 | 1024 | 2048;
constexpr unsigned reservedPermissionBits = ~(permissionBits | 3u);

bool validPermissions(int permissions)
{
    return (unsigned(permissions) & ~permissionBits) == reservedPermissionBits;
}

} // namespace

LibraryInstance::LibraryInstance()
{
    m_ctx = fz_new_context(nullptr, nullptr, FZ_STORE_DEFAULT);
    if (m_ctx) {
        fz_set_warning_callback(m_ctx, quiet, nullptr);
        fz_set_error_callback(m_ctx, quiet, nullptr);
    }
}

LibraryInstance::~LibraryInstance()
{
    m_documents.clear();
    if (m_ctx)
        fz_drop_context(m_ctx);
}

const wchar_t* LibraryInstance::keepWideResult(std::wstring text)
{
    m_wideResult = std::move(text);
    return m_wideResult.c_str();
}

char* LibraryInstance::createBuffer(int length)
{
    auto buffer = std::make_unique<std::string>();
    buffer->reserve(size_t(std::max(length, 0)));
    char* handle = reinterpret_cast<char*>(buffer.get());
    m_buffers.emplace(handle, std::move(buffer));
    return handle;
}

int LibraryInstance::addToBuffer(char* buffer, const char* data, int length)
{
    auto found = m_buffers.find(buffer);
    if (found == m_buffers.end() || length < 0 || (length > 0 && !data))
        return 0;
    found->second->append(data, size_t(length));
    return 1;
}

int LibraryInstance::releaseBuffer(char* buffer)
{
    return m_buffers.erase(buffer) ? 1 : 0;
}

void LibraryInstance::notImplemented()
{
    m_lastError = NotImplemented;
    m_wideResult.clear();
    m_byteResult.clear();
}

void LibraryInstance::internalFailure()
{
    m_lastError = InternalError;
}

int LibraryInstance::fail(int code)
{
    m_lastError = code;
    return 0;
}

Document* LibraryInstance::current()
{
    auto found = m_documents.find(m_selected);
    if (found == m_documents.end()) {
        fail(NoDocument);
        return nullptr;
    }
    return found->second.get();
}

int LibraryInstance::addDocument(pdf_document* pdf)
{
    auto document = std::make_unique<Document>(m_ctx, pdf);
    const int id = nextDocumentId++;
    m_documents.emplace(id, std::move(document));
    m_selected = id;
    return id;
}

int LibraryInstance::loadFromFile(const std::string& path, const std::string& password)
{
    pdf_document* pdf = nullptr;
    if (int error = openPdfFile(m_ctx, path, password, &pdf))
        return fail(error);
    addDocument(pdf);
    return 1;
}

int LibraryInstance::newDocument()
{
    pdf_document* pdf = nullptr;
    if (!fzRun(m_ctx, [&] { pdf = pdf_create_document(m_ctx); }))
        return fail(InternalError);
    int page = 0;
    if (int error = appendBlankPage(m_ctx, pdf, a4Width, a4Height, &page)) {
        pdf_drop_document(m_ctx, pdf);
        return fail(error);
    }
    return addDocument(pdf);
}

int LibraryInstance::selectDocument(int id)
{
    if (!m_documents.count(id)) {
        m_selected = 0;
        return fail(NoDocument);
    }
    m_selected = id;
    return 1;
}

int LibraryInstance::removeDocument(int id)
{
    if (!m_documents.erase(id))
        return fail(NoDocument);
    if (m_selected == id)
        m_selected = 0;
    return 1;
}

int LibraryInstance::pageCount()
{
    Document* document = current();
    return document ? document->pageCount() : 0;
}

int LibraryInstance::selectPage(int page)
{
    Document* document = current();
    if (!document)
        return 0;
    if (!document->hasPage(page))
        return fail(PageOutOfRange);
    document->selectedPage = page;
    return 1;
}

int LibraryInstance::selectedPage()
{
    Document* document = current();
    return document ? document->selectedPage : 0;
}

double LibraryInstance::pageWidth()
{
    return getPageBox(int(PageBoxType::Crop), 2);
}

double LibraryInstance::pageHeight()
{
    return getPageBox(int(PageBoxType::Crop), 3);
}

int LibraryInstance::pageRotation()
{
    Document* document = current();
    if (!document)
        return 0;
    int rotation = 0;
    if (int error = dpl::pageRotation(m_ctx, document->pdf(), document->selectedPage, &rotation))
        return fail(error);
    return rotation;
}

double LibraryInstance::getPageBox(int boxType, int dimension)
{
    Document* document = current();
    if (!document)
        return 0.0;
    if (boxType < 1 || boxType > 5 || dimension < 0 || dimension > 5)
        return fail(InvalidArgument);
    fz_rect box;
    if (int error = pageBox(m_ctx, document->pdf(), document->selectedPage, PageBoxType(boxType), &box))
        return fail(error);
    switch (dimension) {
    case 0: return box.x0;
    case 1: return box.y1;
    case 2: return box.x1 - box.x0;
    case 3: return box.y1 - box.y0;
    case 4: return box.x1;
    default: return box.y0;
    }
}

int LibraryInstance::setPageSize(const std::string& paperName)
{
    double width = 0;
    double height = 0;
    Document* document = current();
    if (!document)
        return 0;
    if (!paperSize(paperName, &width, &height))
        return fail(UnknownPaperName);
    return setPageDimensions(width, height);
}

int LibraryInstance::setPageDimensions(double width, double height)
{
    Document* document = current();
    if (!document)
        return 0;
    if (int error = dpl::setPageDimensions(m_ctx, document->pdf(), document->selectedPage, width, height))
        return fail(error);
    return 1;
}

int LibraryInstance::newPage()
{
    Document* document = current();
    if (!document)
        return 0;
    // The new page takes the size of the selected one.
    fz_rect box = {0, 0, float(a4Width), float(a4Height)};
    pageBox(m_ctx, document->pdf(), document->selectedPage, PageBoxType::Crop, &box);
    double width = box.x1 - box.x0;
    double height = box.y1 - box.y0;
    if (width < 1 || height < 1) {
        width = a4Width;
        height = a4Height;
    }
    int page = 0;
    if (int error = appendBlankPage(m_ctx, document->pdf(), width, height, &page))
        return fail(error);
    document->selectedPage = page;
    return page;
}

std::string LibraryInstance::getInformation(int key)
{
    std::string value;
    Document* document = current();
    if (!document)
        return value;
    if (int error = readInformation(m_ctx, document->pdf(), key, &value))
        fail(error);
    return value;
}

int LibraryInstance::setInformation(int key, const std::string& value)
{
    Document* document = current();
    if (!document)
        return 0;
    if (int error = writeInformation(m_ctx, document->pdf(), key, value))
        return fail(error);
    return 1;
}

int LibraryInstance::securityInfo(int item)
{
    Document* document = current();
    if (!document)
        return 0;
    int value = 0;
    if (!securityItem(m_ctx, document->pdf(), item, &value))
        return fail(InvalidArgument);
    return value;
}

int LibraryInstance::findFonts()
{
    Document* document = current();
    return document ? countFonts(m_ctx, document->pdf()) : 0;
}

std::string LibraryInstance::getPageText(int options)
{
    std::string text;
    Document* document = current();
    if (!document)
        return text;
    if (options != 0) {
        fail(InvalidArgument);
        return text;
    }
    if (int error = pageText(m_ctx, document->pdf(), document->selectedPage, &text))
        fail(error);
    return text;
}

int LibraryInstance::getObjectCount()
{
    Document* document = current();
    if (!document)
        return 0;
    int count = 0;
    fzRun(m_ctx, [&] { count = pdf_xref_len(m_ctx, document->pdf()) - 1; });
    return std::max(count, 0);
}

int LibraryInstance::renderPageToDC(double dpi, int page, HDC dc)
{
    Document* document = current();
    if (!document)
        return 0;
    if (!document->hasPage(page))
        return fail(PageOutOfRange);
    if (int error = renderPageToCanvas(m_ctx, document->pdf(), page, dpi, dc))
        return fail(error);
    return 1;
}

int LibraryInstance::renderPageToFile(double dpi, int page, int options, const std::string& path)
{
    Document* document = current();
    if (!document)
        return 0;
    if (!document->hasPage(page))
        return fail(PageOutOfRange);
    if (!isPageImageFormat(options))
        return fail(InvalidArgument);
    const int error = writePageImage(m_ctx, document->pdf(), page, dpi, PageImageFormat(options), path);
    if (error == CannotOpenOutput || error == CannotReplaceOutput) {
        fail(error);
        return 2;
    }
    if (error)
        return fail(error);
    return 1;
}

int LibraryInstance::addImageFromFile(const std::string& path, int options)
{
    Document* document = current();
    if (!document)
        return 0;
    DocumentImage image;
    if (int error = importImageFile(m_ctx, document->pdf(), path, image))
        return fail(error);
    const int id = document->nextImageId++;
    document->images.emplace(id, image);
    document->selectedImage = id;
    return id;
}

int LibraryInstance::selectImage(int id)
{
    Document* document = current();
    if (!document)
        return 0;
    if (!document->images.count(id))
        return fail(NoImage);
    document->selectedImage = id;
    return 1;
}

namespace {

DocumentImage* selectedImageOf(Document* document)
{
    if (!document)
        return nullptr;
    auto found = document->images.find(document->selectedImage);
    return found == document->images.end() ? nullptr : &found->second;
}

} // namespace

int LibraryInstance::imageWidth()
{
    DocumentImage* image = selectedImageOf(current());
    return image ? image->width : (m_lastError ? 0 : fail(NoImage));
}

int LibraryInstance::imageHeight()
{
    DocumentImage* image = selectedImageOf(current());
    return image ? image->height : (m_lastError ? 0 : fail(NoImage));
}

int LibraryInstance::imageHorizontalResolution()
{
    DocumentImage* image = selectedImageOf(current());
    return image ? image->xResolution : (m_lastError ? 0 : fail(NoImage));
}

int LibraryInstance::imageVerticalResolution()
{
    DocumentImage* image = selectedImageOf(current());
    return image ? image->yResolution : (m_lastError ? 0 : fail(NoImage));
}

int LibraryInstance::fitImage(double left, double top, double width, double height, int hAlign, int vAlign, int rotate)
{
    Document* document = current();
    if (!document)
        return 0;
    DocumentImage* image = selectedImageOf(document);
    if (!image)
        return fail(NoImage);
    fz_rect box;
    if (int error = pageBox(m_ctx, document->pdf(), document->selectedPage, PageBoxType::Crop, &box))
        return fail(error);
    ImagePlacement placement;
    if (!fitImagePlacement(image->width, image->height, box.x0 + left, box.y0 + top, width, height, hAlign, vAlign,
                           rotate, &placement))
        return fail(InvalidArgument);
    if (int error = drawImageOnPage(m_ctx, document->pdf(), document->selectedPage, *image, placement))
        return fail(error);
    return 1;
}

int LibraryInstance::setOrigin(int origin)
{
    // 0: coordinates from the page's bottom-left corner, upwards; 1: from its top-left, downwards.
    if (origin != 0 && origin != 1)
        return fail(InvalidArgument);
    m_origin = origin;
    return 1;
}

int LibraryInstance::drawImage(double left, double top, double width, double height)
{
    Document* document = current();
    if (!document)
        return 0;
    DocumentImage* image = selectedImageOf(document);
    if (!image)
        return fail(NoImage);
    constexpr double limit = 1e6;
    if (!(width > 0 && width <= limit && height > 0 && height <= limit && std::fabs(left) <= limit && std::fabs(top) <= limit))
        return fail(InvalidArgument);
    fz_rect box;
    if (int error = pageBox(m_ctx, document->pdf(), document->selectedPage, PageBoxType::Crop, &box))
        return fail(error);
    const double x = box.x0 + left;
    const double yTop = m_origin == 1 ? box.y1 - top : box.y0 + top;
    const ImagePlacement placement = {width, 0, 0, height, x, yTop - height};
    if (int error = drawImageOnPage(m_ctx, document->pdf(), document->selectedPage, *image, placement))
        return fail(error);
    return 1;
}

int LibraryInstance::getImagePageCount(const std::string& path)
{
    const int count = imageFilePageCount(m_ctx, path);
    return count > 0 ? count : fail(UnreadableImage);
}

int LibraryInstance::mergeDocument(int otherId)
{
    Document* document = current();
    if (!document)
        return 0;
    auto other = m_documents.find(otherId);
    if (other == m_documents.end())
        return fail(NoDocument);
    if (other->second.get() == document)
        return fail(InvalidArgument);
    Document& source = *other->second;
    if (int error = copyPages(m_ctx, document->pdf(), source.pdf(), allPages(source.pageCount())))
        return fail(error);
    return 1;
}

int LibraryInstance::extractPages(int startPage, int pageCount)
{
    Document* document = current();
    if (!document)
        return 0;
    const int count = document->pageCount();
    if (startPage < 1 || pageCount < 1 || startPage > count || pageCount > count - startPage + 1)
        return fail(PageOutOfRange);
    std::vector<int> pages;
    for (int page = startPage; page < startPage + pageCount; ++page)
        pages.push_back(page);
    pdf_document* extracted = nullptr;
    if (int error = documentFromPages(m_ctx, document->pdf(), pages, &extracted))
        return fail(error);
    addDocument(extracted);
    return 1;
}

int LibraryInstance::addToFileList(const std::string& listName, const std::string& fileName)
{
    std::vector<std::string>& list = m_fileLists[listName];
    list.push_back(fileName);
    return int(list.size());
}

int LibraryInstance::mergeFileSet(const std::vector<std::string>& files, const std::string& output)
{
    pdf_document* merged = nullptr;
    if (!fzRun(m_ctx, [&] { merged = pdf_create_document(m_ctx); }))
        return fail(InternalError);
    Document target(m_ctx, merged);
    for (const std::string& file : files) {
        pdf_document* source = nullptr;
        int error = openPdfFile(m_ctx, file, std::string(), &source);
        if (error == InvalidPassword)
            return fail(InputEncrypted);
        if (error)
            return fail(error);
        Document part(m_ctx, source);
        if ((error = copyPages(m_ctx, merged, source, allPages(part.pageCount()))))
            return fail(error);
    }
    if (int error = writeDocument(m_ctx, target, output, Encryption::Remove))
        return fail(error);
    return 1;
}

int LibraryInstance::mergeFileList(const std::string& listName, const std::string& output)
{
    auto found = m_fileLists.find(listName);
    if (found == m_fileLists.end() || found->second.empty())
        return fail(UnknownFileList);
    return mergeFileSet(found->second, output);
}

int LibraryInstance::mergeFiles(const std::string& first, const std::string& second, const std::string& output)
{
    return mergeFileSet({first, second}, output);
}

int LibraryInstance::extractFilePages(const std::string& input, const std::string& password, const std::string& output,
                                      const std::string& rangeList)
{
    pdf_document* source = nullptr;
    if (int error = openPdfFile(m_ctx, input, password, &source))
        return fail(error);
    Document sourceDocument(m_ctx, source);
    std::vector<int> pages;
    if (!parseRangeList(rangeList, sourceDocument.pageCount(), &pages))
        return fail(InvalidRangeList);
    pdf_document* extracted = nullptr;
    if (int error = documentFromPages(m_ctx, source, pages, &extracted))
        return fail(error);
    Document result(m_ctx, extracted);
    if (int error = writeDocument(m_ctx, result, output, Encryption::Remove))
        return fail(error);
    return 1;
}

int LibraryInstance::decryptFile(const std::string& input, const std::string& output, const std::string& password)
{
    pdf_document* source = nullptr;
    if (int error = openPdfFile(m_ctx, input, password, &source))
        return fail(error);
    Document document(m_ctx, source);
    if (int error = writeDocument(m_ctx, document, output, Encryption::Remove))
        return fail(error);
    return 1;
}

int LibraryInstance::encryptFile(const std::string& input, const std::string& output, const std::string& owner,
                                 const std::string& user, int strength, int permissions)
{
    int method = 0;
    if (!encryptionMethod(strength, &method))
        return fail(InvalidStrength);
    if (!validPermissions(permissions))
        return fail(InvalidPermissions);
    pdf_document* source = nullptr;
    if (int error = openPdfFile(m_ctx, input, std::string(), &source))
        return fail(error == InvalidPassword ? AlreadyEncrypted : error);
    Document document(m_ctx, source);
    if (source->crypt)
        return fail(AlreadyEncrypted);
    document.encryption = {true, method, permissions, owner.empty() ? user : owner, user};
    if (int error = writeDocument(m_ctx, document, output, Encryption::AsRequested))
        return fail(error);
    return 1;
}

int LibraryInstance::encodePermissions(int canPrint, int canCopy, int canChange, int canAddNotes, int canFillFields,
                                       int canCopyAccess, int canAssemble, int canPrintFull)
{
    unsigned bits = reservedPermissionBits;
    if (canPrint) bits |= 4;
    if (canChange) bits |= 8;
    if (canCopy) bits |= 16;
    if (canAddNotes) bits |= 32;
    if (canFillFields) bits |= 256;
    if (canCopyAccess) bits |= 512;
    if (canAssemble) bits |= 1024;
    if (canPrintFull) bits |= 2048;
    return int(bits);
}

int LibraryInstance::encrypt(const std::string& owner, const std::string& user, int strength, int permissions)
{
    Document* document = current();
    if (!document)
        return 0;
    int method = 0;
    if (!encryptionMethod(strength, &method))
        return fail(EncryptBadStrength);
    if (!validPermissions(permissions))
        return fail(EncryptBadPermissions);
    if (document->pdf()->crypt)
        return fail(EncryptAlreadyEncrypted);
    document->encryption = {true, method, permissions, owner.empty() ? user : owner, user};
    return 1;
}

int LibraryInstance::saveToFile(const std::string& path)
{
    Document* document = current();
    if (!document)
        return 0;
    if (int error = writeDocument(m_ctx, *document, path, Encryption::AsRequested))
        return fail(error);
    return 1;
}

} // namespace dpl
