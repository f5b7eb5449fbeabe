#pragma once

#include "topdf/workers/IToPdfWorker.h"

#include <QStringList>

// A web page (HTML) to PDF through the program folder's HTML-to-PDF tool "quillweb", then the
// task's properties and password.
class ToPDFWorkerWebPage : public IToPdfWorker
{
public:
    explicit ToPDFWorkerWebPage(ToPdfWorkerContext context);

    bool execute(const ToPDFTask& task, int saveMode, const QString& outputFolder) override;
    QString resultPath() const override { return m_resultPath; }

    // The tool's arguments: source, output, page-size code (0 A4, 1 B5, 2 Letter, 8 A3, 9 A5),
    // margin in millimetres, landscape flag.
    static QStringList arguments(const ToPDFTask& task, const QString& output);

private:
    ToPdfWorkerContext m_context;
    QString m_resultPath;
};
