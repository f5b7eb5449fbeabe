#include "ToPDFTable.h"

#include "DroppedFiles.h"
#include "Logger.h"
#include "StyleNames.h"
#include "TableHeader.h"
#include "ToPDFDelegate.h"
#include "ToPDFDelegateStyle.h"
#include "ToPDFModel.h"

#include <QDragEnterEvent>
#include <QEvent>
#include <QFrame>
#include <QGraphicsOpacityEffect>
#include <QMimeData>
#include <QPropertyAnimation>
#include <QScrollBar>
#include <QSequentialAnimationGroup>

const int ToPDFTable::columnWidths[5] = {29, 0, 49, 41, 49};

int ToPDFTable::fixedColumnsWidth()
{
    int sum = 0;
    for (int width : columnWidths)
        sum += width;
    return sum;
}

ToPDFTable::ToPDFTable(ToPDFModel* model, QWidget* parent)
    : QTableView(parent)
    , m_style(new ToPDFDelegateStyle(this))
    , m_model(model)
{
    m_style->setObjectName(QStringLiteral("toPdfDelegateStyle"));
    m_style->resize(0, 0);
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
    connect(m_scrollBar, &QScrollBar::rangeChanged, this, &ToPDFTable::updateColumnWidths, Qt::QueuedConnection);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(28);
    // Column 0 numbers the rows already.
    verticalHeader()->hide();

    auto* header = new TableHeaderView(this);
    m_fileNameHeader = new TableHeaderDelegate(header, this);
    m_fileNameHeader->setSortable(true);
    m_fileNameHeader->setMargins(QMargins(8, 0, 0, 0));
    header->setSectionDelegate(ToPDFModel::FileNameColumn, m_fileNameHeader);
    header->setSortIndicatorShown(true);
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    setHorizontalHeader(header);

    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::NoFocus);
    setItemDelegate(new ToPDFDelegate(m_style, this));
    retranslate();
    setSortingEnabled(true);
    sortByColumn(ToPDFModel::FileNameColumn, Qt::AscendingOrder);
}

void ToPDFTable::retranslate()
{
    m_fileNameHeader->setText(m_model->headerData(ToPDFModel::FileNameColumn, Qt::Horizontal).toString());
}

void ToPDFTable::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        horizontalHeader()->viewport()->update();
    }
    QTableView::changeEvent(event);
}

void ToPDFTable::updateColumnWidths()
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
    for (int column = 0; column < ToPDFModel::ColumnCount; ++column) {
        if (column != ToPDFModel::FileNameColumn)
            setColumnWidth(column, columnWidths[column]);
    }
    setColumnWidth(ToPDFModel::FileNameColumn, viewport()->width() - fixedColumnsWidth());
}

void ToPDFTable::showEvent(QShowEvent* event)
{
    updateColumnWidths();
    QTableView::showEvent(event);
}

void ToPDFTable::resizeEvent(QResizeEvent* event)
{
    updateColumnWidths();
    QTableView::resizeEvent(event);
}

void ToPDFTable::updateGeometries()
{
    QTableView::updateGeometries();
    updateColumnWidths();
}

void ToPDFTable::dragEnterEvent(QDragEnterEvent* event)
{
    const QMimeData* data = event->mimeData();
    if (data->hasFormat(QStringLiteral("text/uri-list")) || data->hasFormat(QLatin1String(ToPDFModel::rowListMimeType())))
        event->acceptProposedAction();
    QTableView::dragEnterEvent(event);
}

void ToPDFTable::dragMoveEvent(QDragMoveEvent* event)
{
    event->acceptProposedAction();
    QTableView::dragMoveEvent(event);
}

void ToPDFTable::dragLeaveEvent(QDragLeaveEvent* event)
{
    event->accept();
    QTableView::dragLeaveEvent(event);
}

void ToPDFTable::dropEvent(QDropEvent* event)
{
    Logger::instance()->log(QStringLiteral("ToPDFTable::dropEvent"), Logger::Debug);
    const QMimeData* data = event->mimeData();
    if (data->hasUrls()) {
        if (data->urls().isEmpty())
            return;
        emit droppedFiles(DroppedFiles::localPaths(data, [this](const QString& suffix) {
            return m_formats.contains(suffix, Qt::CaseInsensitive);
        }));
    }
    QTableView::dropEvent(event);
}

void ToPDFTable::animateFade(qreal from, qreal to, bool hideAtEnd)
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

void ToPDFTable::dim()
{
    m_fade->setGeometry(viewport()->geometry());
    m_fade->setWindowOpacity(0);
    m_fade->show();
    m_fade->raise();
    animateFade(0, 0.3, false);
}

void ToPDFTable::undim()
{
    animateFade(0.3, 0, true);
}
