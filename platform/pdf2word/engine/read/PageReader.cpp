#include "platform/pdf2word/engine/read/PageReader.h"

#include "platform/pdf2word/engine/model/FlowDocument.h"
#include "platform/pdf2word/engine/read/Accents.h"
#include "platform/pdf2word/engine/read/Bidi.h"
#include "platform/pdf2word/engine/read/CjkText.h"
#include "platform/pdf2word/engine/read/FontNames.h"
#include "platform/pdf2word/engine/read/HiddenText.h"
#include "platform/pdf2word/engine/read/PageDevice.h"
#include "platform/pdf2word/engine/read/ReadTuning.h"
#include "platform/pdf2word/engine/read/ScanFigures.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <QMap>

#include <algorithm>
#include <cmath>

namespace p2w {

namespace {

// At most this many lines on about a line's baseline are weighed as printed over it.
const int kMostOverprints = 256;

bool isSpaceCharacter(int c)
{
    return c == ' ' || c == 0xA0 || c == '\t' || (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x3000;
}

float heightOf(const fz_rect& box)
{
    return box.y1 - box.y0;
}

// Leading and trailing spaces go; a run of spaces becomes one. A line of code keeps its leading
// spaces (its indent, which also places it under the lines around it) and its runs of spaces.
void tidySpaces(QVector<Glyph>& glyphs, bool code = false)
{
    QVector<Glyph> kept;
    kept.reserve(glyphs.size());
    for (const Glyph& glyph : glyphs) {
        if (!code && glyph.isSpace() && (kept.isEmpty() || kept.back().isSpace()))
            continue;
        kept.append(glyph);
    }
    while (!kept.isEmpty() && kept.back().isSpace())
        kept.removeLast();
    glyphs = kept;
}

// Joins line b into line a: the glyphs in order of their place on the page, a space where a
// word gap separates the two.
void join(TextLine& a, const TextLine& b)
{
    QVector<Glyph> all = a.glyphs + b.glyphs;
    std::stable_sort(all.begin(), all.end(), [](const Glyph& x, const Glyph& y) {
        return x.box.x0 + x.box.x1 < y.box.x0 + y.box.x1;
    });
    QVector<Glyph> spaced;
    spaced.reserve(all.size() + 2);
    const float em = std::max(a.size, b.size);
    for (const Glyph& glyph : all) {
        if (!spaced.isEmpty() && !glyph.isSpace() && !spaced.back().isSpace()
            && glyph.box.x0 - spaced.back().box.x1 > readTuning().lines.spaceGap * em && !noSpaceBetween(spaced.back().c, glyph.c))
            spaced.append(spaceBetween(spaced.back(), glyph));
        spaced.append(glyph);
    }
    a.glyphs = spaced;
    tidySpaces(a.glyphs, a.monospace);
    a.measure();
}

// Whether the line starts as a table's figure or its heading does: a digit, a sign or dash (a
// loss, a blank entry), a percent sign.
bool startsWithFigure(const TextLine& line)
{
    for (const Glyph& glyph : line.glyphs) {
        if (!glyph.isSpace())
            return (glyph.c >= U'0' && glyph.c <= U'9') || glyph.c == U'-' || glyph.c == U'\u2212' || glyph.c == U'\u2013'
                   || glyph.c == U'+' || glyph.c == U'%';
    }
    return false;
}

bool horizontal(const TextLine& line)
{
    return !line.vertical;
}

// b belongs to line a: on its baseline and near, or a smaller piece raised or lowered beside it.
bool belongsTo(const TextLine& a, const TextLine& b)
{
    if (!horizontal(a) || !horizontal(b) || a.glyphs.isEmpty() || b.glyphs.isEmpty())
        return false;
    const float gap = std::max(b.box.x0 - a.box.x1, a.box.x0 - b.box.x1);
    const float larger = std::max(a.size, b.size);
    const float smaller = std::min(a.size, b.size);
    // A short label before its text (a note's number, a list's bullet) may stand further off;
    // a short entry before a figure (a table's "25g   334", "-   202") is a cell of its own.
    const TextLine& left = a.box.x0 <= b.box.x0 ? a : b;
    const TextLine& right = a.box.x0 <= b.box.x0 ? b : a;
    const float reach = left.glyphs.size() <= 3 && !startsWithFigure(right) ? readTuning().lines.labelGap : readTuning().lines.joinGap;
    if (gap > reach * larger)
        return false;
    if (std::fabs(a.baseline - b.baseline) <= readTuning().lines.sameBaseline * smaller && smaller >= readTuning().lines.sameLineSizes * larger)
        return gap > -readTuning().lines.mostOverlap * larger; // not two lines printed over each other
    if (smaller >= readTuning().lines.shiftedSize * larger || gap > readTuning().lines.shiftedGap * larger)
        return false;
    // A small piece whose middle lies within the larger line's height: an index or exponent,
    // beside the larger line's glyphs, not under or over them (a label near a caption).
    const TextLine& big = a.size >= b.size ? a : b;
    const TextLine& small = a.size >= b.size ? b : a;
    const float middle = (small.box.y0 + small.box.y1) / 2;
    if (middle < big.box.y0 - 0.1f * big.size || middle > big.box.y1 + 0.1f * big.size)
        return false;
    for (const Glyph& glyph : big.glyphs) {
        if (!glyph.isSpace() && glyph.box.x1 > small.box.x0 + 0.5f && glyph.box.x0 < small.box.x1 - 0.5f)
            return false;
    }
    return true;
}

// Leaves out the lines marked gone.
void dropGone(QVector<TextLine>& lines, const QVector<bool>& gone)
{
    QVector<TextLine> kept;
    kept.reserve(lines.size());
    for (int i = 0; i < lines.size(); ++i) {
        if (!gone[i])
            kept.append(lines[i]);
    }
    lines = kept;
}

// The pieces of a line as the extraction gave it: where the next glyph stands wholly before the
// last one with a gap between (the cells of a right-to-left table's row drawn one after the
// other), a new piece starts; joining the pieces again puts a space in each gap.
QVector<TextLine> piecesOf(const TextLine& line)
{
    if (line.vertical)
        return {line};
    QVector<TextLine> pieces(1);
    pieces.front().vertical = false;
    const Glyph* last = nullptr;
    for (const Glyph& glyph : line.glyphs) {
        if (last && !glyph.isSpace() && glyph.box.x1 < last->box.x0 - readTuning().lines.spaceGap * std::max(glyph.size, last->size)) {
            pieces.append(TextLine());
            pieces.back().vertical = false;
        }
        pieces.back().glyphs.append(glyph);
        if (!glyph.isSpace())
            last = &glyph;
    }
    return pieces;
}

// A line printed again over itself shifted by a hair (a bold face made by printing a regular one
// several times) is one line: the same text on about the same baseline from about the same place.
void dropOverprints(QVector<TextLine>& lines, const fz_cookie* cookie)
{
    std::stable_sort(lines.begin(), lines.end(), [](const TextLine& a, const TextLine& b) { return a.baseline < b.baseline; });
    QVector<bool> gone(lines.size(), false);
    for (int i = 0; i < lines.size() && !aborted(cookie); ++i) {
        if (gone[i])
            continue;
        const TextLine& line = lines[i];
        const float reach = readTuning().lines.overprint * line.size;
        QString text;
        for (int j = i + 1; j < lines.size() && j <= i + kMostOverprints && lines[j].baseline - line.baseline <= reach; ++j) {
            const TextLine& other = lines[j];
            if (gone[j] || std::fabs(other.box.x0 - line.box.x0) > reach || std::fabs(other.box.x1 - line.box.x1) > reach
                || other.glyphs.size() != line.glyphs.size())
                continue;
            if (text.isEmpty())
                text = line.text();
            gone[j] = other.text() == text;
        }
    }
    dropGone(lines, gone);
}

// Pieces of one line stand close in baseline order: only this many neighbours on each side are
// weighed (a hostile page may stack thousands of pieces on one baseline).
const int kMostNeighbours = 256;

void joinFragments(QVector<TextLine>& lines, const fz_cookie* cookie)
{
    std::stable_sort(lines.begin(), lines.end(),
                     [](const TextLine& a, const TextLine& b) { return a.baseline < b.baseline; });
    QVector<bool> gone(lines.size(), false);
    for (int i = 0; i < lines.size() && !aborted(cookie); ++i) {
        if (gone[i])
            continue;
        bool grown = true;
        while (grown) {
            grown = false;
            for (int j = i + 1; j < lines.size() && j <= i + kMostNeighbours
                                && lines[j].baseline - lines[i].baseline < 1.5f * lines[i].size;
                 ++j) {
                if (gone[j] || !belongsTo(lines[i], lines[j]))
                    continue;
                join(lines[i], lines[j]);
                gone[j] = true;
                grown = true;
            }
            // A lowered piece may sit before the line in baseline order.
            for (int j = i - 1; j >= 0 && j >= i - kMostNeighbours && lines[i].baseline - lines[j].baseline < 1.5f * lines[i].size;
                 --j) {
                if (gone[j] || !belongsTo(lines[i], lines[j]) || lines[j].size >= lines[i].size)
                    continue;
                join(lines[i], lines[j]);
                gone[j] = true;
                grown = true;
            }
        }
    }
    dropGone(lines, gone);
}

// Glyphs set smaller than the line and off its baseline are raised (exponents, note marks) or
// lowered (indices).
void markShifts(TextLine& line)
{
    if (line.vertical)
        return;
    QVector<float> baselines;
    for (const Glyph& glyph : line.glyphs) {
        if (!glyph.isSpace() && glyph.size >= readTuning().lines.baseSize * line.size)
            baselines.append(glyph.baseline);
    }
    if (baselines.isEmpty())
        return;
    std::nth_element(baselines.begin(), baselines.begin() + baselines.size() / 2, baselines.end());
    const float base = baselines[baselines.size() / 2];
    for (Glyph& glyph : line.glyphs) {
        if (glyph.isSpace() || glyph.size >= readTuning().lines.baseSize * line.size)
            continue;
        const float raised = base - glyph.baseline;
        if (raised > readTuning().lines.raised * line.size)
            glyph.shift = Shift::Super;
        else if (raised < -readTuning().lines.lowered * line.size)
            glyph.shift = Shift::Sub;
    }
    line.baseline = base;
    // A gap MuPDF took for a space between a word and its index or exponent.
    QVector<Glyph> kept;
    kept.reserve(line.glyphs.size());
    for (int i = 0; i < line.glyphs.size(); ++i) {
        const Glyph& glyph = line.glyphs[i];
        if (glyph.isSpace() && i > 0 && i + 1 < line.glyphs.size()) {
            const Glyph& before = line.glyphs[i - 1];
            const Glyph& after = line.glyphs[i + 1];
            const bool shifted = (before.shift != Shift::Base) != (after.shift != Shift::Base);
            if (shifted && after.box.x0 - before.box.x1 < readTuning().lines.shiftGap * line.size && !before.isSpace() && !after.isSpace())
                continue;
        }
        kept.append(glyph);
    }
    line.glyphs = kept;
}

// The size a glyph is set in along its height. An OCR layer stretches each word's glyphs across
// the word's box, which MuPDF counts into the size: the words of one line would differ in size.
float uprightSize(fz_context* ctx, const fz_stext_char* ch)
{
    if (!ch->font)
        return ch->size;
    const float extent = fz_font_ascender(ctx, ch->font) - fz_font_descender(ctx, ch->font);
    const float height = std::hypot(ch->quad.ul.x - ch->quad.ll.x, ch->quad.ul.y - ch->quad.ll.y);
    return extent > 0 && height > 0 ? height / extent : ch->size;
}

void orderRightToLeft(TextLine& line)
{
    int rtl = 0;
    int ltr = 0;
    for (const Glyph& glyph : line.glyphs) {
        if (isRightToLeft(glyph.c))
            ++rtl;
        else if (QChar::isLetter(glyph.c))
            ++ltr;
    }
    if (rtl == 0 || line.vertical)
        return;
    std::stable_sort(line.glyphs.begin(), line.glyphs.end(), [](const Glyph& x, const Glyph& y) {
        return x.box.x0 + x.box.x1 < y.box.x0 + y.box.x1;
    });
    line.rtl = rtl >= ltr;
    toReadingOrder(line.glyphs, line.rtl);
}

} // namespace

Looks::Looks(fz_context* ctx)
    : m_ctx(ctx)
{
}

int Looks::lookOf(fz_font* font)
{
    const auto known = m_byFont.constFind(font);
    if (known != m_byFont.constEnd())
        return known.value();
    const QString name = QString::fromUtf8(fz_font_name(m_ctx, font));
    const QString lower = name.toLower();
    FT_Face face = static_cast<FT_Face>(fz_font_ft_face(m_ctx, font));
    // A font the PDF does not embed is drawn with a stand-in whose file names the stand-in: the
    // PDF's own name is the font's.
    const bool standIn = fz_font_flags(font)->ft_substitute;
    const FontName named = fontNameOf(name, face && face->family_name && !standIn ? QString::fromUtf8(face->family_name) : QString());
    // Bold and italic from the name, the PDF's flags and the font file's own style and weight.
    const TT_OS2* os2 = face ? static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)) : nullptr;
    Look look;
    look.font = named.family;
    look.bold = named.bold || fz_font_is_bold(m_ctx, font) || (face && (face->style_flags & FT_STYLE_FLAG_BOLD))
                || (os2 && os2->usWeightClass >= readTuning().lines.boldWeight);
    look.italic = named.italic || fz_font_is_italic(m_ctx, font) || (face && (face->style_flags & FT_STYLE_FLAG_ITALIC));
    look.monospace = fz_font_is_monospaced(m_ctx, font) || (face && FT_IS_FIXED_WIDTH(face))
                     || lower.contains(QLatin1String("mono")) || lower.contains(QLatin1String("courier"))
                     || lower.contains(QLatin1String("cmtt")) || lower.contains(QLatin1String("typewriter"))
                     || lower.contains(QLatin1String("consol"));
    // A font the PDF gives no name (MuPDF calls it "Unnamed", a Type 3 font "Unnamed-T3") is the
    // usual face of its kind, which every reader has or replaces by one as wide: not the reader's
    // default font, often wider.
    if (look.font.isEmpty() || lower == QLatin1String("unnamed") || lower.startsWith(QLatin1String("unnamed-")))
        look.font = look.monospace                  ? QStringLiteral("Courier New")
                    : fz_font_is_serif(m_ctx, font) ? QStringLiteral("Times New Roman")
                                                    : QStringLiteral("Arial");
    m_fonts.learn(fontFactsOf(m_ctx, font, look.font, look.monospace));
    const QString key = QStringLiteral("%1|%2|%3|%4").arg(look.font).arg(look.bold).arg(look.italic).arg(look.monospace);
    int index = m_byKey.value(key, -1);
    if (index < 0) {
        index = m_looks.size();
        m_looks.append(look);
        m_byKey.insert(key, index);
    }
    m_byFont.insert(font, index);
    return index;
}

