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
#include "platform/pdf2word/engine/model/FlowDocument.h"
#include "platform/pdf2word/engine/read/PageReader.h"

#include <QHash>
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
        // Where its lines stand on the page (those of its first part, where a break cut it), and
        // the size of its first.
        QVector<fz_rect> lineBoxes;
        float em = 0;
        // The edges its indents are measured from (a column, a cell or box inside its padding);
        // empty for none.
        fz_rect container = fz_empty_rect;
        // Boxes floating beside it: its lines beside them tell nothing of its indents.
        QVector<fz_rect> floatsBeside;
        // The parts of the written text area left and right of its container that the source's
        // text does not reach (a margin wider than the document keeps): indents of their own.
        float padLeft = 0;
        float padRight = 0;
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
        bool floats = false;   // a box beside the running text, set at its place
        bool fromPage = false; // a floating box read last on its page, after the text beside it: placed from the page's top
        bool atPlace = false;  // a picture beside others without text after it, set at its place on the page
        float indent = 0;      // a table's or picture's left edge from its container's, in the flow
    };
    struct Table
    {
        FlowTable flow; // cells without paragraphs yet
        QList<QList<Item>> cellItems;
    };

    // The page's item as the document's; false when it leaves nothing (a picture not drawn).
    // container: what holds it, as for convert().
    bool itemOf(const PageLayout& page, const PageItem& laid, const QList<FlowImage>& pictures, Item* item,
                fz_rect container = fz_empty_rect);
    FlowBlock blockOf(const Item& item) const;
    // container: what holds the paragraph, empty where the page decides it later.
    Paragraph convert(const LaidParagraph& laid, fz_rect container = fz_empty_rect);
    // What each body paragraph's indents are measured from: its column, else the page's body;
    // and the boxes floating beside it; where each table or picture stands in it.
    void placeParagraphs();
    // Each box floating beside the text goes before the first block beside or below it on its
    // page, which anchors it; one without such a block stays a block of its own.
    void placeFloats();
    // A floating box with no block after it on its page to anchor it: a picture stays at its place
    // on the page, anything else is a block of its own.
    static Item unanchored(Item box);
    // The place of each floating block: from the page's left edge and from the top of the block
    // after it, which anchors it.
    void setFloats(QList<FlowBlock>& blocks) const;
    // The last paragraphs of pages, set low apart from the text above them, and the pictures
    // larger than the text area keep their place.
    void setPageFeet(QList<FlowBlock>& blocks) const;
    QList<FlowRun> runsOf(const TextLine& line);
    void learnWords(const QString& line);
    void dropMarginLines();
    // Where each page's body ends, and where the pages' bodies lie, once the running heads and
    // page numbers are out.
    void measureBodies();
    void joinBrokenParagraphs();
    // The margins of the source's pages of a page's size: how far their body keeps from the edges.
    QMarginsF sourceMargins(int page) const;
    // Whether two pages are of one size and orientation.
    bool samePageSize(int a, int b) const;
    // The formats of the pages the blocks (m_items') stand on, where they change.
    QList<FlowPageFormat> pageChanges() const;
    // Whether each item starts a page: the first of a page after a page that ended well short of
    // where the document's pages end (a chapter's last page, a slide).
    QVector<bool> pageStarts() const;
    // The runs of blocks set in columns (the blocks are m_items'), each column that starts where
    // the column before it ended short marked with a column break.
    QList<FlowSection> columnSections(QList<FlowBlock>& blocks) const;
    // The space above each of the blocks (those of items: the body's, or a cell's) as in the
    // source, where it follows the one before down the same page and column.
    static void spaceBlocks(const QList<Item>& items, QList<FlowBlock>& blocks);
    // Where a block's first line starts, as tall as its leading (a picture or table: its top).
    static float blockTop(const Item& item);
    // The space above the first block of each page the document starts (its first, and those
    // after a page break) as in the source: a title set low on its page stays low.
    void spacePageTops(QList<FlowBlock>& blocks) const;
    // Whether the column an item in columns stands in ends short of the others, or with a box:
    // what follows does not flow on from it.
    bool endsColumnShort(const Item& item) const;
    // Whether the columns b go on from the columns a on the next page: as many, as wide.
    bool continuesColumns(int a, int b) const;
    FlowBlock flowOf(const Paragraph& paragraph) const;
    // The block's indents, as the paragraph stands in its container.
    static void indent(const Paragraph& paragraph, FlowBlock* block);
    // How the text of two lines meets: the first line's text (a hyphen removed), and the
    // separator to put between them ("" or " ").
    QString joinAfter(QString& before, const QString& after) const;

    const Looks& m_looks;
    const PageLayout* m_page = nullptr;           // the page being added
    const QList<FlowImage>* m_pictures = nullptr; // and its figures' pictures
    QList<Item> m_items;
    QList<FlowImage> m_images;
    QList<Table> m_tables;
    QVector<QSizeF> m_pageSizes; // of every page, in order
    FlowMargin m_header;
    FlowMargin m_footer;
    int m_pages = 0;
    QVector<FoundColumns> m_columns;  // of every page, in order
    QVector<float> m_pageBottoms;     // where each page's body ends, its footnotes aside; -1 for a page without one
    QVector<float> m_notesTops;       // where each page's footnotes start; -1 for a page without any
    QVector<fz_rect> m_pageBodies;    // where each page's body lies
    QVector<int> m_sizeOf;            // of each page, the first page of its size
    QHash<int, fz_rect> m_sizeBodies; // by the first page of each size: where the bodies of its pages lie
    QSet<QString> m_words;            // words seen whole inside lines, in lower case
    QSet<QString> m_compounds;        // words seen with a hyphen inside a line, in lower case
};

} // namespace p2w
