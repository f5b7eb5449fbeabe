#include "platform/pdflibrary/LibraryInstance.h"

#include "platform/pdflibrary/DocumentIO.h"
#include "platform/pdflibrary/ErrorCodes.h"
#include "platform/pdflibrary/PageCopy.h"

// The whole-document and file operations of a library instance: merging, extracting, encrypting,
// decrypting and saving.

namespace dpl {

namespace {

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

std::unique_ptr<Document> LibraryInstance::openFile(const std::string& path, const std::string& password, int* error)
{
    pdf_document* pdf = nullptr;
    *error = openPdfFile(m_ctx, path, password, &pdf);
    return *error ? nullptr : std::make_unique<Document>(m_ctx, pdf);
}

int LibraryInstance::writeFile(Document& document, const std::string& path, Encryption encryption)
{
    if (int error = writeDocument(m_ctx, document, path, encryption))
        return fail(error);
    return 1;
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
        int error = NoError;
        std::unique_ptr<Document> part = openFile(file, std::string(), &error);
        if (!part)
            return fail(error == InvalidPassword ? InputEncrypted : error);
        if ((error = copyPages(m_ctx, merged, part->pdf(), allPages(part->pageCount()))))
            return fail(error);
    }
    return writeFile(target, output, Encryption::Remove);
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
    int error = NoError;
    std::unique_ptr<Document> source = openFile(input, password, &error);
    if (!source)
        return fail(error);
    std::vector<int> pages;
    if (!parseRangeList(rangeList, source->pageCount(), &pages))
        return fail(InvalidRangeList);
    pdf_document* extracted = nullptr;
    if ((error = documentFromPages(m_ctx, source->pdf(), pages, &extracted)))
        return fail(error);
    Document result(m_ctx, extracted);
    return writeFile(result, output, Encryption::Remove);
}

int LibraryInstance::extractFilePagesEx(const std::string& input, const std::string& password,
                                        const std::string& output, const std::string& rangeList, int)
{
    return extractFilePages(input, password, output, rangeList);
}

int LibraryInstance::decryptFile(const std::string& input, const std::string& output, const std::string& password)
{
    int error = NoError;
    std::unique_ptr<Document> document = openFile(input, password, &error);
    return document ? writeFile(*document, output, Encryption::Remove) : fail(error);
}

int LibraryInstance::encryptFile(const std::string& input, const std::string& output, const std::string& owner,
                                 const std::string& user, int strength, int permissions)
{
    int method = 0;
    if (!encryptionMethod(strength, &method))
        return fail(InvalidStrength);
    if (!validPermissions(permissions))
        return fail(InvalidPermissions);
    int error = NoError;
    std::unique_ptr<Document> document = openFile(input, std::string(), &error);
    if (!document)
        return fail(error == InvalidPassword ? AlreadyEncrypted : error);
    if (document->pdf()->crypt)
        return fail(AlreadyEncrypted);
    document->encryption = {true, method, permissions, owner.empty() ? user : owner, user};
    return writeFile(*document, output, Encryption::AsRequested);
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
    return writeFile(*document, path, Encryption::AsRequested);
}

} // namespace dpl
