#include "platform/pdf2word/com/Pdf2WordObject.h"

#include "platform/pdf2word/com/ComRuntime.h"

Pdf2WordObject::Pdf2WordObject()
    : m_events(this, DIID_IPdf2WordEvents)
{
    for (auto& option : m_options)
        option = 0;
}

Pdf2WordObject::~Pdf2WordObject() = default;

HRESULT Pdf2WordObject::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IPdf2Word) {
        *object = static_cast<IPdf2Word*>(this);
    } else if (iid == IID_IConnectionPointContainer) {
        *object = static_cast<IConnectionPointContainer*>(&m_events);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG Pdf2WordObject::AddRef()
{
    return ++m_references;
}

ULONG Pdf2WordObject::Release()
{
    const ULONG left = --m_references;
    if (left == 0)
        delete this;
    return left;
}

HRESULT Pdf2WordObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, void*, UINT*)
{
    return E_NOTIMPL;
}

LONG Pdf2WordObject::option(int slot) const
{
    return slot >= 0 && slot < 30 ? m_options[slot].load() : 0;
}

HRESULT Pdf2WordObject::setOption(int slot, LONG value)
{
    if (!isPdf2WordOptionSlot(slot))
        return E_INVALIDARG;
    m_options[slot] = value;
    return S_OK;
}

LONG Pdf2WordObject::fireProgress(LONG current, LONG total, const std::wstring& text)
{
    std::vector<VARIANT> arguments(3);
    for (VARIANT& argument : arguments)
        VariantInit(&argument);
    arguments[0].vt = VT_I4;
    arguments[0].lVal = current;
    arguments[1].vt = VT_I4;
    arguments[1].lVal = total;
    arguments[2].vt = VT_BSTR;
    arguments[2].bstrVal = SysAllocStringLen(text.data(), UINT(text.size()));
    VARIANT answer;
    m_events.fire(Pdf2WordEventProgress, arguments, &answer);
    VariantClear(&arguments[2]);
    LONG value = 0;
    VariantToInt32(answer, &value);
    VariantClear(&answer);
    return value;
}

void Pdf2WordObject::fireFinished(LONG pages)
{
    std::vector<VARIANT> arguments(1);
    VariantInit(&arguments[0]);
    arguments[0].vt = VT_I4;
    arguments[0].lVal = pages;
    m_events.fire(Pdf2WordEventFinished, arguments, nullptr);
}
