#pragma once

#include "frompdf/document/IDocument.h"

#include <QColor>
#include <QFont>
#include <QMargins>
#include <QPair>
#include <QTextDocument>

// A text document laid out in pages of the viewport's size and shown one or more pages
// (columns) at a time, with page navigation, reading progress and a search that highlights
// every hit. The search highlight is one undoable edit, so undoing it removes it again.
class TextDocument : public QTextDocument, public IDocument
{
    Q_OBJECT

public:
    explicit TextDocument(QObject* parent = nullptr);

    QList<SearchResult> search(const QString& text) override;
    void clearSearch() override;
    QList<SearchResult> searchResults() const override { return m_searchResults; }
    QString title() const override { return QString(); }
    int pageOfPosition(int position) override;
    int percentOfPage(int page) const override;
    int currentPage() const override { return m_currentPage; }
    int pageCount() const override { return QTextDocument::pageCount(); }
    float progress() const override;
    int currentPosition() override { return calcPositionByPage(m_currentPage); }
    int columnCount() const override { return m_columnCount; }

    // The text position at the top of a page.
    int calcPositionByPage(int page);
    // The position of the first block that is an anchor of that name; 0 when there is none.
    int anchorPosition(const QString& name) const;
    // Replaces the previous highlight by one over the characters from..to.
    void highlightRange(int from, int to);
    // Text positions of the current page's top and of the next page's top.
    QPair<int, int> visibleRange();
    // The block of position as a percentage of all blocks.
    int percentByBlock(int position) const;

    QColor highlightColor() const { return m_highlightColor; }

signals:
    void columnCountChanged(int count);
    void beginPageChanged();
    void pageChanged();
    void endPageChanged();
    void beginResizePage();
    void endResizePage();
    void endCleanSearch();

public slots:
    void setPage(int page) override;
    void setPageByProgress(int percent);
    void setPageByPosition(int position) override;
    void setPageByBlockNumber(int number);
    void setColumnCount(int count) override;
    void setViewPortSize(const QSize& size) override;
    void setBackgroundColor(const QColor& color) { m_backgroundColor = color; }
    void setHighlightColor(const QColor& color) { m_highlightColor = color; }
    void setFontColor(const QColor& color) { m_fontColor = color; }
    void setMargings(const QMargins& margins) { m_margins = margins; }
    void setFont(const QFont& font) { m_font = font; }
    void next();
    void previous();
    void layoutPageCountChanged(int count) { m_layoutPageCount = count; }
    void resetHighlight();
    void reloadImages() {}
    void moveToHome() override { setPage(1); }
    void moveToEnd() override { setPage(pageCount()); }

private:
    void layoutPages();
    void undoHighlight();

    int m_columnCount = 1;
    int m_currentPage = 1;
    int m_layoutPageCount = -1;
    QColor m_backgroundColor;
    QColor m_highlightColor;
    QColor m_fontColor;
    int m_viewportWidth = -1;
    int m_viewportHeight = -1;
    QMargins m_margins;
    QFont m_font;
    QList<SearchResult> m_searchResults;
    bool m_noSearchShown = true;
};
