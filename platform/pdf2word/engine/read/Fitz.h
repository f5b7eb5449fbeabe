#pragma once

// MuPDF's headers and the one way the engine calls into MuPDF: the base's error frame.

#include "platform/mupdf/FitzFrame.h"

namespace p2w {

using qpmupdf::fzRun;

} // namespace p2w
