#include "platform/pdf2word/engine/read/ScanFigures.h"

#include "platform/pdf2word/engine/model/LayoutGeometry.h"
#include "platform/pdf2word/engine/model/UnionFind.h"
#include "platform/pdf2word/engine/read/ReadTuning.h"

#include <algorithm>
#include <cmath>

namespace p2w {

namespace {

// A scan as large as a poster (or a hostile one as large as the coordinate space) is looked at in
// at most kMostCells cells, decoded to at most kMostPixels pixels.
const double kMostCells = 4e6;
const double kMostPixels = 16e6;

enum Cell : quint8 {
    Paper = 0,
    Ink = 1,
    Text = 2
};

struct InkGrid
{
    fz_rect box = fz_empty_rect;         // page area the cells cover
    float cell = readTuning().scan.cell; // a cell's side (points)
    int columns = 0;
    int rows = 0;
    QVector<quint8> cells;

    quint8 at(int column, int row) const
    {
        return column < 0 || row < 0 || column >= columns || row >= rows ? quint8(Paper) : cells[row * columns + column];
    }
    fz_rect cellBox(int column, int row) const
    {
        return fz_make_rect(box.x0 + column * cell, box.y0 + row * cell, box.x0 + (column + 1) * cell,
                            box.y0 + (row + 1) * cell);
    }
};

// The scan decoded at about scan.lookDpi (at least), in grey or RGB, or for a stencil the share
// painted. MuPDF calls only: the caller runs it in MuPDF's error frame and drops the result.
fz_pixmap* decodeForLooking(fz_context* ctx, const Shape& scan)
{
    const float across = std::max(1.0f, std::hypot(scan.ctm.a, scan.ctm.b));
    const float down = std::max(1.0f, std::hypot(scan.ctm.c, scan.ctm.d));
    const double pixels = double(across) * down * (readTuning().scan.lookDpi / 72) * (readTuning().scan.lookDpi / 72);
    const float dpi = pixels > kMostPixels ? float(readTuning().scan.lookDpi * std::sqrt(kMostPixels / pixels)) : readTuning().scan.lookDpi;
    fz_matrix wanted = fz_scale(across * dpi / 72, down * dpi / 72);
    fz_pixmap* pixmap = fz_get_pixmap_from_image(ctx, scan.image, nullptr, &wanted, nullptr, nullptr);
    if (!pixmap->colorspace || fz_colorspace_is_gray(ctx, pixmap->colorspace) || fz_colorspace_is_rgb(ctx, pixmap->colorspace))
        return pixmap;
    fz_pixmap* rgb = nullptr;
    fz_try(ctx)
        rgb = fz_convert_pixmap(ctx, pixmap, fz_device_rgb(ctx), nullptr, nullptr, fz_default_color_params, 0);
    fz_always(ctx)
        fz_drop_pixmap(ctx, pixmap);
    fz_catch(ctx)
        fz_rethrow(ctx);
    return rgb;
}

// The brightness of a pixel, 0 black to 255 paper: its darkest colour (a light yellow is as far
// from white paper as a mid grey); a stencil's painted pixels are black.
QVector<quint8> brightnessOf(const fz_pixmap* pixmap)
{
    const bool stencil = !pixmap->colorspace;
    const int colours = std::max(1, pixmap->n - pixmap->alpha);
    QVector<quint8> pixels(pixmap->w * pixmap->h);
    for (int y = 0; y < pixmap->h; ++y) {
        const unsigned char* row = pixmap->samples + ptrdiff_t(y) * pixmap->stride;
        for (int x = 0; x < pixmap->w; ++x) {
            const unsigned char* pixel = row + x * pixmap->n;
            const quint8 darkest = *std::min_element(pixel, pixel + colours);
            pixels[y * pixmap->w + x] = stencil ? quint8(255 - pixel[0]) : darkest;
        }
    }
    return pixels;
}

// The darkest brightness that is still paper: most of a scan is paper.
int paperLevel(const QVector<quint8>& pixels)
{
    int histogram[256] = {};
    for (const quint8 value : pixels)
        ++histogram[value];
    int paper = 255;
    for (int brighter = 0; paper > 0 && brighter + histogram[paper] < (1 - readTuning().scan.paperShare) * pixels.size(); --paper)
        brighter += histogram[paper];
    return paper;
}

// Which cells of the scan's area hold ink, from the decoded scan.
InkGrid inkOf(const Shape& scan, const fz_pixmap* pixmap)
{
    InkGrid grid;
    grid.box = scan.box;
    const double cells = double(width(scan.box)) * (scan.box.y1 - scan.box.y0) / (readTuning().scan.cell * readTuning().scan.cell);
    grid.cell = cells > kMostCells ? float(readTuning().scan.cell * std::sqrt(cells / kMostCells)) : readTuning().scan.cell;
    grid.columns = std::max(1, int(std::ceil(width(scan.box) / grid.cell)));
    grid.rows = std::max(1, int(std::ceil((scan.box.y1 - scan.box.y0) / grid.cell)));
    grid.cells.fill(Paper, grid.columns * grid.rows);
    const int w = pixmap->w;
    const int h = pixmap->h;
    const QVector<quint8> pixels = brightnessOf(pixmap);
    if (pixels.isEmpty())
        return grid;
    const int inkBelow = int(readTuning().scan.inkLevel * paperLevel(pixels));
    QVector<int> dark(grid.cells.size(), 0);
    QVector<int> seen(grid.cells.size(), 0);
    // A pixel's middle on the page: the image's unit square mapped by its matrix.
    const fz_point origin = fz_transform_point_xy(0.5f / w, 0.5f / h, scan.ctm);
    const fz_point across = fz_transform_vector(fz_make_point(1.0f / w, 0), scan.ctm);
    const fz_point down = fz_transform_vector(fz_make_point(0, 1.0f / h), scan.ctm);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const float px = origin.x + x * across.x + y * down.x;
            const float py = origin.y + x * across.y + y * down.y;
            const int column = int(std::floor((px - grid.box.x0) / grid.cell));
            const int row = int(std::floor((py - grid.box.y0) / grid.cell));
            if (column < 0 || row < 0 || column >= grid.columns || row >= grid.rows)
                continue;
            const int cell = row * grid.columns + column;
            ++seen[cell];
            dark[cell] += pixels[y * w + x] < inkBelow ? 1 : 0;
        }
    }
    for (int i = 0; i < grid.cells.size(); ++i)
        grid.cells[i] = seen[i] > 0 && dark[i] >= readTuning().scan.inkShare * seen[i] ? Ink : Paper;
    return grid;
}

