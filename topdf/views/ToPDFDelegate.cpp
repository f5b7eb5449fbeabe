#include "ToPDFDelegate.h"

#include "ToPDFDelegateStyle.h"
#include "ToPDFModel.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>

ToPDFDelegate::ToPDFDelegate(ToPDFDelegateStyle* style, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_style(style)
{
}

// The picture of a button cell: kind ("buttonSettings", "buttonRemove"), then "Focus" for a
// selected row, then "Pressed" under the mouse or "Normal".
void ToPDFDelegate::drawButton(QPainter* painter, const QStyleOptionViewItem& option, const QString& kind,
                               bool selected) const
{
    if (!m_style)
        return;
    m_style->ensurePolished();
    QString name = kind;
    if (selected)
        name += QLatin1String("Focus");
    name += (option.state & QStyle::State_MouseOver) ? QLatin1String("Pressed") : QLatin1String("Normal");
    const QPixmap pixmap(m_style->picture(name.toLatin1().constData()));
    if (pixmap.isNull())
        return;
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    style->drawItemPixmap(painter, option.rect, Qt::AlignCenter, pixmap);
}

void ToPDFDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int column = index.column();
    if (column < ToPDFModel::NumberColumn || column > ToPDFModel::RemoveColumn) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    painter->save();

    const QRect rect = option.rect;
    // With a single row, a highlighted row would only look like a stuck selection.
    const bool selected = (option.state & QStyle::State_Selected) && index.model()->rowCount() > 1;
    const QPalette::ColorGroup group = option.state & QStyle::State_Enabled
                                           ? (option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive)
                                           : QPalette::Disabled;
    if (selected)
        painter->fillRect(rect, option.palette.brush(group, QPalette::Highlight));
    else if (option.state & QStyle::State_Selected)
        painter->fillRect(rect, option.palette.brush(group, QPalette::Base));
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);
    const QString display = index.data(Qt::DisplayRole).toString();

    switch (column) {
    case ToPDFModel::NumberColumn:
    case ToPDFModel::FromColumn:
        painter->drawText(rect, Qt::AlignHCenter | Qt::AlignVCenter, display);
        break;
    case ToPDFModel::FileNameColumn: {
        const QRect box = rect.adjusted(8, 0, -8, 0);
        const QFontMetrics metrics(option.font);
        const QString size = index.data(ToPDFModel::ImageSizeRole).toString();
        int sizeWidth = 0;
        if (!size.isEmpty()) {
            painter->drawText(box, Qt::AlignRight | Qt::AlignVCenter, size);
            // A little air between the name and the size.
            sizeWidth = metrics.horizontalAdvance(size) + 8;
        }
        painter->drawText(box, Qt::AlignLeft | Qt::AlignVCenter,
                          metrics.elidedText(display, Qt::ElideRight, box.width() - sizeWidth));
        break;
    }
    case ToPDFModel::SettingsColumn:
        drawButton(painter, option, QStringLiteral("buttonSettings"), selected);
        break;
    case ToPDFModel::RemoveColumn:
        drawButton(painter, option, QStringLiteral("buttonRemove"), selected);
        break;
    }

    painter->setPen(QPen(gridColor(), 1));
    // The last column ends at the table's own border.
    if (column != ToPDFModel::RemoveColumn)
        painter->drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
    painter->drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
    painter->restore();
}
