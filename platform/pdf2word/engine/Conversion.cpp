#include "Conversion.h"

#include "AtomicFile.h"
#include "LayoutFeed.h"
#include "Outputs.h"
#include "PageRun.h"
#include "PdfOpen.h"
#include "WriterOutput.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QVector>

#include <cstdio>

namespace p2w {

namespace {

// Below this share of the pages' words in its output, the layout road counts as having lost
// text, and the plain road has to do the work.
const double kLeastWordShare = 0.98;

bool isLayoutFormat(int format)
{
    return format == QP_PDF2WORD_DOCX || format == QP_PDF2WORD_ODT;
}

// The pictures go where their markers came out; a picture whose marker got lost goes at the
// end rather than nowhere.
QList<FlowBlock> placePictures(const QList<FlowBlock>& blocks, int pictureCount)
{
    QList<FlowBlock> out;
    QVector<bool> placed(pictureCount, false);
    auto addPicture = [&](int image) {
        if (image < 0 || image >= pictureCount || placed[image])
            return;
        placed[image] = true;
        FlowBlock picture;
        picture.kind = FlowBlock::Image;
        picture.image = image;
        out.append(picture);
    };
    for (const FlowBlock& block : blocks) {
        FlowBlock current = block;
        current.runs.clear();
        for (const FlowRun& run : block.runs) {
            FlowRun rest = run;
            int start = 0;
            int length = 0;
            int image;
            while ((image = LayoutFeed::findMarker(rest.text, &start, &length)) >= 0) {
                FlowRun before = rest;
                before.text = rest.text.left(start);
                if (!before.text.trimmed().isEmpty())
                    current.runs.append(before);
                if (!current.runs.isEmpty())
                    out.append(current);
                current.runs.clear();
                addPicture(image);
                rest.text = rest.text.mid(start + length);
            }
            if (!rest.text.isEmpty())
                current.runs.append(rest);
        }
        if (!current.runs.isEmpty())
            out.append(current);
    }
    for (int image = 0; image < pictureCount; ++image)
        addPicture(image);
    return out;
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
    m_layout.reset();
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
    m_reader.reset(new StextFlow(m_ctx));

    int result = open();
    if (result == QP_PDF2WORD_OK)
        result = readPages();
    if (result != QP_PDF2WORD_OK)
        return result;

    FlowDocument document = m_plain;
    tidyParagraphs(document.blocks);
    if (m_layout) {
        result = finishLayout(&document);
        if (result != QP_PDF2WORD_OK)
            return result;
    }
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
    m_plain.title = QFileInfo(QString::fromUtf8(m_job.output)).completeBaseName();
    if (m_job.mode == QP_PDF2WORD_LAYOUT && isLayoutFormat(m_job.format)) {
        m_layout.reset(new LayoutFeed(m_ctx, m_job.format == QP_PDF2WORD_DOCX ? LayoutFeed::Docx : LayoutFeed::Odt));
        if (!m_layout->begin())
            return fail(QP_PDF2WORD_LAYOUT_FAILED, QStringLiteral("The document writer did not start: %1").arg(m_layout->errorText()));
    }
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
    fz_stext_page* text = nullptr;
    fz_device* textDevice = nullptr;
    fz_rect mediabox = fz_empty_rect;
    QList<PlacedImage> pictures;
    bool layoutWritten = true;
    const int index = pageNumber - 1;
    // While a page takes long, the caller is asked again whether to go on (a stop answers -1).
    qpmupdf::RunWatch watch;
    const int total = m_job.lastPage - m_job.firstPage + 1;
    if (m_job.progress)
        watch.keepGoing = [&] { return m_job.progress(m_job.progressContext, m_job.pagesDone, total) != -1; };
    const qpmupdf::RunOutcome outcome = qpmupdf::runPage(m_ctx, [&](fz_cookie* cookie) {
        page = fz_load_page(m_ctx, m_document, index);
        mediabox = fz_bound_page(m_ctx, page);
        list = fz_new_display_list(m_ctx, mediabox);
        listDevice = fz_new_list_device(m_ctx, list);
        fz_run_page(m_ctx, page, listDevice, fz_identity, cookie);
        fz_close_device(m_ctx, listDevice);
        fz_stext_options options = {FZ_STEXT_PRESERVE_IMAGES | FZ_STEXT_MEDIABOX_CLIP, 0};
        text = fz_new_stext_page(m_ctx, mediabox);
        textDevice = fz_new_stext_device(m_ctx, text, &options);
        fz_run_display_list(m_ctx, list, textDevice, fz_identity, fz_infinite_rect, cookie);
        fz_close_device(m_ctx, textDevice);

        // The page's paragraphs and pictures (decoded here) count for the page's limits too; these
        // calls into MuPDF have error frames of their own.
        if (!m_plain.pageSize.isValid())
            m_plain.pageSize = QSizeF(mediabox.x1 - mediabox.x0, mediabox.y1 - mediabox.y0);
        m_reader->appendPage(text, m_plain, &pictures);
        layoutWritten = !m_layout || m_layout->addPage(list, mediabox, pictures);
    }, watch);
    fz_drop_device(m_ctx, textDevice);
    fz_drop_device(m_ctx, listDevice);
    int result = QP_PDF2WORD_OK;
    if (outcome.end == qpmupdf::RunEnd::Stopped) {
        result = fail(QP_PDF2WORD_STOPPED, QStringLiteral("Stopped during page %1").arg(pageNumber));
    } else if (!outcome.finished()) {
        result = fail(QP_PDF2WORD_OPEN_FAILED, QStringLiteral("Cannot read page %1: %2")
                                                   .arg(pageNumber)
                                                   .arg(QString::fromStdString(outcome.message)));
    } else if (!layoutWritten) {
        result = fail(QP_PDF2WORD_LAYOUT_FAILED, QStringLiteral("The document writer failed on page %1: %2")
                                                     .arg(pageNumber)
                                                     .arg(m_layout->errorText()));
    }
    fz_drop_stext_page(m_ctx, text);
    fz_drop_display_list(m_ctx, list);
    fz_drop_page(m_ctx, page);
    return result;
}

int Conversion::finishLayout(FlowDocument* document)
{
    QByteArray package;
    if (!m_layout->finish(&package))
        return fail(QP_PDF2WORD_LAYOUT_FAILED, QStringLiteral("The document writer failed: %1").arg(m_layout->errorText()));

    const bool docx = m_job.format == QP_PDF2WORD_DOCX;
    const char* entry = docx ? "word/document.xml" : "content.xml";
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(package.constData());
    const size_t size = size_t(package.size());
    fz_stream* stream = nullptr;
    fz_archive* archive = nullptr;
    fz_buffer* body = nullptr;
    const bool read = fzRun(m_ctx, [&] {
        stream = fz_open_memory(m_ctx, bytes, size);
        archive = fz_open_archive_with_stream(m_ctx, stream);
        body = fz_read_archive_entry(m_ctx, archive, entry);
    });
    QByteArray xml;
    if (read) {
        unsigned char* data = nullptr;
        const size_t length = fz_buffer_storage(m_ctx, body, &data);
        xml = QByteArray(reinterpret_cast<const char*>(data), int(length));
    }
    fz_drop_buffer(m_ctx, body);
    fz_drop_archive(m_ctx, archive);
    fz_drop_stream(m_ctx, stream);

    QList<FlowBlock> blocks;
    if (!read || !(docx ? readDocxBody(xml, &blocks) : readOdtBody(xml, &blocks)))
        return fail(QP_PDF2WORD_LAYOUT_FAILED, QStringLiteral("The document writer's output cannot be read"));
    for (FlowBlock& block : blocks) {
        for (FlowRun& run : block.runs)
            run.font = m_reader->familyOf(run.font);
    }
    blocks = placePictures(blocks, m_plain.images.size());
    tidyParagraphs(blocks);

    const double share = wordShare(countWords(plainText(m_plain.blocks)), countWords(plainText(blocks)));
    if (share < kLeastWordShare)
        return fail(QP_PDF2WORD_LAYOUT_LOST_TEXT,
                    QStringLiteral("The layout keeps only %1% of the text; convert in the plain mode")
                        .arg(qRound(share * 1000) / 10.0));
    document->blocks = blocks;
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

extern "C" __attribute__((visibility("default"))) int qp_pdf2word_convert(QpPdf2WordJob* job)
{
    if (!job)
        return QP_PDF2WORD_BAD_REQUEST;
    p2w::Conversion conversion(*job);
    return conversion.run();
}
