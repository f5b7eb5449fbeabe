#pragma once

#include "platform/wintypes/WinTypes.h"

#include <QImage>

// One 32-bit top-down bitmap that the PDF library renders a page into. The bitmap is a canvas
// record over rows of 0xFFRRGGBB pixels, zeroed (black) when created; a memory context is a canvas
// record of its own that shows the bitmap while it is selected into it. Not copyable: the record
// owns its pixels until destroy().
struct DibSection
{
    DibSection(int width, int height);
    ~DibSection();
    DibSection(const DibSection&) = delete;
    DibSection& operator=(const DibSection&) = delete;

    // Valid when both the bitmap and its pixels exist.
    bool isValid() const { return bitmap && bits; }

    // A context that draws into the bitmap, only when the bitmap is valid and no context holds it
    // yet; else null.
    HDC createMemoryDc();
    // Selects the previous object back into dc and deletes the context.
    void releaseMemoryDc(HDC dc);
    // An image over the pixels, not owning them: copy it before destroy(). Null when there are no
    // pixels.
    QImage toImage() const;
    // Frees the bitmap and its pixels.
    void destroy();

    QpCanvas* bitmap = nullptr;         // null when creation failed
    int width = 0;                      // in pixels
    int height = 0;                     // in pixels
    unsigned char* bits = nullptr;      // the first pixel row; null on failure
    QpCanvas* previousObject = nullptr; // what the context showed before the bitmap; null while no context holds it
    int lastError = 0;                  // errno of a failed creation, else 0
};
