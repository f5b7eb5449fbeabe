#include "platform/pdf2word/com/ComClassTable.h"

#include <map>
#include <mutex>

namespace {

struct Table
{
    std::mutex mutex;
    std::map<std::wstring, ComFactory> factories;
};

Table& table()
{
    static Table instance;
    return instance;
}

} // namespace

namespace ComClassTable {

void registerClass(const std::wstring& progId, ComFactory factory)
{
    std::lock_guard<std::mutex> lock(table().mutex);
    table().factories[progId] = std::move(factory);
}

void revokeClass(const std::wstring& progId)
{
    std::lock_guard<std::mutex> lock(table().mutex);
    table().factories.erase(progId);
}

bool isRegistered(const std::wstring& progId)
{
    std::lock_guard<std::mutex> lock(table().mutex);
    return table().factories.count(progId) > 0;
}

} // namespace ComClassTable

HRESULT CoCreateInstanceFromProgID(LPCOLESTR progId, IUnknown* outer, DWORD context, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!progId || (context & CLSCTX_ALL) == 0)
        return E_INVALIDARG;
    ComFactory factory;
    {
        std::lock_guard<std::mutex> lock(table().mutex);
        const auto found = table().factories.find(progId);
        if (found == table().factories.end())
            return REGDB_E_CLASSNOTREG;
        factory = found->second;
    }
    // The factory runs outside the lock: creating a component may take a while (it loads its
    // engine) and may itself look at the table.
    const HRESULT result = factory(outer, iid, object);
    if (FAILED(result))
        *object = nullptr;
    return result;
}
