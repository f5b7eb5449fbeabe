#pragma once

#include <QStyledItemDelegate>

class FromPDFDelegateStyle;

// Paints every cell of the "From PDF" task table itself: grid lines, link-coloured texts and the
// state pictures of the preview, split and remove cells, whose paths the style widget carries.
class FromPDFDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // style is not owned; it lives as long as the table.
    FromPDFDelegate(FromPDFDelegateStyle* style, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static QColor linkColor() { return QColor(0x58, 0x90, 0xDB); }

private:
    FromPDFDelegateStyle* m_style;
};
