#include "platform/pdf2word/engine/document/DocumentBuilder.h"
#include "platform/pdf2word/engine/read/LayoutGeometry.h"

namespace p2w {

namespace {

// A line of text set in a font's own leading is about this many times its size high, and its
// glyphs reach this share of the size below the baseline.
const float kNaturalLeading = 1.15f;
const float kDescent = 0.22f;
// Space above a block is kept up to this many points (more is a page's layout, not spacing).
const float kMostSpace = 72;

} // namespace

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
        const bool text = item.kind == FlowBlock::Paragraph;
        const bool textBefore = previous.kind == FlowBlock::Paragraph;
        // From where the block before ends to where this one's first line (as tall as its
        // leading) starts.
        const float end = textBefore ? previous.lastBaseline + kDescent * previous.size : previous.box.y1;
        const float leading = item.paragraph.pitch > 0 ? item.paragraph.pitch : kNaturalLeading * item.size;
        const float start = text ? item.firstBaseline + kDescent * item.size - leading : item.box.y0;
        blocks[i].spaceBefore = qBound(0.0f, start - end, kMostSpace);
    }
}

} // namespace p2w
