#pragma once

// The terms a page's layout and the flowing document both use for where text stands: a
// paragraph's alignment and a table cell's place in its grid. Apart from the document's model so
// that the layout names them without it.

namespace p2w {

// How a paragraph's lines stand between its margins; Justify fills every line but the last.
enum class Align {
    Left,
    Center,
    Right,
    Justify
};

// Where a table cell stands in its grid (0-based), and how many rows and columns it spans.
struct CellPlace
{
    int row = 0;
    int column = 0;
    int rowSpan = 1;
    int columnSpan = 1;
};

} // namespace p2w
