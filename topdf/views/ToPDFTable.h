#pragma once

#include "ui/widgets/TaskTable.h"

class TableHeaderDelegate;
class ToPDFDelegateStyle;
class ToPDFModel;

// The task table of the "To PDF" tab: five columns painted by ToPDFDelegate (number, file name,
// source format, settings button, remove button), rows reordered by dragging them inside the
// table, dropped files of supported formats handed on as droppedFiles, and a white veil over the
// rows while a conversion runs.
class ToPDFTable : public TaskTable
{
    Q_OBJECT

public:
    ToPDFTable(ToPDFModel* model, QWidget* parent = nullptr);

    ToPDFDelegateStyle* delegateStyle() const { return m_style; }
    // The suffixes (without dot, any case) that a drop from outside keeps.
    void setSupportedFormats(const QStringList& suffixes);

private:
    void retranslate() override;

    ToPDFDelegateStyle* m_style;
    ToPDFModel* m_model;
    TableHeaderDelegate* m_fileNameHeader;
};
