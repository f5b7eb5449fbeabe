// Figures: pictures and drawn shapes that lie close together form one region, drawn later as one
// picture with the labels set in and beside it. A region mostly covered by text is no figure: a
// frame or a shaded box stays text, and text over a picture stays text beside the picture.

#include "platform/pdf2word/engine/layout/LayoutTuning.h"
#include "platform/pdf2word/engine/layout/PageLayout.h"
#include "platform/pdf2word/engine/model/LayoutGeometry.h"
#include "platform/pdf2word/engine/model/UnionFind.h"

#include <algorithm>
#include <cmath>

namespace p2w {

namespace {

// Whether a line has a neighbour line of text (of more than leastWords words) right above or below
// it: then it is part of a paragraph (its short last line, say), not a label.
bool inTextBlock(const QVector<TextLine>& lines, const QVector<bool>& taken, int index, int leastWords = 0)
{
    const TextLine& line = lines[index];
    for (int i = 0; i < lines.size(); ++i) {
        const TextLine& other = lines[i];
        if (i == index || taken[i] || other.vertical || wordCount(other) <= leastWords)
            continue;
        const float drop = std::abs(other.baseline - line.baseline);
        const bool overlap = std::min(other.box.x1, line.box.x1) > std::max(other.box.x0, line.box.x0);
        if (overlap && drop > layoutTuning().figures.neighbourLeastDrop * line.size && drop < layoutTuning().figures.neighbourMostDrop * std::max(line.size, other.size)
            && std::abs(other.size - line.size) < layoutTuning().figures.neighbourSizes * line.size)
            return true;
    }
    return false;
}

// Whether a line inside a drawing is text, not a label: a sentence, or a line of a paragraph of
// long lines (an axis's row of labels over its title is none).
bool isText(const QVector<TextLine>& lines, const QVector<bool>& taken, int index)
{
    const TextLine& line = lines[index];
    if (line.vertical)
        return false;
    const int words = wordCount(line);
    return words > layoutTuning().figures.mostTitleWords || (words > layoutTuning().figures.mostInnerLabelWords && inTextBlock(lines, taken, index, layoutTuning().figures.mostInnerLabelWords));
}

struct Cluster
{
    fz_rect box = fz_empty_rect;
    QVector<int> shapes;
};

// Shapes close to one another, grouped; none once the page's run is aborted.
QVector<Cluster> cluster(const QVector<Shape>& shapes, const QVector<int>& candidates, const fz_cookie* cookie)
{
    QVector<int> order = candidates;
    std::sort(order.begin(), order.end(), [&](int a, int b) { return shapes[a].box.y0 < shapes[b].box.y0; });
    QVector<int> parent = separateGroups(order.size());
    for (int i = 0; i < order.size(); ++i) {
        if (aborted(cookie))
            return {};
        const fz_rect near = expanded(shapes[order[i]].box, layoutTuning().figures.near);
        for (int j = i + 1; j < order.size() && shapes[order[j]].box.y0 <= near.y1; ++j) {
            if (touches(near, shapes[order[j]].box))
                joinGroups(parent, i, j);
        }
    }
    QVector<Cluster> clusters;
    for (const QVector<int>& group : groupsInOrder(parent)) {
        Cluster c;
        for (int i : group) {
            c.box = fz_union_rect(c.box, shapes[order[i]].box);
            c.shapes.append(order[i]);
        }
        clusters.append(c);
    }
    // Regions that overlap once grown (a picture inside a drawn frame) are one.
    bool merged = true;
    while (merged && !aborted(cookie)) {
        merged = false;
        for (int i = 0; i < clusters.size() && !merged; ++i) {
            for (int j = i + 1; j < clusters.size(); ++j) {
                if (touches(expanded(clusters[i].box, layoutTuning().figures.near / 2), clusters[j].box)) {
                    clusters[i].box = fz_union_rect(clusters[i].box, clusters[j].box);
                    clusters[i].shapes += clusters[j].shapes;
                    clusters.removeAt(j);
                    merged = true;
                    break;
                }
            }
        }
    }
    return clusters;
}

// A chart's grid line that nothing else touches (the top one, above the highest bar) joins the
// drawing whose grid it belongs to: lines of the same length there, one above the other at a
// steady pitch, the nearest of them at most a pitch and a fifth away.
void joinGridLines(const QVector<Shape>& shapes, QVector<Cluster>& clusters, const fz_cookie* cookie)
{
    auto lone = [&](const Cluster& c) {
        return c.box.y1 - c.box.y0 <= layoutTuning().figures.gridThinLine && std::all_of(c.shapes.begin(), c.shapes.end(), [&](int s) { return shapes[s].thin; });
    };
    for (int i = clusters.size() - 1; i >= 0 && !aborted(cookie); --i) {
        if (!lone(clusters[i]))
            continue;
        const fz_rect line = clusters[i].box;
        for (int j = 0; j < clusters.size(); ++j) {
            if (j == i || lone(clusters[j]))
                continue;
            QVector<float> ys;
            for (int s : clusters[j].shapes) {
                const fz_rect box = shapes[s].box;
                if (shapes[s].thin && box.y1 - box.y0 <= layoutTuning().figures.gridThinLine && std::fabs(box.x0 - line.x0) <= layoutTuning().figures.gridSameEnd
                    && std::fabs(box.x1 - line.x1) <= layoutTuning().figures.gridSameEnd)
                    ys.append((box.y0 + box.y1) / 2);
            }
            if (ys.size() < 2)
                continue;
            std::sort(ys.begin(), ys.end());
            float pitch = 1e9f;
            float nearest = 1e9f;
            for (int k = 0; k < ys.size(); ++k) {
                if (k > 0 && ys[k] - ys[k - 1] > layoutTuning().figures.gridThinLine) // a line drawn twice is one
                    pitch = std::min(pitch, ys[k] - ys[k - 1]);
                nearest = std::min(nearest, std::fabs(ys[k] - (line.y0 + line.y1) / 2));
            }
            if (pitch < 1e9f && nearest <= layoutTuning().figures.gridPitchReach * pitch) {
                clusters[j].box = fz_union_rect(clusters[j].box, line);
                clusters[j].shapes += clusters[i].shapes;
                clusters.removeAt(i);
                break;
            }
        }
    }
}

// The shapes of a region without those behind its text: under a line of text (a label's too: a
// chart's frame, a backdrop's gradient steps), as large as a backdrop, or drawings seen through
// (blobs of colour over a poster). The shapes left stand apart by what lies between them.
QVector<int> withoutBackdrops(const QVector<Shape>& shapes, const QVector<int>& region, const QVector<TextLine>& lines,
                              const QVector<bool>& taken, float pageArea)
{
    QVector<int> front;
    for (int s : region) {
        const Shape& shape = shapes[s];
        bool behindText = area(shape.box) >= layoutTuning().figures.backdropShare * pageArea || (shape.kind != Shape::Picture && shape.transparent);
        for (int i = 0; i < lines.size() && !behindText; ++i) {
            behindText = !taken[i] && !lines[i].vertical && centreInside(lines[i].box, shape.box);
        }
        if (!behindText)
            front.append(s);
    }
    return front;
}

// Each picture of the shapes as a figure of its own, taken as it is stored where it can be.
void appendPictures(const QVector<Shape>& shapes, const QVector<int>& which, fz_rect mediabox, QVector<FoundFigure>& figures)
{
    for (int s : which) {
        const Shape& shape = shapes[s];
        if (shape.kind != Shape::Picture || shape.box.x1 - shape.box.x0 < layoutTuning().figures.smallestPicture || shape.box.y1 - shape.box.y0 < layoutTuning().figures.smallestPicture)
            continue;
        FoundFigure alone;
        alone.box = fz_intersect_rect(shape.box, mediabox);
        alone.withText = false;
        alone.lonePicture = true;
        alone.labelText = shape.description;
        if (!shape.transparent)
            alone.imageShape = shape.id >= 0 ? shape.id : s;
        if (!fz_is_empty_rect(alone.box))
            figures.append(alone);
    }
}

// The pictures that tile the page behind its text (a background picture stored in strips, each
// as wide as the page, edge to edge, together covering most of it): the page's background.
QVector<bool> backgroundStrips(const QVector<Shape>& shapes, fz_rect mediabox, bool withText)
{
    QVector<bool> strips(shapes.size(), false);
    if (!withText)
        return strips;
    QVector<int> wide;
    for (int i = 0; i < shapes.size(); ++i) {
        if (shapes[i].kind == Shape::Picture && width(shapes[i].box) >= layoutTuning().figures.stripWidth * width(mediabox))
            wide.append(i);
    }
    std::sort(wide.begin(), wide.end(), [&](int a, int b) { return shapes[a].box.y0 < shapes[b].box.y0; });
    for (int from = 0; from < wide.size();) {
        int to = from + 1;
        while (to < wide.size() && shapes[wide[to]].box.y0 <= shapes[wide[to - 1]].box.y1 + 1)
            ++to;
        float covered = 0;
        for (int k = from; k < to; ++k)
            covered += area(shapes[wide[k]].box);
        if (to - from >= 2 && covered >= layoutTuning().lines.backgroundShare * area(mediabox)) {
            for (int k = from; k < to; ++k)
                strips[wide[k]] = true;
        }
        from = to;
    }
    return strips;
}

// The shapes that may belong to a figure: none inside a table, none as large as the page's
// background.
QVector<int> figureCandidates(const QVector<Shape>& shapes, const QVector<FoundTable>& tables, fz_rect mediabox, bool withText)
{
    const float pageArea = area(mediabox);
    const QVector<bool> strips = backgroundStrips(shapes, mediabox, withText);
    QVector<int> candidates;
    for (int i = 0; i < shapes.size(); ++i) {
        const Shape& shape = shapes[i];
        if (strips[i])
            continue;
        bool inTable = false;
        for (const FoundTable& table : tables)
            inTable = inTable || centreInside(shape.box, expanded(table.box, 2));
        if (inTable)
            continue;
        if (shape.kind != Shape::Picture && area(shape.box) > layoutTuning().lines.backgroundShare * pageArea)
            continue; // the page's background
        candidates.append(i);
    }
    return candidates;
}

// The lines inside a cluster and whether they are text rather than a drawing's labels.
struct InnerLines
{
    QVector<int> lines;
    bool text = false;
};

// What findFigures' steps share: the page's shapes and lines, the lines taken into figures so
// far, the clusters still to look at and the figures found.
struct FigureSearch
{
    FigureSearch(const QVector<Shape>& shapes, const QVector<TextLine>& lines, fz_rect mediabox, const fz_cookie* cookie)
        : shapes(shapes)
        , lines(lines)
        , mediabox(mediabox)
        , cookie(cookie)
        , pageArea(area(mediabox))
        , taken(lines.size(), false)
    {
    }

