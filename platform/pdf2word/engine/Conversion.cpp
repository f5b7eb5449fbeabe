#include "platform/pdf2word/engine/Conversion.h"

#include "platform/mupdf/AtomicFile.h"
#include "platform/mupdf/FitzContext.h"
#include "platform/mupdf/PageRun.h"
#include "platform/mupdf/PdfOpen.h"
#include "platform/pdf2word/engine/TuningFile.h"
#include "platform/pdf2word/engine/layout/PageLayout.h"
#include "platform/pdf2word/engine/read/DeepNesting.h"
#include "platform/pdf2word/engine/read/TextRecognizer.h"
#include "platform/pdf2word/engine/read/UnreadablePictures.h"
#include "platform/pdf2word/engine/write/Outputs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QVector>

#include <cstdio>

namespace p2w {

namespace {

// A page is wanted done within this time: its figures are drawn at a resolution that fits it,
// and take longer (at the lowest resolution, up to the page's limit) only when that does not.
const std::chrono::milliseconds kWantedPageTime{2000};
// Recognising a page's text in fonts without a Unicode map gets this much time, apart from the
// page's own limit: a page whose time runs out keeps what was read.
const std::chrono::seconds kRecognitionTime{60};
// Laying a page out holds copies of its model (the region's lines and shapes, the lists each
// step sorts): about this many times the model itself, besides it.
const size_t kLayoutCopies = 2;
// A page's list is made at most this often: once, again without its unreadable pictures, again
// without what nests too deep.
const int kMostRuns = 3;

// The bytes of the engine's own model of a page: its lines with their glyphs, its shapes and
// rules, as the containers hold them.
size_t pageModelBytes(const QVector<TextLine>& lines, const PageGraphics& graphics)
{
    size_t bytes = size_t(lines.capacity()) * sizeof(TextLine) + size_t(graphics.shapes.capacity()) * sizeof(Shape)
                   + size_t(graphics.rules.capacity()) * sizeof(Rule)
                   + size_t(graphics.unmapped.capacity()) * sizeof(UnmappedGlyph);
    for (const TextLine& line : lines)
        bytes += size_t(line.glyphs.capacity()) * sizeof(Glyph);
    return bytes;
}

} // namespace

Conversion::Conversion(QpPdf2WordJob& job)
    : m_job(job)
{
    m_job.message[0] = 0;
    m_job.pagesDone = 0;
}

Conversion::~Conversion()
{
    m_builder.reset();
    m_pictures.reset();
    m_reader.reset();
    m_unmapped.reset();
    m_recognizer.reset();
    if (m_ctx)
        fz_drop_document(m_ctx, m_document);
}

int Conversion::fail(int result, const QString& message)
{
    const QByteArray text = message.toUtf8();
    std::snprintf(m_job.message, sizeof(m_job.message), "%s", text.constData());
    return result;
}

int Conversion::run()
{
    if (!m_job.source || !m_job.output || !*m_job.source || !*m_job.output)
        return fail(QP_PDF2WORD_BAD_REQUEST, QStringLiteral("No source or output path"));
    if (m_job.format < QP_PDF2WORD_DOCX || m_job.format > QP_PDF2WORD_TXT)
        return fail(QP_PDF2WORD_BAD_REQUEST, QStringLiteral("Unknown output format %1").arg(m_job.format));
    if (m_job.mode != QP_PDF2WORD_LAYOUT && m_job.mode != QP_PDF2WORD_PLAIN)
        return fail(QP_PDF2WORD_BAD_REQUEST, QStringLiteral("Unknown conversion mode %1").arg(m_job.mode));
    // A benchmark run's values, read once; a file with a fault fails every conversion rather than
    // let the run measure values it did not try.
    const QString tuning = applyTuningFromEnvironment();
    if (!tuning.isEmpty())
        return fail(QP_PDF2WORD_BAD_REQUEST, tuning);

    // MuPDF's errors reach the caller as the job's message, not the error output.
    m_context = qpmupdf::newContext();
    m_ctx = m_context.get();
    if (!m_ctx)
        return fail(QP_PDF2WORD_OPEN_FAILED, QStringLiteral("Out of memory"));
    m_looks.reset(new Looks(m_ctx));
    if (m_job.tessdata && *m_job.tessdata)
        m_recognizer.reset(new TextRecognizer(QString::fromUtf8(m_job.tessdata),
                                              QString::fromUtf8(m_job.languages ? m_job.languages : "")));
    m_reader.reset(new PageReader(m_ctx, *m_looks, m_recognizer.get()));
    m_unmapped.reset(new UnmappedText(m_ctx, m_recognizer.get()));
    m_pictures.reset(new PictureMaker(m_ctx));
    m_builder.reset(new DocumentBuilder(*m_looks));

    int result = open();
    if (result == QP_PDF2WORD_OK)
        result = readPages();
    if (result != QP_PDF2WORD_OK)
        return result;
    FlowDocument document = m_builder->finish();
    document.title = QFileInfo(QString::fromUtf8(m_job.output)).completeBaseName();
    dropReplacementCharacters(document);
    return writeOutput(document);
}

int Conversion::open()
{
    const QString source = QString::fromUtf8(m_job.source);
    pdf_document* pdf = nullptr;
    switch (qpmupdf::openPdf(m_ctx, m_job.source, m_job.password ? m_job.password : "", &pdf)) {
    case qpmupdf::OpenResult::Opened:
        break;
    case qpmupdf::OpenResult::PasswordNeeded:
        return fail(QP_PDF2WORD_OPEN_FAILED, QStringLiteral("The password does not open '%1'").arg(source));
    case qpmupdf::OpenResult::Missing:
        return fail(QP_PDF2WORD_OPEN_FAILED, QStringLiteral("Cannot open '%1': no such file").arg(source));
    case qpmupdf::OpenResult::Unreadable:
        return fail(QP_PDF2WORD_OPEN_FAILED, QStringLiteral("Cannot open '%1': the file cannot be read").arg(source));
    case qpmupdf::OpenResult::Damaged:
        return fail(QP_PDF2WORD_OPEN_FAILED, QStringLiteral("Cannot open '%1': damaged, or not a PDF").arg(source));
    }
    m_document = reinterpret_cast<fz_document*>(pdf);
    int pageCount = 0;
    fzRun(m_ctx, [&] { pageCount = fz_count_pages(m_ctx, m_document); });
    if (m_job.firstPage < 1 || m_job.lastPage < m_job.firstPage || m_job.lastPage > pageCount)
        return fail(QP_PDF2WORD_RANGE_INVALID, QStringLiteral("Pages %1 to %2 are not all in the document (%3 pages)")
                                                   .arg(m_job.firstPage)
                                                   .arg(m_job.lastPage)
                                                   .arg(pageCount));
    return QP_PDF2WORD_OK;
}

int Conversion::readPages()
{
    const int total = m_job.lastPage - m_job.firstPage + 1;
    for (int page = m_job.firstPage; page <= m_job.lastPage; ++page) {
        const int result = readPage(page);
        if (result != QP_PDF2WORD_OK)
            return result;
        m_job.pagesDone = page - m_job.firstPage + 1;
        if (m_job.progress && m_job.progress(m_job.progressContext, m_job.pagesDone, total) == -1)
            return fail(QP_PDF2WORD_STOPPED, QStringLiteral("Stopped after page %1").arg(page));
    }
    return QP_PDF2WORD_OK;
}

bool Conversion::keepGoing()
{
    m_lastAsked = Clock::now();
    const int total = m_job.lastPage - m_job.firstPage + 1;
    return !m_job.progress || m_job.progress(m_job.progressContext, m_job.pagesDone, total) != -1;
}

void Conversion::note(int pageNumber, const QStringList& notes)
{
    if (!m_job.note)
        return;
    for (const QString& text : notes)
        m_job.note(m_job.progressContext, QStringLiteral("Page %1: %2").arg(pageNumber).arg(text).toUtf8().constData());
}

fz_display_list* Conversion::loadList(fz_page* page, int index, fz_cookie* cookie, QStringList* notes)
{
    const fz_rect mediabox = fz_bound_page(m_ctx, page);
    for (int run = 1;; ++run) {
        fz_display_list* list = nullptr;
        fz_device* listDevice = nullptr;
        const bool ok = fzRun(m_ctx, [&] {
            list = fz_new_display_list(m_ctx, mediabox);
            listDevice = fz_new_list_device(m_ctx, list);
            fz_run_page(m_ctx, page, listDevice, fz_identity, cookie);
            fz_close_device(m_ctx, listDevice);
        });
        fz_drop_device(m_ctx, listDevice);
        if (ok)
            return list;
        fz_drop_display_list(m_ctx, list);
        // A picture that cannot be read, or forms nested deeper than MuPDF follows, stop the
        // page: it runs again without them, at most once for each.
        // Kept in a plain buffer: fz_throw jumps past destructors, so nothing here may own memory.
        char error[256];
        fz_strlcpy(error, fz_caught_message(m_ctx), sizeof error);
        pdf_document* pdf = reinterpret_cast<pdf_document*>(m_document);
        if (run >= kMostRuns || aborted(cookie)
            || !(dropUnreadablePictures(m_ctx, pdf, index, notes) || cutDeepNesting(m_ctx, pdf, index, notes)))
            fz_throw(m_ctx, FZ_ERROR_GENERIC, "%s", error);
    }
}

int Conversion::readPage(int pageNumber)
{
    // The page's time limit holds for reading and laying out its text and drawing its figures;
    // recognising text in fonts without a Unicode map has a time of its own.
    m_lastAsked = Clock::now();
    const Clock::time_point start = m_lastAsked;
    PageWork work;
    // While a page takes long, the caller is asked again whether to go on (a stop answers -1).
    qpmupdf::RunWatch watch;
    if (m_job.progress)
        watch.keepGoing = [this] { return keepGoing(); };
    int result = readText(pageNumber, work, watch);
    const Clock::time_point read = Clock::now();
    if (result == QP_PDF2WORD_OK)
        result = recogniseText(pageNumber, work);
    const Clock::duration recognising = Clock::now() - read;
    if (result == QP_PDF2WORD_OK) {
        watch.timeLimit = std::chrono::duration_cast<std::chrono::milliseconds>(qpmupdf::pageTimeLimit - (read - start));
        result = layOutText(pageNumber, work, watch);
    }
    if (result == QP_PDF2WORD_OK) {
        QList<FlowImage> pictures;
        const Clock::time_point deadline = start + qpmupdf::pageTimeLimit + recognising;
        const Clock::time_point wanted = start + kWantedPageTime + recognising;
        result = drawFigures(work.list, work.graphics, work.layout, wanted, deadline, &pictures, &work.notes);
        if (result == QP_PDF2WORD_STOPPED)
            fail(result, QStringLiteral("Stopped during page %1").arg(pageNumber));
        else
            m_builder->addPage(work.layout, pictures);
    }
    note(pageNumber, work.notes);
    // The pictures' shapes and the unmapped glyphs borrow from the list: the list goes last.
    qpmupdf::releaseMemory(m_ctx, work.graphics.countedBytes);
    work.graphics = PageGraphics();
    fz_drop_display_list(m_ctx, work.list);
    fz_drop_page(m_ctx, work.page);
    return result;
}

int Conversion::runResult(int pageNumber, const qpmupdf::RunOutcome& outcome, bool done, const std::string& error)
{
    if (outcome.end == qpmupdf::RunEnd::Stopped)
        return fail(QP_PDF2WORD_STOPPED, QStringLiteral("Stopped during page %1").arg(pageNumber));
    if (!outcome.finished() || !done) {
        const std::string reason = outcome.finished() ? error : outcome.message;
        return fail(QP_PDF2WORD_OPEN_FAILED, QStringLiteral("Cannot read page %1: %2")
                                                 .arg(pageNumber)
                                                 .arg(QString::fromStdString(reason)));
    }
    return QP_PDF2WORD_OK;
}

int Conversion::readText(int pageNumber, PageWork& work, const qpmupdf::RunWatch& watch)
{
    // A page fails only when its text cannot be read. The calls into MuPDF below the list have
    // error frames of their own.
    bool read = false;
    std::string readError;
    const int index = pageNumber - 1;
    const qpmupdf::RunOutcome outcome = qpmupdf::runPage(
        m_ctx, [&](fz_cookie* cookie) {
            work.page = fz_load_page(m_ctx, m_document, index);
            work.mediabox = fz_bound_page(m_ctx, work.page);
            work.list = loadList(work.page, index, cookie, &work.notes);
            read = m_reader->readText(work.list, work.mediabox, cookie, &work.lines, &work.graphics);
            if (!read)
                readError = fz_caught_message(m_ctx);
        },
        watch);
    return runResult(pageNumber, outcome, read, readError);
}

int Conversion::recogniseText(int pageNumber, PageWork& work)
{
    TextRecognizer::Limits limits;
    limits.deadline = Clock::now() + kRecognitionTime;
    if (m_job.progress)
        limits.keepGoing = [this] { return keepGoing(); };
    if (!m_unmapped->read(work.graphics, work.mediabox, limits, &work.lines, &work.notes))
        return fail(QP_PDF2WORD_STOPPED, QStringLiteral("Stopped during page %1").arg(pageNumber));
    return QP_PDF2WORD_OK;
}

int Conversion::layOutText(int pageNumber, PageWork& work, const qpmupdf::RunWatch& watch)
{
    size_t charged = 0;
    const qpmupdf::RunOutcome outcome = qpmupdf::runPage(
        m_ctx, [&](fz_cookie* cookie) {
            PageReader::finishLines(&work.lines);
            // The engine's own model of the page and its layout's copies count against the page's
            // memory as MuPDF's blocks do (the shapes were counted as they were read): a page
            // whose model would not fit fails here, before the layout makes the copies. (A list
            // that lost shapes since may hold less than was counted for it.)
            const size_t needed = pageModelBytes(work.lines, work.graphics) * (1 + kLayoutCopies);
            const size_t extra = needed > work.graphics.countedBytes ? needed - work.graphics.countedBytes : 0;
            if (!qpmupdf::chargeMemory(m_ctx, extra))
                fz_throw(m_ctx, FZ_ERROR_MEMORY, "the page's model needs too much memory");
            charged = extra;
            work.layout = layOutPage(work.lines, work.graphics, work.mediabox, cookie);
        },
        watch);
    qpmupdf::releaseMemory(m_ctx, charged);
    return runResult(pageNumber, outcome, true, std::string());
}

int Conversion::drawFigures(fz_display_list* list, const PageGraphics& graphics, const PageLayout& layout,
                            Clock::time_point wanted, Clock::time_point deadline, QList<FlowImage>* pictures,
                            QStringList* notes)
{
    // Plain text has no place for pictures.
    const bool wantPictures = m_job.format != QP_PDF2WORD_TXT;
    const std::function<bool()> askCaller = m_job.progress ? std::function<bool()>([this] { return keepGoing(); })
                                                           : std::function<bool()>();
    m_pictures->startPage();
    if (!wantPictures) {
        for (int i = 0; i < layout.figures.size(); ++i)
            pictures->append(FlowImage());
        return QP_PDF2WORD_OK;
    }
    if (askCaller && Clock::now() - m_lastAsked >= qpmupdf::keepGoingInterval && !keepGoing())
        return QP_PDF2WORD_STOPPED;
    QStringList whys;
    if (m_pictures->makeAll(list, graphics, layout.figures, wanted, deadline, askCaller, pictures, &whys)
        == PictureMaker::Outcome::Stopped)
        return QP_PDF2WORD_STOPPED;
    // The figures left out, by the reason (in the order first met).
    QStringList reasons;
    QMap<QString, QList<int>> leftOut;
    for (int i = 0; i < whys.size(); ++i) {
        if (whys[i].isEmpty())
            continue;
        if (!leftOut.contains(whys[i]))
            reasons << whys[i];
        leftOut[whys[i]] << i + 1;
    }
    for (const QString& why : reasons) {
        const QList<int>& figures = leftOut[why];
        notes->append(figures.size() == 1 ? QStringLiteral("figure %1 left out: %2").arg(figures.front()).arg(why)
                                          : QStringLiteral("%1 figures (%2 to %3) left out: %4")
                                                .arg(figures.size())
                                                .arg(figures.front())
                                                .arg(figures.back())
                                                .arg(why));
    }
    return QP_PDF2WORD_OK;
}

int Conversion::writeOutput(const FlowDocument& document)
{
    const QString output = QString::fromUtf8(m_job.output);
    const QFileInfo info(output);
    if (!info.absoluteDir().exists())
        return fail(QP_PDF2WORD_OUTPUT_FAILED, QStringLiteral("The folder of '%1' does not exist").arg(output));
    // Written beside the output under a hidden name and moved into place at the end, so that the
    // output is either complete or not there.
    qpmupdf::AtomicFile file(QFile::encodeName(output).toStdString());
    if (file.create() != qpmupdf::FileError::None)
        return fail(QP_PDF2WORD_OUTPUT_FAILED, QStringLiteral("Cannot write in the folder of '%1'").arg(output));
    const QString partial = QFile::decodeName(file.temporaryPath().c_str());
    QString error;
    bool written = false;
    switch (m_job.format) {
    case QP_PDF2WORD_DOCX:
        written = writeDocx(m_ctx, document, partial, &error);
        break;
    case QP_PDF2WORD_ODT:
        written = writeOdt(m_ctx, document, partial, &error);
        break;
    case QP_PDF2WORD_HTML:
        written = writeHtml(document, partial, &error);
        break;
    default:
        written = writeText(document, partial, &error);
        break;
    }
    if (written && file.commit() != qpmupdf::FileError::None) {
        written = false;
        error = QStringLiteral("it cannot be replaced");
    }
    if (!written)
        return fail(QP_PDF2WORD_OUTPUT_FAILED, QStringLiteral("Cannot write '%1': %2").arg(output, error));
    return QP_PDF2WORD_OK;
}

} // namespace p2w
