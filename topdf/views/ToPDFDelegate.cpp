#include "topdf/views/ToPDFDelegate.h"

#include "topdf/model/ToPDFModel.h"
#include "topdf/views/ToPDFDelegateStyle.h"
#include "ui/widgets/TableCells.h"

#include <QPainter>

ToPDFDelegate::ToPDFDelegate(ToPDFDelegateStyle* style, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_style(style)
{
}

void ToPDFDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int column = index.column();
    if (column < ToPDFModel::NumberColumn || column > ToPDFModel::RemoveColumn) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QRect rect = option.rect;
    const bool selected = TableCells::begin(painter, option, index);
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
        TableCells::drawPicture(painter, option, m_style, QStringLiteral("buttonSettings"), selected, Qt::AlignCenter);
        break;
    case ToPDFModel::RemoveColumn:
        TableCells::drawPicture(painter, option, m_style, QStringLiteral("buttonRemove"), selected, Qt::AlignCenter);
        break;
    }
    // The last column ends at the table's own border.
    TableCells::end(painter, rect, column != ToPDFModel::RemoveColumn);
}
