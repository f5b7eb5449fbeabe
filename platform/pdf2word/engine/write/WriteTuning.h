#pragma once

#include "platform/pdf2word/engine/model/Tuning.h"

namespace p2w {

// The values that decide how the write stage places what the document holds, where the formats
// leave it to the writer. A benchmark run may try other values without a rebuild (TuningFile.h);
// the code reads them through writeTuning().
struct WriteTuning
{
    // Points a floating box keeps from the text beside it.
    double floatGap = 9;
    // A running head or foot stands this far from the page's edge, or half the margin when that
    // is less (twentieths of a point).
    int marginTextTwips = 708;
    // Lines whose leading is at least this many times their largest text's size keep it exactly
    // (their text shows whole in any usual font).
    double roomyLeading = 1.1;
};

inline const WriteTuning& writeTuning()
{
    return changeableTuning<WriteTuning>();
}

} // namespace p2w
