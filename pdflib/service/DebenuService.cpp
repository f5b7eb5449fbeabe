#include "pdflib/service/DebenuService.h"

#include "pdflib/service/DibSection.h"

#include "app/core/FileSystem.h"
#include "app/core/Logger.h"
#include "app/core/ToolPaths.h"

#include <QMutexLocker>

#include <utility>

namespace {

// LoadFromFile's error code for a file that needs another password.
const int errorInvalidPassword = 404;

// Page box 2, dimensions 2 (width) and 3 (height).
const int pageBox = 2;
const int boxWidth = 2;
const int boxHeight = 3;

// Information keys.
const int keyAuthor = 1;
const int keyTitle = 2;
const int keyCreator = 5;
const int keyProducer = 6;

// The size of the selected page in whole points, turned with the page.
QSize selectedPageSize(DebenuPDFLibraryDLLQt1212& library)
{
    int width = int(library.GetPageBox(pageBox, boxWidth));
    int height = int(library.GetPageBox(pageBox, boxHeight));
    const int rotation = library.PageRotation();
    if (rotation == 90 || rotation == 270)
        std::swap(width, height);
    return QSize(width, height);
}

} // namespace

DebenuService::DebenuService()
    : library(ToolPaths::path(ToolPaths::PdfLibrary))
{
    Logger::instance()->log(QLatin1String(Q_FUNC_INFO), Logger::Debug);
}

DebenuService::~DebenuService()
{
    Logger::instance()->log(QLatin1String(Q_FUNC_INFO), Logger::Debug);
}

bool DebenuService::select(int id)
{
    return id > 0 && library.SelectDocument(id) != 0;
}

template <typename Act> auto DebenuService::onDocument(int id, Act act) -> decltype(act())
{
    QMutexLocker locker(&mutex);
    if (!select(id))
        return decltype(act())();
    return act();
}

int DebenuService::allPermissions()
{
    return library.EncodePermissions(1, 1, 1, 1, 1, 1, 1, 1);
}

bool DebenuService::open(const QString& path, const QString& password, int& id, bool& passwordRequired)
{
    QMutexLocker locker(&mutex);
    if (library.LoadFromFile(path, password) == 1) {
        passwordRequired = false;
        id = library.SelectedDocument();
        return true;
    }
    const int code = library.LastErrorCode();
    Logger::instance()->log(QStringLiteral("Can not load file:%1. Error code:%2").arg(path).arg(code), Logger::Debug);
    if (code == errorInvalidPassword) {
        passwordRequired = true;
        return true;
    }
    return false;
}

int DebenuService::newDocument()
{
    QMutexLocker locker(&mutex);
    return library.NewDocument();
}

int DebenuService::close(int id)
{
    QMutexLocker locker(&mutex);
    return library.RemoveDocument(id);
}

int DebenuService::pageCount(int id)
{
    return onDocument(id, [&] { return library.PageCount(); });
}

int DebenuService::pageWidth(int id)
{
    return onDocument(id, [&] { return int(library.PageWidth()); });
}

int DebenuService::pageHeight(int id)
{
    return onDocument(id, [&] { return int(library.PageHeight()); });
}

QSize DebenuService::pageSize(int id, int page)
{
    QMutexLocker locker(&mutex);
    if (!select(id))
        return QSize(0, 0);
    library.SelectPage(page);
    return selectedPageSize(library);
}

QImage DebenuService::renderPage(int id, int page, double dpi)
{
    QMutexLocker locker(&mutex);
    if (!select(id))
        return QImage();
    library.SelectPage(page);
    Logger::instance()->log(QLatin1String(Q_FUNC_INFO), Logger::Debug);

    // One pixel per point whatever the dpi: at 72 dpi the rendering fills the bitmap exactly.
    const QSize size = selectedPageSize(library);
    DibSection dib(size.width(), size.height());
    if (!dib.isValid())
        return QImage();

    HDC dc = dib.createMemoryDc();
    const int rendered = library.RenderPageToDC(dpi, page, dc);
    dib.releaseMemoryDc(dc);
    if (rendered == 0) {
        // The untouched bitmap is black; a caller would show (and cache) it as the page.
        Logger::instance()->log(QStringLiteral("%1 render result: %2").arg(QLatin1String(Q_FUNC_INFO)).arg(rendered),
                                Logger::Debug);
        return QImage();
    }
    // The pixels die with the bitmap: copy them.
    return dib.toImage().copy();
}

