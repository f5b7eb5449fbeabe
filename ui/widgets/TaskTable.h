#pragma once

#include <QStringList>
#include <QTableView>
#include <QVector>

#include <functional>

class QFrame;
class QScrollBar;
class TableHeaderView;

// What the task tables of both conversion tabs share: columns of fixed widths around one that
// takes the rest of the viewport, a vertical scroll bar that lies over the rows instead of taking
// a strip of its own, rows reordered by dragging them inside the table (the model moves them),
// local files dropped from outside handed on as droppedFiles, and a white veil over the rows
// while a conversion runs. Clicks on cells are the tab's business.
class TaskTable : public QTableView
{
    Q_OBJECT

public:
    // columnWidths holds every column's width; the one given as 0 takes what is left.
    TaskTable(QAbstractItemModel* model, const QVector<int>& columnWidths, QWidget* parent = nullptr);

    // Which dropped files are handed on, by suffix (the text after the last dot); all by default.
    void setFileFilter(std::function<bool(const QString& suffix)> keep) { m_keepFile = std::move(keep); }
    TableHeaderView* tableHeader() const { return m_header; }

public slots:
    // Veils the rows (opacity 0 to 0.3 in 100 ms) while a conversion runs.
    void fadeIn();
    // Lifts the veil again (0.3 to 0 in 100 ms), then hides it.
    void fadeOut();

signals:
    // The kept local files of a drop from outside, in drop order; empty when it kept none.
    void droppedFiles(QStringList fileList);

protected:
    // Sets the header texts again when the language changes (the header is repainted after).
    virtual void retranslate() {}
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void updateColumnWidths();
    void animateFade(qreal from, qreal to, bool hideAtEnd);

    QVector<int> m_columnWidths;
    QFrame* m_fade;
    QScrollBar* m_scrollBar;
    TableHeaderView* m_header;
    std::function<bool(const QString&)> m_keepFile;
};
