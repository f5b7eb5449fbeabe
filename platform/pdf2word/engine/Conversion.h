#pragma once

// One conversion job from start to end: opens the PDF, reads and lays out each page of the range
// (text, figures, tables), reports each page, builds the flowing document and writes the output
// format through a temporary file that replaces the output only when everything succeeded.

#include "DocumentBuilder.h"
#include "Fitz.h"
#include "FitzContext.h"
#include "FlowDocument.h"
#include "PageReader.h"
#include "Pdf2WordEngine.h"
#include "PictureMaker.h"

#include <QString>

#include <memory>

namespace p2w {

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
    int writeOutput(const FlowDocument& document);

    QpPdf2WordJob& m_job;
    qpmupdf::ContextPtr m_context; // goes last, after everything made in it
    fz_context* m_ctx = nullptr;
    fz_document* m_document = nullptr;
    // The layout road writes what the page shows; the plain road also the text drawn invisibly
    // (a scan's recognised text), which the layout road must leave to it.
    bool m_keepHidden = true;
    int m_visibleCharacters = 0;
    int m_hiddenCharacters = 0;
    std::unique_ptr<Looks> m_looks;
    std::unique_ptr<PageReader> m_reader;
    std::unique_ptr<PictureMaker> m_pictures;
    std::unique_ptr<DocumentBuilder> m_builder;
};

} // namespace p2w
