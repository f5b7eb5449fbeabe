#pragma once

#include "platform/pdf2word/engine/model/Tuning.h"

namespace p2w {

// The values that decide how the layout stage lays a page out: each group is one topic, each
// member says what it decides. Sizes are in points, "ems" in the text's size, shares of one.
// Lines are joined into pieces by the read stage's values (ReadTuning::Lines). A benchmark run
// may try other values without a rebuild (TuningFile.h); the code reads them through
// layoutTuning().
struct LayoutTuning
{
    // Lines, rows and edges, as several steps see them.
    struct Lines
    {
        // Pieces of one row have baselines within this share of their size.
        float sameRow = 0.3f;
        // The next line of a block lies more than this share of the smaller size lower (not a
        // piece of the same line).
        float leastDrop = 0.3f;
        // Running text holds this many words a line on average.
        float proseWords = 5.0f;
        // A table cell's wrapped line follows within this many of its ems...
        float wrapPitch = 1.6f;
        // ...and closer than this share of the table's usual pitch between rows.
        float wrapShare = 0.85f;
        // Edges this many points apart are one (gutters and shaded cells).
        float sameEdge = 2.0f;
        // A shape covering this share of the page is its background.
        float backgroundShare = 0.8f;
    } lines;

    // Check boxes drawn as squares (CheckBoxes).
    struct CheckBoxes
    {
        // A check box is a square at least this many points...
        float smallestBox = 4.0f;
        // ...and at most this many points...
        float largestBox = 16.0f;
        // ...its sides within this share of each other.
        float square = 0.25f;
        // It stands on a line when its middle lies within the line's height widened by this share.
        float onLine = 0.3f;
        // Its label stands at most this many ems away.
        float labelGap = 4.0f;
        // A fill under a square outline covering this share of it makes it a swatch.
        float swatchShare = 0.5f;
        // Pieces of a line parted by a check box closer than this many ems are one line.
        float joinGap = 0.9f;
    } checkBoxes;

    // Fills behind words (Highlights).
    struct Highlights
    {
        // A highlight is at least this share of its line's size high...
        float leastHeight = 0.8f;
        // ...and at most this share.
        float mostHeight = 1.7f;
        // It reaches at most this many ems past the first and last glyph it covers...
        float mostReach = 0.6f;
        // ...and the words it covers are less than this many ems apart.
        float mostWordGap = 1.5f;
    } highlights;

    // Pictures in a line of text (InlineFigures).
    struct InlineFigures
    {
        // A picture in a line is at most this many times the line's size high...
        float mostHeight = 2.5f;
        // ...with this share of its height or more within the line's...
        float leastOverlap = 0.5f;
        // ...or its foot within this share of the line's size of its baseline or foot...
        float baselineReach = 0.5f;
        // ...and no further than this many ems from the line's glyphs.
        float mostGap = 2.0f;
        // A space goes beside it where the next glyph stands further than this share of an em.
        float spaced = 0.1f;
        // Pieces this many ems apart or less, one ending or starting with a picture, are one line.
        float joinGap = 2.0f;
    } inlineFigures;

    // Ruled tables (TableFinder).
    struct RuledTables
    {
        // Rulings this many points apart are one.
        float snap = 2.0f;
        // A ruling reaches a crossing this many points away.
        float reach = 3.0f;
        // Shorter strokes are dots or ticks, no rulings.
        float shortest = 4.0f;
        // Edges closer than this are the two strokes of a double border.
        float doubleBorder = 4.0f;
        // A diagram's connector (an arrow's shaft or head) is at most this many points across.
        float widestConnector = 12.0f;
        // A mark drawn in a table's cells is at most this many points across.
        float largestSymbol = 36.0f;
        // A chart's grid holds text in fewer than this share of its cells.
        float leastHoldingShare = 1.0f / 3;
    } ruledTables;

