#include "platform/pdf2word/engine/document/PictureMaker.h"

#include "platform/mupdf/PageRun.h"
#include "platform/pdf2word/engine/document/DocumentTuning.h"
#include "platform/pdf2word/engine/document/FanOutDevice.h"
#include "platform/pdf2word/engine/model/LayoutGeometry.h"
#include "platform/pdf2word/engine/read/PageDevice.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace p2w {

namespace {

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
// Figures are drawn together in passes of at most this many pixels in all (some 110 MB), each
// pass getting an equal share of the time left and at least kLeastPassTime while the page has it.
const double kMostPassPixels = 36e6;
// A first pass of a page, whose pace is not known yet, gets at most this long at the resolutions
// its figures want.
const std::chrono::milliseconds kFirstTry{80};
const std::chrono::milliseconds kLeastPassTime{100};

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
        return documentTuning().pictures.drawingDpi;
    return std::max(shape.image->w / widthInches, shape.image->h / heightInches);
}

// Whether a running pass goes on: not once it would take its time by far (then hopeless), nor when stopped.
std::function<bool()> passKeepsGoing(const std::atomic<const fz_cookie*>& running, std::chrono::steady_clock::time_point start,
                                     bool atLowest, std::chrono::milliseconds timeLimit, bool& hopeless,
                                     const std::function<bool()>& keepGoing)
{
    // The share of the list done tells what the whole pass would take; at the lowest resolution a
    // pass may take what the page has left.
    return [&running, start, atLowest, timeLimit, &hopeless, &keepGoing] {
        const fz_cookie* cookie = running.load();
        const double spent = secondsSince(start);
        const double whole = cookie ? spent / std::max(kLeastShare, shareDone(cookie)) : 0;
        if (!atLowest && whole > kHopeless * std::chrono::duration<double>(timeLimit).count()) {
            hopeless = true;
            return false;
        }
        return !keepGoing || keepGoing();
    };
}

