#include "platform/tools/convert/TiffPagePng.h"

#include <png.h>
#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Unknown tags and the like are no reason to say anything; errors go to stderr.
void ignoreWarning(const char*, const char*, va_list) {}

void printError(const char*, const char* format, va_list arguments)
{
    std::fputs("convert: ", stderr);
    std::vfprintf(stderr, format, arguments);
    std::fputc('\n', stderr);
}

struct Resolution
{
    bool known = false;
    png_uint_32 x = 0;
    png_uint_32 y = 0;
    int unit = PNG_RESOLUTION_UNKNOWN;
};

// How a page goes into the PNG.
struct PageLayout
{
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 8;
    int colourType = PNG_COLOR_TYPE_GRAY;
    bool invert = false; // min-is-white: 0 is white in the TIFF but black in a PNG
    std::vector<png_color> palette;
    Resolution resolution;
};

// A TIFF colour map has 16 bits an entry; old writers put 8-bit values in them. Scaled down as
// ImageMagick scales them (cutting off the fraction), so that the pages look as they did through it.
std::vector<png_color> paletteOf(TIFF* tiff, int bits)
{
    uint16_t* red = nullptr;
    uint16_t* green = nullptr;
    uint16_t* blue = nullptr;
    if (!TIFFGetField(tiff, TIFFTAG_COLORMAP, &red, &green, &blue))
        return {};
    const size_t count = size_t(1) << bits;
    double range = 255.0;
    for (size_t i = 0; i < count; ++i) {
        if (red[i] > 255 || green[i] > 255 || blue[i] > 255)
            range = 65535.0;
    }
    auto toByte = [range](uint16_t value) { return png_byte(int(value * 255.0 / range)); };
    std::vector<png_color> palette(count);
    for (size_t i = 0; i < count; ++i)
        palette[i] = {toByte(red[i]), toByte(green[i]), toByte(blue[i])};
    return palette;
}

// The pHYs values ImageMagick derives from the TIFF's resolution tags.
Resolution resolutionOf(TIFF* tiff)
{
    Resolution resolution;
    float x = 0;
    float y = 0;
    uint16_t unit = RESUNIT_INCH;
    if (!TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &x) || !TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &y) || x <= 0
        || y <= 0 || x > 1e6f || y > 1e6f)
        return resolution;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_RESOLUTIONUNIT, &unit);
    resolution.known = true;
    if (unit == RESUNIT_INCH) {
        resolution.unit = PNG_RESOLUTION_METER;
        resolution.x = png_uint_32((100.0 * x + 0.5) / 2.54);
        resolution.y = png_uint_32((100.0 * y + 0.5) / 2.54);
    } else if (unit == RESUNIT_CENTIMETER) {
        resolution.unit = PNG_RESOLUTION_METER;
        resolution.x = png_uint_32(100.0 * x + 0.5);
        resolution.y = png_uint_32(100.0 * y + 0.5);
    } else {
        resolution.x = png_uint_32(x);
        resolution.y = png_uint_32(y);
    }
    return resolution;
}

// False for a page this writer leaves to the full image tool.
bool describe(TIFF* tiff, PageLayout* layout)
{
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t bits = 1;
    uint16_t samples = 1;
    uint16_t planar = PLANARCONFIG_CONTIG;
    uint16_t format = SAMPLEFORMAT_UINT;
    uint16_t extraCount = 0;
    uint16_t* extraTypes = nullptr;
    uint16_t photometric = 0;
    if (!TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width) || !TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height)
        || !TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric))
        return false;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &extraTypes);
    if (width == 0 || height == 0 || width > PNG_UINT_31_MAX || height > PNG_UINT_31_MAX || TIFFIsTiled(tiff)
        || planar != PLANARCONFIG_CONTIG || format != SAMPLEFORMAT_UINT || extraCount != 0)
        return false;

    layout->width = width;
    layout->height = height;
    layout->bitDepth = bits;
    switch (photometric) {
    case PHOTOMETRIC_MINISWHITE:
    case PHOTOMETRIC_MINISBLACK:
        layout->colourType = PNG_COLOR_TYPE_GRAY;
        layout->invert = photometric == PHOTOMETRIC_MINISWHITE;
        if (samples != 1 || (bits != 1 && bits != 8))
            return false;
        break;
    case PHOTOMETRIC_PALETTE:
        layout->colourType = PNG_COLOR_TYPE_PALETTE;
        if (samples != 1 || (bits != 1 && bits != 2 && bits != 4 && bits != 8))
            return false;
        layout->palette = paletteOf(tiff, bits);
        if (layout->palette.empty())
            return false;
        break;
    case PHOTOMETRIC_RGB:
        layout->colourType = PNG_COLOR_TYPE_RGB;
        if (samples != 3 || bits != 8)
            return false;
        break;
    default:
        return false;
    }
    layout->resolution = resolutionOf(tiff);
    return true;
}

