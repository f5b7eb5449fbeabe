#include "platform/pdf2word/com/DispEventSink.h"

#include "platform/pdf2word/com/ComRuntime.h"

DispEventSink::DispEventSink(const IID& eventInterface)
    : m_eventInterface(eventInterface)
{
}

DispEventSink::~DispEventSink()
{
    unadvise();
}

void DispEventSink::addEntry(Entry entry)
{
    m_entries.push_back(std::move(entry));
}

HRESULT DispEventSink::advise(IUnknown* source)
{
    if (!source)
        return E_POINTER;
    if (m_point)
        return E_FAIL;
    IConnectionPointContainer* container = nullptr;
    HRESULT result = source->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    if (FAILED(result))
        return result;
    IConnectionPoint* point = nullptr;
    result = container->FindConnectionPoint(m_eventInterface, &point);
    container->Release();
    if (FAILED(result))
        return result;
    DWORD cookie = 0;
    result = point->Advise(this, &cookie);
    if (FAILED(result)) {
        point->Release();
        return result;
    }
    m_point = point;
    m_cookie = cookie;
    return S_OK;
}

HRESULT DispEventSink::unadvise()
{
    if (!m_point)
        return S_FALSE;
    const HRESULT result = m_point->Unadvise(m_cookie);
    m_point->Release();
    m_point = nullptr;
    m_cookie = 0;
    return result;
}

HRESULT DispEventSink::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == m_eventInterface) {
        *object = static_cast<IDispatch*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT DispEventSink::Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, void*,
                              UINT* argumentError)
{
    const Entry* entry = nullptr;
    for (const Entry& candidate : m_entries) {
        if (candidate.dispid == member)
            entry = &candidate;
    }
    if (!entry)
        return DISP_E_MEMBERNOTFOUND;
    const UINT count = params ? params->cArgs : 0;
    if (count != entry->parameterTypes.size())
        return DISP_E_BADPARAMCOUNT;

    std::vector<VARIANT> arguments(count);
    for (UINT i = 0; i < count; ++i) {
        // rgvarg holds the last argument first.
        const VARIANT& given = params->rgvarg[count - 1 - i];
        VARIANT& argument = arguments[i];
        VariantInit(&argument);
        const VARTYPE wanted = entry->parameterTypes[i];
        bool converted = false;
        if (wanted == VT_I4) {
            converted = VariantToInt32(given, &argument.lVal);
        } else if (wanted == VT_BSTR) {
            converted = given.vt == VT_BSTR || given.vt == VT_EMPTY;
            argument.bstrVal = given.vt == VT_BSTR ? given.bstrVal : nullptr;
        }
        if (!converted) {
            if (argumentError)
                *argumentError = count - 1 - i;
            return DISP_E_TYPEMISMATCH;
        }
        argument.vt = wanted;
    }

    const LONG value = entry->handler(arguments);
    if (result) {
        VariantInit(result);
        if (entry->resultType == VT_I4) {
            result->vt = VT_I4;
            result->lVal = value;
        }
    }
    return S_OK;
}
