#include "frompdf/views/FromPDFTable.h"

#include "frompdf/model/FromPDFModel.h"
#include "frompdf/views/FromPDFDelegate.h"
#include "frompdf/views/FromPDFDelegateStyle.h"
#include "ui/widgets/TableHeader.h"

FromPDFTable::FromPDFTable(FromPDFModel* model, QWidget* parent)
    : TaskTable(model, {29, 0, 25, 127, 40, 53, 63, 49}, parent)
    , m_style(new FromPDFDelegateStyle(this))
    , m_model(model)
{
    m_style->setObjectName(QStringLiteral("fromPdfDelegateStyle"));
    m_style->resize(0, 0);
    setItemDelegate(new FromPDFDelegate(m_style, this));

    m_fileNameHeader = new TableHeaderDelegate(tableHeader(), this);
    m_pagesHeader = new TableHeaderDelegate(tableHeader(), this);
    for (TableHeaderDelegate* delegate : {m_fileNameHeader, m_pagesHeader})
        delegate->setMargins(QMargins(8, 0, 8, 0));
    m_fileNameHeader->setSortable(true);
    tableHeader()->setSectionDelegate(FromPDFModel::FileNameColumn, m_fileNameHeader);
    tableHeader()->setSectionDelegate(FromPDFModel::PagesColumn, m_pagesHeader);
    retranslate();
    setSortingEnabled(true);
    sortByColumn(FromPDFModel::FileNameColumn, Qt::AscendingOrder);
}

void FromPDFTable::retranslate()
{
    m_fileNameHeader->setText(m_model->headerData(FromPDFModel::FileNameColumn, Qt::Horizontal).toString());
    m_pagesHeader->setText(m_model->headerData(FromPDFModel::PagesColumn, Qt::Horizontal).toString());
}
