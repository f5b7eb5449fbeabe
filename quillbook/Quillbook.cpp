#include "quillbook/Quillbook.h"

#include "quillbook/BookFonts.h"
#include "quillbook/BookWebPage.h"
#include "quillbook/ConfinedNetworkAccess.h"
#include "quillbook/DeepNesting.h"
#include "quillbook/Document.h"
#include "quillbook/HtmlFallback.h"
#include "quillbook/PageBreaks.h"
#include "quillbook/ReaderChoice.h"
#include "quillbook/reader/BookReader.h"
#include "quillbook/reader/ConfinedPath.h"

#include "app/core/FileSystem.h"
#include "app/core/Logger.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTimer>
#include <QWebElement>
#include <QWebFrame>
#include <QWebSettings>

namespace {

void log(const QString& text, int level)
{
    Logger::instance()->log(text, level);
}

// The user style sheet of the printing view. The first rule takes the place of a script line
// that set the body's page break (the view runs no scripts). The second keeps a picture within
// the height of a page (less a line for the space under it), as readers show a cover on one
// screen: a cover as wide as the page but taller than it would spill a sliver onto a page of its
// own. Pictures keep their proportions ("contain") when the book also fixes their width.
QUrl userStyleSheet(qreal pageHeightPx)
{
    const QString css = QStringLiteral("body { page-break-before: auto !important; }\n"
                                       "img, svg { max-height: %1px !important; }\n"
                                       "img { object-fit: contain; }\n")
                            .arg(qMax(qreal(48), pageHeightPx - 24), 0, 'f', 0);
    return QUrl(QStringLiteral("data:text/css;charset=utf-8;base64,") + QString::fromLatin1(css.toUtf8().toBase64()));
}

} // namespace

Quillbook::Quillbook(QWidget* parent)
    : QWebView(parent)
    , m_page(new BookWebPage(this))
{
    setPage(m_page);
    QWebSettings::globalSettings()->setDefaultTextEncoding(QStringLiteral("utf-8"));
    QWebSettings* pageSettings = settings();
    pageSettings->setAttribute(QWebSettings::JavascriptEnabled, false);
    pageSettings->setAttribute(QWebSettings::PluginsEnabled, false);
    pageSettings->setAttribute(QWebSettings::JavaEnabled, false);
    pageSettings->setAttribute(QWebSettings::LocalContentCanAccessRemoteUrls, false);
    pageSettings->setAttribute(QWebSettings::DnsPrefetchEnabled, false);
    pageSettings->setAttribute(QWebSettings::LocalStorageEnabled, false);
    pageSettings->setAttribute(QWebSettings::OfflineStorageDatabaseEnabled, false);
    pageSettings->setAttribute(QWebSettings::OfflineWebApplicationCacheEnabled, false);
    pageSettings->setAttribute(QWebSettings::PrintElementBackgrounds, true);
}

Quillbook::~Quillbook() = default;

void Quillbook::setWorkFolder(const QString& workFolder)
{
    m_workFolder = workFolder;
    page()->setNetworkAccessManager(new ConfinedNetworkAccess(workFolder, this));
}

bool Quillbook::convert(const QString& sourcePath, const EbookRequest& request)
{
    if (m_workFolder.isEmpty() || !QFileInfo::exists(m_workFolder)) {
        log(QStringLiteral("Working directory doesn't exists"), Logger::Error);
        return false;
    }
    if (!QFileInfo::exists(sourcePath)) {
        log(QStringLiteral("Input file doesn't exists"), Logger::Error);
        return false;
    }
    m_reader.reset(createReader(request.format, sourcePath));
    if (!m_reader)
        return true;
    m_reader->convert(m_workFolder);
    const QStringList list = m_reader->pageList();
    for (int i = 1; i < list.size(); ++i) {
        const QString page = QDir::cleanPath(QFileInfo(list.at(0) + QLatin1Char('/') + list.at(i)).absoluteFilePath());
        if (!ConfinedPath::contains(m_workFolder, page))
            log(QStringLiteral("Page outside the work folder skipped:%1").arg(list.at(i)), Logger::Warning);
        else if (!QFileInfo(page).isFile())
            log(QStringLiteral("Page missing from the book skipped:%1").arg(list.at(i)), Logger::Warning);
        else
            m_pageList.append(page);
    }
    if (m_pageList.isEmpty())
        log(QStringLiteral("The book gave no page: %1").arg(BookReader::failureText(m_reader->failure())), Logger::Error);
    return true;
}

Quillbook::PrintResult Quillbook::print(const QString& targetPath, const EbookRequest& request)
{
    m_request = request;
    if (m_pageList.isEmpty())
        return NothingToPrint;
    // The view lays a page out in CSS pixels (96 per inch) over the printable height.
    settings()->setUserStyleSheetUrl(userStyleSheet(pageLayout().paintRect(QPageLayout::Inch).height() * 96));

    // The book's fonts stay registered until the pages are printed.
    BookFonts fonts(m_workFolder);
    if (const int rules = fonts.adopt(m_pageList))
        log(QStringLiteral("Book fonts embedded for %1 font rules").arg(rules), Logger::Info);
    QStringList pagePdfs;
    for (const QString& page : qAsConst(m_pageList)) {
        const QString pdf = page + QStringLiteral(".pdf");
        if (renderPage(page, pdf) && QFileInfo(pdf).isFile())
            pagePdfs.append(pdf);
    }
    const QStringList entries =
        QDir(m_workFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Unsorted);
    if (pagePdfs.isEmpty()) {
        log(QStringLiteral("The book gave no page: no page could be printed"), Logger::Error);
        emptyWorkFolder(entries);
        return NothingToPrint;
    }

    // The merged book is labelled and protected before it reaches the target, so the target never
    // holds a half-finished or unprotected file.
    const QString merged = m_workFolder + QStringLiteral("/.") + FileSystem::createUniqueId() + QStringLiteral(".pdf");
    bool written = Document::merge(merged, pagePdfs);
    if (written) {
        Document document;
        written = document.label(merged, targetPath, m_request);
    }
    QFile::remove(merged);
    emptyWorkFolder(entries);
    if (!written)
        log(QStringLiteral("The book could not be written to:%1").arg(targetPath), Logger::Error);
    return written ? Printed : WriteFailed;
}

