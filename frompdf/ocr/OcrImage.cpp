#include "frompdf/ocr/OcrImage.h"

#include <leptonica/allheaders.h>

#include <algorithm>

float ocrScaleFactor(int width, int height, int tileWidth, int tileHeight)
{
    const unsigned across = (unsigned(width) + unsigned(tileWidth) - 1) / unsigned(tileWidth);
    const unsigned down = (unsigned(height) + unsigned(tileHeight) - 1) / unsigned(tileHeight);
    if (across >= 5 && down >= 5)
        return 1.0f;
    if (across < down)
        return 6.0f * float(tileWidth) / float(width);
    return 6.0f * float(tileHeight) / float(height);
}

namespace {

// Leptonica's steps do not all carry the resolution over: the result gets the page's own,
// times the factor the page was scaled by.
Pix* withResolution(Pix* result, l_int32 xRes, l_int32 yRes, float factor)
{
    pixSetResolution(result, l_int32(float(xRes) * factor + 0.5f), l_int32(float(yRes) * factor + 0.5f));
    return result;
}

// The marks no wider and no taller than this many pixels at 300 dpi are specks: a period of
// 5-point type is wider. Tesseract would otherwise weigh each speck as a piece of a character or
// a diacritic, which on a speckled scan costs seconds and puts stray letters into the text.
const int kSpeckPixelsAt300Dpi = 2;

// The image without its specks (8-connected marks), or the image itself when there are none or
// Leptonica cannot tell them.
Pix* withoutSpecks(Pix* bilevel, l_int32 resolution)
{
    const int dpi = resolution > 0 ? resolution : 300;
    const int side = std::max(1, kSpeckPixelsAt300Dpi * dpi / 300);
    l_int32 changed = 0;
    Pix* cleaned = pixSelectBySize(bilevel, side, side, 8, L_SELECT_IF_EITHER, L_SELECT_IF_GT, &changed);
    if (!cleaned)
        return bilevel;
    pixDestroy(&bilevel);
    return cleaned;
}

} // namespace

Pix* prepareOcrImage(Pix* image, int tileWidth, int tileHeight, int threshold, int minCount, int backgroundValue,
                     int smoothX, int smoothY, float scoreFraction)
{
    if (!image || pixGetDepth(image) != 32)
        return image;
    const l_int32 xRes = pixGetXRes(image);
    const l_int32 yRes = pixGetYRes(image);
    Pix* grey = pixConvertRGBToGrayFast(image);
    Pix* sharp = grey ? pixUnsharpMaskingGray(grey, 5, 2.5f) : nullptr;
    if (!sharp) {
        // Leptonica could not make the grey or sharpened image: recognise the page as it came.
        pixDestroy(&grey);
        return image;
    }
    float factor = ocrScaleFactor(int(pixGetWidth(sharp)), int(pixGetHeight(sharp)), tileWidth, tileHeight);
    if (factor != 1.0f) {
        Pix* scaled = pixScaleGrayLI(sharp, factor, factor);
        if (scaled) {
            pixDestroy(&sharp);
            sharp = scaled;
        } else {
            factor = 1.0f;
        }
    }
    l_int32 foundThreshold = 0;
    Pix* bilevel = pixOtsuThreshOnBackgroundNorm(sharp, nullptr, tileWidth, tileHeight, threshold, minCount,
                                                 backgroundValue, smoothX, smoothY, scoreFraction, &foundThreshold);
    if (bilevel)
        bilevel = withoutSpecks(bilevel, l_int32(float(yRes) * factor + 0.5f));
    Pix* deskewed = bilevel ? pixFindSkewAndDeskew(bilevel, 1, nullptr, nullptr) : nullptr;

    if (!bilevel) {
        // No binarisation: the sharpened grey page is still a fair input.
        pixDestroy(&image);
        pixDestroy(&grey);
        return withResolution(sharp, xRes, yRes, factor);
    }
    pixDestroy(&image);
    pixDestroy(&grey);
    pixDestroy(&sharp);
    if (deskewed) {
        pixDestroy(&bilevel);
        return withResolution(deskewed, xRes, yRes, factor);
    }
    return withResolution(bilevel, xRes, yRes, factor);
}