    const QVector<Shape>& shapes;
    const QVector<TextLine>& lines;
    fz_rect mediabox;
    const fz_cookie* cookie;
    float pageArea;
    QVector<bool> taken;
    // Clusters still to look at; those split off a region that held text are not split again.
    QVector<Cluster> work;
    QVector<bool> splitOff;
    QVector<FoundFigure> figures;

    // Whether a cluster may be a figure at all: it holds a picture, or drawings of some size
    // that are neither rules nor a frame nor a form's boxes around text.
    bool mayBeFigure(const Cluster& c) const
    {
        bool picture = false;
        bool drawn = false;
        int thin = 0;
        for (int s : c.shapes) {
            const Shape& shape = shapes[s];
            if (shape.kind == Shape::Picture)
                picture = picture || (shape.box.x1 - shape.box.x0 >= layoutTuning().figures.smallestPicture && shape.box.y1 - shape.box.y0 >= layoutTuning().figures.smallestPicture);
            else if (shape.thin)
                ++thin;
            else
                drawn = true;
        }
        if (picture)
            return true;
        // Rules, underlines and bullets are no figures; a few thin strokes are a frame.
        if (c.box.x1 - c.box.x0 < layoutTuning().figures.smallestDrawing || c.box.y1 - c.box.y0 < layoutTuning().figures.smallestDrawing)
            return false;
        if (!drawn && thin < layoutTuning().figures.leastStrokes)
            return false;
        // Strokes only, around text: a form's boxes and leaders.
        if (!drawn) {
            bool holdsText = false;
            for (int i = 0; i < lines.size() && !holdsText; ++i)
                holdsText = !taken[i] && centreInside(lines[i].box, c.box);
            if (holdsText)
                return false;
        }
        return true;
    }

