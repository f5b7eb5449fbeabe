#pragma once

#include "platform/pdf2word/engine/model/Tuning.h"

namespace p2w {

// The values that decide how the document stage joins the pages into one flowing document and
// draws its figures: each group is one topic, each member says what it decides. Sizes are in
// points, "ems" in the text's size, shares of one. A benchmark run may try other values without
// a rebuild (TuningFile.h); the code reads them through documentTuning().
struct DocumentTuning
{
    // Pages, their margins and where a page is ended on purpose (DocumentBuilder, DocumentColumns).
    struct Pages
    {
        // The document keeps at least this margin from the source (a quarter inch)...
        double leastMargin = 18;
        // ...and at most this (an inch and a quarter).
        double mostMargin = 90;
        // The text area reaches this much below the last line's glyphs.
        double lastLineRoom = 6;
        // A page whose body ends this share of its height above where pages usually end was ended on purpose.
        double shortPage = 0.2;
        // ...as was one with room for the next page's first item and this many lines more.
        double linesToSpare = 3;
        // The size of a line where the item is no paragraph.
        float usualLineSize = 12;
        // Pages whose sides differ by less than this are of one size.
        double sameSize = 2;
        // Columns on the next page go on from those before when each edge stands within this.
        float sameColumnEdge = 6;
        // A column ending this many of its last lines above where the columns end was ended short.
        float shortColumnLines = 1.5f;
    } pages;

    // Paragraphs, boxes and the space between them (DocumentBuilder, DocumentSpacing).
    struct Paragraphs
    {
        // Lines further apart than this many times their size are not kept so (double spacing is 2.3).
        float mostPitch = 3;
        // A paragraph's edge counts as indented this many ems from its container's.
        float leastIndent = 0.5f;
        // Its right edge counts as narrower only this many ems in (a ragged line ends a word short).
        float narrowerBy = 2.5f;
        // Its lines keep at least this many ems.
        float leastLineEms = 8;
        // A page's last paragraph, in its lower half, this many of its lines below the text above keeps its place.
        float footGapLines = 3;
        // A box stands beside a paragraph level with it for more than this share of the lower one's height.
        float besideShare = 0.5f;
        // A table or picture this many points or fewer in from its container's edge stands at the edge.
        float leastBoxIndent = 3;
        // A line set in its font's own leading is this many times its size high...
        float naturalLeading = 1.15f;
        // ...and its glyphs reach this share of the size below the baseline.
        float descent = 0.22f;
        // Space above a block is kept up to this many points (more is the page's layout).
        float mostSpace = 72;
        // A page's first block keeps the space above it when it stands more than this many lines low.
        float lowLines = 3;
    } paragraphs;

    // Pictures of figures (PictureMaker).
    struct Pictures
    {
        // Drawn figures are drawn at this resolution (dpi)...
        float drawingDpi = 300;
        // ...pictures at their own, but at least this.
        float leastDpi = 96;
        // The most pixels one picture may have (about an A4 page at 300 dpi).
        double mostPixels = 9e6;
        // The least width of a stroke in a drawn figure (a hairline would fade to nothing).
        float leastStrokeWidth = 0.5f;
    } pictures;
};

inline const DocumentTuning& documentTuning()
{
    return changeableTuning<DocumentTuning>();
}

} // namespace p2w
