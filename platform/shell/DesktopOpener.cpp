#include "platform/shell/DesktopOpener.h"

#include "platform/shell/FreedesktopOpener.h"

#include <atomic>

namespace {

std::atomic<DesktopOpener*> installed{nullptr};

} // namespace

DesktopOpener::~DesktopOpener() = default;

DesktopOpener* DesktopOpener::instance()
{
    static FreedesktopOpener standard;
    DesktopOpener* opener = installed.load();
    return opener ? opener : &standard;
}

void DesktopOpener::setInstance(DesktopOpener* opener)
{
    installed.store(opener);
}