    // The lines inside a cluster, and whether they are text: lines that cover much of it, a
    // heading, a sentence, a table's cell, or more words than a drawing's labels have.
    InnerLines innerLines(const Cluster& c) const
    {
        InnerLines inner;
        float textArea = 0;
        int text = 0;
        int words = 0;
        for (int i = 0; i < lines.size(); ++i) {
            if (!taken[i] && centreInside(lines[i].box, expanded(c.box, 1))) {
                inner.lines.append(i);
                textArea += area(fz_intersect_rect(lines[i].box, c.box));
                words += wordCount(lines[i]);
                if (isText(lines, taken, i))
                    ++text;
            }
        }
        // More words than a drawing's labels have are a page's text, however they are broken up.
        text += words > layoutTuning().figures.mostLabelsWords ? 1 : 0;
        inner.text = textArea > layoutTuning().figures.mostlyText * area(c.box) || text > 0 || ruledTable(c, inner.lines);
        return inner;
    }

    // Whether the cluster is a table drawn with rules: nothing drawn but rules and bands across
    // its width behind its text (a header's band, a total's row), and its lines line up in
    // columns over rows as a table's do. Its text is found as a table's; a chart's bars stand
    // side by side.
    bool ruledTable(const Cluster& c, const QVector<int>& inner) const
    {
        for (int s : c.shapes) {
            const Shape& shape = shapes[s];
            if (shape.thin)
                continue;
            if (shape.kind != Shape::Path || !shape.filled || width(shape.box) < layoutTuning().figures.bandShare * width(c.box))
                return false;
            bool behindText = false;
            for (int i = 0; i < inner.size() && !behindText; ++i)
                behindText = centreInside(lines[inner[i]].box, shape.box);
            if (!behindText)
                return false;
        }
        QVector<TextLine> tableLines;
        for (int i : inner)
            tableLines.append(lines[i]);
        const int count = tableLines.size();
        const QVector<FoundTable> tables = findTextTables(tableLines);
        return !tables.isEmpty() && layoutTuning().figures.tableShare * count <= count - tableLines.size();
    }

