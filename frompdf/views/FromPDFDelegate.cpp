#include "frompdf/views/FromPDFDelegate.h"

#include "frompdf/model/FromPDFModel.h"
#include "frompdf/views/FromPDFDelegateStyle.h"
#include "ui/widgets/TableCells.h"

#include <QPainter>

FromPDFDelegate::FromPDFDelegate(FromPDFDelegateStyle* style, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_style(style)
{
}

void FromPDFDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int column = index.column();
    if (column < FromPDFModel::NumberColumn || column > FromPDFModel::RemoveColumn) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QRect rect = option.rect;
    const bool selected = TableCells::begin(painter, option, index);
    const QColor highlightedText = option.palette.color(TableCells::colorGroup(option), QPalette::HighlightedText);

    QFont underlined = option.font;
    underlined.setUnderline(true);
    const QRect inset = rect.adjusted(8, 0, 0, 0);
    const QString display = index.data(Qt::DisplayRole).toString();
    bool rightLine = true;

    switch (column) {
    case FromPDFModel::NumberColumn:
        painter->drawText(rect, Qt::AlignHCenter | Qt::AlignVCenter, display);
        break;
    case FromPDFModel::FileNameColumn:
        painter->drawText(inset, Qt::AlignLeft | Qt::AlignVCenter,
                          QFontMetrics(option.font).elidedText(display, Qt::ElideRight, inset.width()));
        rightLine = false;
        break;
    case FromPDFModel::PreviewColumn:
        TableCells::drawPicture(painter, option, m_style, QStringLiteral("buttonPreview"), selected,
                                Qt::AlignLeft | Qt::AlignVCenter);
        break;
    case FromPDFModel::PagesColumn:
        painter->setFont(underlined);
        painter->setPen(selected ? highlightedText : linkColor());
        painter->drawText(inset, Qt::AlignLeft | Qt::AlignVCenter,
                          QFontMetrics(underlined).elidedText(display, Qt::ElideRight, inset.width()));
        break;
    case FromPDFModel::FormatColumn:
        painter->setFont(underlined);
        painter->setPen(selected ? highlightedText : linkColor());
        painter->drawText(rect, Qt::AlignHCenter | Qt::AlignVCenter, display);
        break;
    case FromPDFModel::SplitColumn:
        TableCells::drawPicture(painter, option, m_style,
                                index.data(Qt::DisplayRole).toBool() ? QStringLiteral("checkBoxChecked")
                                                                     : QStringLiteral("checkBoxUnchecked"),
                                selected, Qt::AlignCenter);
        break;
    case FromPDFModel::PasswordColumn: {
        const bool needsPassword = index.data(FromPDFModel::NeedsPasswordRole).toBool();
        if (selected)
            painter->setPen(highlightedText);
        else if (needsPassword)
            painter->setPen(linkColor());
        painter->setFont(needsPassword ? underlined : option.font);
        painter->drawText(rect, Qt::AlignHCenter | Qt::AlignVCenter, needsPassword ? tr("Enter") : tr("ok"));
        break;
    }
    case FromPDFModel::RemoveColumn:
        TableCells::drawPicture(painter, option, m_style, QStringLiteral("buttonRemove"), selected, Qt::AlignCenter);
        rightLine = false;
        break;
    }

    TableCells::end(painter, rect, rightLine);
}
