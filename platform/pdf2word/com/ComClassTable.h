#pragma once

// The ProgID-to-factory table that stands in for the registry's class registrations: a
// component (or a test's fake) registers a factory under its ProgID, and the calling code
// creates objects by ProgID. Safe to use from any thread.

#include "platform/pdf2word/com/ComTypes.h"

#include <functional>
#include <string>

// Makes one object of a class and hands out the interface iid of it (with one reference).
// outer is the aggregating object, which the classes here refuse (CLASS_E_NOAGGREGATION).
using ComFactory = std::function<HRESULT(IUnknown* outer, REFIID iid, void** object)>;

namespace ComClassTable {

// Registers the factory under progId, replacing one registered before.
void registerClass(const std::wstring& progId, ComFactory factory);
void revokeClass(const std::wstring& progId);
bool isRegistered(const std::wstring& progId);

} // namespace ComClassTable

// Looks the ProgID up and creates an object of its class (CLSIDFromProgID and CoCreateInstance
// in one step). REGDB_E_CLASSNOTREG for a ProgID nobody registered; otherwise the factory's
// result. *object is null after any failure.
HRESULT CoCreateInstanceFromProgID(LPCOLESTR progId, IUnknown* outer, DWORD context, REFIID iid, void** object);
