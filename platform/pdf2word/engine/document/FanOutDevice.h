#pragma once

// A device that hands every step of a drawing to several devices, so that one run of a page's
// list draws all of its figures (each device clips to its own picture).

#include "platform/pdf2word/engine/model/Fitz.h"

namespace p2w {

// Each step goes only to the targets whose area (in the page's space) it reaches; a clip that
// misses a target's area reaches it as an empty clip, so that its clips still nest. The targets
// and areas are not owned and must outlive the device; closing it closes the targets. Tiles are
// not cached: every target draws each tile's content.
fz_device* newFanOutDevice(fz_context* ctx, fz_device* const* targets, const fz_rect* areas, int count);

} // namespace p2w
