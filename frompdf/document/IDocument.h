#pragma once

#include <QList>
#include <QSize>
#include <QString>

// One entry of a document search: the text shown for it (the hit's block with the hit in bold,
// or a "Go to page" entry) and the text position it leads to.
struct SearchResult
{
    QString text;
    int position = 0;
    bool pageJump = false;
};

// A document shown page by page. Every operation has a do-nothing default, so a document
// implements only what it supports.
class IDocument
{
public:
    virtual ~IDocument() = default;

    // Finds every occurrence of text, highlights it and returns the results.
    virtual QList<SearchResult> search(const QString& text)
    {
        Q_UNUSED(text)
        return {};
    }
    virtual void clearSearch() {}
    virtual void setPageByPosition(int position) { Q_UNUSED(position) }
    virtual void setViewPortSize(const QSize& size) { Q_UNUSED(size) }
    virtual QList<SearchResult> searchResults() const { return {}; }
    virtual QString title() const { return QString(); }
    virtual int pageOfPosition(int position)
    {
        Q_UNUSED(position)
        return 0;
    }
    virtual int percentOfPage(int page) const
    {
        Q_UNUSED(page)
        return 0;
    }
    virtual void setPage(int page) { Q_UNUSED(page) }
    virtual void moveToHome() {}
    virtual void moveToEnd() {}
    virtual int currentPage() const { return 0; }
    virtual int pageCount() const { return 0; }
    // Reading progress in percent.
    virtual float progress() const { return 0; }
    // The text position at the top of the current page.
    virtual int currentPosition() { return 0; }
    virtual int columnCount() const { return 0; }
    virtual void setColumnCount(int count) { Q_UNUSED(count) }
};
