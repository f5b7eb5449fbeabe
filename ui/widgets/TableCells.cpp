#include "ui/widgets/TableCells.h"

#include <QApplication>
#include <QModelIndex>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QWidget>

namespace TableCells {

QColor gridColor()
{
    return QColor(0xab, 0xab, 0xab);
}

QPalette::ColorGroup colorGroup(const QStyleOptionViewItem& option)
{
    if (!(option.state & QStyle::State_Enabled))
        return QPalette::Disabled;
    return option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
}

bool begin(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index)
{
    painter->save();
    const bool selected = (option.state & QStyle::State_Selected) && index.model()->rowCount() > 1;
    const QPalette::ColorGroup group = colorGroup(option);
    if (selected)
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
    else if (option.state & QStyle::State_Selected)
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::Base));
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);
    return selected;
}

void drawPicture(QPainter* painter, const QStyleOptionViewItem& option, QWidget* holder, const QString& kind,
                 bool selected, int alignment)
{
    if (!holder)
        return;
    // The style sheet fills the holder's properties when it is polished.
    holder->ensurePolished();
    QString name = kind;
    if (selected)
        name += QLatin1String("Focus");
    name += (option.state & QStyle::State_MouseOver) ? QLatin1String("Pressed") : QLatin1String("Normal");
    const QPixmap pixmap(holder->property(name.toLatin1().constData()).toString());
    if (pixmap.isNull())
        return;
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    style->drawItemPixmap(painter, option.rect, alignment, pixmap);
}

void end(QPainter* painter, const QRect& rect, bool rightLine)
{
    painter->setPen(QPen(gridColor(), 1));
    if (rightLine)
        painter->drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
    painter->drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
    painter->restore();
}

} // namespace TableCells
