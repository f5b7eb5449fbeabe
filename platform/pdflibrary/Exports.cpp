// The library's exported functions that work for real. Each forwards to the instance named by its
// first argument; every other export of the catalogue is a generated stub that reports
// NotImplemented through dplStubCalled.

#include "DPLExports.h"
#include "ErrorCodes.h"
#include "ExportCall.h"

using namespace dpl;

namespace {

using Instance = LibraryInstance;

std::string utf8(const wchar_t* text)
{
    return toUtf8(text);
}

} // namespace

// Infrastructure.

DPL_EXPORT int DPLCreateLibrary()
{
    try {
        return InstanceTable::create();
    } catch (...) {
        return 0;
    }
}

DPL_EXPORT int DPLReleaseLibrary(int instanceID)
{
    try {
        return InstanceTable::release(instanceID) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

DPL_EXPORT int DPLStringResultLength(int instanceID)
{
    return callInfrastructure(instanceID, 0, [](Instance& l) { return l.wideResultLength(); });
}

DPL_EXPORT int DPLAnsiStringResultLength(int instanceID)
{
    return callInfrastructure(instanceID, 0, [](Instance& l) { return l.byteResultLength(); });
}

DPL_EXPORT char* DPLCreateBuffer(int instanceID, int length)
{
    return callInfrastructure(instanceID, static_cast<char*>(nullptr), [&](Instance& l) { return l.createBuffer(length); });
}

DPL_EXPORT int DPLAddToBuffer(int instanceID, char* buffer, const char* data, int length)
{
    return callInfrastructure(instanceID, 0, [&](Instance& l) { return l.addToBuffer(buffer, data, length); });
}

DPL_EXPORT int DPLReleaseBuffer(int instanceID, char* buffer)
{
    return callInfrastructure(instanceID, 0, [&](Instance& l) { return l.releaseBuffer(buffer); });
}

extern "C" void dplStubCalled(int instanceID, const char*)
{
    callInfrastructure(instanceID, 0, [](Instance& l) {
        l.notImplemented();
        return 0;
    });
}

DPL_EXPORT int DPLLastErrorCode(int instanceID)
{
    return callInfrastructure(instanceID, 0, [](Instance& l) { return l.lastErrorCode(); });
}

DPL_EXPORT const wchar_t* DPLLibraryVersion(int instanceID)
{
    return callWideResult(instanceID, [](Instance&) { return std::string("12.12"); });
}

// Documents.

DPL_EXPORT int DPLLoadFromFile(int instanceID, const wchar_t* FileName, const wchar_t* Password)
{
    return callInstance(instanceID, 0, [&](Instance& l) { return l.loadFromFile(utf8(FileName), utf8(Password)); });
}

DPL_EXPORT int DPLNewDocument(int instanceID)
{
    return callInstance(instanceID, 0, [](Instance& l) { return l.newDocument(); });
}

DPL_EXPORT int DPLSelectDocument(int instanceID, int DocumentID)
{
    return callInstance(instanceID, 0, [&](Instance& l) { return l.selectDocument(DocumentID); });
}

DPL_EXPORT int DPLSelectedDocument(int instanceID)
{
    return callInstance(instanceID, 0, [](Instance& l) { return l.selectedDocument(); });
}

DPL_EXPORT int DPLRemoveDocument(int instanceID, int DocumentID)
{
    return callInstance(instanceID, 0, [&](Instance& l) { return l.removeDocument(DocumentID); });
}

DPL_EXPORT int DPLDocumentCount(int instanceID)
{
    return callInstance(instanceID, 0, [](Instance& l) { return l.documentCount(); });
}

// Pages.

DPL_EXPORT int DPLPageCount(int instanceID)
{
    return callInstance(instanceID, 0, [](Instance& l) { return l.pageCount(); });
}

DPL_EXPORT int DPLSelectPage(int instanceID, int PageNumber)
{
    return callInstance(instanceID, 0, [&](Instance& l) { return l.selectPage(PageNumber); });
}

DPL_EXPORT int DPLSelectedPage(int instanceID)
{
    return callInstance(instanceID, 0, [](Instance& l) { return l.selectedPage(); });
}

DPL_EXPORT double DPLPageWidth(int instanceID)
{
    return callInstance(instanceID, 0.0, [](Instance& l) { return l.pageWidth(); });
}

DPL_EXPORT double DPLPageHeight(int instanceID)
{
    return callInstance(instanceID, 0.0, [](Instance& l) { return l.pageHeight(); });
}

DPL_EXPORT int DPLPageRotation(int instanceID)
{
    return callInstance(instanceID, 0, [](Instance& l) { return l.pageRotation(); });
}

DPL_EXPORT double DPLGetPageBox(int instanceID, int BoxType, int Dimension)
{
    return callInstance(instanceID, 0.0, [&](Instance& l) { return l.getPageBox(BoxType, Dimension); });
}

DPL_EXPORT int DPLSetPageSize(int instanceID, const wchar_t* PaperName)
{
    return callInstance(instanceID, 0, [&](Instance& l) { return l.setPageSize(utf8(PaperName)); });
}

DPL_EXPORT int DPLSetPageDimensions(int instanceID, double NewPageWidth, double NewPageHeight)
{
    return callInstance(instanceID, 0, [&](Instance& l) { return l.setPageDimensions(NewPageWidth, NewPageHeight); });
}

DPL_EXPORT int DPLNewPage(int instanceID)
{
    return callInstance(instanceID, 0, [](Instance& l) { return l.newPage(); });
}

// Information, security and content.

DPL_EXPORT const wchar_t* DPLGetInformation(int instanceID, int Key)
{
    return callWideResult(instanceID, [&](Instance& l) { return l.getInformation(Key); });
}

DPL_EXPORT int DPLSetInformation(int instanceID, int Key, const wchar_t* NewValue)
{
    return callInstance(instanceID, 0, [&](Instance& l) { return l.setInformation(Key, utf8(NewValue)); });
}

DPL_EXPORT int DPLSecurityInfo(int instanceID, int SecurityItem)
{
    return callInstance(instanceID, 0, [&](Instance& l) { return l.securityInfo(SecurityItem); });
}

DPL_EXPORT int DPLFindFonts(int instanceID)
{
    return callInstance(instanceID, 0, [](Instance& l) { return l.findFonts(); });
}

DPL_EXPORT const wchar_t* DPLGetPageText(int instanceID, int ExtractOptions)
{
    return callWideResult(instanceID, [&](Instance& l) { return l.getPageText(ExtractOptions); });
}

DPL_EXPORT int DPLGetObjectCount(int instanceID)
{
    return callInstance(instanceID, 0, [](Instance& l) { return l.getObjectCount(); });
}

// Rendering.

DPL_EXPORT int DPLRenderPageToDC(int instanceID, double DPI, int Page, HDC DC)
{
    return callInstance(instanceID, 0, [&](Instance& l) { return l.renderPageToDC(DPI, Page, DC); });
}

DPL_EXPORT int DPLRenderPageToFile(int instanceID, double DPI, int Page, int Options, const wchar_t* FileName)
{
    return callInstance(instanceID, 0, [&](Instance& l) { return l.renderPageToFile(DPI, Page, Options, utf8(FileName)); });
}

// Images.

DPL_EXPORT int DPLAddImageFromFile(int instanceID, const wchar_t* FileName, int Options)
{
    return callInstance(instanceID, 0, [&](Instance& l) { return l.addImageFromFile(utf8(FileName), Options); });
}

DPL_EXPORT int DPLSelectImage(int instanceID, int ImageID)
{
    return callInstance(instanceID, 0, [&](Instance& l) { return l.selectImage(ImageID); });
}

DPL_EXPORT int DPLImageWidth(int instanceID)
{
    return callInstance(instanceID, 0, [](Instance& l) { return l.imageWidth(); });
}

DPL_EXPORT int DPLImageHeight(int instanceID)
{
    return callInstance(instanceID, 0, [](Instance& l) { return l.imageHeight(); });
}

DPL_EXPORT int DPLImageHorizontalResolution(int instanceID)
{
    return callInstance(instanceID, 0, [](Instance& l) { return l.imageHorizontalResolution(); });
}

DPL_EXPORT int DPLImageVerticalResolution(int instanceID)
{
    return callInstance(instanceID, 0, [](Instance& l) { return l.imageVerticalResolution(); });
}

DPL_EXPORT int DPLFitImage(int instanceID, double Left, double Top, double Width, double Height, int HAlign, int VAlign,
                           int Rotate)
{
    return callInstance(instanceID, 0, [&](Instance& l) { return l.fitImage(Left, Top, Width, Height, HAlign, VAlign, Rotate); });
}

DPL_EXPORT int DPLSetOrigin(int instanceID, int Origin)
{
    return callInstance(instanceID, 0, [&](Instance& l) { return l.setOrigin(Origin); });
}

DPL_EXPORT int DPLDrawImage(int instanceID, double Left, double Top, double Width, double Height)
{
    return callInstance(instanceID, 0, [&](Instance& l) { return l.drawImage(Left, Top, Width, Height); });
}

DPL_EXPORT int DPLGetImagePageCount(int instanceID, const wchar_t* FileName)
{
    return callInstance(instanceID, 0, [&](Instance& l) { return l.getImagePageCount(utf8(FileName)); });
}

// Whole documents and files.

DPL_EXPORT int DPLMergeDocument(int instanceID, int DocumentID)
{
    return callInstance(instanceID, 0, [&](Instance& l) { return l.mergeDocument(DocumentID); });
}

DPL_EXPORT int DPLExtractPages(int instanceID, int StartPage, int PageCount)
{
    return callInstance(instanceID, 0, [&](Instance& l) { return l.extractPages(StartPage, PageCount); });
}

DPL_EXPORT int DPLAddToFileList(int instanceID, const wchar_t* ListName, const wchar_t* FileName)
{
    return callInstance(instanceID, 0, [&](Instance& l) { return l.addToFileList(utf8(ListName), utf8(FileName)); });
}

DPL_EXPORT int DPLMergeFileList(int instanceID, const wchar_t* ListName, const wchar_t* OutputFileName)
{
    return callInstance(instanceID, 0, [&](Instance& l) { return l.mergeFileList(utf8(ListName), utf8(OutputFileName)); });
}

DPL_EXPORT int DPLMergeFileListFast(int instanceID, const wchar_t* ListName, const wchar_t* OutputFileName)
{
    return callInstance(instanceID, 0, [&](Instance& l) { return l.mergeFileList(utf8(ListName), utf8(OutputFileName)); });
}

DPL_EXPORT int DPLMergeFiles(int instanceID, const wchar_t* FirstFileName, const wchar_t* SecondFileName,
                             const wchar_t* OutputFileName)
{
    return callInstance(instanceID, 0, [&](Instance& l) {
        return l.mergeFiles(utf8(FirstFileName), utf8(SecondFileName), utf8(OutputFileName));
    });
}

DPL_EXPORT int DPLExtractFilePages(int instanceID, const wchar_t* InputFileName, const wchar_t* Password,
                                   const wchar_t* OutputFileName, const wchar_t* RangeList)
{
    return callInstance(instanceID, 0, [&](Instance& l) {
        return l.extractFilePages(utf8(InputFileName), utf8(Password), utf8(OutputFileName), utf8(RangeList));
    });
}

DPL_EXPORT int DPLExtractFilePagesEx(int instanceID, const wchar_t* InputFileName, const wchar_t* Password,
                                     const wchar_t* OutputFileName, const wchar_t* RangeList, int Options)
{
    return callInstance(instanceID, 0, [&](Instance& l) {
        return l.extractFilePages(utf8(InputFileName), utf8(Password), utf8(OutputFileName), utf8(RangeList));
    });
}

DPL_EXPORT int DPLDecryptFile(int instanceID, const wchar_t* InputFileName, const wchar_t* OutputFileName,
                              const wchar_t* Password)
{
    return callInstance(instanceID, 0, [&](Instance& l) {
        return l.decryptFile(utf8(InputFileName), utf8(OutputFileName), utf8(Password));
    });
}

DPL_EXPORT int DPLEncryptFile(int instanceID, const wchar_t* InputFileName, const wchar_t* OutputFileName,
                              const wchar_t* Owner, const wchar_t* User, int Strength, int Permissions)
{
    return callInstance(instanceID, 0, [&](Instance& l) {
        return l.encryptFile(utf8(InputFileName), utf8(OutputFileName), utf8(Owner), utf8(User), Strength, Permissions);
    });
}

DPL_EXPORT int DPLEncodePermissions(int instanceID, int CanPrint, int CanCopy, int CanChange, int CanAddNotes,
                                    int CanFillFields, int CanCopyAccess, int CanAssemble, int CanPrintFull)
{
    return callInstance(instanceID, 0, [&](Instance&) {
        return Instance::encodePermissions(CanPrint, CanCopy, CanChange, CanAddNotes, CanFillFields, CanCopyAccess,
                                           CanAssemble, CanPrintFull);
    });
}

DPL_EXPORT int DPLEncrypt(int instanceID, const wchar_t* Owner, const wchar_t* User, int Strength, int Permissions)
{
    return callInstance(instanceID, 0, [&](Instance& l) { return l.encrypt(utf8(Owner), utf8(User), Strength, Permissions); });
}

DPL_EXPORT int DPLSaveToFile(int instanceID, const wchar_t* FileName)
{
    return callInstance(instanceID, 0, [&](Instance& l) { return l.saveToFile(utf8(FileName)); });
}