// The cells of the grid a box covers.
struct CellSpan
{
    int c0 = 0, c1 = -1, r0 = 0, r1 = -1;
};

CellSpan cellsOf(const InkGrid& grid, fz_rect box)
{
    box = fz_intersect_rect(box, grid.box);
    CellSpan span;
    if (fz_is_empty_rect(box))
        return span;
    span.c0 = std::max(0, int(std::floor((box.x0 - grid.box.x0) / grid.cell)));
    span.c1 = std::min(grid.columns - 1, int(std::floor((box.x1 - grid.box.x0) / grid.cell)));
    span.r0 = std::max(0, int(std::floor((box.y0 - grid.box.y0) / grid.cell)));
    span.r1 = std::min(grid.rows - 1, int(std::floor((box.y1 - grid.box.y0) / grid.cell)));
    return span;
}

bool inkedAsPrinted(const InkGrid& grid, const TextLine& line)
{
    const CellSpan span = cellsOf(grid, line.box);
    int ink = 0;
    int all = 0;
    for (int r = span.r0; r <= span.r1; ++r) {
        for (int c = span.c0; c <= span.c1; ++c) {
            ++all;
            ink += grid.at(c, r) == Ink ? 1 : 0;
        }
    }
    return all == 0 || ink >= readTuning().scan.leastTextInk * all;
}

bool looksPrinted(const InkGrid& grid, const TextLine& line)
{
    return wordCount(line) > readTuning().scan.mostGuessWords || inkedAsPrinted(grid, line);
}

// The scan's ink, or an empty grid when it cannot be decoded.
InkGrid inkOfScan(fz_context* ctx, const Shape& scan)
{
    fz_pixmap* pixmap = nullptr;
    if (!fzRun(ctx, [&] { pixmap = decodeForLooking(ctx, scan); }))
        return InkGrid();
    InkGrid grid = inkOf(scan, pixmap);
    fz_drop_pixmap(ctx, pixmap);
    return grid;
}

