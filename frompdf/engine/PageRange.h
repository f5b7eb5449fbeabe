#pragma once

#include <QList>
#include <QMetaType>
#include <QPair>
#include <QString>

// A page range: first and last page, 1-based, both inclusive. A selection is a list of ranges in
// the order the user added them; an empty list means the whole document.
using PageRange = QPair<int, int>;
using PageRangeList = QList<PageRange>;

// "5" for a one-page range, "2-4" otherwise.
QString pageRangeText(const PageRange& range);
// The ranges joined with ", ", for example "1-3, 5, 8-9".
QString pageRangeListText(const PageRangeList& ranges);