    // Text is never drawn into a picture: a region that holds text keeps it as text. The
    // drawings in it that stand apart once what lies behind the text is gone (a poster's charts
    // on its backdrop) go back to the work as clusters of their own; else only its pictures are
    // figures.
    void splitAroundText(const Cluster& c, bool wasSplitOff)
    {
        const QVector<int> front = wasSplitOff ? c.shapes : withoutBackdrops(shapes, c.shapes, lines, taken, pageArea);
        QVector<int> alone = c.shapes;
        if (front.size() < c.shapes.size() && !front.isEmpty()) {
            for (const Cluster& part : cluster(shapes, front, cookie)) {
                work.append(part);
                splitOff.append(true);
            }
            // The pictures behind the text stand alone.
            alone.erase(std::remove_if(alone.begin(), alone.end(), [&](int s) { return front.contains(s); }), alone.end());
        }
        appendPictures(shapes, alone, mediabox, figures);
    }

    // Labels beside the drawing (axis titles, legends, tick marks' numbers): short or turned
    // lines right at its edge join the figure, which grows around them.
    void takeLabelsBeside(FoundFigure& figure, QVector<int>& inner, float width)
    {
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = 0; i < lines.size() && !aborted(cookie); ++i) {
                const TextLine& line = lines[i];
                const float reach = (line.vertical ? layoutTuning().figures.turnedLabelReach : layoutTuning().figures.labelReach) * line.size;
                if (taken[i] || !touches(expanded(figure.box, reach), line.box))
                    continue;
                const bool shortLine = wordCount(line) <= layoutTuning().figures.mostLabelWords && line.box.x1 - line.box.x0 <= layoutTuning().figures.labelWidthShare * width;
                if (!line.vertical && (!shortLine || inTextBlock(lines, taken, i)))
                    continue;
                taken[i] = true;
                inner.append(i);
                figure.box = fz_union_rect(figure.box, line.box);
            }
        }
    }