PageReader::PageReader(fz_context* ctx, Looks& looks, TextRecognizer* recognizer)
    : m_ctx(ctx)
    , m_looks(looks)
    , m_recognizer(recognizer)
{
}

bool PageReader::read(fz_display_list* list, fz_rect mediabox, fz_cookie* cookie, QVector<TextLine>* lines,
                      PageGraphics* graphics)
{
    if (!readText(list, mediabox, cookie, lines, graphics))
        return false;
    finishLines(lines);
    return true;
}

void PageReader::finishLines(QVector<TextLine>* lines)
{
    for (TextLine& line : *lines) {
        markShifts(line);
        orderRightToLeft(line);
    }
}

bool PageReader::readText(fz_display_list* list, fz_rect mediabox, fz_cookie* cookie, QVector<TextLine>* lines,
                          PageGraphics* graphics)
{
    // The text the page shows and the text it hides, apart.
    fz_stext_page* shownText = nullptr;
    fz_stext_page* hiddenText = nullptr;
    fz_device* shownDevice = nullptr;
    fz_device* hiddenDevice = nullptr;
    fz_device* device = nullptr;
    DrawnSpaces drawnSpaces;
    PageDeviceOptions options;
    options.collect = graphics;
    options.cookie = cookie;
    options.unmappedFonts = &m_unmappedFonts;
    options.drawnSpaces = &drawnSpaces;
    const bool ok = fzRun(m_ctx, [&] {
        shownText = fz_new_stext_page(m_ctx, mediabox);
        hiddenText = fz_new_stext_page(m_ctx, mediabox);
        // Ligatures unfolded, text outside the page left out.
        fz_stext_options textOptions = {FZ_STEXT_MEDIABOX_CLIP, 0};
        shownDevice = fz_new_stext_device(m_ctx, shownText, &textOptions);
        hiddenDevice = fz_new_stext_device(m_ctx, hiddenText, &textOptions);
        options.hiddenTarget = hiddenDevice;
        device = newPageDevice(m_ctx, shownDevice, options);
        fz_run_display_list(m_ctx, list, device, fz_identity, fz_infinite_rect, cookie);
        fz_close_device(m_ctx, device);
        fz_close_device(m_ctx, shownDevice);
        fz_close_device(m_ctx, hiddenDevice);
    });
    fz_drop_device(m_ctx, device);
    fz_drop_device(m_ctx, shownDevice);
    fz_drop_device(m_ctx, hiddenDevice);
    if (ok) {
        m_looks.forgetFonts();
        *lines = linesOf(shownText, &drawnSpaces);
        QVector<TextLine> layer = linesOf(hiddenText, nullptr);
        joinLayerPieces(layer);
        QVector<TextLine> hidden = hiddenLinesToKeep(*lines, layer);
        QVector<bool> scans = scannedPictures(hidden, mediabox, *graphics);
        keepLayersUnread(m_ctx, *lines, &hidden, &scans, graphics, m_recognizer, cookie);
        *lines += hidden;
        keepScanFigures(m_ctx, lines, scans, graphics, cookie);
    }
    fz_drop_stext_page(m_ctx, shownText);
    fz_drop_stext_page(m_ctx, hiddenText);
    if (!ok)
        return false;
    joinFragments(*lines, cookie);
    dropOverprints(*lines, cookie);
    composeAccents(*lines);
    return true;
}

