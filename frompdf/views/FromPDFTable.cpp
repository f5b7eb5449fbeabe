#include "FromPDFTable.h"

#include "DroppedFiles.h"
#include "FromPDFDelegate.h"
#include "FromPDFDelegateStyle.h"
#include "FromPDFModel.h"
#include "Logger.h"
#include "StyleNames.h"
#include "TableHeader.h"

#include <QDragEnterEvent>
#include <QEvent>
#include <QFrame>
#include <QGraphicsOpacityEffect>
#include <QMimeData>
#include <QPropertyAnimation>
#include <QScrollBar>
#include <QSequentialAnimationGroup>

const int FromPDFTable::columnWidths[8] = {29, 0, 25, 127, 40, 53, 63, 49};

int FromPDFTable::fixedColumnsWidth()
{
    int sum = 0;
    for (int width : columnWidths)
        sum += width;
    return sum;
}

FromPDFTable::FromPDFTable(FromPDFModel* model, QWidget* parent)
    : QTableView(parent)
    , m_style(new FromPDFDelegateStyle(this))
    , m_model(model)
{
    m_style->setObjectName(QStringLiteral("fromPdfDelegateStyle"));
    m_style->resize(0, 0);
    setSortingEnabled(true);
    m_delegate = new FromPDFDelegate(m_style, this);
    setItemDelegate(m_delegate);
    setModel(model);
    setMouseTracking(true);
    setShowGrid(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDragEnabled(true);
    setDropIndicatorShown(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);

    m_fade = new QFrame(this);
    m_fade->setObjectName(StyleName::boxTableFade);
    m_fade->hide();

    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->setObjectName(StyleName::tableScrollBar);
    setVerticalScrollBar(m_scrollBar);
    // Showing or hiding the scroll bar lays the viewport out again, narrower.
    connect(m_scrollBar, &QScrollBar::rangeChanged, this, &FromPDFTable::updateColumnWidths, Qt::QueuedConnection);

    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(28);
    // Column 0 numbers the rows already.
    verticalHeader()->hide();

    auto* header = new TableHeaderView(this);
    header->setSortIndicatorShown(true);
    header->setSectionsClickable(true);
    m_fileNameHeader = new TableHeaderDelegate(header, this);
    m_pagesHeader = new TableHeaderDelegate(header, this);
    for (TableHeaderDelegate* delegate : {m_fileNameHeader, m_pagesHeader})
        delegate->setMargins(QMargins(8, 0, 8, 0));
    m_fileNameHeader->setSortable(true);
    header->setSectionDelegate(FromPDFModel::FileNameColumn, m_fileNameHeader);
    header->setSectionDelegate(FromPDFModel::PagesColumn, m_pagesHeader);
    header->setHighlightSections(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    setHorizontalHeader(header);

    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::NoFocus);
    retranslate();
    sortByColumn(FromPDFModel::FileNameColumn, Qt::AscendingOrder);
}

void FromPDFTable::retranslate()
{
    m_fileNameHeader->setText(m_model->headerData(FromPDFModel::FileNameColumn, Qt::Horizontal).toString());
    m_pagesHeader->setText(m_model->headerData(FromPDFModel::PagesColumn, Qt::Horizontal).toString());
}

void FromPDFTable::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        horizontalHeader()->viewport()->update();
    }
    QTableView::changeEvent(event);
}

void FromPDFTable::updateColumnWidths()
{
    QRect area = viewport()->geometry();
    const int right = contentsRect().right();
    if (area.right() != right) {
        area.setRight(right);
        viewport()->setGeometry(area);
    }
    QHeaderView* header = horizontalHeader();
    if (header->isVisible() && header->width() != area.width())
        header->setGeometry(area.left(), header->y(), area.width(), header->height());
    for (int column = 0; column < FromPDFModel::ColumnCount; ++column) {
        if (column != FromPDFModel::FileNameColumn)
            setColumnWidth(column, columnWidths[column]);
    }
    setColumnWidth(FromPDFModel::FileNameColumn, viewport()->width() - fixedColumnsWidth());
}

void FromPDFTable::showEvent(QShowEvent* event)
{
    updateColumnWidths();
    QTableView::showEvent(event);
}

void FromPDFTable::resizeEvent(QResizeEvent* event)
{
    updateColumnWidths();
    QTableView::resizeEvent(event);
}

void FromPDFTable::updateGeometries()
{
    QTableView::updateGeometries();
    updateColumnWidths();
}

void FromPDFTable::dragEnterEvent(QDragEnterEvent* event)
{
    const QMimeData* data = event->mimeData();
    if (data->hasFormat(QStringLiteral("text/uri-list")) || data->hasFormat(QLatin1String(FromPDFModel::rowListMimeType())))
        event->acceptProposedAction();
    QTableView::dragEnterEvent(event);
}

void FromPDFTable::dragMoveEvent(QDragMoveEvent* event)
{
    event->acceptProposedAction();
    QTableView::dragMoveEvent(event);
}

void FromPDFTable::dragLeaveEvent(QDragLeaveEvent* event)
{
    event->accept();
    QTableView::dragLeaveEvent(event);
}

void FromPDFTable::dropEvent(QDropEvent* event)
{
    Logger::instance()->log(QStringLiteral("FromPDFTable::dropEvent"), Logger::Debug);
    const QMimeData* data = event->mimeData();
    if (data->hasUrls()) {
        // Every file is handed on: the intake skips what is not a PDF.
        const QStringList files = DroppedFiles::localPaths(data, [](const QString&) { return true; });
        if (files.isEmpty())
            return;
        emit droppedFiles(files);
    }
    QTableView::dropEvent(event);
}

void FromPDFTable::animateFade(qreal from, qreal to, bool hideAtEnd)
{
    auto* effect = new QGraphicsOpacityEffect(m_fade);
    m_fade->setGraphicsEffect(effect);
    auto* animation = new QPropertyAnimation(effect, "opacity");
    animation->setDuration(100);
    animation->setStartValue(from);
    animation->setEndValue(to);
    if (hideAtEnd)
        connect(animation, &QPropertyAnimation::finished, m_fade, &QWidget::hide);
    auto* group = new QSequentialAnimationGroup(this);
    group->addAnimation(animation);
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

void FromPDFTable::fadeIn()
{
    m_fade->setGeometry(viewport()->geometry());
    m_fade->setWindowOpacity(0);
    m_fade->show();
    m_fade->raise();
    animateFade(0, 0.3, false);
}

void FromPDFTable::fadeOut()
{
    animateFade(0.3, 0, true);
}
