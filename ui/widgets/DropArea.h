#pragma once

#include <QFrame>
#include <QStringList>

#include <functional>

class QHBoxLayout;
class QLabel;
class QPushButton;

// The empty-state panel of the conversion tabs: a big add button, a caption with "or drag &
// drop" under it and a strip of format tiles. Files dropped on it (filtered by suffix) or chosen
// in its open dialog are handed on as one list: droppedFiles(files, 1) for a drop,
// droppedFiles(files, 2) for the dialog, also when the user cancelled it.
class DropArea : public QFrame
{
    Q_OBJECT
public:
    enum DropMode {
        Dropped = 1,
        Chosen = 2
    };

    // The multi-file open dialog: (parent, caption, start folder, name filter) -> chosen paths.
    using OpenFilesDialog = std::function<QStringList(QWidget* parent, const QString& caption, const QString& folder, const QString& filter)>;

    // openFiles stands in for the system's file dialog when it is not empty (tests pass one that
    // answers at once).
    explicit DropArea(QWidget* parent = nullptr, OpenFilesDialog openFiles = {});

    void setTitle(const QString& title);
    void setFilter(const QString& filter) { m_filter = filter; }
    void setSuffixes(const QStringList& suffixes) { m_suffixes = suffixes; }
    void addFormat(const QString& text, const QString& iconPath);

signals:
    void droppedFiles(QStringList fileList, int dropMode);

private slots:
    void buttonAdd();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    QPushButton* m_addButton;
    QLabel* m_bigLabel;
    QLabel* m_smallLabel;
    QString m_filter;
    QStringList m_suffixes;
    QString m_title;
    QFrame* m_formatStrip;
    QHBoxLayout* m_stripRow;
    OpenFilesDialog m_openFiles;
};
