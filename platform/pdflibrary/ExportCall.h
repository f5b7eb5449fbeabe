#pragma once

#include "platform/pdflibrary/InstanceTable.h"
#include "platform/pdflibrary/LibraryInstance.h"
#include "platform/pdflibrary/TextConvert.h"

#include <mutex>
#include <string>

// How every export reaches its instance: look it up, hold its mutex for the call, start with a
// clear error code, and turn anything unexpected into the failure value of the result type. An
// unknown instance id gives the failure value without touching any instance.

#define DPL_EXPORT extern "C" __attribute__((visibility("default")))

namespace dpl {

// Whether a call starts by clearing the instance's last error code.
enum class LastError {
    Cleared,
    Kept
};

template <typename Result, typename Body>
Result callInstance(int instanceId, Result failure, Body&& body, LastError lastError = LastError::Cleared)
{
    std::shared_ptr<LibraryInstance> instance = InstanceTable::find(instanceId);
    if (!instance)
        return failure;
    std::lock_guard<std::mutex> lock(instance->mutex());
    if (lastError == LastError::Cleared)
        instance->beginCall();
    try {
        return body(*instance);
    } catch (...) {
        instance->internalFailure();
        return failure;
    }
}

// For the infrastructure and LastErrorCode, which leave the error code as it is.
template <typename Result, typename Body>
Result callInfrastructure(int instanceId, Result failure, Body&& body)
{
    return callInstance(instanceId, failure, body, LastError::Kept);
}

// For functions with a wide-string result: body returns UTF-8; the instance keeps the wide form
// until its next wide-string result, so StringResultLength reads its length.
template <typename Body>
const wchar_t* callWideResult(int instanceId, Body&& body)
{
    static const wchar_t empty[] = L"";
    return callInstance(instanceId, static_cast<const wchar_t*>(empty), [&](LibraryInstance& instance) {
        return instance.keepWideResult(fromUtf8(body(instance)));
    });
}

} // namespace dpl
