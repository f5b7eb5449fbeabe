#include "platform/pdf2word/engine/UnmappedText.h"

#include "platform/mupdf/FitzFrame.h"
#include "platform/pdf2word/engine/LayoutGeometry.h"
#include "platform/pdf2word/engine/TextRecognizer.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace p2w {

namespace {

// Glyphs print sharp enough for OCR at this resolution; a picture larger than kMostPixels (the
// runs of a poster) is drawn at less.
const float kReadingDpi = 300;
const double kMostPixels = 40e6;
// A recognised word belongs to the run that holds this share of its box.
const float kLeastOverlap = 0.3f;

struct Run
{
    int line = 0;
    int from = 0; // first and last glyph of the run
    int to = 0;
    fz_rect box = fz_empty_rect;
    QVector<int> words;
};

int middleBand(const fz_rect& box)
{
    return bandOf((box.y0 + box.y1) / 2);
}

QVector<Run> findRuns(const QVector<TextLine>& lines)
{
    QVector<Run> runs;
    for (int l = 0; l < lines.size(); ++l) {
        const QVector<Glyph>& glyphs = lines[l].glyphs;
        for (int i = 0; i < glyphs.size(); ++i) {
            if (!isUnmappedCharacter(glyphs[i].c))
                continue;
            Run run;
            run.line = l;
            run.from = run.to = i;
            // Spaces between unmapped glyphs belong to the run.
            for (int j = i + 1; j < glyphs.size() && (glyphs[j].isSpace() || isUnmappedCharacter(glyphs[j].c)); ++j) {
                if (!glyphs[j].isSpace())
                    run.to = j;
            }
            for (int j = run.from; j <= run.to; ++j)
                run.box = fz_union_rect(run.box, glyphs[j].box);
            runs.append(run);
            i = run.to;
        }
    }
    return runs;
}

// Draws the glyphs black on white within area; null when MuPDF failed.
fz_pixmap* drawGlyphs(fz_context* ctx, const QVector<UnmappedGlyph>& glyphs, fz_rect area, float dpi)
{
    static const float black[1] = {0};
    const fz_matrix scale = fz_scale(dpi / 72, dpi / 72);
    fz_pixmap* pixmap = nullptr;
    fz_text* text = nullptr;
    fz_device* device = nullptr;
    const bool ok = fzRun(ctx, [&] {
        pixmap = fz_new_pixmap_with_bbox(ctx, fz_device_gray(ctx), fz_round_rect(fz_transform_rect(area, scale)),
                                         nullptr, 0);
        fz_clear_pixmap_with_value(ctx, pixmap, 255);
        text = fz_new_text(ctx);
        for (const UnmappedGlyph& glyph : glyphs)
            fz_show_glyph(ctx, text, glyph.font, glyph.trm, glyph.gid, 0xFFFD, 0, 0, FZ_BIDI_LTR, FZ_LANG_UNSET);
        device = fz_new_draw_device(ctx, scale, pixmap);
        fz_fill_text(ctx, device, text, fz_identity, fz_device_gray(ctx), black, 1, fz_default_color_params);
        fz_close_device(ctx, device);
    });
    fz_drop_device(ctx, device);
    fz_drop_text(ctx, text);
    if (!ok) {
        fz_drop_pixmap(ctx, pixmap);
        return nullptr;
    }
    return pixmap;
}

// The glyphs of a recognised word, spread over its box: left to right, or right to left for a
// word of a right-to-left script, as the line's glyphs stand until they are put in read order.
void appendWord(const QString& word, const fz_rect& box, const Glyph& model, QVector<Glyph>* glyphs)
{
    const QVector<uint> characters = word.toUcs4();
    bool rightToLeft = false;
    for (const QChar c : word)
        rightToLeft = rightToLeft || c.direction() == QChar::DirR || c.direction() == QChar::DirAL;
    const float step = (box.x1 - box.x0) / std::max(1, characters.size());
    for (int i = 0; i < characters.size(); ++i) {
        Glyph glyph = model;
        glyph.c = char32_t(characters[i]);
        const int place = rightToLeft ? characters.size() - 1 - i : i;
        glyph.box.x0 = box.x0 + place * step;
        glyph.box.x1 = glyph.box.x0 + step;
        glyph.shift = Shift::Base;
        glyphs->append(glyph);
    }
}

// The run's glyphs made of its words, in the order they stand on the page.
QVector<Glyph> runGlyphs(const TextLine& line, const Run& run, const QVector<TextRecognizer::Word>& words,
                         const QVector<fz_rect>& boxes)
{
    QVector<int> order = run.words;
    std::sort(order.begin(), order.end(), [&](int a, int b) { return boxes[a].x0 < boxes[b].x0; });
    const Glyph& model = line.glyphs[run.from];
    QVector<Glyph> glyphs;
    for (int w : order) {
        fz_rect box = boxes[w];
        box.y0 = run.box.y0;
        box.y1 = run.box.y1;
        if (!glyphs.isEmpty()) {
            Glyph space = model;
            space.c = U' ';
            space.box.x0 = glyphs.back().box.x1;
            space.box.x1 = std::max(space.box.x0, box.x0);
            space.box.y0 = box.y0;
            space.box.y1 = box.y1;
            glyphs.append(space);
        }
        appendWord(words[w].text, box, model, &glyphs);
    }
    return glyphs;
}

void dropEmptyLines(QVector<TextLine>* lines)
{
    QVector<TextLine> kept;
    kept.reserve(lines->size());
    for (TextLine& line : *lines) {
        while (!line.glyphs.isEmpty() && line.glyphs.front().isSpace())
            line.glyphs.removeFirst();
        while (!line.glyphs.isEmpty() && line.glyphs.back().isSpace())
            line.glyphs.removeLast();
        if (line.glyphs.isEmpty())
            continue;
        line.measure();
        kept.append(line);
    }
    *lines = kept;
}

} // namespace

