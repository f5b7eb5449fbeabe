#include "RasterEncoders.h"

#include <cmath>
#include <csetjmp>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <zlib.h>

namespace dpl {

bool deflateBytes(const Bytes& plain, Bytes& packed)
{
    uLongf size = compressBound(uLong(plain.size()));
    packed.resize(size);
    if (compress2(packed.data(), &size, plain.data(), uLong(plain.size()), 6) != Z_OK)
        return false;
    packed.resize(size);
    return true;
}

size_t bottomUpRowSize(int width)
{
    return (size_t(width) * 3 + 3) & ~size_t(3);
}

void appendBitmapInfoHeader(const RgbRaster& raster, Bytes& out)
{
    const unsigned long pixelsPerMetre = std::lround(raster.dpi / 0.0254);
    put32(out, 40);
    put32(out, static_cast<unsigned long>(raster.width));
    put32(out, static_cast<unsigned long>(raster.height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);  // uncompressed
    put32(out, bottomUpRowSize(raster.width) * raster.height);
    put32(out, pixelsPerMetre);
    put32(out, pixelsPerMetre);
    put32(out, 0);
    put32(out, 0);
}

void appendBottomUpBgr(const RgbRaster& raster, Bytes& out)
{
    const size_t rowSize = bottomUpRowSize(raster.width);
    const size_t start = out.size();
    out.resize(start + rowSize * raster.height, 0);
    unsigned char* target = out.data() + start;
    for (int y = raster.height - 1; y >= 0; --y, target += rowSize) {
        const unsigned char* source = raster.row(y);
        for (int x = 0; x < raster.width; ++x) {
            target[x * 3] = source[x * 3 + 2];
            target[x * 3 + 1] = source[x * 3 + 1];
            target[x * 3 + 2] = source[x * 3];
        }
    }
}

bool encodeBmp(const RgbRaster& raster, Bytes& out)
{
    const unsigned long long imageSize = (unsigned long long)bottomUpRowSize(raster.width) * raster.height;
    if (imageSize + 54 > 0xFFFFFFFFull)
        return false;
    out.clear();
    out.reserve(size_t(imageSize) + 54);
    out.push_back('B');
    out.push_back('M');
    put32(out, (unsigned long)(imageSize + 54));
    put32(out, 0);
    put32(out, 54);
    appendBitmapInfoHeader(raster, out);
    appendBottomUpBgr(raster, out);
    return true;
}

namespace {

// Baseline RGB TIFF, Deflate-compressed strips with horizontal differencing.
struct TiffEntry
{
    unsigned tag;
    unsigned type;  // 3 SHORT, 4 LONG, 5 RATIONAL
    unsigned long count;
    unsigned long value;  // the value itself, or the offset of the values
};

void putTiffEntry(Bytes& out, const TiffEntry& entry)
{
    put16(out, entry.tag);
    put16(out, entry.type);
    put32(out, entry.count);
    if (entry.type == 3 && entry.count == 1) {
        put16(out, unsigned(entry.value));
        put16(out, 0);
    } else {
        put32(out, entry.value);
    }
}

void patch32(Bytes& out, size_t at, unsigned long value)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<unsigned char>((value >> (8 * i)) & 0xFF);
}

} // namespace

bool encodeTiff(const RgbRaster& raster, Bytes& out)
{
    const size_t rowBytes = size_t(raster.width) * 3;
    const int rowsPerStrip = std::max(1, int(262144 / std::max<size_t>(rowBytes, 1)));
    const int strips = (raster.height + rowsPerStrip - 1) / rowsPerStrip;

    out.clear();
    putText(out, "II*");
    out.push_back(0);
    put32(out, 0);  // offset of the directory, patched below

    std::vector<unsigned long> offsets;
    std::vector<unsigned long> counts;
    Bytes plain;
    Bytes packed;
    for (int strip = 0; strip < strips; ++strip) {
        const int first = strip * rowsPerStrip;
        const int rows = std::min(rowsPerStrip, raster.height - first);
        plain.resize(rowBytes * rows);
        for (int r = 0; r < rows; ++r) {
            const unsigned char* source = raster.row(first + r);
            unsigned char* target = plain.data() + rowBytes * r;
            std::memcpy(target, source, std::min<size_t>(3, rowBytes));
            for (size_t i = 3; i < rowBytes; ++i)
                target[i] = static_cast<unsigned char>(source[i] - source[i - 3]);
        }
        if (!deflateBytes(plain, packed))
            return false;
        offsets.push_back(out.size());
        counts.push_back(packed.size());
        out.insert(out.end(), packed.begin(), packed.end());
        if (out.size() > 0xFFFF0000ull)
            return false;
    }
    if (out.size() % 2)
        out.push_back(0);

    // Values that do not fit in a directory entry come before the directory.
    const size_t bitsAt = out.size();
    put16(out, 8);
    put16(out, 8);
    put16(out, 8);
    const size_t resolutionAt = out.size();
    put32(out, static_cast<unsigned long>(raster.dpi));
    put32(out, 1);
    size_t offsetsAt = 0;
    size_t countsAt = 0;
    if (strips > 1) {
        offsetsAt = out.size();
        for (unsigned long offset : offsets)
            put32(out, offset);
        countsAt = out.size();
        for (unsigned long count : counts)
            put32(out, count);
    }

    const TiffEntry entries[] = {
        {256, 4, 1, static_cast<unsigned long>(raster.width)},
        {257, 4, 1, static_cast<unsigned long>(raster.height)},
        {258, 3, 3, bitsAt},
        {259, 3, 1, 8},  // Deflate
        {262, 3, 1, 2},  // RGB
        {273, 4, static_cast<unsigned long>(strips), strips > 1 ? offsetsAt : offsets[0]},
        {277, 3, 1, 3},
        {278, 4, 1, static_cast<unsigned long>(rowsPerStrip)},
        {279, 4, static_cast<unsigned long>(strips), strips > 1 ? countsAt : counts[0]},
        {282, 5, 1, resolutionAt},
        {283, 5, 1, resolutionAt},
        {284, 3, 1, 1},
        {296, 3, 1, 2},  // inches
        {317, 3, 1, 2},  // horizontal differencing
    };
    const size_t directoryAt = out.size();
    patch32(out, 4, directoryAt);
    put16(out, unsigned(sizeof entries / sizeof entries[0]));
    for (const TiffEntry& entry : entries)
        putTiffEntry(out, entry);
    put32(out, 0);
    return out.size() < 0xFFFFFFFFull;
}

namespace {

struct JpegErrorExit
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void leaveOnJpegError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegErrorExit*>(info->err)->jump, 1);
}

} // namespace

bool encodeJpeg(const RgbRaster& raster, int quality, Bytes& out)
{
    if (raster.width > 65500 || raster.height > 65500)
        return false;
    jpeg_compress_struct info;
    JpegErrorExit error;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = leaveOnJpegError;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(raster.width);
    info.image_height = JDIMENSION(raster.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.density_unit = 1;  // dots per inch
    info.X_density = UINT16(std::min(raster.dpi, 65535));
    info.Y_density = info.X_density;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(raster.row(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    out.assign(buffer, buffer + size);
    std::free(buffer);
    return true;
}

} // namespace dpl