QVector<TextLine> PageReader::linesOf(fz_stext_page* page, const DrawnSpaces* drawn)
{
    QVector<TextLine> lines;
    for (fz_stext_block* block = page->first_block; block; block = block->next) {
        if (block->type != FZ_STEXT_BLOCK_TEXT)
            continue;
        for (fz_stext_line* line = block->u.t.first_line; line; line = line->next) {
            TextLine out;
            out.vertical = std::fabs(line->dir.x) < 0.9f;
            out.glyphs.reserve(64);
            QVector<bool> drawnSpace;
            for (fz_stext_char* ch = line->first_char; ch; ch = ch->next) {
                if (ch->c < 32 && ch->c != '\t')
                    continue;
                Glyph glyph;
                glyph.c = isSpaceCharacter(ch->c) ? U' ' : char32_t(ch->c);
                glyph.box = fz_rect_from_quad(ch->quad);
                glyph.baseline = ch->origin.y;
                glyph.size = drawn ? ch->size : uprightSize(m_ctx, ch);
                if (!out.vertical && heightOf(glyph.box) > readTuning().lines.tallestGlyph * glyph.size) {
                    // A font's bounding box far larger than its glyphs (a Type 3 font's made-up
                    // one): the glyph stands as a letter of its size on its baseline.
                    glyph.box.y0 = glyph.baseline - readTuning().lines.ascent * glyph.size;
                    glyph.box.y1 = glyph.baseline + (1 - readTuning().lines.ascent) * glyph.size;
                }
                glyph.color = ch->color & 0xFFFFFF;
                glyph.look = ch->font ? m_looks.lookOf(ch->font) : -1;
                out.glyphs.append(glyph);
                drawnSpace.append(glyph.isSpace() && drawn && drawn->contains(ch->origin));
            }
            closeCjkGaps(out.glyphs, drawnSpace);
            for (TextLine& piece : piecesOf(out)) {
                int monospace = 0;
                int visible = 0;
                for (const Glyph& glyph : piece.glyphs) {
                    visible += glyph.isSpace() ? 0 : 1;
                    monospace += !glyph.isSpace() && glyph.look >= 0 && m_looks[glyph.look].monospace ? 1 : 0;
                }
                // An OCR layer's font gives every glyph the same width whatever the text's own
                // font: its lines are no code.
                piece.monospace = drawn && monospace * 2 > visible;
                tidySpaces(piece.glyphs, piece.monospace);
                if (piece.glyphs.isEmpty())
                    continue;
                piece.measure();
                if (heightOf(piece.box) > 0)
                    lines.append(piece);
            }
        }
    }
    return lines;
}

} // namespace p2w
