#include "topdf/model/ToPDFModel.h"

#include "topdf/model/ToPdfFiles.h"

#include <QImageReader>

ToPDFModel::ToPDFModel(QObject* parent)
    : TaskListModel(FileNameColumn, parent)
{
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

void ToPDFModel::addTasks(const QList<ToPDFTask>& tasks)
{
    appendTasks(tasks);
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

bool ToPDFModel::moveUp(int row)
{
    return swapRows(row, row - 1);
}

bool ToPDFModel::moveDown(int row)
{
    return swapRows(row, row + 1);
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
