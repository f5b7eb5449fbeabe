#include "ui/widgets/TaskTable.h"

#include "app/core/Logger.h"
#include "app/core/TaskListModel.h"
#include "ui/kit/StyleNames.h"
#include "ui/widgets/DroppedFiles.h"
#include "ui/widgets/TableHeader.h"

#include <QDragEnterEvent>
#include <QEvent>
#include <QFrame>
#include <QGraphicsOpacityEffect>
#include <QMimeData>
#include <QPropertyAnimation>
#include <QScrollBar>
#include <QSequentialAnimationGroup>

TaskTable::TaskTable(QAbstractItemModel* model, const QVector<int>& columnWidths, QWidget* parent)
    : QTableView(parent)
    , m_columnWidths(columnWidths)
{
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
    connect(m_scrollBar, &QScrollBar::rangeChanged, this, &TaskTable::updateColumnWidths, Qt::QueuedConnection);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(28);
    // The first column numbers the rows already.
    verticalHeader()->hide();

    m_header = new TableHeaderView(this);
    m_header->setSortIndicatorShown(true);
    m_header->setSectionsClickable(true);
    m_header->setHighlightSections(false);
    m_header->setSectionResizeMode(QHeaderView::Fixed);
    setHorizontalHeader(m_header);

    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::NoFocus);
}

void TaskTable::updateColumnWidths()
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
    int fixed = 0;
    int stretched = -1;
    for (int column = 0; column < m_columnWidths.size(); ++column) {
        if (m_columnWidths.at(column) > 0)
            setColumnWidth(column, m_columnWidths.at(column));
        else
            stretched = column;
        fixed += m_columnWidths.at(column);
    }
    if (stretched >= 0)
        setColumnWidth(stretched, viewport()->width() - fixed);
}

void TaskTable::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        horizontalHeader()->viewport()->update();
    }
    QTableView::changeEvent(event);
}

void TaskTable::showEvent(QShowEvent* event)
{
    updateColumnWidths();
    QTableView::showEvent(event);
}

void TaskTable::resizeEvent(QResizeEvent* event)
{
    updateColumnWidths();
    QTableView::resizeEvent(event);
}

void TaskTable::updateGeometries()
{
    QTableView::updateGeometries();
    updateColumnWidths();
}

void TaskTable::dragEnterEvent(QDragEnterEvent* event)
{
    const QMimeData* data = event->mimeData();
    if (data->hasFormat(QStringLiteral("text/uri-list")) || data->hasFormat(QLatin1String(taskRowMimeType())))
        event->acceptProposedAction();
    QTableView::dragEnterEvent(event);
}

void TaskTable::dragMoveEvent(QDragMoveEvent* event)
{
    event->acceptProposedAction();
    QTableView::dragMoveEvent(event);
}

void TaskTable::dragLeaveEvent(QDragLeaveEvent* event)
{
    event->accept();
    QTableView::dragLeaveEvent(event);
}

// Files from outside are handed on; a row dragged inside the table is moved by the model through
// the standard handling.
void TaskTable::dropEvent(QDropEvent* event)
{
    Logger::instance()->log(QStringLiteral("%1::dropEvent").arg(QLatin1String(metaObject()->className())), Logger::Debug);
    const QMimeData* data = event->mimeData();
    if (data->hasUrls()) {
        if (data->urls().isEmpty())
            return;
        emit droppedFiles(DroppedFiles::localPaths(data, [this](const QString& suffix) {
            return !m_keepFile || m_keepFile(suffix);
        }));
    }
    QTableView::dropEvent(event);
}

void TaskTable::animateFade(qreal from, qreal to, bool hideAtEnd)
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

void TaskTable::fadeIn()
{
    m_fade->setGeometry(viewport()->geometry());
    m_fade->setWindowOpacity(0);
    m_fade->show();
    m_fade->raise();
    animateFade(0, 0.3, false);
}

void TaskTable::fadeOut()
{
    animateFade(0.3, 0, true);
}
