#pragma once

// Turns a figure region of a page into a picture for the document. A lone picture that the page
// shows as it is stored (a JPEG, upright, without transparency) is taken as it is; everything
// else is drawn: soft masks, blends and transparency composited onto white, vector drawing and
// its labels at print resolution. A figure gets the time it is given: when drawing it at its
// resolution would take longer than it wants, it is drawn again at a lower one, down to 72 dpi,
// and left out when even that does not fit in the time the page has.

#include "platform/pdf2word/engine/Fitz.h"
#include "platform/pdf2word/engine/FlowDocument.h"
#include "platform/pdf2word/engine/PageLayout.h"

#include <QString>

#include <chrono>
#include <functional>

namespace p2w {

class PictureMaker
{
public:
    enum class Outcome {
        Made,
        LeftOut, // could not be drawn in time, or MuPDF failed
        Stopped, // keepGoing answered false
    };
    using Clock = std::chrono::steady_clock;

    explicit PictureMaker(fz_context* ctx);

    // The figure's picture, done by wanted at a resolution that fits that time, or else at the
    // lowest resolution by deadline; keepGoing is asked about every half second while it is
    // drawn. LeftOut with the reason in *why. The context must not be in use elsewhere.
    Outcome make(fz_display_list* list, const PageGraphics& graphics, const FoundFigure& figure,
                 Clock::time_point wanted, Clock::time_point deadline, const std::function<bool()>& keepGoing,
                 FlowImage* picture, QString* why);

    // A new page: how fast its figures draw is learnt anew.
    void startPage();

private:
    bool takeStored(const Shape& shape, FlowImage* picture);
    float wantedDpi(const PageGraphics& graphics, const FoundFigure& figure) const;
    // The resolution at which the figure fits the time it wants, at the pace the page's figures
    // have drawn so far.
    float fittedDpi(const FoundFigure& figure, float dpi, Clock::time_point wanted) const;
    void learnPace(const FoundFigure& figure, float dpi, double seconds);
    static double pixelsAt(const FoundFigure& figure, float dpi);
    // One drawing at dpi; *done is the share of the list's work done when it ended.
    bool draw(fz_display_list* list, const FoundFigure& figure, float dpi, fz_cookie* cookie, FlowImage* picture,
              float* done, QString* error);

    fz_context* m_ctx;
    double m_secondsPerPixel = 0; // the slowest pace of the page's figures drawn so far
};

} // namespace p2w
