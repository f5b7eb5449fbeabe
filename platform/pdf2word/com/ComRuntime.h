#pragma once

// The COM library functions the calling code uses: apartment set-up (nothing to do on Linux),
// BSTR strings, VARIANT values and the error description a component leaves for its caller.

#include "platform/pdf2word/com/ComTypes.h"

// Kept for the calling order of Windows code; there is no apartment to set up here. S_OK.
HRESULT CoInitialize(void* reserved);
void CoUninitialize();

// BSTR: a length-prefixed, zero-terminated wide string. SysAllocString(nullptr) gives nullptr,
// which every function here treats as the empty string.
BSTR SysAllocString(LPCOLESTR text);
BSTR SysAllocStringLen(LPCOLESTR text, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);

void VariantInit(VARIANT* value);
// Frees what the value owns (a BSTR, a reference) and leaves it VT_EMPTY.
HRESULT VariantClear(VARIANT* value);
// The value as a 32-bit integer: VT_I2, VT_I4, VT_INT and VT_BOOL convert; false otherwise.
bool VariantToInt32(const VARIANT& value, LONG* result);

// A component states why its last call failed; the caller takes the text after the failure.
// Per thread, as the calls and their failures are.
void SetErrorDescription(LPCOLESTR text);
// The description left on this thread (nullptr when none), handed over and cleared. The caller
// frees it with SysFreeString.
BSTR TakeErrorDescription();
