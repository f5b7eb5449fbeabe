#include "platform/pdf2word/engine/PictureMaker.h"

#include "platform/mupdf/PageRun.h"
#include "platform/pdf2word/engine/LayoutGeometry.h"
#include "platform/pdf2word/engine/PageDevice.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace p2w {

namespace {

// Drawn figures print well at this resolution; pictures are drawn at their own resolution
// within these bounds.
const float kDrawingDpi = 300;
const float kLeastDpi = 96;
// The most pixels one picture may have: about an A4 page at 300 dpi, as much as a Word page
// shows (a poster-sized figure is drawn at less than its dpi).
const double kMostPixels = 9e6;
// When time runs short, figures are drawn down to this resolution; a try needs at least
// kShortestTry, and the next resolution is chosen to fit kFitShare of the time left for it.
const float kLowestDpi = 72;
const std::chrono::milliseconds kShortestTry{20};
const double kFitShare = 0.8;
// A resolution that did not fit is lowered at least this much.
const float kLeastStep = 0.7f;
// A drawing whose share done says it would take kHopeless times its time ends early; a share
// below kLeastShare is taken as that (the first steps of a list may be its heaviest).
const double kHopeless = 2;
const float kLeastShare = 0.02f;

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The share of the display list's steps a drawing has done (read while it runs).
float shareDone(const fz_cookie* cookie)
{
    const size_t total = __atomic_load_n(&cookie->progress_max, __ATOMIC_RELAXED);
    const int done = __atomic_load_n(&cookie->progress, __ATOMIC_RELAXED);
    return total > 0 && total != size_t(-1) ? float(done) / float(total) : 0;
}

QByteArray bytesOf(fz_context* ctx, fz_buffer* buffer)
{
    unsigned char* data = nullptr;
    const size_t size = fz_buffer_storage(ctx, buffer, &data);
    return QByteArray(reinterpret_cast<const char*>(data), int(size));
}

// The resolution the page shows a picture at (pixels per inch along its wider side), from where
// the whole picture goes: the shape may show only a part of it.
float shownDpi(const Shape& shape)
{
    const float widthInches = std::hypot(shape.ctm.a, shape.ctm.b) / 72;
    const float heightInches = std::hypot(shape.ctm.c, shape.ctm.d) / 72;
    if (!shape.image || widthInches <= 0 || heightInches <= 0)
        return kDrawingDpi;
    return std::max(shape.image->w / widthInches, shape.image->h / heightInches);
}

} // namespace

PictureMaker::PictureMaker(fz_context* ctx)
    : m_ctx(ctx)
{
}

bool PictureMaker::takeStored(const Shape& shape, FlowImage* picture)
{
    fz_image* image = shape.image;
    if (!image || shape.transparent || image->mask || image->imagemask || image->use_colorkey || image->use_decode)
        return false;
    // Upright and not mirrored: the stored picture looks as the page shows it; and whole (not a
    // part of a scan, nor cut by a clip).
    const fz_matrix m = shape.ctm;
    if (std::fabs(m.b) > 1e-3f || std::fabs(m.c) > 1e-3f || m.a <= 0 || m.d <= 0)
        return false;
    if (!contains(shape.box, fz_transform_rect(fz_unit_rect, m)))
        return false;
    fz_compressed_buffer* stored = fz_compressed_image_buffer(m_ctx, image);
    if (!stored || stored->params.type != FZ_IMAGE_JPEG || (image->n != 1 && image->n != 3)
        || stored->params.u.jpeg.color_transform == 0)
        return false;
    picture->data = bytesOf(m_ctx, stored->buffer);
    picture->type = QStringLiteral("jpeg");
    return true;
}

