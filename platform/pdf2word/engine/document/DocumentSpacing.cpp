#include "platform/pdf2word/engine/document/DocumentBuilder.h"
#include "platform/pdf2word/engine/document/DocumentTuning.h"
#include "platform/pdf2word/engine/model/LayoutGeometry.h"

namespace p2w {

namespace {
} // namespace

float DocumentBuilder::blockTop(const Item& item)
{
    if (item.kind != FlowBlock::Paragraph)
        return item.box.y0;
    const float leading = item.paragraph.pitch > 0 ? item.paragraph.pitch : documentTuning().paragraphs.naturalLeading * item.size;
    return item.firstBaseline + documentTuning().paragraphs.descent * item.size - leading;
}

void DocumentBuilder::spacePageTops(QList<FlowBlock>& blocks) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        const Item& item = m_items[i];
        // The document's first page, a page after a break or one of another size; on any other
        // the text flows on from the page before.
        const bool opensPage = i == 0 || blocks[i].pageBreakBefore || !samePageSize(m_items[i - 1].page, item.page);
        if (item.floats || !opensPage)
            continue;
        // Down from the top of the text area where it stands well below it (more than a few of
        // its lines), but never so far that the block leaves its page.
        const QMarginsF margins = sourceMargins(item.page);
        const double room = m_pageSizes[item.page].height() - margins.bottom() - margins.top() - (item.box.y1 - item.box.y0);
        const double space = blockTop(item) - margins.top();
        const double lines = documentTuning().paragraphs.lowLines * documentTuning().paragraphs.naturalLeading * (item.size > 0 ? item.size : documentTuning().pages.usualLineSize);
        if (space > lines)
            blocks[i].spaceBefore = qBound(0.0, space, qMax(0.0, room));
    }
}

void DocumentBuilder::spaceBlocks(const QList<Item>& items, QList<FlowBlock>& blocks)
{
    for (int i = 0; i < items.size(); ++i) {
        const Item& item = items[i];
        blocks[i].spaceBefore = 0;
        // A box floating beside the text takes no room in it: the block after it is spaced from
        // the one before it.
        int before = i - 1;
        while (before >= 0 && items[before].floats)
            --before;
        if (item.floats || before < 0)
            continue;
        const Item& previous = items[before];
        // Only below the block before on the same page, in the same column.
        if (previous.page != item.page || item.box.y0 < previous.box.y1 - 2 || !overlapX(previous.box, item.box))
            continue;
        const bool textBefore = previous.kind == FlowBlock::Paragraph;
        // From where the block before ends to where this one's first line (as tall as its
        // leading) starts.
        const float end = textBefore ? previous.lastBaseline + documentTuning().paragraphs.descent * previous.size : previous.box.y1;
        blocks[i].spaceBefore = qBound(0.0f, blockTop(item) - end, documentTuning().paragraphs.mostSpace);
    }
}

} // namespace p2w
