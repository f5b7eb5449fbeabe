#pragma once

// The COM-shaped types the program's calling code works with on Linux: result codes, GUIDs,
// BSTR and VARIANT values, argument lists for IDispatch::Invoke and the interfaces IUnknown,
// IDispatch, IConnectionPointContainer and IConnectionPoint. Interfaces are abstract classes
// whose virtual functions appear in the same order as the Windows tables, so a slot number
// counts the same operations. wchar_t is 32-bit here, so a BSTR holds UTF-32 units.

#include "platform/wintypes/WinTypes.h"

#include <cstdint>

typedef int32_t LONG;
typedef uint32_t ULONG;
typedef uint32_t DWORD;
typedef uint16_t WORD;
typedef uint32_t UINT;
typedef int32_t INT;
typedef uint32_t LCID;
typedef int32_t DISPID;
typedef uint16_t VARTYPE;
typedef int16_t VARIANT_BOOL;
typedef wchar_t OLECHAR;
typedef OLECHAR* BSTR;
typedef const OLECHAR* LPCOLESTR;
typedef OLECHAR* LPOLESTR;

// Results beyond WinTypes.h.
#define E_NOTIMPL ((HRESULT)0x80004001)
#define E_NOINTERFACE ((HRESULT)0x80004002)
#define E_POINTER ((HRESULT)0x80004003)
#define E_ABORT ((HRESULT)0x80004004)
#define E_OUTOFMEMORY ((HRESULT)0x8007000E)
#define E_INVALIDARG ((HRESULT)0x80070057)
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110)
#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154)
#define CO_E_DLLNOTFOUND ((HRESULT)0x800401F8)
#define CONNECT_E_NOCONNECTION ((HRESULT)0x80040200)
#define DISP_E_MEMBERNOTFOUND ((HRESULT)0x80020003)
#define DISP_E_TYPEMISMATCH ((HRESULT)0x80020005)
#define DISP_E_BADPARAMCOUNT ((HRESULT)0x8002000E)

// Class contexts of object creation.
#define CLSCTX_INPROC_SERVER 0x1
#define CLSCTX_INPROC_HANDLER 0x2
#define CLSCTX_LOCAL_SERVER 0x4
#define CLSCTX_REMOTE_SERVER 0x10
#define CLSCTX_ALL (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)

#define DISPATCH_METHOD 0x1

struct GUID
{
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
typedef GUID IID;
typedef GUID CLSID;
typedef const GUID& REFIID;
typedef const GUID& REFCLSID;

bool operator==(const GUID& a, const GUID& b);
inline bool operator!=(const GUID& a, const GUID& b) { return !(a == b); }

extern const IID IID_NULL;
extern const IID IID_IUnknown;
extern const IID IID_IDispatch;
extern const IID IID_IConnectionPointContainer;
extern const IID IID_IConnectionPoint;

enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_BSTR = 8,
    VT_BOOL = 11,
    VT_UNKNOWN = 13,
    VT_INT = 22,
};

class IUnknown;

struct VARIANT
{
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union
    {
        LONG lVal;
        INT intVal;
        int16_t iVal;
        VARIANT_BOOL boolVal;
        BSTR bstrVal;
        IUnknown* punkVal;
    };
};

// Arguments of IDispatch::Invoke, last argument first (rgvarg[0] is the last one).
struct DISPPARAMS
{
    VARIANT* rgvarg;
    DISPID* rgdispidNamedArgs;
    UINT cArgs;
    UINT cNamedArgs;
};

class IUnknown
{
public:
    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0; // slot 0
    virtual ULONG AddRef() = 0;                                    // slot 1
    virtual ULONG Release() = 0;                                   // slot 2

protected:
    ~IUnknown() = default;
};

class IDispatch : public IUnknown
{
public:
    virtual HRESULT GetTypeInfoCount(UINT* count) = 0;                                                    // slot 3
    virtual HRESULT GetTypeInfo(UINT index, LCID locale, void** typeInfo) = 0;                            // slot 4
    virtual HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) = 0; // slot 5
    virtual HRESULT Invoke(DISPID member, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                           VARIANT* result, void* exceptionInfo, UINT* argumentError) = 0; // slot 6

protected:
    ~IDispatch() = default;
};

class IConnectionPoint;

class IConnectionPointContainer : public IUnknown
{
public:
    virtual HRESULT EnumConnectionPoints(void** enumerator) = 0;
    virtual HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** point) = 0;

protected:
    ~IConnectionPointContainer() = default;
};

class IConnectionPoint : public IUnknown
{
public:
    virtual HRESULT GetConnectionInterface(IID* iid) = 0;
    virtual HRESULT GetConnectionPointContainer(IConnectionPointContainer** container) = 0;
    virtual HRESULT Advise(IUnknown* sink, DWORD* cookie) = 0;
    virtual HRESULT Unadvise(DWORD cookie) = 0;
    virtual HRESULT EnumConnections(void** enumerator) = 0;

protected:
    ~IConnectionPoint() = default;
};
