#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace dpl {

// A rendered page as the encoders read it: rows of 8-bit R, G, B samples, top row first.
struct RgbRaster
{
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
    const unsigned char* pixels = nullptr;
    int dpi = 72;

    const unsigned char* row(int y) const { return pixels + stride * y; }
};

using Bytes = std::vector<unsigned char>;

// Each encoder returns the whole file, or false when the raster cannot be written in that format
// (too large for its fields) or memory ran out.
bool encodeBmp(const RgbRaster& raster, Bytes& out);
bool encodeTiff(const RgbRaster& raster, Bytes& out);
bool encodeGif(const RgbRaster& raster, Bytes& out);
bool encodeJpeg(const RgbRaster& raster, int quality, Bytes& out);
// Encapsulated PostScript holding the raster as one image at its physical size.
bool encodeEps(const RgbRaster& raster, Bytes& out);
// A placeable Windows metafile holding the raster as one device-independent bitmap.
bool encodeWmf(const RgbRaster& raster, Bytes& out);

// Little-endian writers shared by the encoders.
inline void put16(Bytes& out, unsigned value)
{
    out.push_back(static_cast<unsigned char>(value & 0xFF));
    out.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
}

inline void put32(Bytes& out, unsigned long value)
{
    put16(out, unsigned(value & 0xFFFF));
    put16(out, unsigned((value >> 16) & 0xFFFF));
}

inline void putText(Bytes& out, const std::string& text)
{
    out.insert(out.end(), text.begin(), text.end());
}

// Compresses plain with zlib (Deflate, level 6) into packed; false when zlib fails.
bool deflateBytes(const Bytes& plain, Bytes& packed);

// Appends a bottom-up 24-bit BGR bitmap with rows padded to four bytes, as BMP and WMF store it.
void appendBottomUpBgr(const RgbRaster& raster, Bytes& out);
// The 40-byte bitmap information header of an uncompressed 24-bit bitmap.
void appendBitmapInfoHeader(const RgbRaster& raster, Bytes& out);
size_t bottomUpRowSize(int width);

} // namespace dpl
