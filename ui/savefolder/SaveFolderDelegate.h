#pragma once

#include <QStyledItemDelegate>

// Paints a "Save to" combo's popup list from column 1 of its SaveFolderModel, so the list reads
// "Select folder..." where the closed combo shows the chosen folder, and without a focus frame.
class SaveFolderDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit SaveFolderDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
