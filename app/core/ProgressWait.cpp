#include "app/core/ProgressWait.h"

#include "app/core/IProgress.h"

#include <QThread>

namespace ProgressWait {

bool untilResumed(IProgress* progress, int pollMs)
{
    if (!progress)
        return true;
    while (!progress->isStopped() && progress->isPaused())
        QThread::msleep(static_cast<unsigned long>(pollMs));
    return !progress->isStopped();
}

} // namespace ProgressWait
