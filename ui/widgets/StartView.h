#pragma once

#include <QFrame>
#include <QStringList>

// Page 0 of the main window: the start page. The main window builds its contents (logo and the
// two big buttons); this class takes file drops from the desktop and sorts them: a drop whose
// kept files are all PDFs goes to droppedPdfFiles, one whose kept files are all other supported
// formats to droppedMediaFiles. Unsupported files are skipped; a mixed drop does nothing.
class StartView : public QFrame
{
    Q_OBJECT
public:
    explicit StartView(QWidget* parent = nullptr);

    // The "To PDF" input suffixes. Defaults to the user context's list; the application can
    // hand its shared context's list here.
    void setSupportedFormats(const QStringList& suffixes) { m_formats = suffixes; }
    QStringList supportedFormats() const { return m_formats; }

signals:
    void droppedPdfFiles(QStringList fileList);
    void droppedMediaFiles(QStringList fileList);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QStringList m_formats;
};
