#include "platform/pdf2word/engine/document/DocumentBuilder.h"
#include "platform/pdf2word/engine/document/DocumentTuning.h"
#include "platform/pdf2word/engine/model/LayoutGeometry.h"

#include <cmath>

namespace p2w {

namespace {
} // namespace

bool DocumentBuilder::continuesColumns(int a, int b) const
{
    const QVector<fz_rect>& before = m_columns[a].columns;
    const QVector<fz_rect>& after = m_columns[b].columns;
    if (before.size() != after.size())
        return false;
    for (int c = 0; c < before.size(); ++c) {
        if (std::fabs(before[c].x0 - after[c].x0) > documentTuning().pages.sameColumnEdge || std::fabs(before[c].x1 - after[c].x1) > documentTuning().pages.sameColumnEdge)
            return false;
    }
    return true;
}

bool DocumentBuilder::endsColumnShort(const Item& item) const
{
    // A box, picture or table does not flow on into the next column.
    if (item.kind != FlowBlock::Paragraph)
        return true;
    const FoundColumns& found = m_columns[item.columns];
    const float lineSize = item.size > 0 ? item.size : documentTuning().pages.usualLineSize;
    return found.columns[item.column].y1 < found.box.y1 - documentTuning().pages.shortColumnLines * lineSize;
}

QList<FlowSection> DocumentBuilder::columnSections(QList<FlowBlock>& blocks) const
{
    QList<FlowSection> sections;
    for (int i = 0; i < m_items.size(); ++i) {
        const Item& item = m_items[i];
        if (item.columns < 0)
            continue;
        const Item* previous = i > 0 ? &m_items[i - 1] : nullptr;
        const bool sameColumns = previous && previous->columns == item.columns;
        // Columns on the next page as wide as those before go on from them (a paragraph that a
        // page break cut is one again, and stands in the columns it starts in).
        const bool goesOn = previous && previous->columns >= 0 && !sameColumns && continuesColumns(previous->columns, item.columns);
        if (!sections.isEmpty() && (sameColumns || goesOn) && sections.last().first + sections.last().count == i) {
            ++sections.last().count;
        } else {
            FlowSection section;
            section.first = i;
            section.count = 1;
            const QVector<fz_rect>& columns = m_columns[item.columns].columns;
            for (int c = 0; c < columns.size(); ++c) {
                section.columnWidths.append(width(columns[c]));
                if (c + 1 < columns.size())
                    section.gaps.append(std::max(0.0f, columns[c + 1].x0 - columns[c].x1));
            }
            sections.append(section);
        }
        // The next column, or the next page's first, starts where the one before ended short.
        if ((sameColumns && item.column > previous->column) || goesOn)
            blocks[i].columnBreakBefore = !blocks[i].pageBreakBefore && endsColumnShort(*previous);
    }
    return sections;
}

} // namespace p2w