bool isUnmappedCharacter(char32_t c)
{
    return c == 0xFFFD || (c >= 0xE000 && c <= 0xF8FF) || c >= 0xF0000;
}

void readUnmappedText(fz_context* ctx, const QVector<UnmappedGlyph>& glyphs, TextRecognizer* recognizer,
                      fz_cookie* cookie, QVector<TextLine>* lines, QStringList* notes)
{
    QVector<Run> runs = findRuns(*lines);
    if (runs.isEmpty())
        return;
    int characters = 0;
    fz_rect region = fz_empty_rect;
    for (const Run& run : runs) {
        characters += run.to - run.from + 1;
        region = fz_union_rect(region, run.box);
    }
    region = fz_make_rect(region.x0 - 4, region.y0 - 4, region.x1 + 4, region.y1 + 4);
    float dpi = kReadingDpi;
    const double pixels = double(area(region)) * dpi * dpi / (72.0 * 72.0);
    if (pixels > kMostPixels)
        dpi = float(dpi * std::sqrt(kMostPixels / pixels));

    QVector<TextRecognizer::Word> words;
    QString error;
    bool read = false;
    if (!recognizer || glyphs.isEmpty()) {
        error = recognizer ? QStringLiteral("its glyphs cannot be drawn") : QStringLiteral("no OCR languages");
    } else if (fz_pixmap* pixmap = drawGlyphs(ctx, glyphs, region, dpi)) {
        read = recognizer->read(
            fz_pixmap_samples(ctx, pixmap), fz_pixmap_width(ctx, pixmap),
            fz_pixmap_height(ctx, pixmap), int(fz_pixmap_stride(ctx, pixmap)), qRound(dpi),
            [cookie] { return !aborted(cookie); }, &words, &error);
        const fz_irect origin = fz_pixmap_bbox(ctx, pixmap);
        // Pixels back to points.
        for (TextRecognizer::Word& word : words)
            word.box.translate(origin.x0, origin.y0);
        fz_drop_pixmap(ctx, pixmap);
    } else {
        error = QString::fromUtf8(fz_caught_message(ctx));
    }
    if (aborted(cookie))
        return;
    if (!read)
        notes->append(QStringLiteral("%1 characters in a font without a Unicode map left out: %2").arg(characters).arg(error));

    // Each word goes to the run that holds the most of it.
    QVector<fz_rect> boxes;
    boxes.reserve(words.size());
    for (const TextRecognizer::Word& word : words) {
        const float toPoints = 72 / dpi;
        boxes.append(fz_make_rect(word.box.left() * toPoints, word.box.top() * toPoints,
                                  (word.box.right() + 1) * toPoints, (word.box.bottom() + 1) * toPoints));
    }
    // Runs by the bands their words' middles can fall in; a run reaching into more bands than
    // that (a hostile box as tall as the coordinate space) is weighed against every word instead.
    int firstBand = 0;
    int lastBand = -1;
    for (int w = 0; w < boxes.size(); ++w) {
        const int band = middleBand(boxes[w]);
        firstBand = w == 0 ? band : std::min(firstBand, band);
        lastBand = w == 0 ? band : std::max(lastBand, band);
    }
    QHash<int, QVector<int>> runsByBand;
    QVector<int> tallRuns;
    for (int r = 0; r < runs.size(); ++r) {
        const int first = std::max(bandOf(runs[r].box.y0), firstBand);
        const int last = std::min(bandOf(runs[r].box.y1), lastBand);
        if (last - first > kMostBands) {
            tallRuns.append(r);
            continue;
        }
        for (int band = first; band <= last; ++band)
            runsByBand[band].append(r);
    }
    for (int w = 0; w < boxes.size(); ++w) {
        const fz_rect& box = boxes[w];
        int best = -1;
        float bestShare = kLeastOverlap;
        for (const QVector<int>& candidates : {runsByBand.value(middleBand(box)), tallRuns}) {
            for (int r : candidates) {
                const float share = area(fz_intersect_rect(box, runs[r].box)) / std::max(1e-3f, area(box));
                if (share > bestShare) {
                    best = r;
                    bestShare = share;
                }
            }
        }
        if (best >= 0)
            runs[best].words.append(w);
    }

    // Each run's glyphs replaced by its words, from the last run of a line to the first.
    for (int r = runs.size() - 1; r >= 0; --r) {
        const Run& run = runs[r];
        TextLine& line = (*lines)[run.line];
        line.glyphs = line.glyphs.mid(0, run.from) + runGlyphs(line, run, words, boxes) + line.glyphs.mid(run.to + 1);
    }
    dropEmptyLines(lines);
}

} // namespace p2w
