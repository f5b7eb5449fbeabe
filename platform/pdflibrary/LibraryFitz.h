#pragma once

// MuPDF's headers and the one way this library calls into MuPDF: the base's error frame.

#include "platform/mupdf/FitzFrame.h"

namespace dpl {

using qpmupdf::fzRun;

} // namespace dpl
