#include "platform/pdf2word/com/ComRuntime.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

// The byte length sits in the four bytes before the characters, as with Windows BSTRs.
uint32_t* prefixOf(BSTR text)
{
    return reinterpret_cast<uint32_t*>(reinterpret_cast<char*>(text) - sizeof(uint32_t));
}

thread_local std::wstring errorDescription;
thread_local bool hasErrorDescription = false;

} // namespace

bool operator==(const GUID& a, const GUID& b)
{
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}

const IID IID_NULL = {0x00000000, 0x0000, 0x0000, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}};
const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IConnectionPointContainer = {0xB196B284, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
const IID IID_IConnectionPoint = {0xB196B286, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};

HRESULT CoInitialize(void*)
{
    return S_OK;
}

void CoUninitialize()
{
}

BSTR SysAllocStringLen(LPCOLESTR text, UINT length)
{
    const size_t bytes = size_t(length) * sizeof(OLECHAR);
    char* block = static_cast<char*>(std::malloc(sizeof(uint32_t) + bytes + sizeof(OLECHAR)));
    if (!block)
        return nullptr;
    *reinterpret_cast<uint32_t*>(block) = uint32_t(bytes);
    BSTR result = reinterpret_cast<BSTR>(block + sizeof(uint32_t));
    if (text)
        std::memcpy(result, text, bytes);
    else
        std::memset(result, 0, bytes);
    result[length] = 0;
    return result;
}

BSTR SysAllocString(LPCOLESTR text)
{
    if (!text)
        return nullptr;
    return SysAllocStringLen(text, UINT(std::wcslen(text)));
}

void SysFreeString(BSTR text)
{
    if (text)
        std::free(prefixOf(text));
}

UINT SysStringLen(BSTR text)
{
    return text ? *prefixOf(text) / sizeof(OLECHAR) : 0;
}

void VariantInit(VARIANT* value)
{
    std::memset(value, 0, sizeof(VARIANT));
    value->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANT* value)
{
    if (!value)
        return E_POINTER;
    if (value->vt == VT_BSTR)
        SysFreeString(value->bstrVal);
    else if (value->vt == VT_UNKNOWN && value->punkVal)
        value->punkVal->Release();
    VariantInit(value);
    return S_OK;
}

bool VariantToInt32(const VARIANT& value, LONG* result)
{
    switch (value.vt) {
    case VT_I2:
        *result = value.iVal;
        return true;
    case VT_I4:
        *result = value.lVal;
        return true;
    case VT_INT:
        *result = value.intVal;
        return true;
    case VT_BOOL:
        *result = value.boolVal ? 1 : 0;
        return true;
    default:
        return false;
    }
}

void SetErrorDescription(LPCOLESTR text)
{
    errorDescription = text ? text : L"";
    hasErrorDescription = text != nullptr;
}

BSTR TakeErrorDescription()
{
    if (!hasErrorDescription)
        return nullptr;
    BSTR result = SysAllocStringLen(errorDescription.data(), UINT(errorDescription.size()));
    errorDescription.clear();
    hasErrorDescription = false;
    return result;
}
