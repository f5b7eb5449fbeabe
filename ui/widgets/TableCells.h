#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

class QModelIndex;
class QPainter;
class QRect;
class QStyleOptionViewItem;
class QWidget;

// How the delegates of the task tables paint a cell: a selected row in the highlight colours
// (only when the table has more than one row, where it would look like a stuck selection),
// button pictures whose paths a style holder's properties carry, and grey grid lines.
namespace TableCells {

QColor gridColor();
QPalette::ColorGroup colorGroup(const QStyleOptionViewItem& option);

// Saves the painter, fills a selected cell and sets the pen to the text colour; returns whether
// the row shows as selected. End the cell with end().
bool begin(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index);

// Draws the picture of a button cell: the path of the holder's property kind + "Focus" for a
// selected row + "Pressed" under the mouse or "Normal" (nothing when it has none).
void drawPicture(QPainter* painter, const QStyleOptionViewItem& option, QWidget* holder, const QString& kind,
                 bool selected, int alignment);

// Draws the grid lines (the right one unless rightLine is false) and restores the painter.
void end(QPainter* painter, const QRect& rect, bool rightLine = true);

} // namespace TableCells
