#include "platform/pdf2word/com/EventSource.h"

#include "platform/pdf2word/com/ComRuntime.h"

EventSource::EventSource(IUnknown* owner, const IID& eventInterface)
    : m_owner(owner)
    , m_eventInterface(eventInterface)
    , m_point(*this)
{
}

EventSource::~EventSource()
{
    for (auto& sink : m_sinks)
        sink.second->Release();
}

HRESULT EventSource::fire(DISPID dispid, const std::vector<VARIANT>& arguments, VARIANT* result)
{
    std::vector<IDispatch*> sinks;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (auto& sink : m_sinks) {
            sink.second->AddRef();
            sinks.push_back(sink.second);
        }
    }
    // Invoke takes the last argument first.
    std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
    DISPPARAMS params = {reversed.data(), nullptr, UINT(reversed.size()), 0};
    if (result)
        VariantInit(result);
    HRESULT outcome = S_OK;
    for (IDispatch* sink : sinks) {
        if (SUCCEEDED(outcome)) {
            VARIANT answer;
            VariantInit(&answer);
            const HRESULT invoked = sink->Invoke(dispid, IID_NULL, 0, DISPATCH_METHOD, &params, &answer, nullptr, nullptr);
            if (FAILED(invoked))
                outcome = invoked;
            if (result) {
                VariantClear(result);
                *result = answer;
            } else {
                VariantClear(&answer);
            }
        }
        sink->Release();
    }
    return outcome;
}

size_t EventSource::connectionCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_sinks.size();
}

HRESULT EventSource::EnumConnectionPoints(void**)
{
    return E_NOTIMPL;
}

HRESULT EventSource::FindConnectionPoint(REFIID iid, IConnectionPoint** point)
{
    if (!point)
        return E_POINTER;
    *point = nullptr;
    if (iid != m_eventInterface)
        return CONNECT_E_NOCONNECTION;
    m_point.AddRef();
    *point = &m_point;
    return S_OK;
}

HRESULT EventSource::Point::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IConnectionPoint) {
        AddRef();
        *object = static_cast<IConnectionPoint*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT EventSource::Point::GetConnectionInterface(IID* iid)
{
    if (!iid)
        return E_POINTER;
    *iid = m_source.m_eventInterface;
    return S_OK;
}

HRESULT EventSource::Point::GetConnectionPointContainer(IConnectionPointContainer** container)
{
    if (!container)
        return E_POINTER;
    m_source.AddRef();
    *container = &m_source;
    return S_OK;
}

HRESULT EventSource::Point::Advise(IUnknown* sink, DWORD* cookie)
{
    if (!sink || !cookie)
        return E_POINTER;
    IDispatch* dispatch = nullptr;
    if (FAILED(sink->QueryInterface(m_source.m_eventInterface, reinterpret_cast<void**>(&dispatch)))
        && FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))))
        return E_NOINTERFACE;
    std::lock_guard<std::mutex> lock(m_source.m_mutex);
    *cookie = m_source.m_nextCookie++;
    m_source.m_sinks[*cookie] = dispatch;
    return S_OK;
}

HRESULT EventSource::Point::Unadvise(DWORD cookie)
{
    IDispatch* sink = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_source.m_mutex);
        const auto found = m_source.m_sinks.find(cookie);
        if (found == m_source.m_sinks.end())
            return CONNECT_E_NOCONNECTION;
        sink = found->second;
        m_source.m_sinks.erase(found);
    }
    sink->Release();
    return S_OK;
}

HRESULT EventSource::Point::EnumConnections(void**)
{
    return E_NOTIMPL;
}
