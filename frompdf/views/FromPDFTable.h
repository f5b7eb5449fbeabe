#pragma once

#include <QStringList>
#include <QTableView>

class FromPDFDelegate;
class FromPDFDelegateStyle;
class FromPDFModel;
class QFrame;
class QScrollBar;
class TableHeaderDelegate;

// The task table of the "From PDF" tab: eight fixed-width columns painted by FromPDFDelegate,
// rows reordered by dragging them inside the table, PDF files dropped from outside handed on as
// droppedFiles, and a white veil over the rows while a conversion runs. Clicks on cells are the
// tab's business.
class FromPDFTable : public QTableView
{
    Q_OBJECT

public:
    FromPDFTable(FromPDFModel* model, QWidget* parent = nullptr);

    // Widths of the columns other than the file name, whose column takes what is left.
    static const int columnWidths[8];
    static int fixedColumnsWidth();

    FromPDFDelegateStyle* delegateStyle() const { return m_style; }

public slots:
    // Veils the rows (opacity 0 to 0.3 in 100 ms) while a conversion runs.
    void fadeIn();
    // Lifts the veil again (0.3 to 0 in 100 ms), then hides it.
    void fadeOut();

signals:
    void droppedFiles(QStringList fileList);

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Lets the viewport (and the header) run under the vertical scroll bar, which then lies over
    // the rows instead of taking a strip of its own, and sizes the columns to the viewport.
    void updateColumnWidths();
    void retranslate();
    void animateFade(qreal from, qreal to, bool hideAtEnd);

    FromPDFDelegateStyle* m_style;
    FromPDFModel* m_model;
    FromPDFDelegate* m_delegate;
    QFrame* m_fade;
    QScrollBar* m_scrollBar;
    TableHeaderDelegate* m_fileNameHeader;
    TableHeaderDelegate* m_pagesHeader;
};
