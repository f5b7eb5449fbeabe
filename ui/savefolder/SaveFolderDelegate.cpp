#include "ui/savefolder/SaveFolderDelegate.h"

#include "ui/savefolder/SaveFolderModel.h"

#include <QApplication>

SaveFolderDelegate::SaveFolderDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

void SaveFolderDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    if (index.model())
        item.text = index.model()->index(index.row(), SaveFolderModel::ListColumn).data(Qt::DisplayRole).toString();
    item.state &= ~QStyle::State_HasFocus;
    QStyle* style = item.widget ? item.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
}
