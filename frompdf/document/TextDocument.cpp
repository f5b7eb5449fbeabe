#include "frompdf/document/TextDocument.h"

#include "app/core/Logger.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTimer>

#include <algorithm>

TextDocument::TextDocument(QObject* parent)
    : QTextDocument(parent)
{
    setDocumentMargin(0);
    connect(documentLayout(), SIGNAL(pageCountChanged(int)), this, SLOT(layoutPageCountChanged(int)));
}

void TextDocument::undoHighlight()
{
    if (isUndoAvailable())
        undo();
}

void TextDocument::layoutPages()
{
    if (m_viewportWidth < 1 || m_viewportHeight < 1)
        return;
    // Whole lines per page, so no line is cut at a page's foot.
    const int lineHeight = qMax(1, QFontMetrics(m_font).lineSpacing());
    const int height = qMax(lineHeight, m_viewportHeight / lineHeight * lineHeight);
    setPageSize(QSizeF(qreal(m_viewportWidth) / qMax(1, m_columnCount), height));
    QTimer::singleShot(0, this, &TextDocument::resetHighlight);
}

void TextDocument::setViewPortSize(const QSize& size)
{
    if (size == QSize(m_viewportWidth, m_viewportHeight))
        return;
    undoHighlight();
    m_viewportWidth = size.width();
    m_viewportHeight = size.height();
    emit beginResizePage();
    QCoreApplication::processEvents();
    layoutPages();
    emit endResizePage();
}

void TextDocument::setColumnCount(int count)
{
    m_columnCount = count;
    layoutPages();
    emit columnCountChanged(count);
}

void TextDocument::setPage(int page)
{
    emit beginPageChanged();
    m_currentPage = page;
    emit pageChanged();
    emit endPageChanged();
}

void TextDocument::next()
{
    if (m_currentPage < pageCount())
        setPage(std::min(m_currentPage + m_columnCount, pageCount()));
}

void TextDocument::previous()
{
    if (m_currentPage > 0 && pageCount() > 0 && m_columnCount < m_currentPage)
        setPage(m_currentPage - m_columnCount);
}

int TextDocument::pageOfPosition(int position)
{
    const QTextBlock block = findBlock(position);
    if (!block.isValid())
        return 1;
    qreal y = documentLayout()->blockBoundingRect(block).top();
    if (const QTextLayout* layout = block.layout()) {
        const QTextLine line = layout->lineForTextPosition(position - block.position());
        if (line.isValid())
            y += line.y();
    }
    const int pageHeight = qMax(1, qRound(pageSize().height()));
    return qRound(y) / pageHeight + 1;
}

void TextDocument::setPageByPosition(int position)
{
    setPage(pageOfPosition(position));
}

void TextDocument::setPageByProgress(int percent)
{
    const float position = float(lastBlock().position()) / 100.0f * float(percent);
    setPageByPosition(int(position));
}

void TextDocument::setPageByBlockNumber(int number)
{
    setPageByPosition(findBlockByNumber(number).position());
}

int TextDocument::percentOfPage(int page) const
{
    return qRound(double(page) / pageCount() * 100);
}

float TextDocument::progress() const
{
    return float(m_currentPage) / float(pageCount()) * 100.0f;
}

int TextDocument::calcPositionByPage(int page)
{
    const QPointF top(0, (page - 1) * pageSize().height());
    int position = documentLayout()->hitTest(top, Qt::ExactHit);
    Logger::instance()->log(QStringLiteral("ExcatHit pos:%1").arg(position), Logger::Debug);
    if (position == -1) {
        position = documentLayout()->hitTest(top, Qt::FuzzyHit);
        Logger::instance()->log(QStringLiteral("FuzzyHit pos:%1").arg(position), Logger::Debug);
    }
    return position;
}

int TextDocument::anchorPosition(const QString& name) const
{
    if (name.isEmpty())
        return 0;
    for (QTextBlock block = begin(); block.isValid(); block = block.next()) {
        const QTextCharFormat format = block.charFormat();
        if (format.boolProperty(QTextFormat::IsAnchor) && format.anchorNames().contains(name))
            return block.position();
    }
    return 0;
}

void TextDocument::highlightRange(int from, int to)
{
    undoHighlight();
    QTextCursor cursor(this);
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setBackground(m_highlightColor);
    cursor.mergeCharFormat(format);
}

QPair<int, int> TextDocument::visibleRange()
{
    return qMakePair(calcPositionByPage(m_currentPage), calcPositionByPage(m_currentPage + 1));
}

int TextDocument::percentByBlock(int position) const
{
    return int(double(findBlock(position).blockNumber()) / blockCount() * 100);
}

void TextDocument::resetHighlight()
{
    undoHighlight();
    emit pageChanged();
}

void TextDocument::clearSearch()
{
    if (m_noSearchShown)
        return;
    undoHighlight();
    m_noSearchShown = true;
    emit endCleanSearch();
}

QList<SearchResult> TextDocument::search(const QString& text)
{
    clearSearch();
    m_searchResults.clear();
    if (text.isEmpty())
        return m_searchResults;

    QList<SearchResult> pageJumps;
    bool isNumber = false;
    const int page = text.toInt(&isNumber);
    if (isNumber && page >= 1 && page <= pageCount())
        pageJumps << SearchResult{tr("Go to page %1").arg(page), calcPositionByPage(page), true};

    QList<SearchResult> hits;
    QTextCharFormat highlight;
    highlight.setBackground(m_highlightColor);
    QTextCursor edit(this);
    edit.beginEditBlock();
    QTextCursor hit = find(text, 0);
    while (!hit.isNull()) {
        hit.mergeCharFormat(highlight);
        const QTextBlock block = hit.block();
        const QString blockText = block.text();
        const int start = hit.selectionStart() - block.position();
        const int length = hit.selectionEnd() - hit.selectionStart();
        const QString shown = blockText.left(start).toHtmlEscaped()
                              + QStringLiteral("<b>%1</b>").arg(blockText.mid(start, length).toHtmlEscaped())
                              + blockText.mid(start + length).toHtmlEscaped();
        hits << SearchResult{shown, hit.selectionStart(), false};
        hit = find(text, hit);
    }
    edit.endEditBlock();
    if (!hits.isEmpty())
        m_noSearchShown = false;
    std::sort(hits.begin(), hits.end(), [](const SearchResult& a, const SearchResult& b) { return a.position < b.position; });
    m_searchResults = pageJumps + hits;
    return m_searchResults;
}
