#include "FromPDFModel.h"

#include "FromPdfIntake.h"
#include "Logger.h"
#include "Settings.h"

#include <QMimeData>

#include <algorithm>

FromPDFModel::FromPDFModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

int FromPDFModel::rowCount(const QModelIndex&) const
{
    return m_tasks.size();
}

int FromPDFModel::columnCount(const QModelIndex&) const
{
    return ColumnCount;
}

QVariant FromPDFModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !isRow(index.row()))
        return QVariant();
    const FromPDFTask& task = m_tasks.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        switch (index.column()) {
        case NumberColumn:
            return index.row() + 1;
        case FileNameColumn:
            return task.file.completeBaseName();
        case PagesColumn:
            if (!task.ranges.isEmpty())
                return pageRangeListText(task.ranges);
            return tr("All (%1)").arg(task.pageCount < 1 ? QStringLiteral("?") : QString::number(task.pageCount));
        case FormatColumn:
            return task.format;
        case SplitColumn:
            return FromPDFTask::isAlwaysSplitFormat(task.format) || task.split;
        default:
            return QVariant();
        }
    case Qt::TextAlignmentRole:
        if (index.column() == NumberColumn)
            return int(Qt::AlignHCenter | Qt::AlignVCenter);
        return QVariant();
    case NeedsPasswordRole:
        return task.needsPassword();
    case FilePathRole:
        return task.file.filePath();
    case PasswordRole:
        return task.password;
    case ForcedSplitRole:
        return FromPDFTask::isAlwaysSplitFormat(task.format);
    case OcrLanguageAppliesRole:
        return FromPDFTask::isDocumentFormat(task.format) || FromPDFTask::isTextFormat(task.format);
    default:
        return QVariant();
    }
}

QVariant FromPDFModel::headerData(int section, Qt::Orientation orientation, int role) const
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
    case PagesColumn:
        return tr("Pages");
    case FormatColumn:
        return tr("To");
    case SplitColumn:
        return tr("Split");
    case PasswordColumn:
        return tr("Password");
    default:
        return QVariant();
    }
}

Qt::ItemFlags FromPDFModel::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags base = QAbstractTableModel::flags(index);
    if (index.isValid())
        return base | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    return base | Qt::ItemIsDropEnabled;
}

Qt::DropActions FromPDFModel::supportedDropActions() const
{
    return Qt::CopyAction | Qt::MoveAction | Qt::TargetMoveAction;
}

QStringList FromPDFModel::mimeTypes() const
{
    return {QLatin1String(rowListMimeType())};
}

QMimeData* FromPDFModel::mimeData(const QModelIndexList& indexes) const
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

bool FromPDFModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int, int, const QModelIndex& parent)
{
    Logger::instance()->log(QStringLiteral("Begin drop mime data"), Logger::Debug);
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
    Logger::instance()->log(QStringLiteral("Source row:%1").arg(parts.first()), Logger::Debug);
    Logger::instance()->log(QStringLiteral("Drop Mime Data:%1").arg(parts.join(QLatin1Char(','))), Logger::Debug);
    Logger::instance()->log(QStringLiteral("Target row id%1").arg(target), Logger::Debug);
    // A drag from elsewhere, or one whose rows changed while it was under way, may name any row.
    if (!isNumber || !isRow(source) || !isRow(target) || target == source)
        return false;

    if (target == source + 1) {
        const FromPDFTask moved = m_tasks.at(source);
        setTask(source, m_tasks.at(target));
        setTask(target, moved);
    } else {
        // Views count the destination before the move: one further down for a downward move.
        beginMoveRows(QModelIndex(), source, source, QModelIndex(), target > source ? target + 1 : target);
        m_tasks.move(source, target);
        endMoveRows();
    }
    emit rowMoved(target);
    return true;
}

void FromPDFModel::sort(int column, Qt::SortOrder order)
{
    if (column != FileNameColumn)
        return;
    beginResetModel();
    std::sort(m_tasks.begin(), m_tasks.end(), [order](const FromPDFTask& a, const FromPDFTask& b) {
        const int compared = a.file.fileName().compare(b.file.fileName(), Qt::CaseInsensitive);
        return order == Qt::AscendingOrder ? compared < 0 : compared > 0;
    });
    endResetModel();
}

