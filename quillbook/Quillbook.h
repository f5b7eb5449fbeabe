#pragma once

#include "quillbook/EbookRequest.h"

#include <QPageLayout>
#include <QPageSize>
#include <QStringList>
#include <QWebView>

#include <functional>
#include <memory>

class BookReader;
class BookWebPage;
class QWebFrame;

// The converter: lets the reader of the book's format write HTML pages into the work folder,
// prints each page to a PDF of its own through this never-shown web view, merges the page PDFs
// into the target and labels it. The view runs no scripts and loads nothing from outside the
// work folder.
class Quillbook : public QWebView
{
    Q_OBJECT
public:
    enum PrintResult {
        Printed,
        NothingToPrint,
        WriteFailed
    };

    explicit Quillbook(QWidget* parent = nullptr);
    ~Quillbook() override;

    // An existing folder that nothing else uses; everything the conversion writes stays below it.
    void setWorkFolder(const QString& workFolder);

    // Turns the book into pages. False only when the work folder or the source file is missing.
    bool convert(const QString& sourcePath, const EbookRequest& request);
    // Prints the pages into target and empties the work folder. The target is written only when
    // merging, labelling and saving all succeed.
    PrintResult print(const QString& targetPath, const EbookRequest& request);

    // Prints one page into pdfPath; false, with nothing printed, when the page does not load.
    bool renderPage(const QString& pagePath, const QString& pdfPath);
    QPageSize::PageSizeId pageSize() const;
    // The request's page size, orientation and margins (margins that do not fit are left at 0).
    QPageLayout pageLayout() const;

private:
    // Loads the page (as HTML when it is not well-formed XHTML); false when it shows nothing of
    // its own.
    bool loadPage(const QString& pagePath);
    // Starts a load of the main frame and waits for it to finish; false when it failed.
    bool waitForLoad(const QString& pagePath, const std::function<void(QWebFrame*)>& startLoad);
    bool showsParserError() const;
    void emptyWorkFolder(const QStringList& entries) const;

    BookWebPage* m_page;
    QStringList m_pageList;
    QString m_workFolder;
    EbookRequest m_request;
    std::unique_ptr<BookReader> m_reader;
    // How long one page may take to load before it is printed as it stands.
    static constexpr int pageTimeoutMs = 60000;
};
