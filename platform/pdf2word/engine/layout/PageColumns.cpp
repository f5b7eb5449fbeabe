#include "platform/pdf2word/engine/layout/LayoutTuning.h"
#include "platform/pdf2word/engine/layout/PageLayout.h"
#include "platform/pdf2word/engine/model/LayoutGeometry.h"

#include <algorithm>

namespace p2w {

namespace {

// A run of the body's items down the page: the reading goes on below the last, never back up.
struct Run
{
    int from = 0; // into the body's list
    int to = 0;   // one past the last
};

struct Column
{
    int from = 0;
    int to = 0;
    fz_rect box = fz_empty_rect;
};

class ColumnFinder
{
public:
    ColumnFinder(PageLayout& page)
        : m_page(page)
    {
        for (int i = 0; i < page.items.size(); ++i) {
            // Lines in the margins may be text at a column's foot; running heads and page numbers
            // leave the document later, wherever they stood.
            if (!page.items[i].note)
                m_body.append(i);
        }
    }

    void find()
    {
        QVector<Run> runs = splitRuns();
        for (int r = 0; r + 1 < runs.size();) {
            QVector<Column> columns;
            const int next = columnsFrom(runs, r, columns);
            if (columns.size() >= 2 && boxesBesideText(columns))
                markFloats(columns);
            else if (columns.size() >= 2 && wideEnoughForItsText(columns) && holdsText(columns))
                mark(columns);
            r = next;
        }
    }

private:
    const fz_rect& boxOf(int bodyIndex) const { return m_page.items[m_body[bodyIndex]].box; }

    fz_rect boxOf(int from, int to) const
    {
        fz_rect box = fz_empty_rect;
        for (int i = from; i < to; ++i)
            box = fz_union_rect(box, boxOf(i));
        return box;
    }

    // The body cut where the reading goes back up: the next item starts above the last one's end.
    QVector<Run> splitRuns() const
    {
        QVector<Run> runs;
        for (int i = 0; i < m_body.size(); ++i) {
            if (i == 0 || boxOf(i).y0 < boxOf(i - 1).y1 - layoutTuning().columns.slack)
                runs.append({i, i});
            runs.last().to = i + 1;
        }
        return runs;
    }

    // The columns that start in runs[r]: its last items that stand left of where the next run
    // starts, then each run that stands wholly between the column before it and the run after it,
    // then the first items of a run right of the column before (the items after them are read
    // below the columns). runs[...] keeps what is left of a run the columns took the start of;
    // returns the run to go on from.
    int columnsFrom(QVector<Run>& runs, int r, QVector<Column>& columns) const
    {
        const float nextLeft = boxOf(runs[r + 1].from).x0;
        int from = runs[r].to;
        while (from > runs[r].from && boxOf(from - 1).x1 + layoutTuning().columns.leastGutter <= nextLeft + layoutTuning().columns.slack)
            --from;
        if (from == runs[r].to)
            return r + 1;
        columns.append({from, runs[r].to, boxOf(from, runs[r].to)});
        int j = r + 1;
        for (; j < runs.size(); ++j) {
            const float left = columns.last().box.x1 + layoutTuning().columns.leastGutter - layoutTuning().columns.slack;
            int to = runs[j].from;
            while (to < runs[j].to && boxOf(to).x0 >= left)
                ++to;
            if (to == runs[j].from)
                break;
            const fz_rect box = boxOf(runs[j].from, to);
            const bool whole = to == runs[j].to;
            if (whole && j + 1 < runs.size() && box.x1 + layoutTuning().columns.leastGutter <= boxOf(runs[j + 1].from).x0 + layoutTuning().columns.slack) {
                columns.append({runs[j].from, to, box});
                continue;
            }
            columns.append({runs[j].from, to, box});
            if (!whole) {
                runs[j].from = to;
                return j;
            }
            return j + 1;
        }
        return j;
    }

    bool wideEnoughForItsText(const QVector<Column>& columns) const
    {
        const bool sliver = std::any_of(columns.begin(), columns.end(),
                                        [](const Column& column) { return width(column.box) < layoutTuning().columns.leastTextColumnWidth; });
        if (!sliver)
            return true;
        for (const Column& column : columns) {
            for (int i = column.from; i < column.to; ++i) {
                const PageItem& item = m_page.items[m_body[i]];
                if (item.kind == PageItem::Paragraph && m_page.paragraphs[item.index].lines.size() > 1)
                    return false;
            }
        }
        return true;
    }

    bool holdsText(const QVector<Column>& columns) const
    {
        int lines = 0;
        for (const Column& column : columns) {
            for (int i = column.from; i < column.to; ++i) {
                const PageItem& item = m_page.items[m_body[i]];
                if (item.kind != PageItem::Paragraph)
                    return true;
                lines += m_page.paragraphs[item.index].lines.size();
            }
        }
        return lines >= layoutTuning().columns.leastLines;
    }

    bool holdsParagraphs(const Column& column) const
    {
        for (int i = column.from; i < column.to; ++i) {
            if (m_page.items[m_body[i]].kind == PageItem::Paragraph)
                return true;
        }
        return false;
    }

    // Whether one column holds the running text and the others only boxes (a sidebar, an
    // infobox or a picture beside the text, not text set in columns), or the columns hold only
    // pictures (pictures side by side; tables side by side stay columns).
    bool boxesBesideText(const QVector<Column>& columns) const
    {
        const auto textColumns = std::count_if(columns.begin(), columns.end(), [this](const Column& column) { return holdsParagraphs(column); });
        if (textColumns == 1)
            return true;
        for (const Column& column : columns) {
            for (int i = column.from; i < column.to; ++i) {
                if (m_page.items[m_body[i]].kind != PageItem::Figure)
                    return false;
            }
        }
        return textColumns == 0;
    }

    // The boxes float beside the text, which stays one column.
    void markFloats(const QVector<Column>& columns)
    {
        for (const Column& column : columns) {
            for (int i = column.from; i < column.to && !holdsParagraphs(column); ++i)
                m_page.items[m_body[i]].floats = true;
        }
    }

    void mark(const QVector<Column>& columns)
    {
        FoundColumns found;
        for (int c = 0; c < columns.size(); ++c) {
            found.columns.append(columns[c].box);
            found.box = fz_union_rect(found.box, columns[c].box);
            for (int i = columns[c].from; i < columns[c].to; ++i) {
                PageItem& item = m_page.items[m_body[i]];
                item.columns = m_page.columns.size();
                item.column = c;
            }
        }
        m_page.columns.append(found);
    }

    PageLayout& m_page;
    QVector<int> m_body; // indexes of the page's items but its footnotes, in reading order
};

} // namespace

void findColumns(PageLayout& page)
{
    ColumnFinder(page).find();
}

} // namespace p2w
