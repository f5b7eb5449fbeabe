// The exports written by hand: the infrastructure the binding calls around each call, the last
// error code (which, unlike every other call, leaves the code as it is) and the hook of the
// generated stubs. The exports of the functions this library implements are generated from
// implemented.txt; every other export of the catalogue is a stub that reports NotImplemented.

#include "pdflib/binding/generated/DPLExports.h"
#include "platform/pdflibrary/ExportCall.h"

using namespace dpl;

namespace {

using Instance = LibraryInstance;

} // namespace

// Infrastructure.

DPL_EXPORT int DPLCreateLibrary()
{
    try {
        return InstanceTable::create();
    } catch (...) {
        return 0;
    }
}

DPL_EXPORT int DPLReleaseLibrary(int instanceID)
{
    try {
        return InstanceTable::release(instanceID) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

DPL_EXPORT int DPLStringResultLength(int instanceID)
{
    return callInfrastructure(instanceID, 0, [](Instance& l) { return l.wideResultLength(); });
}

DPL_EXPORT int DPLAnsiStringResultLength(int instanceID)
{
    return callInfrastructure(instanceID, 0, [](Instance& l) { return l.byteResultLength(); });
}

DPL_EXPORT char* DPLCreateBuffer(int instanceID, int length)
{
    return callInfrastructure(instanceID, static_cast<char*>(nullptr), [&](Instance& l) { return l.createBuffer(length); });
}

DPL_EXPORT int DPLAddToBuffer(int instanceID, char* buffer, const char* data, int length)
{
    return callInfrastructure(instanceID, 0, [&](Instance& l) { return l.addToBuffer(buffer, data, length); });
}

DPL_EXPORT int DPLReleaseBuffer(int instanceID, char* buffer)
{
    return callInfrastructure(instanceID, 0, [&](Instance& l) { return l.releaseBuffer(buffer); });
}

extern "C" void dplStubCalled(int instanceID, const char*)
{
    callInfrastructure(instanceID, 0, [](Instance& l) {
        l.notImplemented();
        return 0;
    });
}

DPL_EXPORT int DPLLastErrorCode(int instanceID)
{
    return callInfrastructure(instanceID, 0, [](Instance& l) { return l.lastErrorCode(); });
}
