#include "frompdf/views/DocumentViewer.h"

#include "app/core/Logger.h"
#include "frompdf/views/PlainScrollArea.h"
#include "pdflib/service/DebenuDocument.h"
#include "ui/kit/Style.h"
#include "ui/kit/StyleNames.h"
#include "ui/kit/WindowBar.h"

#include <QFileInfo>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QScrollArea>
#include <QScrollBar>
#include <QSizeGrip>
#include <QVBoxLayout>

Page::Page(QSharedPointer<DebenuDocument> document, int page, QWidget* parent)
    : QLabel(parent)
    , m_document(std::move(document))
    , m_page(page)
    , m_size(m_document->pageSize(page))
{
    // Painted through the backing store like every other widget: painting on screen shows
    // nothing under X11.
    resize(m_size);
    setFixedSize(m_size);
}

QString Page::cacheKey() const
{
    return QStringLiteral("viewer_docID_%1_p%2").arg(m_document->id()).arg(m_page);
}

QRect Page::badgeRect(const QRect& pixmapRect, int textWidth)
{
    const int width = qMax(100, textWidth + 10);
    const int left = (pixmapRect.left() + pixmapRect.right()) / 2 - width / 2;
    return QRect(QPoint(left, pixmapRect.bottom() - 30), QPoint(left + width - 1, pixmapRect.bottom() - 1));
}

void Page::paintBadge(QPixmap* pixmap) const
{
    QPainter painter(pixmap);
    painter.save();
    painter.setFont(font());
    painter.setRenderHint(QPainter::Antialiasing);
    const QString text = tr("Page %1").arg(m_page);
    const QRect box = badgeRect(pixmap->rect(), painter.fontMetrics().horizontalAdvance(text));
    QPainterPath path;
    path.addRoundedRect(box, 8, 8);
    painter.fillPath(path, QColor(128, 128, 128, 128));
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignHCenter | Qt::AlignVCenter, text);
    painter.restore();
}

void Page::paintEvent(QPaintEvent*)
{
    const QString key = cacheKey();
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = m_document->renderPixmap(m_page);
        if (pixmap.isNull()) {
            pixmap = QPixmap(m_size.isEmpty() ? QSize(1, 1) : m_size);
            pixmap.fill(Qt::white);
        }
        paintBadge(&pixmap);
        QPixmapCache::insert(key, pixmap);
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(0, 0, pixmap);
}

PageView::PageView(QSharedPointer<DebenuService> service, QWidget* parent)
    : QFrame(parent)
    , m_service(std::move(service))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_scrollArea = makePlainScrollArea(this, StyleName::scrollAreaPages, StyleName::scrollDocVertical);
    auto* horizontal = new QScrollBar(Qt::Horizontal, m_scrollArea);
    horizontal->setObjectName(StyleName::scrollDocHorizontal);
    m_scrollArea->setHorizontalScrollBar(horizontal);
    layout->addWidget(m_scrollArea);

    auto* doc = new QFrame(m_scrollArea);
    doc->setObjectName(QStringLiteral("doc"));
    m_pages = new QVBoxLayout(doc);
    m_pages->setContentsMargins(0, 0, 0, 0);
    m_pages->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    m_scrollArea->setWidget(doc);
}

PageView::~PageView()
{
    Logger::instance()->log(QStringLiteral("PageView::~PageView()"), Logger::Debug);
}

QList<Page*> PageView::pages() const
{
    QList<Page*> result;
    for (int i = 0; i < m_pages->count(); ++i) {
        if (auto* page = qobject_cast<Page*>(m_pages->itemAt(i)->widget()))
            result << page;
    }
    return result;
}

bool PageView::load(const QString& path, const QString& password)
{
    if (path == m_path)
        return true;
    clear();
    m_document.reset(new DebenuDocument(m_service, path, password, false, nullptr));
    if (!m_document->isLoaded()) {
        m_path.clear();
        m_password.clear();
        return false;
    }
    m_path = path;
    m_password = password;
    const int count = m_document->pageCount();
    if (count == 0)
        return false;
    for (int page = 1; page <= count; ++page)
        addPage(page);
    return true;
}

void PageView::clear()
{
    QPixmapCache::clear();
    while (QLayoutItem* item = m_pages->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    m_scrollArea->verticalScrollBar()->setValue(0);
}

void PageView::addPage(int page)
{
    m_pages->addWidget(new Page(m_document, page, m_scrollArea->widget()));
}

DocumentViewer::DocumentViewer(QSharedPointer<DebenuService> service, QWidget* parent)
    : QFrame(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_TranslucentBackground);
    m_shadow = new QFrame(this);
    m_shadow->setObjectName(StyleName::previewShadow);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(20, 20, 20, 20);
    auto* inner = new QFrame(this);
    inner->setObjectName(StyleName::documentViewer);
    outer->addWidget(inner);
    auto* layout = new QVBoxLayout(inner);
    layout->setContentsMargins(9, 0, 8, 9);
    m_windowBar = new WindowBar(inner);
    m_windowBar->hideMaximizeButton(true);
    m_pageView = new PageView(std::move(service), inner);
    layout->addWidget(m_windowBar);
    layout->addWidget(m_pageView, 1);
    layout->addWidget(new QSizeGrip(inner), 0, Qt::AlignRight | Qt::AlignBottom);
    addDropShadow(this, inner);

    connect(m_windowBar, SIGNAL(minimizeWindow()), this, SLOT(onWindowMinimize()));
    connect(m_windowBar, SIGNAL(closeWindow()), this, SLOT(onWindowClose()));
    resize(700, 600);
    setWindowIcon(QIcon(QStringLiteral(":/style/images/quillpress.ico")));
}

DocumentViewer::~DocumentViewer()
{
    Logger::instance()->log(QStringLiteral("Dector doc viewer"), Logger::Debug);
}

bool DocumentViewer::setDocument(const QString& path, const QString& password)
{
    const QString title = tr("%1 - PDF Converter").arg(QFileInfo(path).fileName());
    m_windowBar->setTitle(title);
    setWindowTitle(title);
    QPixmapCache::clear();
    return m_pageView->load(path, password);
}

void DocumentViewer::onWindowClose()
{
    hide();
}

void DocumentViewer::onWindowMinimize()
{
    setWindowState(Qt::WindowMinimized);
}

void DocumentViewer::mousePressEvent(QMouseEvent* event)
{
    m_dragger.press(this, event);
}

void DocumentViewer::mouseMoveEvent(QMouseEvent* event)
{
    m_dragger.move(this, event);
}

void DocumentViewer::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragger.release(event);
}

void DocumentViewer::resizeEvent(QResizeEvent* event)
{
    m_shadow->resize(size());
    QFrame::resizeEvent(event);
}