// How much a pass over its time must shrink its resolutions (per side) to fit half the time left until wanted.
float fittingScale(std::chrono::steady_clock::time_point start, float done, std::chrono::steady_clock::time_point wanted)
{
    // What the whole pass would take at these resolutions, from the share done; the time a pass
    // takes grows with its pixels.
    const double whole = secondsSince(start) / std::max(kLeastShare, done);
    const double next = std::chrono::duration<double>(wanted - std::chrono::steady_clock::now()).count() / 2;
    return float(std::sqrt(std::max(0.0, kFitShare * next / whole)));
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

bool PictureMaker::draw(fz_display_list* list, const QVector<FoundFigure>& figures, const Batch& batch,
                        fz_cookie* cookie, QList<FlowImage>* pictures, float* done, QString* error)
{
    const int count = batch.figures.size();
    QVector<fz_pixmap*> pixmaps(count, nullptr);
    QVector<fz_buffer*> pngs(count, nullptr);
    const fz_rect page = fz_bound_display_list(m_ctx, list);
    fz_rect scissor = fz_empty_rect;
    // Everything with a destructor is made here, before MuPDF's frame: an error (the page's time
    // or memory running out) jumps out of it past any destructor.
    QVector<fz_matrix> scales(count);
    QVector<PageDeviceOptions> options(count);
    QVector<fz_rect> areas(count);
    QVector<fz_device*> filters(count, nullptr);
    QVector<fz_device*> devices;
    devices.reserve(2 * count + 1);
    for (int k = 0; k < count; ++k) {
        const FoundFigure& figure = figures[batch.figures[k]];
        scissor = fz_union_rect(scissor, figure.box);
        float dpi = batch.dpis[k];
        const double pixels = double(width(figure.box)) * (figure.box.y1 - figure.box.y0) * dpi * dpi / (72.0 * 72.0);
        if (pixels > documentTuning().pictures.mostPixels)
            dpi = float(dpi * std::sqrt(documentTuning().pictures.mostPixels / pixels));
        scales[k] = fz_scale(dpi / 72, dpi / 72);
        options[k].forwardGraphics = true;
        options[k].forwardText = figure.withText && !figure.labels.isEmpty();
        options[k].textOnlyIn = figure.labels;
        options[k].drawnWithin = figure.box;
        options[k].onlyPictures = figure.lonePicture;
        options[k].page = page;
        options[k].leastStrokeWidth = documentTuning().pictures.leastStrokeWidth;
        areas[k] = figure.box;
    }
    const bool ok = fzRun(m_ctx, [&] {
        // Each figure draws onto its own picture through its own filter; the list is run once, each
        // step handed to all of them.
        for (int k = 0; k < count; ++k) {
            pixmaps[k] = fz_new_pixmap_with_bbox(m_ctx, fz_device_rgb(m_ctx), fz_round_rect(fz_transform_rect(areas[k], scales[k])),
                                                 nullptr, 0);
            fz_clear_pixmap_with_value(m_ctx, pixmaps[k], 255);
            devices.append(fz_new_draw_device(m_ctx, scales[k], pixmaps[k]));
            devices.append(newPageDevice(m_ctx, devices.last(), options[k]));
            filters[k] = devices.last();
        }
        devices.append(newFanOutDevice(m_ctx, filters.constData(), areas.constData(), filters.size()));
        fz_run_display_list(m_ctx, list, devices.last(), fz_identity, scissor, cookie);
        // The fan closes the filters, which close what they draw on; closing twice does nothing.
        for (int d = devices.size() - 1; d >= 0; --d)
            fz_close_device(m_ctx, devices[d]);
        for (int k = 0; k < count; ++k)
            pngs[k] = fz_new_buffer_from_pixmap_as_png(m_ctx, pixmaps[k], fz_default_color_params);
    });
    for (int k = 0; k < count; ++k) {
        if (ok) {
            FlowImage& picture = (*pictures)[batch.figures[k]];
            picture.data = bytesOf(m_ctx, pngs[k]);
            picture.type = QStringLiteral("png");
        }
        fz_drop_buffer(m_ctx, pngs[k]);
        fz_drop_pixmap(m_ctx, pixmaps[k]);
    }
    if (!ok)
        *error = QString::fromUtf8(fz_caught_message(m_ctx));
    *done = shareDone(cookie);
    for (int d = devices.size() - 1; d >= 0; --d)
        fz_drop_device(m_ctx, devices[d]);
    return ok;
}

void PictureMaker::startPage()
{
    m_secondsPerPixel = 0;
    m_slowPage = false;
    m_probed = false;
}

double PictureMaker::pixelsAt(const FoundFigure& figure, float dpi)
{
    const double pixels = double(figure.box.x1 - figure.box.x0) * (figure.box.y1 - figure.box.y0) * dpi * dpi / (72.0 * 72.0);
    return std::min(pixels, documentTuning().pictures.mostPixels);
}

double PictureMaker::pixelsOf(const QVector<FoundFigure>& figures, const Batch& batch) const
{
    double pixels = 0;
    for (int k = 0; k < batch.figures.size(); ++k)
        pixels += pixelsAt(figures[batch.figures[k]], batch.dpis[k]);
    return pixels;
}

void PictureMaker::learnPace(double pixels, double seconds)
{
    if (pixels > 0)
        m_secondsPerPixel = std::max(m_secondsPerPixel, seconds / pixels);
}

void PictureMaker::fit(const QVector<FoundFigure>& figures, Batch& batch, Clock::time_point wanted) const
{
    // Until a pass of the page has been drawn, its pace is not known: the wanted resolutions are
    // tried first.
    const double pixels = pixelsOf(figures, batch);
    const double left = std::chrono::duration<double>(wanted - Clock::now()).count();
    if (m_slowPage) {
        for (float& dpi : batch.dpis)
            dpi = std::min(dpi, kLowestDpi);
        return;
    }
    if (m_secondsPerPixel <= 0 || pixels <= 0 || left <= 0)
        return;
    const double fitting = kFitShare * left / (m_secondsPerPixel * pixels);
    if (fitting >= 1)
        return;
    for (float& dpi : batch.dpis)
        dpi = std::max(kLowestDpi, float(dpi * std::sqrt(fitting)));
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
        dpi = std::max(dpi, documentTuning().pictures.drawingDpi);
    return std::min(documentTuning().pictures.drawingDpi, std::max(documentTuning().pictures.leastDpi, dpi));
}

PictureMaker::Outcome PictureMaker::makeAll(fz_display_list* list, const PageGraphics& graphics,
                                            const QVector<FoundFigure>& figures, Clock::time_point wanted,
                                            Clock::time_point deadline, const std::function<bool()>& keepGoing,
                                            QList<FlowImage>* pictures, QStringList* whys)
{
    *pictures = QList<FlowImage>();
    *whys = QStringList();
    QVector<Batch> batches(1);
    double pixels = 0;
    for (int i = 0; i < figures.size(); ++i) {
        pictures->append(FlowImage());
        whys->append(QString());
        const FoundFigure& figure = figures[i];
        if (figure.imageShape >= 0 && takeStored(graphics.shapes[figure.imageShape], &pictures->last()))
            continue;
        const float dpi = wantedDpi(graphics, figure);
        if (!batches.last().figures.isEmpty() && pixels + pixelsAt(figure, dpi) > kMostPassPixels) {
            batches.append(Batch());
            pixels = 0;
        }
        batches.last().figures.append(i);
        batches.last().dpis.append(dpi);
        pixels += pixelsAt(figure, dpi);
    }
    for (int b = 0; b < batches.size() && !batches[b].figures.isEmpty(); ++b) {
        // Each pass still to draw gets an equal share of the time left; what one leaves over goes
        // to the next.
        const Clock::time_point now = Clock::now();
        const int left = batches.size() - b;
        const auto shareOf = [&](Clock::time_point end) {
            return std::min(deadline, now + std::max<Clock::duration>((end - now) / left, kLeastPassTime));
        };
        fit(figures, batches[b], shareOf(wanted));
        QString why;
        const Outcome outcome = drawBatch(list, figures, batches[b], shareOf(wanted), shareOf(deadline), keepGoing, pictures, &why);
        if (outcome == Outcome::Stopped)
            return outcome;
        for (int figure : batches[b].figures)
            (*whys)[figure] = outcome == Outcome::LeftOut ? why : QString();
    }
    // A picture stands as large as its figure on the page, whatever resolution it was drawn at.
    for (int i = 0; i < figures.size(); ++i) {
        if (!(*pictures)[i].data.isEmpty()) {
            (*pictures)[i].width = width(figures[i].box);
            (*pictures)[i].height = figures[i].box.y1 - figures[i].box.y0;
        }
    }
    return Outcome::Made;
}

PictureMaker::Outcome PictureMaker::drawBatch(fz_display_list* list, const QVector<FoundFigure>& figures, Batch batch,
                                              Clock::time_point wanted, Clock::time_point deadline,
                                              const std::function<bool()>& keepGoing, QList<FlowImage>* pictures,
                                              QString* why)
{
    using std::chrono::duration_cast;
    using std::chrono::milliseconds;
    const auto lowest = [&] { return std::all_of(batch.dpis.begin(), batch.dpis.end(), [](float dpi) { return dpi <= kLowestDpi; }); };
    const auto lowerTo = [&](auto dpiOf) {
        for (float& dpi : batch.dpis)
            dpi = std::max(kLowestDpi, dpiOf(dpi));
    };
    for (;;) {
        const Clock::time_point start = Clock::now();
        // Above the lowest resolution a pass keeps to the time the figures want; at the lowest it
        // may take what the page has left.
        if (!lowest() && wanted - start < kShortestTry)
            lowerTo([](float) { return kLowestDpi; });
        const bool atLowest = lowest();
        const milliseconds left = duration_cast<milliseconds>((atLowest ? deadline : wanted) - start);
        if (left < kShortestTry) {
            *why = QStringLiteral("the page's time had run out");
            return Outcome::LeftOut;
        }
        // Half the time for these resolutions, unless they are the lowest: the rest is for lower.
        // Until the page's pace is known a first try is short: a page that draws slowly learns
        // it early and goes on at a resolution that fits.
        qpmupdf::RunWatch watch;
        watch.timeLimit = atLowest ? left : left / 2;
        const bool probe = !atLowest && !m_probed;
        if (probe)
            watch.timeLimit = std::min(watch.timeLimit, kFirstTry);
        m_probed = true;
        // Asked every half second: a pass that will not be done in its time by far ends early.
        std::atomic<const fz_cookie*> running{nullptr};
        bool hopeless = false;
        watch.keepGoing = passKeepsGoing(running, start, atLowest, watch.timeLimit, hopeless, keepGoing);
        float done = 0;
        bool drawn = false;
        const qpmupdf::RunOutcome outcome = qpmupdf::runPage(
            m_ctx,
            [&](fz_cookie* cookie) {
                running = cookie;
                drawn = draw(list, figures, batch, cookie, pictures, &done, why);
            },
            watch);
        if (outcome.finished() && drawn) {
            learnPace(pixelsOf(figures, batch), secondsSince(start));
            return Outcome::Made;
        }
        for (int figure : batch.figures)
            (*pictures)[figure] = FlowImage();
        if (outcome.end == qpmupdf::RunEnd::Stopped && !hopeless)
            return Outcome::Stopped;
        if (outcome.end == qpmupdf::RunEnd::OverTime || hopeless) {
            if (atLowest) {
                *why = QStringLiteral("drawing takes longer than its share of the page's time, even at %1 dpi").arg(kLowestDpi);
                return Outcome::LeftOut;
            }
            // A short first try that would have fitted is done again as it was; else the page is
            // slow.
            const float fitting = fittingScale(start, done, wanted);
            if (probe && !hopeless && fitting >= 1)
                continue;
            m_slowPage = true;
            lowerTo([&](float dpi) { return dpi * std::min(fitting, kLeastStep); });
        } else if (outcome.end == qpmupdf::RunEnd::OverMemory && !atLowest) {
            lowerTo([](float dpi) { return dpi / 2; });
        } else {
            if (!outcome.finished())
                *why = QString::fromStdString(outcome.message);
            return Outcome::LeftOut;
        }
    }
}

} // namespace p2w
