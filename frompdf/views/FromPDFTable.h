#pragma once

#include "ui/widgets/TaskTable.h"

class FromPDFDelegate;
class FromPDFDelegateStyle;
class FromPDFModel;
class TableHeaderDelegate;

// The task table of the "From PDF" tab: eight fixed-width columns painted by FromPDFDelegate,
// rows reordered by dragging them inside the table, dropped files handed on as droppedFiles
// (every file: the intake skips what is not a PDF), and a white veil over the rows while a
// conversion runs.
class FromPDFTable : public TaskTable
{
    Q_OBJECT

public:
    FromPDFTable(FromPDFModel* model, QWidget* parent = nullptr);

    FromPDFDelegateStyle* delegateStyle() const { return m_style; }

private:
    void retranslate() override;

    FromPDFDelegateStyle* m_style;
    FromPDFModel* m_model;
    TableHeaderDelegate* m_fileNameHeader;
    TableHeaderDelegate* m_pagesHeader;
};
