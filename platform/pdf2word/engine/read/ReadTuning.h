#pragma once

#include "platform/pdf2word/engine/model/Tuning.h"

namespace p2w {

// The values that decide how the read stage takes a page apart: each group is one topic, each
// member says what it decides. Sizes are in points, "ems" in the text's size, shares of one.
// A benchmark run may try other values without a rebuild (TuningFile.h); the code reads them
// through readTuning().
struct ReadTuning
{
    // Glyphs joined into lines and words (PageReader).
    struct Lines
    {
        // Pieces on one baseline closer than this many ems are one line MuPDF split at a wide gap.
        float joinGap = 0.9f;
        // ...or this many ems after a short label (a note's number, a list's bullet).
        float labelGap = 3.0f;
        // A font whose weight class is at least this (semibold) is set bold.
        int boldWeight = 600;
        // A gap between glyphs wider than this many ems is a space between words.
        float spaceGap = 0.2f;
        // One baseline: within this share of the smaller size...
        float sameBaseline = 0.25f;
        // ...for sizes at least this share of one another.
        float sameLineSizes = 0.8f;
        // Two lines printed over each other overlap by more than this many ems.
        float mostOverlap = 0.5f;
        // An index or exponent is set smaller than this share of its line...
        float shiftedSize = 0.85f;
        // ...and stands at most this many ems away.
        float shiftedGap = 0.4f;
        // Glyphs below this share of the line's size can be raised or lowered...
        float baseSize = 0.9f;
        // ...raised by more than this many ems: a superscript...
        float raised = 0.2f;
        // ...lowered by more than this many ems: a subscript.
        float lowered = 0.08f;
        // A gap narrower than this many ems before or after a raised or lowered glyph is no space.
        float shiftGap = 0.12f;
        // A glyph's box taller than this many of its sizes is its font's made-up one.
        float tallestGlyph = 2.0f;
        // A letter stands this share of its size above its baseline.
        float ascent = 0.8f;
        // A line printed again within this many ems of itself is printed over itself.
        float overprint = 0.1f;
        // An accent stands over a letter when at least this share of its width lies over it.
        float accentOverShare = 0.5f;
        // CJK spaces drawn are matched to the text's spaces within this many points.
        float cjkPlaceStep = 0.25f;
    } lines;

    // Rulings and shapes (PageDevice).
    struct Graphics
    {
        // A stroke or rectangle at most this many points thick can be a table's ruling.
        float thinnest = 2.5f;
        // A segment is axis-aligned within this many points over its length.
        float straight = 0.5f;
        // Rectangles of one path tile its bounds when their areas add up within this share.
        float tiledShare = 0.02f;
    } graphics;

    // A page's hidden text layer (HiddenText).
    struct Hidden
    {
        // A hidden line whose box is covered this much by shown text repeats that text.
        float repeatedShare = 0.3f;
        // A picture of at least this share of the page is its scan when hidden lines lie on it...
        float pageShare = 0.5f;
        // ...a smaller one when they cover this share of it.
        float scannedShare = 0.05f;
        // The next piece of a layer line starts within this many ems of the one before.
        float pieceGap = 3.0f;
        // A layer of at least this many words is judged (fewer tell too little).
        int leastJudgedWords = 10;
        // It reads its picture when this share of its words of one spaced script are known words...
        float leastKnownShare = 0.5f;
        // ...and this share of its words stand on ink.
        float leastInkedShare = 0.5f;
        // A paragraph of the page's own: two shown lines at most this many sizes apart...
        float paragraphPitch = 2.0f;
        // ...with this many words or more together.
        int ownParagraphWords = 12;
    } hidden;

    // Figures in a scanned page (ScanFigures).
    struct Scan
    {
        // The scan is looked at in cells of this many points...
        float cell = 3.0f;
        // ...decoded at about this resolution (dpi).
        float lookDpi = 100.0f;
        // Paper is the brightness most of the scan has: this share of its pixels is darker.
        float paperShare = 0.9f;
        // Ink is darker than this share of the paper's brightness...
        float inkLevel = 0.78f;
        // ...and a cell is ink when this share of its pixels are.
        float inkShare = 0.08f;
        // Around a line's box this many of its ems are its text too (descenders, underlines).
        float textMargin = 0.3f;
        // Printed text inks at least this share of the cells of its line's box...
        float leastTextInk = 0.3f;
        // ...and a line of at most this many words inked more thinly is OCR's reading of a drawing.
        int mostGuessWords = 3;
        // Ink cells this many cells apart belong to one region.
        int linkCells = 2;
        // Regions this many points apart are one.
        float near = 6.0f;
        // A rule is ink at least this many cells long...
        int leastRun = 6;
        // ...at most this many cells thick...
        int thinCells = 2;
        // ...with at most this share of the cells beside it ink.
        float thinShare = 0.3f;
        // A figure's sides are at least this many points.
        float leastSide = 18.0f;
        // A figure has at least this many ink cells that are no rule...
        int leastDrawing = 8;
        // ...and at least this share of its ink.
        float drawingShare = 0.03f;
        // Points of paper kept around a figure's picture.
        float margin = 2.0f;
        // Points of paper kept around a scan kept whole.
        float paperAround = 12.0f;
    } scan;

    // Text of fonts without a Unicode map, read by OCR (GlyphPictures, TextRecognizer, UnmappedRuns).
    struct Ocr
    {
        // Glyphs are drawn for OCR at this resolution (dpi).
        float readingDpi = 300;
        // Points of white around the glyphs (Tesseract finds text better away from the edges).
        float margin = 4;
        // A pixel darker than this is ink.
        int ink = 128;
        // Below this confidence the script detection's answer is a guess.
        float leastScriptConfidence = 2;
        // A look's letters tell its script when there are at least this many...
        int leastLetters = 3;
        // ...and this share of them are of one script.
        double oneScript = 0.9;
    } ocr;
};

inline const ReadTuning& readTuning()
{
    return changeableTuning<ReadTuning>();
}

} // namespace p2w
