#include "resources/Resources.h"

#include <QtGlobal>

#include <atomic>

void initStyleResources()
{
    static std::atomic<bool> done{false};
    if (done.exchange(true))
        return;
    // Referencing the bundle's initialiser also makes the linker keep it out of the archive.
    Q_INIT_RESOURCE(quillpress);
}
