#include "LayoutFeed.h"

#include <QRegularExpression>

#include <cfloat>

extern "C" void extract_outf_verbose_set(int verbose);

namespace p2w {

namespace {

// A device that hands the target only the text whose glyph origins lie in [top, bottom), as
// filled text: what the document writer turns into paragraphs. Everything else is dropped.
struct BandDevice
{
    fz_device super;
    fz_device* target;
    float top;
    float bottom;
};

void bandText(fz_context* ctx, BandDevice* band, const fz_text* text, fz_matrix ctm)
{
    fz_text* kept = fz_new_text(ctx);
    fz_try(ctx)
    {
        for (fz_text_span* span = text->head; span; span = span->next) {
            fz_matrix trm = span->trm;
            for (int i = 0; i < span->len; ++i) {
                const fz_text_item& item = span->items[i];
                const fz_point origin = fz_transform_point_xy(item.x, item.y, ctm);
                if (origin.y < band->top || origin.y >= band->bottom)
                    continue;
                trm.e = item.x;
                trm.f = item.y;
                fz_show_glyph(ctx, kept, span->font, trm, item.gid, item.ucs, span->wmode, span->bidi_level,
                              fz_bidi_direction(span->markup_dir), fz_text_language(span->language));
            }
        }
        if (kept->head) {
            const float black = 0;
            fz_fill_text(ctx, band->target, kept, ctm, fz_device_gray(ctx), &black, 1, fz_default_color_params);
        }
    }
    fz_always(ctx)
    {
        fz_drop_text(ctx, kept);
    }
    fz_catch(ctx)
    {
        fz_rethrow(ctx);
    }
}

void bandFillText(fz_context* ctx, fz_device* dev, const fz_text* text, fz_matrix ctm, fz_colorspace*, const float*,
                  float, fz_color_params)
{
    bandText(ctx, reinterpret_cast<BandDevice*>(dev), text, ctm);
}

void bandStrokeText(fz_context* ctx, fz_device* dev, const fz_text* text, const fz_stroke_state*, fz_matrix ctm,
                    fz_colorspace*, const float*, float, fz_color_params)
{
    bandText(ctx, reinterpret_cast<BandDevice*>(dev), text, ctm);
}

void bandClipText(fz_context* ctx, fz_device* dev, const fz_text* text, fz_matrix ctm, fz_rect)
{
    bandText(ctx, reinterpret_cast<BandDevice*>(dev), text, ctm);
}

void bandClipStrokeText(fz_context* ctx, fz_device* dev, const fz_text* text, const fz_stroke_state*, fz_matrix ctm,
                        fz_rect)
{
    bandText(ctx, reinterpret_cast<BandDevice*>(dev), text, ctm);
}

fz_device* newBandDevice(fz_context* ctx, fz_device* target, float top, float bottom)
{
    BandDevice* band = fz_new_derived_device(ctx, BandDevice);
    band->super.fill_text = bandFillText;
    band->super.stroke_text = bandStrokeText;
    band->super.clip_text = bandClipText;
    band->super.clip_stroke_text = bandClipStrokeText;
    band->target = target;
    band->top = top;
    band->bottom = bottom;
    return &band->super;
}

const char kMarkerPattern[] = "QPIMAGE(\\d+)QPEND";

} // namespace

LayoutFeed::LayoutFeed(fz_context* ctx, Format format)
    : m_ctx(ctx)
    , m_format(format)
{
}

LayoutFeed::~LayoutFeed()
{
    fz_drop_document_writer(m_ctx, m_writer);
    fz_drop_buffer(m_ctx, m_buffer);
    fz_drop_font(m_ctx, m_markerFont);
}

void LayoutFeed::rememberError()
{
    m_error = QString::fromUtf8(fz_caught_message(m_ctx));
}

bool LayoutFeed::begin()
{
    // The writer's helper library reports its progress on the error output down to level 0.
    extract_outf_verbose_set(-1);
    fz_output* output = nullptr;
    const bool ok = fzRun(m_ctx, [&] {
        m_buffer = fz_new_buffer(m_ctx, 64 * 1024);
        output = fz_new_output_with_buffer(m_ctx, m_buffer);
        fz_output* handedOver = output;
        output = nullptr; // the writer owns it from here, also when it fails
        m_writer = m_format == Docx ? fz_new_docx_writer_with_output(m_ctx, handedOver, "")
                                    : fz_new_odt_writer_with_output(m_ctx, handedOver, "");
        m_markerFont = fz_new_base14_font(m_ctx, "Helvetica");
    });
    fz_drop_output(m_ctx, output);
    if (!ok)
        rememberError();
    return ok;
}

bool LayoutFeed::writeBand(fz_display_list* list, fz_rect mediabox, float top, float bottom)
{
    fz_device* band = nullptr;
    const bool ok = fzRun(m_ctx, [&] {
        fz_device* page = fz_begin_page(m_ctx, m_writer, mediabox);
        band = newBandDevice(m_ctx, page, top, bottom);
        fz_run_display_list(m_ctx, list, band, fz_identity, fz_infinite_rect, nullptr);
        fz_close_device(m_ctx, band);
        fz_end_page(m_ctx, m_writer);
    });
    fz_drop_device(m_ctx, band);
    if (!ok)
        rememberError();
    return ok;
}

bool LayoutFeed::writeMarker(fz_rect mediabox, int image)
{
    const QByteArray marker = markerText(image).toLatin1();
    const char* markerData = marker.constData();
    fz_text* text = nullptr;
    const bool ok = fzRun(m_ctx, [&] {
        fz_device* page = fz_begin_page(m_ctx, m_writer, mediabox);
        text = fz_new_text(m_ctx);
        // Upright 10-point text in page space, whose y axis points down.
        const fz_matrix trm = fz_make_matrix(10, 0, 0, -10, mediabox.x0 + 72, mediabox.y0 + 72);
        fz_show_string(m_ctx, text, m_markerFont, trm, markerData, 0, 0, FZ_BIDI_LTR, FZ_LANG_UNSET);
        const float black = 0;
        fz_fill_text(m_ctx, page, text, fz_identity, fz_device_gray(m_ctx), &black, 1, fz_default_color_params);
        fz_end_page(m_ctx, m_writer);
    });
    fz_drop_text(m_ctx, text);
    if (!ok)
        rememberError();
    return ok;
}

bool LayoutFeed::addPage(fz_display_list* list, fz_rect mediabox, const QList<PlacedImage>& pictures)
{
    float top = -FLT_MAX;
    for (const PlacedImage& picture : pictures) {
        if (!writeBand(list, mediabox, top, picture.box.y0) || !writeMarker(mediabox, picture.image))
            return false;
        top = picture.box.y0;
    }
    return writeBand(list, mediabox, top, FLT_MAX);
}

bool LayoutFeed::finish(QByteArray* package)
{
    const bool ok = fzRun(m_ctx, [&] { fz_close_document_writer(m_ctx, m_writer); });
    if (!ok) {
        rememberError();
        return false;
    }
    unsigned char* data = nullptr;
    const size_t size = fz_buffer_storage(m_ctx, m_buffer, &data);
    *package = QByteArray(reinterpret_cast<const char*>(data), int(size));
    return true;
}

QString LayoutFeed::markerText(int image)
{
    return QStringLiteral("QPIMAGE%1QPEND").arg(image);
}

int LayoutFeed::findMarker(const QString& text, int* start, int* length)
{
    static const QRegularExpression pattern{QLatin1String(kMarkerPattern)};
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return -1;
    *start = match.capturedStart();
    *length = match.capturedLength();
    return match.captured(1).toInt();
}

} // namespace p2w
