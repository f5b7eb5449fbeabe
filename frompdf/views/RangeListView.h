#pragma once

#include <QFrame>
#include <QPair>

class FlowLayout;
class QLabel;
class QPushButton;
class QScrollArea;

// One chosen page range in the page-range panel: "3" or "2 - 4" with a remove button. A click
// on the button hides the item, reports the range and deletes the item.
class RangeItemView : public QFrame
{
    Q_OBJECT

public:
    explicit RangeItemView(QWidget* parent = nullptr);

    void setRange(int from, int to);
    QPair<int, int> range() const { return qMakePair(m_first, m_last); }
    QString text() const;

signals:
    void onRemove();
    void removed(QPair<int, int> rangeValue);

public slots:
    void buttonRemove();

private:
    QLabel* m_label;
    QPushButton* m_remove;
    int m_first = 0;
    int m_last = 0;
};

// The chosen page ranges as items that wrap into rows, in a scroll area. Each range is shown
// once, however often it was added.
class RangeListView : public QFrame
{
    Q_OBJECT

public:
    explicit RangeListView(QWidget* parent = nullptr);

    // Adds an item unless to < from or the range is shown already.
    void addItem(int from, int to);
    bool isEmpty() const { return m_empty; }
    bool contains(int from, int to) const;
    // The items shown, in order.
    QList<RangeItemView*> items() const;

signals:
    void changed();
    void removedItem(QPair<int, int> item);

public slots:
    void clear();
    void onRemovedItem();
    void scrollDown();

private:
    bool m_empty = true;
    FlowLayout* m_layout;
    QScrollArea* m_scrollArea;
};