int DebenuService::renderPageToFile(int id, double dpi, int page, int options, const QString& path)
{
    return onDocument(id, [&] { return library.RenderPageToFile(dpi, page, options, path); });
}

bool DebenuService::save(int id, const QString& path)
{
    return onDocument(id, [&] { return library.SaveToFile(path) == 1; });
}

bool DebenuService::setProperties(int id, DocumentProperties properties)
{
    QMutexLocker locker(&mutex);
    if (!select(id))
        return false;
    library.SetInformation(keyAuthor, properties.author);
    library.SetInformation(keyTitle, properties.title);
    library.SetInformation(keyCreator, properties.creator);
    library.SetInformation(keyProducer, properties.producer);
    const int permissions = allPermissions();

    const QString password = properties.password.trimmed();
    if (password.isEmpty())
        return true;
    if (library.Encrypt(password, password, 1, permissions) != 0)
        return true;
    Logger::instance()->log(QStringLiteral("The document could not be encrypted.%1").arg(library.LastErrorCode()),
                            Logger::Error);
    return false;
}

QString DebenuService::title(int id)
{
    return onDocument(id, [&] { return library.GetInformation(keyTitle); });
}

int DebenuService::setPageDimensions(int id, double width, double height)
{
    return onDocument(id, [&] { return library.SetPageDimensions(width, height); });
}

int DebenuService::setPageSize(int id, const QString& paperName)
{
    return onDocument(id, [&] { return library.SetPageSize(paperName); });
}

int DebenuService::fontCount(int id)
{
    return onDocument(id, [&] { return library.FindFonts(); });
}

bool DebenuService::isEncrypted(int id)
{
    return onDocument(id, [&] { return library.SecurityInfo(0) == 1; });
}

bool DebenuService::securityInfo5Is6(int id)
{
    return onDocument(id, [&] { return library.SecurityInfo(5) == 6; });
}

int DebenuService::addImageFromFile(int id, const QString& path, int options)
{
    return onDocument(id, [&] { return library.AddImageFromFile(path, options); });
}

int DebenuService::selectImage(int id, int imageId)
{
    return onDocument(id, [&] { return library.SelectImage(imageId); });
}

int DebenuService::fitImage(int id, int imageId, double left, double top, double width, double height, int hAlign,
                            int vAlign, int rotate)
{
    return onDocument(id, [&] {
        library.SelectImage(imageId);
        return library.FitImage(left, top, width, height, hAlign, vAlign, rotate);
    });
}

int DebenuService::newPage(int id)
{
    return onDocument(id, [&] { return library.NewPage(); });
}

int DebenuService::selectPage(int id, int page)
{
    return onDocument(id, [&] { return library.SelectPage(page); });
}

int DebenuService::selectedPage(int id)
{
    return onDocument(id, [&] { return library.SelectedPage(); });
}

bool DebenuService::hasText(int id)
{
    return onDocument(id, [&] {
        const int count = library.PageCount();
        for (int page = 1; page <= count; ++page) {
            library.SelectPage(page);
            if (!library.GetPageText(0).isEmpty())
                return true;
        }
        return false;
    });
}

int DebenuService::mergeDocument(int id, int otherId)
{
    return onDocument(id, [&] { return library.MergeDocument(otherId); });
}

int DebenuService::lastErrorCode()
{
    QMutexLocker locker(&mutex);
    return library.LastErrorCode();
}