bool PictureMaker::draw(fz_display_list* list, const FoundFigure& figure, float dpi, fz_cookie* cookie,
                        FlowImage* picture, float* done, QString* error)
{
    const double pixels = double(figure.box.x1 - figure.box.x0) * (figure.box.y1 - figure.box.y0) * dpi * dpi / (72.0 * 72.0);
    if (pixels > kMostPixels)
        dpi = float(dpi * std::sqrt(kMostPixels / pixels));
    const fz_matrix scale = fz_scale(dpi / 72, dpi / 72);
    const fz_irect area = fz_round_rect(fz_transform_rect(figure.box, scale));
    fz_pixmap* pixmap = nullptr;
    fz_device* drawDevice = nullptr;
    fz_device* device = nullptr;
    fz_buffer* png = nullptr;
    PageDeviceOptions options;
    options.forwardGraphics = true;
    options.forwardText = figure.withText && !figure.labels.isEmpty();
    options.textOnlyIn = figure.labels;
    options.drawnWithin = figure.box;
    options.onlyPictures = figure.lonePicture;
    options.page = fz_bound_display_list(m_ctx, list);
    const bool ok = fzRun(m_ctx, [&] {
        pixmap = fz_new_pixmap_with_bbox(m_ctx, fz_device_rgb(m_ctx), area, nullptr, 0);
        fz_clear_pixmap_with_value(m_ctx, pixmap, 255);
        drawDevice = fz_new_draw_device(m_ctx, scale, pixmap);
        device = newPageDevice(m_ctx, drawDevice, options);
        fz_run_display_list(m_ctx, list, device, fz_identity, figure.box, cookie);
        fz_close_device(m_ctx, device);
        fz_close_device(m_ctx, drawDevice);
        png = fz_new_buffer_from_pixmap_as_png(m_ctx, pixmap, fz_default_color_params);
    });
    if (ok) {
        picture->data = bytesOf(m_ctx, png);
        picture->type = QStringLiteral("png");
    } else {
        *error = QString::fromUtf8(fz_caught_message(m_ctx));
    }
    *done = shareDone(cookie);
    fz_drop_buffer(m_ctx, png);
    fz_drop_device(m_ctx, device);
    fz_drop_device(m_ctx, drawDevice);
    fz_drop_pixmap(m_ctx, pixmap);
    return ok;
}

void PictureMaker::startPage()
{
    m_secondsPerPixel = 0;
}

double PictureMaker::pixelsAt(const FoundFigure& figure, float dpi)
{
    const double pixels = double(figure.box.x1 - figure.box.x0) * (figure.box.y1 - figure.box.y0) * dpi * dpi / (72.0 * 72.0);
    return std::min(pixels, kMostPixels);
}

void PictureMaker::learnPace(const FoundFigure& figure, float dpi, double seconds)
{
    const double pixels = pixelsAt(figure, dpi);
    if (pixels > 0)
        m_secondsPerPixel = std::max(m_secondsPerPixel, seconds / pixels);
}

float PictureMaker::fittedDpi(const FoundFigure& figure, float dpi, Clock::time_point wanted) const
{
    // Until a figure of the page has been drawn, its pace is not known: the wanted resolution is
    // tried first.
    const double pixels = pixelsAt(figure, dpi);
    const double left = std::chrono::duration<double>(wanted - Clock::now()).count();
    if (m_secondsPerPixel <= 0 || pixels <= 0 || left <= 0)
        return dpi;
    const double fitting = kFitShare * left / (m_secondsPerPixel * pixels);
    return fitting >= 1 ? dpi : std::max(kLowestDpi, float(dpi * std::sqrt(fitting)));
}

float PictureMaker::wantedDpi(const PageGraphics& graphics, const FoundFigure& figure) const
{
    // Pictures keep their own resolution; drawings get print resolution.
    float dpi = 0;
    bool drawing = false;
    for (const Shape& shape : graphics.shapes) {
        if (figure.lonePicture ? shape.kind == Shape::Picture && contains(shape.box, figure.box) : contains(figure.box, shape.box)) {
            if (shape.kind == Shape::Picture)
                dpi = std::max(dpi, shownDpi(shape));
            else
                drawing = true;
        }
    }
    if (drawing || dpi <= 0)
        dpi = std::max(dpi, kDrawingDpi);
    return std::min(kDrawingDpi, std::max(kLeastDpi, dpi));
}

