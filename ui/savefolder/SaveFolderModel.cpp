#include "ui/savefolder/SaveFolderModel.h"

#include "app/core/FileSystem.h"

SaveFolderModel::SaveFolderModel(QObject* parent)
    : QAbstractTableModel(parent)
    , m_customPath(FileSystem::desktopFolder())
{
}

int SaveFolderModel::rowCount(const QModelIndex&) const
{
    return 3;
}

int SaveFolderModel::columnCount(const QModelIndex&) const
{
    return 3;
}

QVariant SaveFolderModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    if (index.row() < 0 || index.row() >= 3)
        return QVariant();
    switch (index.column()) {
    case ModeColumn:
        return index.row();
    case ShownColumn:
    case ListColumn:
        if (index.row() == SubFolderRow)
            return tr("Sub folder");
        if (index.row() == OriginalFolderRow)
            return tr("Original folder");
        return index.column() == ShownColumn ? m_customPath : tr("Select folder...");
    default:
        return QVariant();
    }
}

bool SaveFolderModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.row() != ChosenFolderRow || index.column() != ShownColumn || role != Qt::EditRole)
        return false;
    m_customPath = value.toString();
    emit dataChanged(index, index, {});
    return true;
}
