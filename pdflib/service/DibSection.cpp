#include "pdflib/service/DibSection.h"

#include <cerrno>
#include <cstdint>
#include <new>

DibSection::DibSection(int width, int height)
    : width(width)
    , height(height)
{
    // A bitmap needs a size, and its byte count must fit the canvas record's int stride and
    // QImage's int byte count.
    const int64_t stride = int64_t(width) * 4;
    if (width <= 0 || height <= 0 || stride * height > INT32_MAX) {
        lastError = EINVAL;
        return;
    }
    bits = new (std::nothrow) unsigned char[size_t(stride * height)]();
    if (!bits) {
        lastError = ENOMEM;
        return;
    }
    bitmap = new QpCanvas{width, height, int32_t(stride), bits};
}

DibSection::~DibSection()
{
    destroy();
}

HDC DibSection::createMemoryDc()
{
    if (!isValid() || previousObject)
        return nullptr;
    // A new context shows nothing until the bitmap is selected into it.
    HDC dc = new QpCanvas{0, 0, 0, nullptr};
    previousObject = new QpCanvas(*dc);
    *dc = *bitmap;
    return dc;
}

void DibSection::releaseMemoryDc(HDC dc)
{
    if (!dc || !previousObject)
        return;
    *dc = *previousObject;
    delete previousObject;
    previousObject = nullptr;
    delete dc;
}

QImage DibSection::toImage() const
{
    if (!isValid())
        return QImage();
    return QImage(bits, width, height, width * 4, QImage::Format_RGB32);
}

void DibSection::destroy()
{
    delete previousObject;
    previousObject = nullptr;
    delete bitmap;
    bitmap = nullptr;
    delete[] bits;
    bits = nullptr;
    lastError = 0;
}