void Quillbook::emptyWorkFolder(const QStringList& entries) const
{
    for (const QString& name : entries) {
        const QString path = m_workFolder + QLatin1Char('/') + name;
        const QFileInfo info(path);
        if (info.isDir() && !info.isSymLink())
            FileSystem::removeDir(path);
        else
            QFile::remove(path);
    }
}

bool Quillbook::loadPage(const QString& pagePath)
{
    const QUrl url = QUrl::fromLocalFile(pagePath);
    if (!waitForLoad(pagePath, [&](QWebFrame* frame) { frame->load(url); }))
        return false;
    if (!showsParserError())
        return true;
    // A chapter that is not well-formed XML (an unclosed tag, elements nested too deep, an
    // entity loop) shows the view's error text above what was read up to the error. Read as
    // HTML, as browsers read such pages, its text prints; where that fails too, it is left out.
    log(QStringLiteral("Page is not well-formed XHTML, read as HTML:%1").arg(pagePath), Logger::Warning);
    const QString error = page()->mainFrame()->findFirstElement(QStringLiteral("parsererror")).toPlainText();
    const bool tooDeep = error.contains(QLatin1String("nesting")) || error.contains(QLatin1String("depth"));
    QFile file(pagePath);
    const QByteArray content = HtmlFallback::prepare(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), tooDeep);
    if (!content.isEmpty()
        && waitForLoad(pagePath, [&](QWebFrame* frame) { frame->setContent(content, QStringLiteral("text/html"), url); })
        && !showsParserError())
        return true;
    log(QStringLiteral("Page not printed, it does not read as HTML either:%1").arg(pagePath), Logger::Warning);
    return false;
}

bool Quillbook::waitForLoad(const QString& pagePath, const std::function<void(QWebFrame*)>& startLoad)
{
    m_page->clearFailure();
    QEventLoop loop;
    bool finished = false;
    const QMetaObject::Connection connection = connect(page()->mainFrame(), &QWebFrame::loadFinished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QTimer timeout;
    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    startLoad(page()->mainFrame());
    if (!finished) {
        timeout.start(pageTimeoutMs);
        loop.exec();
    }
    disconnect(connection);
    if (!finished) {
        log(QStringLiteral("Page load timed out:%1").arg(pagePath), Logger::Warning);
        triggerPageAction(QWebPage::Stop);
    }
    return !m_page->mainFrameFailed();
}

bool Quillbook::showsParserError() const
{
    // The view reports an XML error as an element of its own at the top of the page.
    return !page()->mainFrame()->findFirstElement(QStringLiteral("parsererror")).isNull();
}

bool Quillbook::renderPage(const QString& pagePath, const QString& pdfPath)
{
    if (!loadPage(pagePath))
        return false;
    if (const int flattened = DeepNesting::flatten(page()->mainFrame()->documentElement()))
        log(QStringLiteral("Page nests deeper than %1 levels, %2 elements there printed as plain text:%3")
                .arg(DeepNesting::deepestLevel)
                .arg(flattened)
                .arg(pagePath),
            Logger::Warning);
    PageBreaks::dropEmptyPages(page()->mainFrame()->findFirstElement(QStringLiteral("body")));

    QPrinter printer(QPrinter::HighResolution);
    const QPageLayout layout = pageLayout();
    if (layout.margins().left() != m_request.margin)
        log(QStringLiteral("Margin of %1 mm does not fit the page").arg(m_request.margin), Logger::Warning);
    printer.setPageLayout(layout);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    QWebView::print(&printer);
    return true;
}

QPageLayout Quillbook::pageLayout() const
{
    const QPageLayout::Orientation orientation =
        m_request.pageOrientation.compare(QLatin1String("Landscape"), Qt::CaseInsensitive) == 0 ? QPageLayout::Landscape
                                                                                                : QPageLayout::Portrait;
    QPageLayout layout(QPageSize(pageSize()), orientation, QMarginsF(), QPageLayout::Millimeter);
    const qreal margin = m_request.margin;
    layout.setMargins(QMarginsF(margin, margin, margin, margin));
    return layout;
}

QPageSize::PageSizeId Quillbook::pageSize() const
{
    static const struct
    {
        const char* name;
        QPageSize::PageSizeId id;
    } sizes[] = {{"A3", QPageSize::A3}, {"A4", QPageSize::A4}, {"A5", QPageSize::A5}, {"B5", QPageSize::B5}, {"Letter", QPageSize::Letter}};
    for (const auto& size : sizes) {
        if (m_request.pageSize.compare(QLatin1String(size.name), Qt::CaseInsensitive) == 0)
            return size.id;
    }
    return QPageSize::A4;
}