// Streams the rows from the TIFF into the PNG through row, a buffer of one TIFF scan line; false
// when a row does not decode. libpng reports its errors by longjmp: nothing here has a destructor.
bool writeRows(png_structp png, png_infop info, TIFF* tiff, const PageLayout& layout, unsigned char* row,
               size_t rowSize, FILE* file)
{
    if (setjmp(png_jmpbuf(png)) != 0)
        return false;
    // libpng's own choice of compression (zlib's level 6, row filters for 8-bit samples): the PDF
    // library takes these rows into the PDF as they are, so this is the PDF's size too.
    png_init_io(png, file);
    png_set_IHDR(png, info, layout.width, layout.height, layout.bitDepth, layout.colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!layout.palette.empty())
        png_set_PLTE(png, info, layout.palette.data(), int(layout.palette.size()));
    if (layout.resolution.known)
        png_set_pHYs(png, info, layout.resolution.x, layout.resolution.y, layout.resolution.unit);
    png_write_info(png, info);
    if (rowSize < png_get_rowbytes(png, info))
        return false;
    for (png_uint_32 y = 0; y < layout.height; ++y) {
        if (TIFFReadScanline(tiff, row, y, 0) != 1)
            return false;
        if (layout.invert) {
            for (size_t i = 0; i < rowSize; ++i)
                row[i] = static_cast<unsigned char>(~row[i]);
        }
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    return true;
}

bool copyRows(TIFF* tiff, const PageLayout& layout, FILE* file)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool copied = false;
    if (info) {
        std::vector<unsigned char> row(size_t(TIFFScanlineSize(tiff)));
        copied = writeRows(png, info, tiff, layout, row.data(), row.size(), file);
    }
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return copied;
}

} // namespace

int tiffPageCount(const std::string& tiffPath)
{
    TIFFSetWarningHandler(ignoreWarning);
    TIFFSetErrorHandler(printError);
    TIFF* tiff = TIFFOpen(tiffPath.c_str(), "r");
    if (!tiff)
        return 0;
    const int count = TIFFNumberOfDirectories(tiff);
    TIFFClose(tiff);
    return count;
}

TiffDeclaredPixels tiffDeclaredPixels(const std::string& tiffPath, int first, int end)
{
    TiffDeclaredPixels pixels;
    TIFFSetWarningHandler(ignoreWarning);
    TIFFSetErrorHandler(printError);
    TIFF* tiff = TIFFOpen(tiffPath.c_str(), "r");
    if (!tiff)
        return pixels;
    // The directories one after the other: going to each by its number would read the chain
    // from the start every time.
    bool present = first >= 0 && first <= 0xFFFF && TIFFSetDirectory(tiff, tdir_t(first));
    for (int page = first; present && page < end; ++page) {
        uint32_t width = 0;
        uint32_t height = 0;
        if (TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width) && TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height)) {
            const long long area = (long long)width * height;
            pixels.largestPage = area > pixels.largestPage ? area : pixels.largestPage;
            pixels.total += area;
        }
        present = page + 1 < end && TIFFReadDirectory(tiff);
    }
    TIFFClose(tiff);
    return pixels;
}

TiffPageOutcome writeTiffPageAsPng(const std::string& tiffPath, int page, const std::string& pngPath)
{
    TIFFSetWarningHandler(ignoreWarning);
    TIFFSetErrorHandler(printError);
    TIFF* tiff = TIFFOpen(tiffPath.c_str(), "r");
    if (!tiff)
        return TiffPageOutcome::Unreadable;
    PageLayout layout;
    TiffPageOutcome outcome = TiffPageOutcome::Unreadable;
    if (page < 0 || page > 0xFFFF || !TIFFSetDirectory(tiff, tdir_t(page))) {
        outcome = TiffPageOutcome::Unreadable;
    } else if (!describe(tiff, &layout)) {
        outcome = TiffPageOutcome::NotHandled;
    } else if (FILE* file = std::fopen(pngPath.c_str(), "wb")) {
        const bool copied = copyRows(tiff, layout, file);
        const bool closed = std::fclose(file) == 0;
        outcome = copied && closed ? TiffPageOutcome::Written : TiffPageOutcome::Unreadable;
        if (outcome != TiffPageOutcome::Written)
            std::remove(pngPath.c_str());
    }
    TIFFClose(tiff);
    return outcome;
}
