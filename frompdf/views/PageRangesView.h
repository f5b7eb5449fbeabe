#pragma once

#include "frompdf/engine/FromPDFTask.h"
#include "frompdf/model/PageRanges.h"

#include <QFrame>

class QLabel;
class QLineEdit;
class QPushButton;
class RangeListView;

// The side panel in which the user chooses the page ranges of one "From PDF" task: "From" and
// "To" page numbers, the chosen ranges as removable items, "OK" to hand the list back with the
// task's row id (the panel stays open), cancel to undo the changes since the last "OK" (and, once
// nothing is left to undo, to close). Invalid input is ignored without a message.
class PageRangesView : public QFrame
{
    Q_OBJECT

public:
    explicit PageRangesView(QWidget* parent = nullptr);

    void setTask(int id, const FromPDFTask& task);

    int taskId() const { return m_id; }
    const PageRanges& pageRanges() const { return m_ranges; }
    RangeListView* rangeList() const { return m_list; }

signals:
    void onHideWindow();
    void commit(int id, PageRangeList rangeList);

public slots:
    void onButtonAddRange();
    void onRangeChanged();
    void onButtonCancel();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void onButtonOk();
    void onButtonClear();
    void showRanges();
    void retranslate();

    int m_id = -1;
    int m_pageCount = 0;
    PageRanges m_ranges;
    QLabel* m_fromLabel;
    QLabel* m_toLabel;
    QLineEdit* m_fromEdit;
    QLineEdit* m_toEdit;
    QPushButton* m_addButton;
    QPushButton* m_clearButton;
    RangeListView* m_list;
    QLabel* m_header;
    QPushButton* m_backButton;
    QPushButton* m_okButton;
    QPushButton* m_cancelButton;
    QPushButton* m_closeButton;
};
