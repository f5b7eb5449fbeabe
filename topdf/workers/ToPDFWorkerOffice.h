#pragma once

#include "topdf/workers/IToPdfWorker.h"

// An office document (DOC, DOCX, ODT, ODS, XLS, XLSX, HTML) to PDF through LibreOffice
// (OfficeService), then the task's properties and password.
class ToPDFWorkerOffice : public IToPdfWorker
{
public:
    explicit ToPDFWorkerOffice(ToPdfWorkerContext context);

    bool execute(const ToPDFTask& task, int saveMode, const QString& outputFolder) override;
    QString resultPath() const override { return m_resultPath; }

private:
    ToPdfWorkerContext m_context;
    QString m_resultPath;
};
