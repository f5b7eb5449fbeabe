#include "platform/pdflibrary/RasterEncoders.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <jpeglib.h>
#include <tiffio.h>
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
    put32(out, 0); // uncompressed
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

// libtiff writes through these into a growing buffer: the file is built in memory and handed to
// the caller whole, like every other encoder's.
struct TiffMemory
{
    Bytes* bytes;
    toff_t position = 0;
};

tmsize_t tiffRead(thandle_t, void*, tmsize_t)
{
    return 0;
}

tmsize_t tiffWrite(thandle_t handle, void* data, tmsize_t size)
{
    auto* memory = static_cast<TiffMemory*>(handle);
    const toff_t end = memory->position + toff_t(size);
    if (end > 0xFFFFFFFFull) // a classic TIFF addresses 4 GB
        return -1;
    if (end > memory->bytes->size())
        memory->bytes->resize(size_t(end));
    std::memcpy(memory->bytes->data() + memory->position, data, size_t(size));
    memory->position = end;
    return size;
}

toff_t tiffSeek(thandle_t handle, toff_t offset, int whence)
{
    auto* memory = static_cast<TiffMemory*>(handle);
    const toff_t base = whence == SEEK_CUR ? memory->position : whence == SEEK_END ? memory->bytes->size()
                                                                                   : 0;
    memory->position = base + offset;
    return memory->position;
}

int tiffClose(thandle_t)
{
    return 0;
}

toff_t tiffSize(thandle_t handle)
{
    return static_cast<TiffMemory*>(handle)->bytes->size();
}

// The library's errors become a false result, not lines on the program's standard error.
int tiffQuiet(TIFF*, void*, const char*, const char*, va_list)
{
    return 1;
}

} // namespace

// Baseline RGB TIFF: Deflate-compressed strips of about 256 kB with horizontal differencing.
bool encodeTiff(const RgbRaster& raster, Bytes& out)
{
    out.clear();
    TiffMemory memory{&out};
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, tiffQuiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, tiffQuiet, nullptr);
    TIFF* tiff = TIFFClientOpenExt("page", "w", &memory, tiffRead, tiffWrite, tiffSeek, tiffClose, tiffSize,
                                   nullptr, nullptr, options);
    TIFFOpenOptionsFree(options);
    if (!tiff)
        return false;

    const size_t rowBytes = size_t(raster.width) * 3;
    const int rowsPerStrip = std::max(1, int(262144 / std::max<size_t>(rowBytes, 1)));
    bool written = TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(raster.width))
                   && TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(raster.height))
                   && TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8) && TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3)
                   && TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB)
                   && TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG)
                   && TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE)
                   && TIFFSetField(tiff, TIFFTAG_ZIPQUALITY, 6) && TIFFSetField(tiff, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL)
                   && TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, uint32_t(rowsPerStrip))
                   && TIFFSetField(tiff, TIFFTAG_XRESOLUTION, float(raster.dpi))
                   && TIFFSetField(tiff, TIFFTAG_YRESOLUTION, float(raster.dpi))
                   && TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    // The predictor works in place, so each row goes through a copy.
    std::vector<unsigned char> row(rowBytes);
    for (int y = 0; written && y < raster.height; ++y) {
        std::memcpy(row.data(), raster.row(y), rowBytes);
        written = TIFFWriteScanline(tiff, row.data(), uint32_t(y), 0) == 1;
    }
    written = written && TIFFWriteDirectory(tiff) == 1;
    TIFFClose(tiff);
    return written;
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
    info.density_unit = 1; // dots per inch
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
