#pragma once

// The sending end of a component's events: the connection-point container and the one
// connection point of the component's event interface. Sinks connect with Advise and receive
// every fired event through IDispatch::Invoke on the firing thread. Lives inside the component,
// whose reference count it shares.

#include "platform/pdf2word/com/ComTypes.h"

#include <map>
#include <mutex>
#include <vector>

class EventSource : public IConnectionPointContainer
{
public:
    // owner answers QueryInterface and counts the references of the container and the point.
    EventSource(IUnknown* owner, const IID& eventInterface);
    ~EventSource();
    EventSource(const EventSource&) = delete;
    EventSource& operator=(const EventSource&) = delete;

    // Calls every connected sink with the arguments (declaration order; the caller keeps owning
    // them) and returns the last sink's result in *result (VT_EMPTY when no sink is connected).
    // S_OK, or the first failure of a sink's Invoke.
    HRESULT fire(DISPID dispid, const std::vector<VARIANT>& arguments, VARIANT* result);
    size_t connectionCount() const;

    HRESULT QueryInterface(REFIID iid, void** object) override { return m_owner->QueryInterface(iid, object); }
    ULONG AddRef() override { return m_owner->AddRef(); }
    ULONG Release() override { return m_owner->Release(); }
    HRESULT EnumConnectionPoints(void** enumerator) override;
    HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

private:
    class Point : public IConnectionPoint
    {
    public:
        explicit Point(EventSource& source)
            : m_source(source) {}
        HRESULT QueryInterface(REFIID iid, void** object) override;
        ULONG AddRef() override { return m_source.AddRef(); }
        ULONG Release() override { return m_source.Release(); }
        HRESULT GetConnectionInterface(IID* iid) override;
        HRESULT GetConnectionPointContainer(IConnectionPointContainer** container) override;
        HRESULT Advise(IUnknown* sink, DWORD* cookie) override;
        HRESULT Unadvise(DWORD cookie) override;
        HRESULT EnumConnections(void** enumerator) override;

    private:
        EventSource& m_source;
    };

    IUnknown* m_owner;
    IID m_eventInterface;
    Point m_point;
    mutable std::mutex m_mutex;
    std::map<DWORD, IDispatch*> m_sinks;
    DWORD m_nextCookie = 1;
};