int DebenuService::decryptFile(const QString& input, const QString& output, const QString& password)
{
    QMutexLocker locker(&mutex);
    return library.DecryptFile(input, output, password);
}

int DebenuService::extractFilePages(const QString& input, const QString& password, const QString& output,
                                    const QString& rangeList)
{
    QMutexLocker locker(&mutex);
    return library.ExtractFilePages(input, password, output, rangeList);
}

int DebenuService::extractPages(const QString& input, const QString& password, const QString& output, int startPage,
                                int pageCount)
{
    QMutexLocker locker(&mutex);
    if (library.LoadFromFile(input, password) == 0)
        return 0;
    const int source = library.SelectedDocument();
    if (library.ExtractPages(startPage, pageCount) == 0) {
        library.RemoveDocument(source);
        return 0;
    }
    // ExtractPages selected the new document of the extracted pages.
    const int saved = library.SaveToFile(output);
    library.RemoveDocument(library.SelectedDocument());
    library.RemoveDocument(source);
    return saved;
}

int DebenuService::addToFileList(const QString& listName, const QString& fileName)
{
    QMutexLocker locker(&mutex);
    return library.AddToFileList(listName, fileName);
}

int DebenuService::encryptFile(const QString& input, const QString& output, const QString& password)
{
    QMutexLocker locker(&mutex);
    const QString trimmed = password.trimmed();
    return library.EncryptFile(input, output, trimmed, trimmed, 1, allPermissions());
}

int DebenuService::extractFilePagesEx(const QString& input, const QString& password, const QString& output,
                                      const QString& rangeList, int options)
{
    QMutexLocker locker(&mutex);
    return library.ExtractFilePagesEx(input, password, output, rangeList, options);
}

int DebenuService::imagePageCount(const QString& path)
{
    QMutexLocker locker(&mutex);
    return library.GetImagePageCount(path);
}

int DebenuService::imageWidth(int id, int imageId)
{
    return onDocument(id, [&] {
        library.SelectImage(imageId);
        return library.ImageWidth();
    });
}

int DebenuService::imageHeight(int id, int imageId)
{
    return onDocument(id, [&] {
        library.SelectImage(imageId);
        return library.ImageHeight();
    });
}

int DebenuService::imageHorizontalResolution(int id)
{
    return onDocument(id, [&] { return library.ImageHorizontalResolution(); });
}

int DebenuService::imageVerticalResolution(int id)
{
    return onDocument(id, [&] { return library.ImageVerticalResolution(); });
}

int DebenuService::mergeFileList(const QString& listName, const QString& output)
{
    QMutexLocker locker(&mutex);
    return library.MergeFileList(listName, output);
}

int DebenuService::mergeFileListFast(const QString& listName, const QString& output)
{
    QMutexLocker locker(&mutex);
    return library.MergeFileListFast(listName, output);
}

bool DebenuService::mergeFiles(const QStringList& files, const QString& output)
{
    if (files.isEmpty() || output.isEmpty())
        return false;
    const QString listName = FileSystem::createUniqueId();
    // One lock per library call: the list lives in the instance under its unique name.
    for (const QString& file : files) {
        QMutexLocker locker(&mutex);
        library.AddToFileList(listName, file);
    }
    QMutexLocker locker(&mutex);
    return library.MergeFileList(listName, output) == 1;
}

int DebenuService::mergeTwoFiles(const QString& first, const QString& second, const QString& output)
{
    QMutexLocker locker(&mutex);
    return library.MergeFiles(first, second, output);
}

int DebenuService::objectCount(int id)
{
    return onDocument(id, [&] { return library.GetObjectCount(); });
}

int DebenuService::drawImage(int id, int imageId, double left, double top, double width, double height)
{
    return onDocument(id, [&] {
        library.SelectImage(imageId);
        library.SetOrigin(1);
        return library.DrawImage(left, top, width, height);
    });
}

int DebenuService::selectDocument(int id)
{
    QMutexLocker locker(&mutex);
    return library.SelectDocument(id);
}
