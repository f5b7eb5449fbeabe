#pragma once

// Where each stage's tuning (ReadTuning, LayoutTuning, DocumentTuning, WriteTuning) is kept: one
// instance per engine, holding the defaults or a benchmark run's values (TuningFile.h). A stage's
// code reads its own through a const accessor beside its struct (readTuning() and the like).

namespace p2w {

template <typename Tuning>
Tuning& changeableTuning()
{
    static Tuning tuning;
    return tuning;
}

} // namespace p2w
