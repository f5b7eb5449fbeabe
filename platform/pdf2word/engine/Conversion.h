#pragma once

// One conversion job from start to end: opens the PDF, reads each page of the range into the
// plain road's document (and, on the layout road, into MuPDF's document writer), reports each
// page, and writes the output format through a temporary file that replaces the output only
// when everything succeeded.

#include "FitzContext.h"
#include "FlowDocument.h"
#include "Fitz.h"
#include "Pdf2WordEngine.h"
#include "StextFlow.h"

#include <QString>

#include <memory>

namespace p2w {

class LayoutFeed;

class Conversion
{
public:
    explicit Conversion(QpPdf2WordJob& job);
    ~Conversion();
    Conversion(const Conversion&) = delete;
    Conversion& operator=(const Conversion&) = delete;

    // A QpPdf2WordResult; on failure the job's message says why.
    int run();

private:
    int fail(int result, const QString& message);
    int open();
    int readPages();
    int readPage(int pageNumber);
    int finishLayout(FlowDocument* document);
    int writeOutput(const FlowDocument& document);

    QpPdf2WordJob& m_job;
    qpmupdf::ContextPtr m_context; // goes last, after everything made in it
    fz_context* m_ctx = nullptr;
    fz_document* m_document = nullptr;
    std::unique_ptr<StextFlow> m_reader;
    std::unique_ptr<LayoutFeed> m_layout;
    FlowDocument m_plain; // the structured text's document: plain road and reference text
};

} // namespace p2w
