#pragma once

#include "InstanceTable.h"
#include "LibraryInstance.h"
#include "TextConvert.h"

#include <mutex>
#include <string>

// How every export reaches its instance: look it up, hold its mutex for the call, start with a
// clear error code, and turn anything unexpected into the failure value of the result type. An
// unknown instance id gives the failure value without touching any instance.

#define DPL_EXPORT extern "C" __attribute__((visibility("default")))

namespace dpl {

template <typename Result, typename Body>
Result callInstance(int instanceId, Result failure, Body&& body)
{
    std::shared_ptr<LibraryInstance> instance = InstanceTable::find(instanceId);
    if (!instance)
        return failure;
    std::lock_guard<std::mutex> lock(instance->mutex());
    instance->beginCall();
    try {
        return body(*instance);
    } catch (...) {
        instance->internalFailure();
        return failure;
    }
}

// For functions with a wide-string result: body returns UTF-8; the instance keeps the wide form
// until its next wide-string result, so StringResultLength reads its length.
template <typename Body>
const wchar_t* callWideResult(int instanceId, Body&& body)
{
    static const wchar_t empty[] = L"";
    std::shared_ptr<LibraryInstance> instance = InstanceTable::find(instanceId);
    if (!instance)
        return empty;
    std::lock_guard<std::mutex> lock(instance->mutex());
    instance->beginCall();
    try {
        return instance->keepWideResult(fromUtf8(body(*instance)));
    } catch (...) {
        instance->internalFailure();
        return instance->keepWideResult(std::wstring());
    }
}

// For the infrastructure: no error-code reset.
template <typename Result, typename Body>
Result callInfrastructure(int instanceId, Result failure, Body&& body)
{
    std::shared_ptr<LibraryInstance> instance = InstanceTable::find(instanceId);
    if (!instance)
        return failure;
    std::lock_guard<std::mutex> lock(instance->mutex());
    try {
        return body(*instance);
    } catch (...) {
        return failure;
    }
}

} // namespace dpl