bool FromPDFModel::removeRows(int row, int count, const QModelIndex&)
{
    if (count < 1 || !isRow(row))
        return false;
    const int last = std::min(row + count, m_tasks.size()) - 1;
    beginRemoveRows(QModelIndex(), row, last);
    for (int i = row; i <= last; ++i)
        m_tasks.removeAt(row);
    endRemoveRows();
    return true;
}

void FromPDFModel::add(const FromPDFTaskList& tasks)
{
    Logger::instance()->log(QStringLiteral("void FromPDFModel::add(const FromPDFTaskList&)"), Logger::Debug);
    Logger::instance()->log(QStringLiteral("Task count:%1").arg(tasks.size()), Logger::Debug);
    beginResetModel();
    m_tasks.append(tasks);
    endResetModel();
}

void FromPDFModel::clear()
{
    beginResetModel();
    m_tasks.clear();
    endResetModel();
}

bool FromPDFModel::isEmpty() const
{
    return m_tasks.isEmpty();
}

FromPDFTask FromPDFModel::task(int row) const
{
    return isRow(row) ? m_tasks.at(row) : FromPDFTask();
}

void FromPDFModel::setTask(int row, const FromPDFTask& task)
{
    if (!isRow(row))
        return;
    m_tasks[row] = task;
    notify();
}

QString FromPDFModel::defaultOcrLanguage() const
{
    return m_defaultOcrLanguage ? m_defaultOcrLanguage() : QStringLiteral("EN");
}

// setOcrLanguage gives the language only to formats that can use OCR and leaves the others without.
void FromPDFModel::applyFormat(FromPDFTask* task, const QString& format, const QString& defaultLanguage)
{
    task->setFormat(format);
    task->setOcrLanguage(defaultLanguage);
}

void FromPDFModel::setFormat(int row, const QString& format)
{
    if (!isRow(row))
        return;
    applyFormat(&m_tasks[row], format, defaultOcrLanguage());
    notify();
}

void FromPDFModel::setFormatForAll(const QString& format)
{
    const QString language = defaultOcrLanguage();
    for (FromPDFTask& task : m_tasks)
        applyFormat(&task, format, language);
    notify();
}

void FromPDFModel::toggleSplit(int row)
{
    if (!isRow(row))
        return;
    m_tasks[row].split = !m_tasks[row].split;
    notify();
}

void FromPDFModel::setSplitForAll(bool on)
{
    for (FromPDFTask& task : m_tasks) {
        if (!FromPDFTask::isAlwaysSplitFormat(task.format))
            task.split = on;
    }
    notify();
}

void FromPDFModel::setPageRanges(int row, const PageRangeList& ranges)
{
    if (!isRow(row))
        return;
    m_tasks[row].ranges = ranges;
    m_tasks[row].rangesChosen = true;
    notify();
}

FromPDFTaskList FromPDFModel::tasks()
{
    const QString language = Settings::instance()->ocrLanguage();
    FromPDFTaskList result;
    bool skipAll = false;
    for (int row = 0; row < m_tasks.size(); ++row) {
        FromPDFTask task = m_tasks.at(row);
        task.setOcrLanguage(language);
        if (task.needsPassword()) {
            if (skipAll || !m_intake)
                continue;
            const FromPdfIntake::UnlockResult unlocked = m_intake->unlockOrSkip(&task);
            if (unlocked == FromPdfIntake::UnlockResult::SkippedAll)
                skipAll = true;
            if (unlocked != FromPdfIntake::UnlockResult::Unlocked)
                continue;
            // The row keeps the password, so the next conversion does not ask again.
            FromPDFTask stored = m_tasks.at(row);
            stored.password = task.password;
            stored.pageCount = task.pageCount;
            stored.scanned = task.scanned;
            stored.encrypted = task.encrypted;
            stored.passwordRequired = true;
            setTask(row, stored);
        }
        result << task;
    }
    for (FromPDFTask& task : result) {
        if (task.ranges.isEmpty())
            task.ranges << PageRange(1, task.pageCount);
    }
    return result;
}

void FromPDFModel::notify()
{
    emit dataChanged(QModelIndex(), QModelIndex(), {});
}