// The cells the lines' text covers, with a margin; the lines that are OCR's reading of a drawing
// go to drawn (their indexes).
void markText(InkGrid& grid, const QVector<TextLine>& lines, QVector<int>* drawn)
{
    QVector<CellSpan> text;
    for (int i = 0; i < lines.size(); ++i) {
        if (looksPrinted(grid, lines[i]))
            text.append(cellsOf(grid, expanded(lines[i].box, readTuning().scan.textMargin * lines[i].size)));
        else
            drawn->append(i);
    }
    for (const CellSpan& span : text) {
        for (int r = span.r0; r <= span.r1; ++r) {
            for (int c = span.c0; c <= span.c1; ++c)
                grid.cells[r * grid.columns + c] = Text;
        }
    }
}

// Marks the ink cells of thin runs along one direction: along rows when horizontal, else along
// columns. A run goes on through text (a table's ruling between its cells' lines).
void markRules(const InkGrid& grid, bool horizontal, QVector<bool>& rule)
{
    const int lines = horizontal ? grid.rows : grid.columns;
    const int length = horizontal ? grid.columns : grid.rows;
    auto cell = [&](int line, int along) { return horizontal ? grid.at(along, line) : grid.at(line, along); };
    auto index = [&](int line, int along) { return horizontal ? line * grid.columns + along : along * grid.columns + line; };
    for (int line = 0; line < lines; ++line) {
        for (int start = 0; start < length;) {
            if (cell(line, start) == Paper) {
                ++start;
                continue;
            }
            int end = start;
            int ink = 0;
            int beside = 0;
            for (; end < length && cell(line, end) != Paper; ++end) {
                if (cell(line, end) != Ink)
                    continue;
                ++ink;
                beside += (cell(line - readTuning().scan.thinCells, end) == Ink ? 1 : 0) + (cell(line + readTuning().scan.thinCells, end) == Ink ? 1 : 0);
            }
            if (end - start >= readTuning().scan.leastRun && ink > 0 && beside <= readTuning().scan.thinShare * 2 * ink) {
                for (int along = start; along < end; ++along) {
                    if (cell(line, along) == Ink)
                        rule[index(line, along)] = true;
                }
            }
            start = end;
        }
    }
}

struct Region
{
    fz_rect box = fz_empty_rect;
    int ink = 0;
    int drawing = 0; // ink that is no rule
};

// The regions of ink cells, each cell linked to those within scan.linkCells.
QVector<Region> inkRegions(const InkGrid& grid, const QVector<bool>& rule, const fz_cookie* cookie)
{
    QVector<Region> regions;
    QVector<bool> done(grid.cells.size(), false);
    QVector<int> stack;
    for (int start = 0; start < grid.cells.size() && !aborted(cookie); ++start) {
        if (done[start] || grid.cells[start] != Ink)
            continue;
        Region region;
        done[start] = true;
        stack.append(start);
        while (!stack.isEmpty()) {
            const int at = stack.takeLast();
            const int column = at % grid.columns;
            const int row = at / grid.columns;
            region.box = fz_union_rect(region.box, grid.cellBox(column, row));
            ++region.ink;
            region.drawing += rule[at] ? 0 : 1;
            for (int r = std::max(0, row - readTuning().scan.linkCells); r <= std::min(grid.rows - 1, row + readTuning().scan.linkCells); ++r) {
                for (int c = std::max(0, column - readTuning().scan.linkCells); c <= std::min(grid.columns - 1, column + readTuning().scan.linkCells); ++c) {
                    const int next = r * grid.columns + c;
                    if (!done[next] && grid.cells[next] == Ink) {
                        done[next] = true;
                        stack.append(next);
                    }
                }
            }
        }
        regions.append(region);
    }
    return regions;
}

// Regions that lie close together are one (the strokes of a signature, a photo's caption box).
QVector<Region> mergeNear(QVector<Region> regions)
{
    std::sort(regions.begin(), regions.end(), [](const Region& a, const Region& b) { return a.box.y0 < b.box.y0; });
    bool merged = true;
    while (merged) {
        merged = false;
        QVector<int> parent = separateGroups(regions.size());
        for (int i = 0; i < regions.size(); ++i) {
            const fz_rect near = expanded(regions[i].box, readTuning().scan.near);
            for (int j = i + 1; j < regions.size() && regions[j].box.y0 <= near.y1; ++j) {
                if (touches(near, regions[j].box) && joinGroups(parent, j, i))
                    merged = true;
            }
        }
        QVector<Region> joined;
        QVector<int> slot(regions.size(), -1);
        for (int i = 0; i < regions.size(); ++i) {
            const int root = findRoot(parent, i);
            if (slot[root] < 0) {
                slot[root] = joined.size();
                joined.append(Region());
            }
            Region& into = joined[slot[root]];
            into.box = fz_union_rect(into.box, regions[i].box);
            into.ink += regions[i].ink;
            into.drawing += regions[i].drawing;
        }
        std::sort(joined.begin(), joined.end(), [](const Region& a, const Region& b) { return a.box.y0 < b.box.y0; });
        regions = joined;
    }
    return regions;
}