    // Tables of shaded cells (ShadedTables).
    struct ShadedTables
    {
        // Fills this many points apart are neighbouring cells.
        float gap = 4.5f;
        // Neighbours overlap along their shared side by at least this share of the shorter one.
        float sideShare = 0.8f;
        // Banded rows: an unfilled row between two fills at most this many times the taller's height.
        float bandGap = 1.6f;
        // A table of shaded cells has at least this many fills...
        int leastFills = 3;
        // ...and at least this many rows holding text in two or more cells.
        int leastRows = 2;
        // A fill lighter than this in every channel is white on white: no shading.
        int lightest = 0xF6;
        // A column tinted alone holds at least this many rows...
        int leastColumnRows = 3;
        // ...of at most this many words each.
        int mostColumnWords = 3;
        // Text beside a tinted column belongs to its table when this share of its lines keep to its rows...
        float besideOnRows = 0.6f;
        // ...and they cover this share of them.
        float rowsCovered = 0.5f;
        // A line reaching this many ems out of the fills is text the fills lie behind.
        float mostOverhang = 1.0f;
    } shadedTables;

    // Tables of text without rulings (TextTables).
    struct TextTables
    {
        // Rows of one table are at most this many ems apart.
        float mostRowGap = 3.2f;
        // A table has at least this many rows of two or more pieces.
        int leastRows = 3;
        // A row of one short piece (a section's label) may sit in a table: at most this many words.
        int mostLabelWords = 6;
    } textTables;

    // Gutters between the columns of text (TextGutters).
    struct Gutters
    {
        // A gutter is at least this many ems wide.
        float leastGutter = 0.6f;
        // A cell's text stands this many ems from its edge.
        float cellPadding = 0.25f;
        // Gutters are sought every this many points.
        float sampleStep = 0.5f;
        // One row in this many may reach into a gutter with its text.
        int rowsPerIntruder = 10;
        // A gutter parts columns where at least this many rows have text on both sides of it.
        int leastRows = 2;
    } gutters;

    // Text laid into the cells of a table (TextInCells).
    struct TextInCells
    {
        // A line parted by a new edge takes at least this many ems of a part to be in it.
        float leastShare = 0.5f;
        // Lines in sizes further apart than this share are two entries (a form's label over its value).
        float otherSize = 0.15f;
        // A space between words is about this many ems wide.
        float space = 0.25f;
    } textInCells;

    // Running text as the table finders see it (RunningText).
    struct RunningText
    {
        // A paragraph's next line has its baseline at least this many ems lower...
        float leastPitch = 0.8f;
        // ...and at most this many...
        float mostPitch = 1.8f;
        // ...in a size within this share of the line's.
        float sameSize = 0.15f;
        // Edges of one column stand within this many points.
        float sameEdge = 1.5f;
        // A first line's indent is at most this many ems.
        float mostIndent = 3.0f;
        // A word gap of a justified line is at most this many ems.
        float widestWordGap = 3.0f;
        // Running text has paragraphs of at least this many lines.
        int leastLines = 3;
        // Pieces of one line have baselines within this share of the line's size.
        float sameBaseline = 0.25f;
    } runningText;

    // Panels: boxes and sidebars around text (Panels).
    struct Panels
    {
        // A panel is at least this many ems of its text wide.
        float leastPanelEms = 2.0f;
        // This many drawn shapes inside a box make it a drawing's frame.
        int leastDrawnShapes = 2;
        // A panel at most this share of the page wide stands beside the text.
        float sidePanelShare = 0.5f;
        // A hairline frame around text is at least this many points wide and high.
        float leastFrame = 12.0f;
        // Bands of one box meet within this many points.
        float bandJoint = 1.0f;
    } panels;

    // Figures of drawn shapes and pictures, and their labels (FigureFinder).
    struct Figures
    {
        // Shapes this many points apart belong to one figure.
        float near = 6.0f;
        // The smallest figure of drawn shapes (points).
        float smallestDrawing = 8.0f;
        // The smallest figure of a picture (points).
        float smallestPicture = 4.0f;
        // A region whose lines cover more than this share of it holds text, not labels.
        float mostlyText = 0.3f;
        // A label stands within this many of its ems of the drawing's edge...
        float labelReach = 0.6f;
        // ...a turned one (an axis title) within this many.
        float turnedLabelReach = 2.5f;
        // A label inside a drawing has at most this many words...
        int mostInnerLabelWords = 6;
        // ...or this many standing alone (a chart's title).
        int mostTitleWords = 12;
        // A drawing's labels together have at most this many words.
        int mostLabelsWords = 100;
        // A label beside a drawing has at most this many words...
        int mostLabelWords = 4;
        // ...and is at most this share of the drawing's width.
        float labelWidthShare = 0.5f;
        // A paragraph's neighbour line has its baseline at least this many ems away...
        float neighbourLeastDrop = 0.5f;
        // ...at most this many...
        float neighbourMostDrop = 1.6f;
        // ...and its size within this share of the line's.
        float neighbourSizes = 0.2f;
        // A drawing of fewer thin strokes than this is a frame or rules, no figure.
        int leastStrokes = 4;
        // In a region that holds text, a drawing of this share of the page lies behind it.
        float backdropShare = 0.05f;
        // A strip of a background picture is at least this share of the page wide.
        float stripWidth = 0.9f;
        // A drawing of rules with this share of its lines in a table is the table.
        float tableShare = 0.5f;
        // A band behind a table's row reaches across this share of its width.
        float bandShare = 0.9f;
        // A chart's lone grid line is as long as the others within this many points...
        float gridSameEnd = 1.5f;
        // ...at most this high (a stroke's box, grown by its width)...
        float gridThinLine = 8;
        // ...and at most this many pitches from the nearest.
        float gridPitchReach = 1.2f;
    } figures;