    // A drawing with its labels as one figure; a lone picture without labels drawn into it is
    // taken as it is stored.
    void appendFigure(const Cluster& c, QVector<int> inner)
    {
        FoundFigure figure;
        figure.box = c.box;
        for (int i : inner)
            taken[i] = true;
        takeLabelsBeside(figure, inner, c.box.x1 - c.box.x0);
        if (figure.withText) {
            std::sort(inner.begin(), inner.end(), [&](int a, int b) {
                return lines[a].box.y0 < lines[b].box.y0 || (lines[a].box.y0 == lines[b].box.y0 && lines[a].box.x0 < lines[b].box.x0);
            });
            QStringList words;
            for (int i : inner) {
                figure.labels.append(expanded(lines[i].box, 1));
                words << lines[i].text();
            }
            figure.labelText = words.join(QLatin1Char(' '));
        }
        // The words its pictures show (a scan's text layer kept with its picture) come first.
        QStringList shown;
        for (int s : c.shapes) {
            if (!shapes[s].description.isEmpty())
                shown << shapes[s].description;
        }
        if (!figure.labelText.isEmpty())
            shown << figure.labelText;
        figure.labelText = shown.join(QLatin1Char(' '));
        if (c.shapes.size() == 1 && shapes[c.shapes.front()].kind == Shape::Picture && (inner.isEmpty() || !figure.withText)
            && !shapes[c.shapes.front()].transparent)
            figure.imageShape = shapes[c.shapes.front()].id >= 0 ? shapes[c.shapes.front()].id : c.shapes.front();
        figure.box = fz_intersect_rect(figure.box, mediabox);
        if (!fz_is_empty_rect(figure.box))
            figures.append(figure);
    }
};

} // namespace

QVector<FoundFigure> findFigures(const PageGraphics& graphics, const QVector<FoundTable>& tables,
                                 QVector<TextLine>& lines, fz_rect mediabox, const fz_cookie* cookie)
{
    const QVector<Shape>& shapes = graphics.shapes;
    FigureSearch search(shapes, lines, mediabox, cookie);
    search.work = cluster(shapes, figureCandidates(shapes, tables, mediabox, !lines.isEmpty()), cookie);
    joinGridLines(shapes, search.work, cookie);
    search.splitOff = QVector<bool>(search.work.size(), false);
    for (int w = 0; w < search.work.size(); ++w) {
        // A copy: the work grows by what a region that holds text splits off.
        const Cluster c = search.work[w];
        if (!search.mayBeFigure(c))
            continue;
        const InnerLines inner = search.innerLines(c);
        if (inner.text)
            search.splitAroundText(c, search.splitOff[w]);
        else
            search.appendFigure(c, inner.lines);
    }
    QVector<TextLine> kept;
    for (int i = 0; i < lines.size(); ++i) {
        if (!search.taken[i])
            kept.append(lines[i]);
    }
    QVector<FoundFigure> figures = search.figures;
    lines = kept;
    std::sort(figures.begin(), figures.end(), [](const FoundFigure& a, const FoundFigure& b) { return a.box.y0 < b.box.y0; });
    return figures;
}

} // namespace p2w