PictureMaker::Outcome PictureMaker::make(fz_display_list* list, const PageGraphics& graphics, const FoundFigure& figure,
                                         Clock::time_point wanted, Clock::time_point deadline,
                                         const std::function<bool()>& keepGoing,
                                         FlowImage* picture, QString* why)
{
    using std::chrono::duration_cast;
    using std::chrono::milliseconds;
    // The picture stands as large as the figure on the page, whatever resolution it is drawn at
    // (a try that did not fit starts the picture afresh).
    const auto placed = [&](Outcome outcome) {
        picture->width = figure.box.x1 - figure.box.x0;
        picture->height = figure.box.y1 - figure.box.y0;
        return outcome;
    };
    if (figure.imageShape >= 0 && takeStored(graphics.shapes[figure.imageShape], picture))
        return placed(Outcome::Made);
    float dpi = fittedDpi(figure, wantedDpi(graphics, figure), wanted);
    for (;;) {
        const Clock::time_point start = Clock::now();
        // Above the lowest resolution a drawing keeps to the time the figure wants; at the lowest
        // it may take what the page has left.
        if (dpi > kLowestDpi && wanted - start < kShortestTry)
            dpi = kLowestDpi;
        const milliseconds left = duration_cast<milliseconds>((dpi > kLowestDpi ? wanted : deadline) - start);
        if (left < kShortestTry) {
            *why = QStringLiteral("the page's time had run out");
            return Outcome::LeftOut;
        }
        // Half the time for this resolution, unless it is the lowest: the rest is for a lower one.
        qpmupdf::RunWatch watch;
        watch.timeLimit = dpi > kLowestDpi ? left / 2 : left;
        // Asked every half second: a drawing that will not be done in its time by far ends early.
        std::atomic<const fz_cookie*> running{nullptr};
        bool hopeless = false;
        watch.keepGoing = [&] {
            const fz_cookie* cookie = running.load();
            const double spent = secondsSince(start);
            const double whole = cookie ? spent / std::max(kLeastShare, shareDone(cookie)) : 0;
            if (dpi > kLowestDpi && whole > kHopeless * std::chrono::duration<double>(watch.timeLimit).count()) {
                hopeless = true;
                return false;
            }
            return !keepGoing || keepGoing();
        };
        float done = 0;
        bool drawn = false;
        const qpmupdf::RunOutcome outcome = qpmupdf::runPage(
            m_ctx,
            [&](fz_cookie* cookie) {
                running = cookie;
                drawn = draw(list, figure, dpi, cookie, picture, &done, why);
            },
            watch);
        if (outcome.finished() && drawn) {
            learnPace(figure, dpi, secondsSince(start));
            return placed(Outcome::Made);
        }
        *picture = FlowImage();
        if (outcome.end == qpmupdf::RunEnd::Stopped && !hopeless)
            return Outcome::Stopped;
        if (outcome.end == qpmupdf::RunEnd::OverTime || hopeless) {
            if (dpi <= kLowestDpi) {
                *why = QStringLiteral("drawing takes longer than its share of the page's time, even at %1 dpi").arg(kLowestDpi);
                return Outcome::LeftOut;
            }
            // What the whole drawing would take at this resolution, from the share done; the
            // time a drawing takes grows with its pixels.
            const double whole = secondsSince(start) / std::max(kLeastShare, done);
            const double next = std::chrono::duration<double>(wanted - Clock::now()).count() / 2;
            const float fitting = float(dpi * std::sqrt(std::max(0.0, kFitShare * next / whole)));
            dpi = std::max(kLowestDpi, std::min(fitting, dpi * kLeastStep));
        } else if (outcome.end == qpmupdf::RunEnd::OverMemory && dpi > kLowestDpi) {
            dpi = std::max(kLowestDpi, dpi / 2);
        } else {
            if (!outcome.finished())
                *why = QString::fromStdString(outcome.message);
            return Outcome::LeftOut;
        }
    }
}

} // namespace p2w
