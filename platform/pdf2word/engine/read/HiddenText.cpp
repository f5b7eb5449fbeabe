#include "platform/pdf2word/engine/read/HiddenText.h"

#include "platform/pdf2word/engine/read/CjkText.h"
#include "platform/pdf2word/engine/read/LayoutGeometry.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace p2w {

namespace {

// A hidden line whose box is covered this much by shown text repeats that text.
const float kRepeatedShare = 0.3f;
// A picture of at least kPageShare of the page is the page's scan when hidden lines lie on it; a
// smaller one when they cover kScannedShare of it (not a photo with a line of text read in it).
const float kPageShare = 0.5f;
const float kScannedShare = 0.05f;

// Pieces of one layer line: baselines within kSameBaseline of the smaller size, sizes within
// kSameSizes of each other, the next piece starting within kPieceGap ems of the end of the one
// before.
const float kSameBaseline = 0.25f;
const float kSameSizes = 0.8f;
const float kPieceGap = 3.0f;

bool continuesLayerLine(const TextLine& line, const TextLine& piece)
{
    if (line.vertical || piece.vertical || line.glyphs.isEmpty() || piece.glyphs.isEmpty())
        return false;
    const float larger = std::max(line.size, piece.size);
    const float smaller = std::min(line.size, piece.size);
    return smaller >= kSameSizes * larger && std::fabs(line.baseline - piece.baseline) <= kSameBaseline * smaller
           && piece.box.x0 > line.box.x0 && piece.box.x0 <= line.box.x1 + kPieceGap * larger;
}

bool isTall(const fz_rect& box)
{
    return bandOf(box.y1) - bandOf(box.y0) > kMostBands;
}

bool middleInside(const fz_rect& box, const fz_rect& region)
{
    return fz_is_point_inside_rect(fz_make_point((box.x0 + box.x1) / 2, (box.y0 + box.y1) / 2), region);
}

} // namespace

QVector<TextLine> hiddenLinesToKeep(const QVector<TextLine>& shown, const QVector<TextLine>& hidden)
{
    QHash<int, QVector<int>> shownByBand;
    QVector<int> tallShown;
    for (int i = 0; i < shown.size(); ++i) {
        if (isTall(shown[i].box)) {
            tallShown.append(i);
            continue;
        }
        for (int band = bandOf(shown[i].box.y0); band <= bandOf(shown[i].box.y1); ++band)
            shownByBand[band].append(i);
    }
    QVector<TextLine> kept;
    for (const TextLine& line : hidden) {
        const float enough = kRepeatedShare * area(line.box);
        float covered = 0;
        QSet<int> counted;
        const auto count = [&](int i) {
            if (covered >= enough || counted.contains(i))
                return;
            counted.insert(i);
            covered += area(fz_intersect_rect(shown[i].box, line.box));
        };
        if (isTall(line.box)) {
            for (int i = 0; i < shown.size() && covered < enough; ++i)
                count(i);
        } else {
            for (int i : tallShown)
                count(i);
            for (int band = bandOf(line.box.y0); band <= bandOf(line.box.y1) && covered < enough; ++band) {
                for (int i : shownByBand.value(band))
                    count(i);
            }
        }
        if (covered < enough || enough <= 0)
            kept.append(line);
    }
    return kept;
}

void joinLayerPieces(QVector<TextLine>& lines)
{
    QVector<TextLine> joined;
    joined.reserve(lines.size());
    for (const TextLine& piece : lines) {
        if (joined.isEmpty() || !continuesLayerLine(joined.back(), piece)) {
            joined.append(piece);
            continue;
        }
        TextLine& line = joined.back();
        // The OCR engine's space between the two words, which the split cut off.
        if (!noSpaceBetween(line.glyphs.back().c, piece.glyphs.front().c))
            line.glyphs.append(spaceBetween(line.glyphs.back(), piece.glyphs.front()));
        line.glyphs += piece.glyphs;
        line.measure();
    }
    lines = joined;
}

QVector<bool> scannedPictures(const QVector<TextLine>& keptHidden, fz_rect mediabox, const PageGraphics& graphics)
{
    QVector<bool> scanned(graphics.shapes.size(), false);
    if (keptHidden.isEmpty())
        return scanned;
    for (int s = 0; s < graphics.shapes.size(); ++s) {
        const Shape& shape = graphics.shapes[s];
        if (shape.kind != Shape::Picture)
            continue;
        float text = 0;
        for (const TextLine& line : keptHidden) {
            if (middleInside(line.box, shape.box))
                text += area(fz_intersect_rect(line.box, shape.box));
        }
        const bool wholePage = area(shape.box) >= kPageShare * area(mediabox);
        scanned[s] = text > 0 && (wholePage || text >= kScannedShare * area(shape.box));
    }
    return scanned;
}

} // namespace p2w
