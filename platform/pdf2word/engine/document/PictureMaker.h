#pragma once

// Turns a figure region of a page into a picture for the document. A lone picture that the page
// shows as it is stored (a JPEG, upright, without transparency) is taken as it is; everything
// else is drawn: soft masks, blends and transparency composited onto white, vector drawing and
// its labels at print resolution. A figure gets the time it is given: when drawing it at its
// resolution would take longer than it wants, it is drawn again at a lower one, down to 72 dpi,
// and left out when even that does not fit in the time the page has.

#include "platform/pdf2word/engine/layout/PageLayout.h"
#include "platform/pdf2word/engine/model/Fitz.h"
#include "platform/pdf2word/engine/model/FlowDocument.h"

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

    // The pictures of a page's figures (pictures[i] for figures[i], empty where one was left out
    // with the reason in whys[i]), drawn together in one pass over the page's list, each from its
    // region, done by wanted at resolutions that fit that time, or else at the lowest resolution
    // by deadline; keepGoing is asked about every half second while they are drawn. Stopped
    // when keepGoing answered false. The context must not be in use elsewhere.
    Outcome makeAll(fz_display_list* list, const PageGraphics& graphics, const QVector<FoundFigure>& figures,
                    Clock::time_point wanted, Clock::time_point deadline, const std::function<bool()>& keepGoing,
                    QList<FlowImage>* pictures, QStringList* whys);

    // A new page: how fast its figures draw is learnt anew.
    void startPage();

private:
    bool takeStored(const Shape& shape, FlowImage* picture);
    float wantedDpi(const PageGraphics& graphics, const FoundFigure& figure) const;
    static double pixelsAt(const FoundFigure& figure, float dpi);
    // Figures drawn together in one pass: their indexes, each one's resolution.
    struct Batch
    {
        QVector<int> figures;
        QVector<float> dpis;
    };
    // The batch drawn at its resolutions, or at the lowest by deadline; Made when every picture
    // was drawn, LeftOut (the reason in *why) when they could not be.
    Outcome drawBatch(fz_display_list* list, const QVector<FoundFigure>& figures, Batch batch, Clock::time_point wanted,
                      Clock::time_point deadline, const std::function<bool()>& keepGoing, QList<FlowImage>* pictures,
                      QString* why);
    double pixelsOf(const QVector<FoundFigure>& figures, const Batch& batch) const;
    // The batch's resolutions lowered together to fit the time it wants, at the pace the page's
    // figures have drawn so far.
    void fit(const QVector<FoundFigure>& figures, Batch& batch, Clock::time_point wanted) const;
    void learnPace(double pixels, double seconds);
    // One pass of the list drawing the batch's figures; *done is the share of the list's work done
    // when it ended.
    bool draw(fz_display_list* list, const QVector<FoundFigure>& figures, const Batch& batch, fz_cookie* cookie,
              QList<FlowImage>* pictures, float* done, QString* error);

    fz_context* m_ctx;
    double m_secondsPerPixel = 0; // the slowest pace of the page's figures drawn so far
    bool m_slowPage = false;      // a pass of the page did not fit its time: the rest are drawn at the lowest resolution
    bool m_probed = false;        // the page's first pass has had its short try
};

} // namespace p2w
