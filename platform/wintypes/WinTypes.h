#pragma once

// Windows-shaped handle and result types that the program's calling code expects, defined for
// the Linux build. Only what the code uses is here.

#include <cstdint>

// A drawing surface: what a device context with a selected 32-bit top-down bitmap gives the PDF
// library to render into. Rows are stride bytes apart; each pixel is 0xFFRRGGBB (the layout of
// QImage::Format_RGB32).
struct QpCanvas
{
    int32_t width;
    int32_t height;
    int32_t stride;
    unsigned char* bits;
};

// Opaque handles. An HDC points at the canvas it draws into.
typedef QpCanvas* HDC;
typedef void* HMODULE;

typedef int32_t HRESULT;
#ifndef S_OK
#define S_OK ((HRESULT)0)
#endif
#ifndef S_FALSE
#define S_FALSE ((HRESULT)1)
#endif
#ifndef E_FAIL
#define E_FAIL ((HRESULT)0x80004005)
#endif
#ifndef SUCCEEDED
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#endif
#ifndef FAILED
#define FAILED(hr) (((HRESULT)(hr)) < 0)
#endif
