#pragma once

// What the engine reads from one page before it decides the reading order: the text as lines of
// glyphs, and the page's graphics as ruling lines, drawn shapes and pictures. Page space, points,
// y downwards.

#include "platform/pdf2word/engine/model/Fitz.h"

#include <QHash>
#include <QString>
#include <QVector>

namespace p2w {

// Whether the page's work is to end: the cookie of a page run aborted (its time limit passed, or
// the caller stopped); a null cookie never is.
inline bool aborted(const fz_cookie* cookie)
{
    return cookie && __atomic_load_n(&cookie->abort, __ATOMIC_RELAXED);
}

// A glyph's place relative to its line: set on the baseline, raised or lowered.
enum class Shift {
    Base = 0,
    Super = 1,
    Sub = -1
};

struct Glyph
{
    char32_t c = 0;
    fz_rect box;
    float baseline = 0; // y of the glyph's origin
    float size = 0;     // points
    int look = -1;      // index into the document's looks; -1 for a space
    Shift shift = Shift::Base;
    int color = 0;       // 0xRRGGBB
    int background = -1; // 0xRRGGBB of a highlight drawn behind it; -1 for none
    int figure = -1;     // a picture standing in the line (U+FFFC): its index among the page's figures

    bool isSpace() const { return c == U' '; }
};

// A space glyph filling the gap between two glyphs of a line, on its baseline.
Glyph spaceBetween(const Glyph& before, const Glyph& after);

// The text a glyph stands for (Arabic presentation forms as the letters they show).
QString glyphText(char32_t c);

// The font of a run of text, as the outputs name it.
struct Look
{
    QString font; // family name
    bool bold = false;
    bool italic = false;
    bool monospace = false; // every glyph as wide as the next: code, listings, tables of figures
};

// Glyphs on one baseline in reading order (right-to-left text in logical order).
struct TextLine
{
    QVector<Glyph> glyphs;
    fz_rect box = fz_empty_rect;
    float baseline = 0;
    float size = 0; // the size most of the line is set in
    bool rtl = false;
    bool vertical = false;  // not set left to right or right to left (rotated labels)
    bool monospace = false; // most of it set in a monospace font (a line of code)
    bool alone = false;     // a paragraph of its own (a row of a table of contents, a display equation)

    QString text() const;
    // Recomputes box, baseline and size from the glyphs.
    void measure();
};

// A horizontal or vertical stroke of the page (a table's ruling), x0 <= x1, y0 <= y1.
struct Rule
{
    float x0, y0, x1, y1;
    bool horizontal() const { return y1 - y0 <= x1 - x0; }
};

// Something drawn that is not text: a path, a shading or a picture.
struct Shape
{
    enum Kind {
        Path,
        Picture,
        Shading
    };
    Kind kind = Path;
    fz_rect box;
    bool thin = false;        // a line or a hairline rectangle (may be part of a ruling)
    bool transparent = false; // drawn with a soft mask, a blend or less than full opacity
    // For a Path: its outline is an upright rectangle (a box, a frame, a bar), and whether lines
    // cross it from corner to corner (a ticked check box); filled or stroked, in which colour.
    bool rectangle = false;
    bool crossed = false;
    bool filled = false;
    int color = 0;             // 0xRRGGBB of the fill, else of the stroke
    fz_image* image = nullptr; // for a Picture: borrowed from the display list
    fz_matrix ctm;             // for a Picture: where the image's unit square goes
    // For a Picture: words it shows that the page does not give as its text (the text layer of a
    // scan kept as a picture), for its description.
    QString description;
    int id = -1; // its place in the page's list of shapes
};

// A glyph of a font without a usable Unicode map (U+FFFD or a private-use code in the text),
// to be drawn alone and read back by OCR. The font is borrowed from the display list. In the
// page's lines such a glyph stands as the code that names its place in PageGraphics::unmapped
// (unmappedCode in UnmappedText.h).
struct UnmappedGlyph
{
    fz_font* font = nullptr;
    int gid = 0;
    fz_matrix trm; // the glyph's matrix on the page
    fz_rect box;   // what it draws on the page
};

// Leaves out the shapes marked in gone (as many marks as shapes).
void dropShapes(QVector<Shape>& shapes, const QVector<bool>& gone);

struct PageGraphics
{
    QVector<Rule> rules;
    QVector<Shape> shapes;
    QVector<UnmappedGlyph> unmapped;
    // The letters each font maps, counted by script (QChar::Script): they tell the script of the
    // font's unmapped glyphs.
    QHash<const fz_font*, QHash<int, int>> mappedLetters;
    // The bytes of the lists above that the reading charged against the page's memory cap, given
    // back when the page is done.
    size_t countedBytes = 0;
};

} // namespace p2w
