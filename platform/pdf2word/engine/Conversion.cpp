#include "Conversion.h"

#include "AtomicFile.h"
#include "Outputs.h"
#include "PageLayout.h"
#include "PageRun.h"
#include "PdfOpen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QVector>

#include <cstdio>

namespace p2w {

namespace {

// Below this share of the pages' characters drawn visibly, the layout road would leave text out,
// and the plain road has to do the work.
const double kLeastVisibleShare = 0.98;

bool isLayoutFormat(int format)
{
    return format == QP_PDF2WORD_DOCX || format == QP_PDF2WORD_ODT;
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

    // MuPDF's errors reach the caller as the job's message, not the error output.
    m_context = qpmupdf::newContext();
    m_ctx = m_context.get();
    if (!m_ctx)
        return fail(QP_PDF2WORD_OPEN_FAILED, QStringLiteral("Out of memory"));
    m_looks.reset(new Looks(m_ctx));
    m_reader.reset(new PageReader(m_ctx, *m_looks));
    m_pictures.reset(new PictureMaker(m_ctx));
    m_builder.reset(new DocumentBuilder(*m_looks));
    m_keepHidden = !(m_job.mode == QP_PDF2WORD_LAYOUT && isLayoutFormat(m_job.format));

    int result = open();
    if (result == QP_PDF2WORD_OK)
        result = readPages();
    if (result != QP_PDF2WORD_OK)
        return result;

    const int allCharacters = m_visibleCharacters + m_hiddenCharacters;
    const double share = allCharacters == 0 ? 1.0 : double(m_visibleCharacters) / allCharacters;
    if (share < kLeastVisibleShare)
        return fail(QP_PDF2WORD_LAYOUT_LOST_TEXT,
                    QStringLiteral("The layout keeps only %1% of the text; convert in the plain mode")
                        .arg(qRound(share * 1000) / 10.0));
    FlowDocument document = m_builder->finish();
    document.title = QFileInfo(QString::fromUtf8(m_job.output)).completeBaseName();
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

int Conversion::readPage(int pageNumber)
{
    fz_page* page = nullptr;
    fz_display_list* list = nullptr;
    fz_device* listDevice = nullptr;
    fz_rect mediabox = fz_empty_rect;
    QVector<TextLine> lines;
    PageGraphics graphics;
    PageLayout layout;
    QList<FlowImage> pictures;
    bool read = false;
    std::string readError;
    const int index = pageNumber - 1;
    // While a page takes long, the caller is asked again whether to go on (a stop answers -1).
    qpmupdf::RunWatch watch;
    const int total = m_job.lastPage - m_job.firstPage + 1;
    if (m_job.progress)
        watch.keepGoing = [&] { return m_job.progress(m_job.progressContext, m_job.pagesDone, total) != -1; };
    // Reading, laying out and drawing the page's figures all count for the page's limits; the
    // calls into MuPDF below the list have error frames of their own.
    const qpmupdf::RunOutcome outcome = qpmupdf::runPage(
        m_ctx, [&](fz_cookie* cookie) {
            page = fz_load_page(m_ctx, m_document, index);
            mediabox = fz_bound_page(m_ctx, page);
            list = fz_new_display_list(m_ctx, mediabox);
            listDevice = fz_new_list_device(m_ctx, list);
            fz_run_page(m_ctx, page, listDevice, fz_identity, cookie);
            fz_close_device(m_ctx, listDevice);
            read = m_reader->read(list, mediabox, m_keepHidden, cookie, &lines, &graphics);
            if (!read) {
                readError = fz_caught_message(m_ctx);
                return;
            }
            layout = layOutPage(lines, graphics, mediabox);
            // Plain text has no place for pictures.
            const bool wantPictures = m_job.format != QP_PDF2WORD_TXT;
            for (const FoundFigure& figure : layout.figures) {
                FlowImage picture;
                // A picture MuPDF cannot draw is left out; the text around it still converts.
                if (wantPictures && !m_pictures->make(list, graphics, figure, cookie, &picture))
                    picture = FlowImage();
                pictures.append(picture);
            }
        },
        watch);
    fz_drop_device(m_ctx, listDevice);
    int result = QP_PDF2WORD_OK;
    if (outcome.end == qpmupdf::RunEnd::Stopped) {
        result = fail(QP_PDF2WORD_STOPPED, QStringLiteral("Stopped during page %1").arg(pageNumber));
    } else if (!outcome.finished() || !read) {
        const std::string reason = outcome.finished() ? readError : outcome.message;
        result = fail(QP_PDF2WORD_OPEN_FAILED, QStringLiteral("Cannot read page %1: %2")
                                                   .arg(pageNumber)
                                                   .arg(QString::fromStdString(reason)));
    } else {
        m_visibleCharacters += graphics.visibleCharacters;
        m_hiddenCharacters += graphics.hiddenCharacters;
        m_builder->addPage(layout, pictures);
    }
    // The pictures' shapes borrow the list's images: the list goes last.
    graphics = PageGraphics();
    fz_drop_display_list(m_ctx, list);
    fz_drop_page(m_ctx, page);
    return result;
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
