#include "topdf/views/ToPDFTable.h"

#include "topdf/model/ToPDFModel.h"
#include "topdf/views/ToPDFDelegate.h"
#include "topdf/views/ToPDFDelegateStyle.h"
#include "ui/widgets/TableHeader.h"

ToPDFTable::ToPDFTable(ToPDFModel* model, QWidget* parent)
    : TaskTable(model, {29, 0, 49, 41, 49}, parent)
    , m_style(new ToPDFDelegateStyle(this))
    , m_model(model)
{
    m_style->setObjectName(QStringLiteral("toPdfDelegateStyle"));
    m_style->resize(0, 0);
    setItemDelegate(new ToPDFDelegate(m_style, this));
    m_fileNameHeader = new TableHeaderDelegate(tableHeader(), this);
    m_fileNameHeader->setSortable(true);
    m_fileNameHeader->setMargins(QMargins(8, 0, 0, 0));
    tableHeader()->setSectionDelegate(ToPDFModel::FileNameColumn, m_fileNameHeader);
    retranslate();
    setSortingEnabled(true);
    sortByColumn(ToPDFModel::FileNameColumn, Qt::AscendingOrder);
}

void ToPDFTable::setSupportedFormats(const QStringList& suffixes)
{
    setFileFilter([suffixes](const QString& suffix) { return suffixes.contains(suffix, Qt::CaseInsensitive); });
}

void ToPDFTable::retranslate()
{
    m_fileNameHeader->setText(m_model->headerData(ToPDFModel::FileNameColumn, Qt::Horizontal).toString());
}
