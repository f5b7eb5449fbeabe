#include "Conversion.h"

#include "Outputs.h"
#include "PageLayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <QVector>

#include <cstdio>
#include <cstring>

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
    if (m_ctx) {
        fz_drop_document(m_ctx, m_document);
        fz_drop_context(m_ctx);
    }
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

    m_ctx = fz_new_context(nullptr, nullptr, FZ_STORE_DEFAULT);
    if (!m_ctx)
        return fail(QP_PDF2WORD_OPEN_FAILED, QStringLiteral("Out of memory"));
    // MuPDF's errors and warnings reach the caller as the job's message, not the error output.
    fz_set_error_callback(m_ctx, [](void*, const char*) {}, nullptr);
    fz_set_warning_callback(m_ctx, [](void*, const char*) {}, nullptr);
    fz_register_document_handlers(m_ctx);
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
    const char* source = m_job.source;
    const char* password = m_job.password ? m_job.password : "";
    fz_stream* stream = nullptr;
    int pageCount = 0;
    volatile bool refused = false;
    const bool opened = fzRun(m_ctx, [&] {
        // Opened as PDF whatever the name: temporary copies have no suffix.
        stream = fz_open_file(m_ctx, source);
        m_document = fz_open_document_with_stream(m_ctx, "application/pdf", stream);
        if (fz_needs_password(m_ctx, m_document) && !fz_authenticate_password(m_ctx, m_document, password))
            refused = true;
        else
            pageCount = fz_count_pages(m_ctx, m_document);
    });
    fz_drop_stream(m_ctx, stream);
    if (!opened)
        return fail(QP_PDF2WORD_OPEN_FAILED, QStringLiteral("Cannot open '%1': %2")
                                                 .arg(QString::fromUtf8(source), QString::fromUtf8(fz_caught_message(m_ctx))));
    if (refused)
        return fail(QP_PDF2WORD_OPEN_FAILED, QStringLiteral("The password does not open '%1'").arg(QString::fromUtf8(source)));
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
    const int index = pageNumber - 1;
    const bool loaded = fzRun(m_ctx, [&] {
        page = fz_load_page(m_ctx, m_document, index);
        mediabox = fz_bound_page(m_ctx, page);
        list = fz_new_display_list(m_ctx, mediabox);
        listDevice = fz_new_list_device(m_ctx, list);
        fz_run_page(m_ctx, page, listDevice, fz_identity, &m_cookie);
        fz_close_device(m_ctx, listDevice);
    });
    fz_drop_device(m_ctx, listDevice);
    QVector<TextLine> lines;
    PageGraphics graphics;
    const bool read = loaded && m_reader->read(list, mediabox, m_keepHidden, &m_cookie, &lines, &graphics);
    int result = QP_PDF2WORD_OK;
    if (!read) {
        result = fail(QP_PDF2WORD_OPEN_FAILED, QStringLiteral("Cannot read page %1: %2")
                                                   .arg(pageNumber)
                                                   .arg(QString::fromUtf8(fz_caught_message(m_ctx))));
    } else {
        m_visibleCharacters += graphics.visibleCharacters;
        m_hiddenCharacters += graphics.hiddenCharacters;
        const PageLayout layout = layOutPage(lines, graphics, mediabox);
        QList<FlowImage> pictures;
        for (const FoundFigure& figure : layout.figures) {
            FlowImage picture;
            // A picture MuPDF cannot draw is left out; the text around it still converts.
            if (!m_pictures->make(list, graphics, figure, &m_cookie, &picture))
                picture = FlowImage();
            pictures.append(picture);
        }
        m_builder->addPage(layout, pictures);
    }
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
    const QString partial = info.absolutePath() + QStringLiteral("/.") + info.fileName() + QLatin1Char('.')
                            + QUuid::createUuid().toString(QUuid::Id128) + QStringLiteral(".part");
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
    if (written && std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(output).constData()) != 0) {
        written = false;
        error = QString::fromLocal8Bit(std::strerror(errno));
    }
    if (!written) {
        QFile::remove(partial);
        return fail(QP_PDF2WORD_OUTPUT_FAILED, QStringLiteral("Cannot write '%1': %2").arg(output, error));
    }
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
