#pragma once

#include <QStyledItemDelegate>

class ToPDFDelegateStyle;

// Paints every cell of the "To PDF" task table: the row number, the file name with a picture's
// pixel size at its right, the source format, and the settings and remove buttons, whose state
// pictures the style widget carries; grid lines and selection as in the "From PDF" table.
class ToPDFDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // style is not owned; it lives as long as the table.
    ToPDFDelegate(ToPDFDelegateStyle* style, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    ToPDFDelegateStyle* m_style;
};
