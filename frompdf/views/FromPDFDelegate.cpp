#include "FromPDFDelegate.h"

#include "FromPDFDelegateStyle.h"
#include "FromPDFModel.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>

FromPDFDelegate::FromPDFDelegate(FromPDFDelegateStyle* style, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_style(style)
{
}

QByteArray FromPDFDelegate::pictureName(const QString& kind, bool selected, bool hovered)
{
    QString name = kind;
    if (selected)
        name += QLatin1String("Focus");
    name += hovered ? QLatin1String("Pressed") : QLatin1String("Normal");
    return name.toLatin1();
}

void FromPDFDelegate::drawPicture(QPainter* painter, const QStyleOptionViewItem& option, const QString& kind,
                                  bool selected, Qt::Alignment alignment) const
{
    if (!m_style)
        return;
    m_style->ensurePolished();
    const bool hovered = option.state & QStyle::State_MouseOver;
    const QString path = m_style->picture(pictureName(kind, selected, hovered).constData());
    if (path.isEmpty())
        return;
    const QPixmap pixmap(path);
    if (pixmap.isNull())
        return;
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    style->drawItemPixmap(painter, option.rect, int(alignment), pixmap);
}

void FromPDFDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int column = index.column();
    if (column < FromPDFModel::NumberColumn || column > FromPDFModel::RemoveColumn) {
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
    const QColor highlightedText = option.palette.color(group, QPalette::HighlightedText);
    const QColor text = option.palette.color(group, QPalette::Text);
    if (selected)
        painter->fillRect(rect, option.palette.brush(group, QPalette::Highlight));
    else if (option.state & QStyle::State_Selected)
        painter->fillRect(rect, option.palette.brush(group, QPalette::Base));
    painter->setPen(selected ? highlightedText : text);

    QFont underlined = option.font;
    underlined.setUnderline(true);
    const QRect inset = rect.adjusted(8, 0, 0, 0);
    const QString display = index.data(Qt::DisplayRole).toString();
    bool rightLine = true;

    switch (column) {
    case FromPDFModel::NumberColumn:
        painter->setFont(option.font);
        painter->drawText(rect, Qt::AlignHCenter | Qt::AlignVCenter, display);
        break;
    case FromPDFModel::FileNameColumn:
        painter->setFont(option.font);
        painter->drawText(inset, Qt::AlignLeft | Qt::AlignVCenter,
                          QFontMetrics(option.font).elidedText(display, Qt::ElideRight, inset.width()));
        rightLine = false;
        break;
    case FromPDFModel::PreviewColumn:
        drawPicture(painter, option, QStringLiteral("buttonPreview"), selected, Qt::AlignLeft | Qt::AlignVCenter);
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
        drawPicture(painter, option,
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
        drawPicture(painter, option, QStringLiteral("buttonRemove"), selected, Qt::AlignCenter);
        rightLine = false;
        break;
    }

    painter->setPen(QPen(gridColor(), 1));
    if (rightLine)
        painter->drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
    painter->drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
    painter->restore();
}