    // Lines of text joined into blocks, and blocks side by side (BlockRows).
    struct BlockRows
    {
        // The next line of a block lies less than this many of the larger sizes lower...
        float mostDrop = 1.8f;
        // ...in sizes at least this share of one another.
        float likeSizes = 0.75f;
        // A line is centred on its block's axis within this many points...
        float axisPoints = 1.5f;
        // ...or this share of its size, whichever is more.
        float axisShare = 0.2f;
        // Edges closer than this many points are flush.
        float flushPoints = 0.5f;
        // A centred block has at most this many lines.
        int mostBlockLines = 8;
        // The first baselines of a row's blocks lie within this share of their size.
        float rowBaseline = 0.5f;
        // What stands less than this many sizes above a block spans the row's middle (a title).
        float aboveGap = 4.0f;
        // A line less than this many sizes under every block: the row is the head of a table.
        float belowGap = 2.0f;
    } blockRows;

    // Columns of the page (PageColumns).
    struct Columns
    {
        // Points a box may reach past the edge it keeps to (a justified line's overhang).
        float slack = 2;
        // Columns are at least this many points apart.
        float leastGutter = 4;
        // Text in columns holds at least this many lines (or a table, picture or box).
        int leastLines = 3;
        // A column narrower than this many points holds no running text.
        float leastTextColumnWidth = 72;
    } columns;

    // Reading order (ReadingOrder).
    struct ReadingOrder
    {
        // A line this many times as high as wide is turned on its side.
        float turned = 3.0f;
        // Text runs on under a floating obstacle at most this many line heights below it.
        float floatGap = 4.5f;
    } readingOrder;

    // Paragraphs, headings, lists and footnotes (PageLayout).
    struct Paragraphs
    {
        // The top and bottom share of the page where running heads and page numbers stand.
        float marginShare = 0.12f;
        // The next line of a block lies less than this many of the larger sizes lower...
        float mostDrop = 2.6f;
        // ...in sizes at least this share of one another.
        float likeSizes = 0.6f;
        // Sizes further apart than this share part a heading from its text.
        float sizeChange = 0.15f;
        // A pitch this many times the block's usual one is the space between two paragraphs.
        float widerPitch = 1.3f;
        // A heading without a full stop over its text leaves at least this share of the column free.
        float headingRoom = 0.25f;
        // Justified lines have word gaps wider or narrower than their font's by more than this many ems.
        float stretchedGap = 0.08f;
        // Lines that end within this many points of one another end together.
        float sameEnd = 1.0f;
        // A first-line indent is more than this many ems...
        float leastIndent = 0.8f;
        // ...and less than this many (wider is a different column)...
        float mostIndent = 8.0f;
        // ...and the lines around it start within this many ems of the column's edge.
        float flushIndent = 0.5f;
        // A list without bullets has at least this many lines in one size...
        int leastListLines = 3;
        // ...evenly spaced: pitches within this share of one another.
        float evenPitch = 1.1f;
        // A footnote rule is at least this many points long...
        float shortestNoteRule = 30.0f;
        // ...at most this share of the page's width...
        float noteRuleShare = 0.45f;
        // ...with at least this many lines above it...
        int linesAboveNotes = 3;
        // ...and notes set smaller than this share of the body's size.
        float noteSize = 0.95f;
    } paragraphs;
};

inline const LayoutTuning& layoutTuning()
{
    return changeableTuning<LayoutTuning>();
}

} // namespace p2w
