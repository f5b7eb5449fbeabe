#pragma once

class IProgress;

namespace ProgressWait {

// Blocks the calling worker while the progress reports a pause, sleeping pollMs between polls so
// that a paused run costs no processor time. Returns false when the progress reports a stop
// (before or during the pause), true when the work may go on. A null progress never waits.
bool untilResumed(IProgress* progress, int pollMs = 50);

} // namespace ProgressWait
