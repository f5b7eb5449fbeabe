#pragma once

#include <QStringList>
#include <QTableView>

class QFrame;
class QScrollBar;
class TableHeaderDelegate;
class ToPDFDelegate;
class ToPDFDelegateStyle;
class ToPDFModel;

// The task table of the "To PDF" tab: five columns painted by ToPDFDelegate (number, file name,
// source format, settings button, remove button), rows reordered by dragging them inside the
// table, supported files dropped from outside handed on as droppedFiles, and a white veil over
// the rows while a conversion runs. Clicks on cells are the tab's business.
class ToPDFTable : public QTableView
{
    Q_OBJECT

public:
    ToPDFTable(ToPDFModel* model, QWidget* parent = nullptr);

    // Widths of the columns other than the file name, whose column takes what is left.
    static const int columnWidths[5];
    static int fixedColumnsWidth();

    ToPDFDelegateStyle* delegateStyle() const { return m_style; }
    // The suffixes (without dot, any case) that a drop from outside keeps.
    void setSupportedFormats(const QStringList& suffixes) { m_formats = suffixes; }

public slots:
    // Veils the rows (opacity 0 to 0.3 in 100 ms) while a conversion runs.
    void dim();
    // Lifts the veil again (0.3 to 0 in 100 ms), then hides it.
    void undim();

signals:
    // Local files of supported formats dropped from outside, in drop order (empty when a drop
    // kept none).
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

    ToPDFDelegateStyle* m_style;
    ToPDFModel* m_model;
    QFrame* m_fade;
    QScrollBar* m_scrollBar;
    TableHeaderDelegate* m_fileNameHeader;
    QStringList m_formats;
};
