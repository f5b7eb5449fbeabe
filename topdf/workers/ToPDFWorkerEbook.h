#pragma once

#include "topdf/workers/IToPdfWorker.h"

#include <QJsonObject>
#include <QStringList>

// An e-book (EPUB, MOBI, FB2) to PDF through the program folder's e-book converter "quillbook":
// a JSON request file in a fresh work folder under the cache folder, then quillbook writes the
// target PDF itself, properties and password included. The work folder, with the request and the
// response quillbook writes beside it, stays in the cache folder.
class ToPDFWorkerEbook : public IToPdfWorker
{
public:
    explicit ToPDFWorkerEbook(ToPdfWorkerContext context);

    bool execute(const ToPDFTask& task, int saveMode, const QString& outputFolder) override;
    QString resultPath() const override { return m_resultPath; }

    // The request quillbook reads: ids, format, properties, and the layout as quillbook accepts it
    // ("page_size" one of Letter, A3, A4, A5, B5, anything else sent as A4; "margin" a number of
    // millimetres; "page_orientation" portrait or landscape).
    static QJsonObject request(const ToPDFTask& task);
    // Writes request(task) to path as indented UTF-8 JSON; false when the file cannot be written.
    static bool writeRequest(const ToPDFTask& task, const QString& path);

private:
    ToPdfWorkerContext m_context;
    QString m_resultPath;
};
