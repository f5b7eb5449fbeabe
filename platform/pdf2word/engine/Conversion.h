#pragma once

// One conversion job from start to end: opens the PDF, reads and lays out each page of the range
// (text, figures, tables), reports each page, builds the flowing document and writes the output
// format through a temporary file that replaces the output only when everything succeeded.

#include "platform/mupdf/FitzContext.h"
#include "platform/mupdf/PageRun.h"
#include "platform/pdf2word/engine/Pdf2WordEngine.h"
#include "platform/pdf2word/engine/document/DocumentBuilder.h"
#include "platform/pdf2word/engine/document/PictureMaker.h"
#include "platform/pdf2word/engine/layout/PageLayout.h"
#include "platform/pdf2word/engine/model/Fitz.h"
#include "platform/pdf2word/engine/model/FlowDocument.h"
#include "platform/pdf2word/engine/read/PageReader.h"
#include "platform/pdf2word/engine/read/TextRecognizer.h"
#include "platform/pdf2word/engine/read/UnmappedText.h"

#include <QString>
#include <QStringList>

#include <chrono>
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
    using Clock = std::chrono::steady_clock;

    int fail(int result, const QString& message);
    int open();
    int readPages();
    // What one page's reading holds until the page is added to the document.
    struct PageWork
    {
        fz_page* page = nullptr;
        fz_display_list* list = nullptr;
        fz_rect mediabox = fz_empty_rect;
        QVector<TextLine> lines;
        PageGraphics graphics;
        PageLayout layout;
        QStringList notes;
    };

    int readPage(int pageNumber);
    // The steps of a page: its text read within the page's limits, the text in fonts without a
    // Unicode map recognised within a time of its own, the text laid out in the page's time left.
    int readText(int pageNumber, PageWork& work, const qpmupdf::RunWatch& watch);
    int recogniseText(int pageNumber, PageWork& work);
    int layOutText(int pageNumber, PageWork& work, const qpmupdf::RunWatch& watch);
    // The result of a page's run; a failure's message names the page.
    int runResult(int pageNumber, const qpmupdf::RunOutcome& outcome, bool done, const std::string& error);
    // The page's display list; a picture that cannot be read is left out of it. Throws what
    // MuPDF raised when the page cannot be run.
    fz_display_list* loadList(fz_page* page, int index, fz_cookie* cookie, QStringList* notes);
    // The page's figures as pictures, drawn by wanted at a resolution that fits, else by deadline
    // at the lowest (a figure that cannot be is left empty).
    int drawFigures(fz_display_list* list, const PageGraphics& graphics, const PageLayout& layout,
                    Clock::time_point wanted, Clock::time_point deadline, QList<FlowImage>* pictures,
                    QStringList* notes);
    // Asks the caller whether to go on.
    bool keepGoing();
    // Hands lines for the program's log to the caller.
    void note(int pageNumber, const QStringList& notes);
    int writeOutput(const FlowDocument& document);

    QpPdf2WordJob& m_job;
    qpmupdf::ContextPtr m_context; // goes last, after everything made in it
    fz_context* m_ctx = nullptr;
    fz_document* m_document = nullptr;
    Clock::time_point m_lastAsked;
    std::unique_ptr<Looks> m_looks;
    std::unique_ptr<TextRecognizer> m_recognizer;
    std::unique_ptr<PageReader> m_reader;
    std::unique_ptr<UnmappedText> m_unmapped;
    std::unique_ptr<PictureMaker> m_pictures;
    std::unique_ptr<DocumentBuilder> m_builder;
};

} // namespace p2w
