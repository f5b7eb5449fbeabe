#include "ToPDFModel.h"

#include "Logger.h"
#include "ToPdfFiles.h"

#include <QImageReader>
#include <QMimeData>

#include <algorithm>

namespace {

void logDebug(const QString& text)
{
    Logger::instance()->log(text, Logger::Debug);
}

} // namespace

ToPDFModel::ToPDFModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

int ToPDFModel::rowCount(const QModelIndex&) const
{
    return m_tasks.size();
}

int ToPDFModel::columnCount(const QModelIndex&) const
{
    return ColumnCount;
}

QVariant ToPDFModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !isRow(index.row()))
        return QVariant();
    const ToPDFTask& task = m_tasks.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        switch (index.column()) {
        case NumberColumn:
            return index.row() + 1;
        case FileNameColumn:
            return task.file.completeBaseName();
        case FromColumn:
            return task.file.suffix();
        default:
            return QVariant();
        }
    case Qt::TextAlignmentRole:
        if (index.column() == NumberColumn || index.column() == FromColumn)
            return int(Qt::AlignHCenter | Qt::AlignVCenter);
        return QVariant();
    case ImageSizeRole: {
        const auto size = m_imageSizes.constFind(task.file.filePath());
        if (size == m_imageSizes.constEnd())
            return QVariant();
        return QStringLiteral("%1x%2").arg(size->width()).arg(size->height());
    }
    default:
        return QVariant();
    }
}

QVariant ToPDFModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QVariant();
    if (role == Qt::TextAlignmentRole)
        return section == FileNameColumn ? QVariant(int(Qt::AlignLeft | Qt::AlignVCenter)) : QVariant();
    if (role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case NumberColumn:
        return QStringLiteral("#");
    case FileNameColumn:
        return tr("Filename");
    case FromColumn:
        return tr("From");
    default:
        return QVariant();
    }
}

Qt::ItemFlags ToPDFModel::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags base = QAbstractTableModel::flags(index) | Qt::ItemIsDropEnabled;
    return index.isValid() ? base | Qt::ItemIsDragEnabled : base;
}

Qt::DropActions ToPDFModel::supportedDropActions() const
{
    return Qt::CopyAction | Qt::MoveAction | Qt::TargetMoveAction;
}

QStringList ToPDFModel::mimeTypes() const
{
    return {QLatin1String(rowListMimeType())};
}

QMimeData* ToPDFModel::mimeData(const QModelIndexList& indexes) const
{
    QString text;
    for (const QModelIndex& index : indexes) {
        if (index.isValid())
            text += QString::number(index.row()) + QLatin1Char('|');
    }
    auto* data = new QMimeData;
    data->setData(QLatin1String(rowListMimeType()), text.toUtf8());
    return data;
}

// The row named first in the drag moves onto the row it was dropped on.
bool ToPDFModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int, int, const QModelIndex& parent)
{
    logDebug(QStringLiteral("Begin drop mime data"));
    if (action == Qt::IgnoreAction)
        return true;
    if (!data || !data->hasFormat(QLatin1String(rowListMimeType())))
        return false;
    const QString text = QString::fromUtf8(data->data(QLatin1String(rowListMimeType())));
    if (text.isEmpty())
        return false;
    const QStringList parts = text.split(QLatin1Char('|'));
    bool isNumber = false;
    const int source = parts.first().toInt(&isNumber);
    const int target = parent.row();
    logDebug(QStringLiteral("Source row:%1").arg(parts.first()));
    logDebug(QStringLiteral("Drop Mime Data:%1").arg(parts.join(QLatin1Char(','))));
    logDebug(QStringLiteral("Target row id%1").arg(target));
    // A drag from elsewhere, or one whose rows changed while it was under way, may name any row.
    if (!isNumber || !isRow(source) || !isRow(target) || target == source)
        return false;
    if (target == source + 1)
        return swap(source, target);
    // Views count the destination before the move: one further down for a downward move.
    beginMoveRows(QModelIndex(), source, source, QModelIndex(), target > source ? target + 1 : target);
    m_tasks.move(source, target);
    endMoveRows();
    return true;
}

void ToPDFModel::sort(int column, Qt::SortOrder order)
{
    if (column != FileNameColumn)
        return;
    beginResetModel();
    std::sort(m_tasks.begin(), m_tasks.end(), [order](const ToPDFTask& a, const ToPDFTask& b) {
        const int compared = a.file.fileName().compare(b.file.fileName(), Qt::CaseInsensitive);
        return order == Qt::AscendingOrder ? compared < 0 : compared > 0;
    });
    endResetModel();
}

bool ToPDFModel::removeRows(int row, int count, const QModelIndex&)
{
    if (count < 1 || !isRow(row))
        return false;
    const int last = std::min(row + count, m_tasks.size()) - 1;
    beginRemoveRows(QModelIndex(), row, last);
    m_tasks.erase(m_tasks.begin() + row, m_tasks.begin() + last + 1);
    endRemoveRows();
    return true;
}

void ToPDFModel::addTasks(const QList<ToPDFTask>& tasks)
{
    beginResetModel();
    m_tasks.append(tasks);
    endResetModel();
    for (const ToPDFTask& task : tasks) {
        const QString path = task.file.filePath();
        if (!ToPdfFiles::hasPixelSize(path))
            continue;
        // A file whose header does not read shows no size.
        const QSize size = QImageReader(path).size();
        if (size.isValid())
            m_imageSizes.insert(path, size);
    }
}

void ToPDFModel::clear()
{
    beginResetModel();
    m_tasks.clear();
    endResetModel();
}

bool ToPDFModel::isEmpty() const
{
    return m_tasks.isEmpty();
}

ToPDFTask ToPDFModel::task(int row) const
{
    return isRow(row) ? m_tasks.at(row) : ToPDFTask();
}

QList<ToPDFTask> ToPDFModel::tasks() const
{
    return m_tasks;
}

void ToPDFModel::setTask(int row, const ToPDFTask& task)
{
    if (!isRow(row))
        return;
    m_tasks[row] = task;
    // Every view repaints.
    emit dataChanged(QModelIndex(), QModelIndex());
}

bool ToPDFModel::swap(int row, int other)
{
    if (!isRow(row) || !isRow(other))
        return false;
    const ToPDFTask moved = m_tasks.at(row);
    setTask(row, m_tasks.at(other));
    setTask(other, moved);
    return true;
}

bool ToPDFModel::moveUp(int row)
{
    return swap(row, row - 1);
}

bool ToPDFModel::moveDown(int row)
{
    return swap(row, row + 1);
}

void ToPDFModel::setFileSettings(int row, const FileSettingsData& settings)
{
    if (isRow(row))
        m_tasks[row].fileSettings = settings;
}

void ToPDFModel::setLayoutSettings(int row, const LayoutSettingsData& settings)
{
    if (isRow(row))
        m_tasks[row].layoutSettings = settings;
}

void ToPDFModel::setFileSettingsForAll(const FileSettingsData& settings)
{
    for (ToPDFTask& task : m_tasks) {
        task.fileSettings.publisher = settings.publisher;
        task.fileSettings.password = settings.password;
    }
}

void ToPDFModel::setLayoutSettingsForAll(const LayoutSettingsData& settings)
{
    for (ToPDFTask& task : m_tasks)
        task.layoutSettings = settings;
}

void ToPDFModel::setFileSettingsEnabled(bool enabled)
{
    for (ToPDFTask& task : m_tasks)
        task.fileSettingsEnabled = enabled;
}
