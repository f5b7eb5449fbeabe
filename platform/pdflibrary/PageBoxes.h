#pragma once

#include "platform/pdflibrary/LibraryDocument.h"

#include <string>

namespace dpl {

// Page boxes by the codes GetPageBox takes.
enum class PageBoxType : int {
    Media = 1,
    Crop = 2,
    Bleed = 3,
    Trim = 4,
    Art = 5
};

// A page's box in its own (unrotated) coordinates. The crop box is the visible area the renderer
// uses: the media box cut to the crop box; a missing bleed, trim or art box falls back to it. A
// page without a media box is Letter size, as the renderer takes it. Returns 0 or an error code.
int pageBox(fz_context* ctx, pdf_document* doc, int page, PageBoxType type, fz_rect* box);

// The page's rotation snapped to 0, 90, 180 or 270 degrees, as the renderer applies it.
int pageRotation(fz_context* ctx, pdf_document* doc, int page, int* rotation);

// Paper sizes by the names the callers pass: "Letter", "A3", "A4", "A5" or "B5", optionally
// followed by " Landscape" (case does not matter). False for any other name.
bool paperSize(const std::string& name, double* width, double* height);

// Gives a page a media box of width x height points at the origin; boxes that would cut it are
// removed. Returns 0 or an error code (sizes must lie between 1 and 14400 points).
int setPageDimensions(fz_context* ctx, pdf_document* doc, int page, double width, double height);

// Appends a blank page of the given size; returns 0 and sets *page to its number, or an error code.
int appendBlankPage(fz_context* ctx, pdf_document* doc, double width, double height, int* page);

// Where an image lands on a page: its unit square mapped by this matrix, in page coordinates.
struct ImagePlacement
{
    double a, b, c, d, e, f;
};

// True for a box of positive size whose corner and size all lie within a million points (far
// beyond any page), so that a placement made from it prints as plain numbers.
bool usablePlacementBox(double left, double top, double width, double height);

// The placement that fits an image of imageWidth x imageHeight pixels into the box whose top-left
// corner is (left, top) in page coordinates (y upwards), scaled up or down to the largest size
// that keeps its aspect ratio, aligned 0 left / 1 centre / 2 right and 0 top / 1 middle /
// 2 bottom, and turned by the rotation code: 0 none, 1 a quarter turn anticlockwise (270 degrees),
// 2 a quarter turn clockwise (90 degrees), 3 a half turn. False for codes out of range or an
// empty box.
bool fitImagePlacement(int imageWidth, int imageHeight, double left, double top, double width, double height,
                       int hAlign, int vAlign, int rotation, ImagePlacement* placement);

// Draws the image on the page (1-based) with the placement, above what the page shows already.
// Returns 0 or an error code.
int drawImageOnPage(fz_context* ctx, pdf_document* doc, int page, DocumentImage& image, const ImagePlacement& placement);

} // namespace dpl
