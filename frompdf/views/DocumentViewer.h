#pragma once

#include "ui/kit/WindowDragger.h"

#include <QFrame>
#include <QLabel>
#include <QSharedPointer>
#include <QSize>

class DebenuDocument;
class DebenuService;
class QScrollArea;
class QVBoxLayout;
class WindowBar;

// One page of the preview: a fixed-size widget of the page's size in points (72 dpi) that
// renders its page only when it is first painted and then keeps the picture, with a "Page %1"
// badge at its bottom, in the application-wide pixmap cache.
class Page : public QLabel
{
    Q_OBJECT

public:
    Page(QSharedPointer<DebenuDocument> document, int page, QWidget* parent = nullptr);

    int page() const { return m_page; }
    QSize sizeHint() const override { return m_size; }
    QString cacheKey() const;

    // The badge's box at the bottom of a page picture for a text of textWidth pixels: at least
    // 100 pixels wide (else the text width plus 10), 30 high, centred.
    static QRect badgeRect(const QRect& pixmapRect, int textWidth);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintBadge(QPixmap* pixmap) const;

    QSharedPointer<DebenuDocument> m_document;
    int m_page;
    QSize m_size;
};

// The pages of one PDF, one below the other, in a scroll area.
class PageView : public QFrame
{
    Q_OBJECT

public:
    PageView(QSharedPointer<DebenuService> service, QWidget* parent = nullptr);
    ~PageView() override;

    // Shows the pages of path; the same path again keeps what is shown. False when the file
    // does not open or has no pages (the view is then empty).
    bool load(const QString& path, const QString& password);
    void clear();
    void addPage(int page);

    QString path() const { return m_path; }
    QSharedPointer<DebenuDocument> document() const { return m_document; }
    QList<Page*> pages() const;
    QScrollArea* scrollArea() const { return m_scrollArea; }

private:
    QSharedPointer<DebenuService> m_service;
    QSharedPointer<DebenuDocument> m_document;
    QString m_path;
    QString m_password;
    QScrollArea* m_scrollArea;
    QVBoxLayout* m_pages;
};

// The preview window of the "From PDF" tab: a frameless window with a shadow and a window bar
// that shows every page of one PDF. Closing it only hides it, so the same file shows again at
// once; another file replaces the pages.
class DocumentViewer : public QFrame
{
    Q_OBJECT

public:
    DocumentViewer(QSharedPointer<DebenuService> service, QWidget* parent = nullptr);
    ~DocumentViewer() override;

    // Titles the window after the file and shows its pages; the result of PageView::load.
    bool setDocument(const QString& path, const QString& password);
    PageView* pageView() const { return m_pageView; }
    WindowBar* windowBar() const { return m_windowBar; }

public slots:
    void onWindowClose();
    void onWindowMinimize();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    WindowBar* m_windowBar;
    PageView* m_pageView;
    QFrame* m_shadow;
    WindowDragger m_dragger;
};
