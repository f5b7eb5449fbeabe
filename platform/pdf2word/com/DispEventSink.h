#pragma once

// The receiving end of a component's events: an IDispatch whose Invoke hands each event to the
// handler that its sink map names for the event's DISPID, after checking and converting the
// arguments to the types the map declares. Lives inside its owner, so reference counting does
// not delete it, and connects to one event source at a time.

#include "platform/pdf2word/com/DispatchWithoutTypeInfo.h"

#include <functional>
#include <vector>

class DispEventSink : public DispatchWithoutTypeInfo<IDispatch>
{
public:
    // One event of the sink map. Arguments reach the handler in declaration order, converted to
    // parameterTypes (VT_I4 or VT_BSTR; a BSTR is lent for the call). The handler's value is the
    // event's result when resultType is VT_I4; with VT_EMPTY the event has no result.
    struct Entry
    {
        DISPID dispid;
        VARTYPE resultType;
        std::vector<VARTYPE> parameterTypes;
        std::function<LONG(const std::vector<VARIANT>& arguments)> handler;
    };

    explicit DispEventSink(const IID& eventInterface);
    DispEventSink(const DispEventSink&) = delete;
    DispEventSink& operator=(const DispEventSink&) = delete;

    void addEntry(Entry entry);

    // Connects the sink to the source's connection point for the event interface.
    HRESULT advise(IUnknown* source);
    // Disconnects and releases the source; S_FALSE when not connected.
    HRESULT unadvise();
    bool isAdvised() const { return m_point != nullptr; }

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }

    HRESULT Invoke(DISPID member, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                   void* exceptionInfo, UINT* argumentError) override;

protected:
    ~DispEventSink();

private:
    IID m_eventInterface;
    std::vector<Entry> m_entries;
    IConnectionPoint* m_point = nullptr;
    DWORD m_cookie = 0;
};