bool isFigure(const Region& region)
{
    return width(region.box) >= readTuning().scan.leastSide && region.box.y1 - region.box.y0 >= readTuning().scan.leastSide
           && region.drawing >= readTuning().scan.leastDrawing && region.drawing >= readTuning().scan.drawingShare * region.ink;
}

} // namespace

ScanParts scanParts(fz_context* ctx, const Shape& scan, const QVector<TextLine>& lines, const fz_cookie* cookie)
{
    ScanParts parts;
    if (!scan.image || fz_is_empty_rect(scan.box) || fz_is_infinite_rect(scan.box))
        return parts;
    InkGrid grid = inkOfScan(ctx, scan);
    if (grid.cells.isEmpty() || aborted(cookie))
        return parts;
    QVector<int> drawn;
    markText(grid, lines, &drawn);
    QVector<bool> rule(grid.cells.size(), false);
    markRules(grid, true, rule);
    markRules(grid, false, rule);
    for (const Region& region : mergeNear(inkRegions(grid, rule, cookie))) {
        if (isFigure(region))
            parts.figures.append(fz_intersect_rect(expanded(region.box, readTuning().scan.margin), scan.box));
    }
    for (int i : drawn) {
        bool onFigure = false;
        for (const fz_rect& figure : parts.figures)
            onFigure = onFigure || centreInside(lines[i].box, figure);
        if (onFigure)
            parts.drawnLines.append(i);
    }
    return parts;
}

float wordsOnInk(fz_context* ctx, const Shape& scan, const QVector<TextLine>& lines, const fz_cookie* cookie)
{
    if (!scan.image || fz_is_empty_rect(scan.box) || fz_is_infinite_rect(scan.box))
        return -1;
    const InkGrid grid = inkOfScan(ctx, scan);
    if (grid.cells.isEmpty() || aborted(cookie))
        return -1;
    int words = 0;
    int onInk = 0;
    for (const TextLine& line : lines) {
        const int count = wordCount(line);
        words += count;
        onInk += inkedAsPrinted(grid, line) ? count : 0;
    }
    return words > 0 ? float(onInk) / words : -1;
}

fz_rect inkedPart(fz_context* ctx, const Shape& scan, const fz_cookie* cookie)
{
    if (!scan.image || fz_is_empty_rect(scan.box) || fz_is_infinite_rect(scan.box))
        return scan.box;
    const InkGrid grid = inkOfScan(ctx, scan);
    if (grid.cells.isEmpty() || aborted(cookie))
        return scan.box;
    const QVector<bool> noRules(grid.cells.size(), false);
    fz_rect inked = fz_empty_rect;
    for (const Region& region : inkRegions(grid, noRules, cookie)) {
        if (region.ink >= readTuning().scan.leastDrawing)
            inked = fz_union_rect(inked, region.box);
    }
    return fz_is_empty_rect(inked) ? scan.box : fz_intersect_rect(expanded(inked, readTuning().scan.paperAround), scan.box);
}

void keepScanFigures(fz_context* ctx, QVector<TextLine>* lines, const QVector<bool>& scans, PageGraphics* graphics,
                     const fz_cookie* cookie)
{
    QVector<Shape> kept;
    kept.reserve(graphics->shapes.size());
    QVector<bool> drawn(lines->size(), false);
    for (int i = 0; i < graphics->shapes.size(); ++i) {
        const Shape& shape = graphics->shapes[i];
        if (!scans.value(i)) {
            kept.append(shape);
            continue;
        }
        const ScanParts parts = scanParts(ctx, shape, *lines, cookie);
        for (const fz_rect& region : parts.figures) {
            Shape part = shape;
            part.box = region;
            kept.append(part);
        }
        for (int line : parts.drawnLines)
            drawn[line] = true;
    }
    graphics->shapes = kept;
    QVector<TextLine> text;
    text.reserve(lines->size());
    for (int i = 0; i < lines->size(); ++i) {
        if (!drawn[i])
            text.append((*lines)[i]);
    }
    *lines = text;
}

} // namespace p2w
