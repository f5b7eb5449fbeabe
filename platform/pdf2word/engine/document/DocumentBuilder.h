#pragma once

// Builds the flowing document from the laid-out pages. Some decisions need every page first:
// - running heads, footers and page numbers (margin lines that repeat, or that are numbers) are
//   left out of the body, and the most frequent of each go to the document's header and footer;
// - a word split by a line-end hyphen is joined without it, unless the document spells the word
//   with the hyphen elsewhere and never without (a real compound), or the second part starts in
//   capitals or digits;
// - a paragraph cut by a column or page break is joined again.
// Pages are kept as text runs, not glyphs, until then.

#include "platform/pdf2word/engine/layout/PageLayout.h"
#include "platform/pdf2word/engine/read/FlowDocument.h"
#include "platform/pdf2word/engine/read/PageReader.h"

#include <QSet>

namespace p2w {

class DocumentBuilder
{
public:
    explicit DocumentBuilder(const Looks& looks);

    // pictures holds the page's figures as pictures, in the order of page.figures.
    void addPage(const PageLayout& page, const QList<FlowImage>& pictures);
    // The document: blocks, pictures and tables in reading order.
    FlowDocument finish();

private:
    struct Paragraph
    {
        QList<QList<FlowRun>> lines;
        Align align = Align::Left;
        bool rtl = false;
        int indent = 0;
        float pitch = 0; // between its lines' baselines, as in the source; 0 for one line
    };
    struct Item
    {
        FlowBlock::Kind kind = FlowBlock::Paragraph;
        Paragraph paragraph;
        int image = -1;
        int table = -1;
        int page = 0;
        fz_rect box = fz_empty_rect;
        bool margin = false;
        bool note = false;
        float size = 0;
        float firstBaseline = 0; // of a paragraph's first and last lines
        float lastBaseline = 0;
        int columns = -1; // index into m_columns of the columns it stands in; -1 for none
        int column = 0;
    };
    struct Table
    {
        FlowTable flow; // cells without paragraphs yet
        QList<QList<Item>> cellItems;
    };

    // The page's item as the document's; false when it leaves nothing (a picture not drawn).
    bool itemOf(const PageLayout& page, const PageItem& laid, const QList<FlowImage>& pictures, Item* item);
    FlowBlock blockOf(const Item& item) const;
    Paragraph convert(const LaidParagraph& laid);
    QList<FlowRun> runsOf(const TextLine& line);
    void learnWords(const QString& line);
    void dropMarginLines();
    // Where each page's body ends, and where the pages' bodies lie, once the running heads and
    // page numbers are out.
    void measureBodies();
    void joinBrokenParagraphs();
    // The margins of the source's pages: how far their body keeps from the edges.
    QMarginsF sourceMargins() const;
    // Whether each item starts a page: the first of a page after a page that ended well short of
    // where the document's pages end (a chapter's last page, a slide).
    QVector<bool> pageStarts() const;
    // The runs of blocks set in columns (the blocks are m_items'), each column that starts where
    // the column before it ended short marked with a column break.
    QList<FlowSection> columnSections(QList<FlowBlock>& blocks) const;
    // The space above each of the blocks (m_items') as in the source, where it follows the one
    // before down the same page and column.
    void spaceBlocks(QList<FlowBlock>& blocks) const;
    // Whether the column an item in columns stands in ends short of the others, or with a box:
    // what follows does not flow on from it.
    bool endsColumnShort(const Item& item) const;
    // Whether the columns b go on from the columns a on the next page: as many, as wide.
    bool continuesColumns(int a, int b) const;
    FlowBlock flowOf(const Paragraph& paragraph) const;
    // How the text of two lines meets: the first line's text (a hyphen removed), and the
    // separator to put between them ("" or " ").
    QString joinAfter(QString& before, const QString& after) const;

    const Looks& m_looks;
    QList<Item> m_items;
    QList<FlowImage> m_images;
    QList<Table> m_tables;
    QSizeF m_pageSize;
    FlowMargin m_header;
    FlowMargin m_footer;
    int m_pages = 0;
    QVector<FoundColumns> m_columns; // of every page, in order
    QVector<float> m_pageBottoms;    // where each page's body ends; -1 for a page without one
    fz_rect m_body = fz_empty_rect;  // where the pages' bodies lie, all together
    QSet<QString> m_words;           // words seen whole inside lines, in lower case
    QSet<QString> m_compounds;       // words seen with a hyphen inside a line, in lower case
};

} // namespace p2w
