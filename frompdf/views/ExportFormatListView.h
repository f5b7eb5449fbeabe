#pragma once

#include <QFrame>
#include <QStyledItemDelegate>

class ExportFormatModel;
class QListView;

// Paints one row of the format pop-up: its text, a highlight while selected or under the mouse,
// and a thin line below every row but the last.
class ExportFormatDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit ExportFormatDelegate(QObject* parent = nullptr);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// The pop-up list of output formats that the "From PDF" tab opens under a format cell or the
// "for all" format button. It reports the picked format with the row id it was opened for, and
// deletes itself when it closes: picked (onClose(true)) or dismissed (onFocusOut, then
// onClose(false)).
class ExportFormatListView : public QFrame
{
    Q_OBJECT

public:
    explicit ExportFormatListView(QWidget* parent = nullptr);

    void setId(int id) { m_id = id; }
    int id() const { return m_id; }
    // Selects the row of format; nothing when the format is not offered.
    void setCurrentFormat(const QString& format);
    QString currentFormat() const;
    QListView* listView() const { return m_list; }

signals:
    void formatSelected(int id, QString format);
    void onClose(bool isSelected);
    void onFocusOut();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void onPicked(const QModelIndex& index);

private:
    void dismiss();

    QListView* m_list;
    ExportFormatModel* m_model;
    int m_id = -1;
    bool m_selected = false;
    bool m_dismissed = false;
    bool m_closed = false;
};
