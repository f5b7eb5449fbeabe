#pragma once

#include <QColor>
#include <QHeaderView>
#include <QMap>
#include <QMargins>
#include <QPixmap>
#include <QStyledItemDelegate>

// Paints one section of a TableHeaderView: white background, caption inside margins, a bottom
// line and, for a sortable column or the column the header sorts by, an arrow after the caption.
class TableHeaderDelegate : public QObject
{
    Q_OBJECT
public:
    TableHeaderDelegate(QHeaderView* header, QObject* parent = nullptr);

    void setText(const QString& text) { m_text = text; }
    QString text() const { return m_text; }
    void setMargins(const QMargins& margins) { m_margins = margins; }
    QMargins margins() const { return m_margins; }
    void setSortable(bool sortable) { m_sortable = sortable; }
    bool isSortable() const { return m_sortable; }
    void setAlignment(Qt::Alignment alignment) { m_alignment = alignment; }
    Qt::Alignment alignment() const { return m_alignment; }
    void setBackground(const QColor& color) { m_background = color; }
    QColor background() const { return m_background; }
    void setLineColor(const QColor& color) { m_lineColor = color; }
    QColor lineColor() const { return m_lineColor; }
    void setLineWidth(double width) { m_lineWidth = width; }
    double lineWidth() const { return m_lineWidth; }
    void setBottomLine(bool on) { m_bottomLine = on; }
    bool hasBottomLine() const { return m_bottomLine; }

    void paint(QPainter* painter, const QRect& rect, int logicalIndex) const;

private:
    QHeaderView* m_header;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QString m_text;
    QMargins m_margins;
    QColor m_lineColor{QStringLiteral("#ababab")};
    QColor m_background{Qt::white};
    double m_lineWidth = 1.0;
    bool m_bottomLine = true;
    bool m_sortable = false;
    QPixmap m_ascending;
    QPixmap m_descending;
};

// A horizontal header whose sections may be painted by per-column delegates (not owned); a
// press on a sortable column sorts by it, a press elsewhere hides the sort indicator.
class TableHeaderView : public QHeaderView
{
    Q_OBJECT
public:
    explicit TableHeaderView(QWidget* parent = nullptr);

    void setSectionDelegate(int column, TableHeaderDelegate* delegate);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    QMap<int, TableHeaderDelegate*> m_delegates;
};

// Paints combo-box pop-up items through the style without the focus frame, so the style
// sheet's item rules apply.
class ComboBoxItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit ComboBoxItemDelegate(QObject* parent = nullptr);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
