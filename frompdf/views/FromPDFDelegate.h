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

    static QColor gridColor() { return QColor(0xab, 0xab, 0xab); }
    static QColor linkColor() { return QColor(0x58, 0x90, 0xDB); }

    // The property name of a cell picture: kind ("buttonPreview", "checkBoxChecked", ...), then
    // "Focus" for a selected row, then "Pressed" under the mouse or "Normal".
    static QByteArray pictureName(const QString& kind, bool selected, bool hovered);

private:
    void drawPicture(QPainter* painter, const QStyleOptionViewItem& option, const QString& kind, bool selected,
                     Qt::Alignment alignment) const;

    FromPDFDelegateStyle* m_style;
};
