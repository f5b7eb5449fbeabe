#include "platform/pdflibrary/InstanceTable.h"

#include "platform/pdflibrary/LibraryInstance.h"

#include <map>
#include <mutex>

namespace dpl {
namespace InstanceTable {

namespace {

std::mutex tableMutex;
// Destroyed with the library when it is unloaded, with the instances a caller did not release.
std::map<int, std::shared_ptr<LibraryInstance>>& table()
{
    static std::map<int, std::shared_ptr<LibraryInstance>> instances;
    return instances;
}
int nextId = 1;

} // namespace

int create()
{
    auto instance = std::make_shared<LibraryInstance>();
    if (!instance->isUsable())
        return 0;
    std::lock_guard<std::mutex> lock(tableMutex);
    const int id = nextId++;
    table().emplace(id, std::move(instance));
    return id;
}

bool release(int id)
{
    std::shared_ptr<LibraryInstance> released;
    {
        std::lock_guard<std::mutex> lock(tableMutex);
        auto found = table().find(id);
        if (found == table().end())
            return false;
        released = std::move(found->second);
        table().erase(found);
    }
    // Wait for a call still running on another thread before the instance goes.
    std::lock_guard<std::mutex> busy(released->mutex());
    return true;
}

std::shared_ptr<LibraryInstance> find(int id)
{
    std::lock_guard<std::mutex> lock(tableMutex);
    auto found = table().find(id);
    return found == table().end() ? nullptr : found->second;
}

} // namespace InstanceTable
} // namespace dpl
