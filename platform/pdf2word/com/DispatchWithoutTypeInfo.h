#pragma once

#include "platform/pdf2word/com/ComTypes.h"

// IDispatch without type information, for objects whose callers bind to the operation table or
// to an event sink's map rather than to names.
template <typename Interface>
class DispatchWithoutTypeInfo : public Interface
{
public:
    HRESULT GetTypeInfoCount(UINT* count) override
    {
        if (count)
            *count = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(UINT, LCID, void**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

protected:
    ~DispatchWithoutTypeInfo() = default;
};
