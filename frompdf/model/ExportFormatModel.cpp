#include "frompdf/model/ExportFormatModel.h"

#include "frompdf/engine/OutputFormats.h"

ExportFormatModel::ExportFormatModel(QObject* parent)
    : QAbstractListModel(parent)
    , m_formats(formats())
{
}

QStringList ExportFormatModel::formats()
{
    return OutputFormats::offered();
}

int ExportFormatModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_formats.size();
}

QVariant ExportFormatModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_formats.size())
        return QVariant();
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_formats.at(index.row());
    return QVariant();
}

int ExportFormatModel::rowOf(const QString& format) const
{
    return m_formats.indexOf(format);
}
