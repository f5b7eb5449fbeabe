#include "platform/pdflibrary/LibraryInstance.h"

#include "platform/pdflibrary/DocumentIO.h"
#include "platform/pdflibrary/DocumentInfo.h"
#include "platform/pdflibrary/ErrorCodes.h"
#include "platform/pdflibrary/PageBoxes.h"
#include "platform/pdflibrary/PageImageFile.h"
#include "platform/pdflibrary/PageRender.h"

#include <atomic>

namespace dpl {

namespace {

// Document ids are unique across instances, so an id from one instance never names a document
// of another.
std::atomic<int> nextDocumentId{1};

constexpr double a4Width = 595;
constexpr double a4Height = 842;

} // namespace

LibraryInstance::LibraryInstance()
    : m_context(qpmupdf::newContext())
    , m_ctx(m_context.get())
{
}

LibraryInstance::~LibraryInstance()
{
    // The documents go before the context they were made in.
    m_documents.clear();
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
    m_wideResult.clear();
    m_byteResult.clear();
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

} // namespace dpl
