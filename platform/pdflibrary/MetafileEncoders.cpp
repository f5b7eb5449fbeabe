#include "platform/pdflibrary/RasterEncoders.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace dpl {

namespace {

// ASCII base-85 with lines of at most 75 characters and the "~>" end marker.
void appendAscii85(Bytes& out, const Bytes& data)
{
    int column = 0;
    auto emit = [&](char c) {
        out.push_back(static_cast<unsigned char>(c));
        if (++column == 75) {
            out.push_back('\n');
            column = 0;
        }
    };
    size_t i = 0;
    for (; i + 4 <= data.size(); i += 4) {
        const uint32_t word = (uint32_t(data[i]) << 24) | (uint32_t(data[i + 1]) << 16) | (uint32_t(data[i + 2]) << 8) | data[i + 3];
        if (word == 0) {
            emit('z');
            continue;
        }
        char group[5];
        uint32_t rest = word;
        for (int k = 4; k >= 0; --k) {
            group[k] = char('!' + rest % 85);
            rest /= 85;
        }
        for (char c : group)
            emit(c);
    }
    if (i < data.size()) {
        const size_t tail = data.size() - i;
        uint32_t word = 0;
        for (size_t k = 0; k < 4; ++k)
            word = (word << 8) | (k < tail ? data[i + k] : 0);
        char group[5];
        for (int k = 4; k >= 0; --k) {
            group[k] = char('!' + word % 85);
            word /= 85;
        }
        for (size_t k = 0; k < tail + 1; ++k)
            emit(group[k]);
    }
    putText(out, "~>\n");
}

std::string points(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    return text;
}

} // namespace

bool encodeEps(const RgbRaster& raster, Bytes& out)
{
    Bytes samples(size_t(raster.width) * 3 * raster.height);
    for (int y = 0; y < raster.height; ++y)
        std::copy(raster.row(y), raster.row(y) + size_t(raster.width) * 3, samples.begin() + size_t(y) * raster.width * 3);
    Bytes packed;
    if (!deflateBytes(samples, packed))
        return false;
    Bytes().swap(samples);

    const double width = raster.width * 72.0 / raster.dpi;
    const double height = raster.height * 72.0 / raster.dpi;
    const std::string w = std::to_string(raster.width);
    const std::string h = std::to_string(raster.height);
    out.clear();
    putText(out, "%!PS-Adobe-3.0 EPSF-3.0\n"
                 "%%BoundingBox: 0 0 "
                     + std::to_string(int(std::ceil(width))) + " " + std::to_string(int(std::ceil(height))) + "\n"
                                                                                                              "%%HiResBoundingBox: 0 0 "
                     + points(width) + " " + points(height) + "\n"
                                                              "%%LanguageLevel: 3\n"
                                                              "%%Pages: 1\n"
                                                              "%%EndComments\n"
                                                              "%%Page: 1 1\n"
                                                              "gsave\n"
                     + points(width) + " " + points(height) + " scale\n"
                                                              "/DeviceRGB setcolorspace\n"
                                                              "<< /ImageType 1 /Width "
                     + w + " /Height " + h + " /BitsPerComponent 8\n"
                                             "   /Decode [0 1 0 1 0 1] /ImageMatrix ["
                     + w + " 0 0 -" + h + " 0 " + h + "]\n"
                                                      "   /DataSource currentfile /ASCII85Decode filter /FlateDecode filter >> image\n");
    appendAscii85(out, packed);
    putText(out, "grestore\nshowpage\n%%Trailer\n%%EOF\n");
    return true;
}

namespace {

void putShort(Bytes& out, int value)
{
    put16(out, unsigned(value) & 0xFFFF);
}

} // namespace

bool encodeWmf(const RgbRaster& raster, Bytes& out)
{
    // Metafile coordinates are 16-bit: a raster wider or taller than that cannot be placed.
    if (raster.width > 32767 || raster.height > 32767)
        return false;
    Bytes dib;
    appendBitmapInfoHeader(raster, dib);
    appendBottomUpBgr(raster, dib);
    if (dib.size() % 2)
        dib.push_back(0);

    const unsigned long stretchWords = 3 + 2 + 1 + 8 + dib.size() / 2;
    const unsigned long windowWords = 5;
    const unsigned long totalWords = 9 + windowWords * 2 + stretchWords + 3;

    out.clear();
    // Placeable header: one logical unit per pixel, the raster's resolution as units per inch.
    const size_t placeableStart = out.size();
    put32(out, 0x9AC6CDD7ul);
    putShort(out, 0);
    putShort(out, 0);
    putShort(out, 0);
    putShort(out, raster.width);
    putShort(out, raster.height);
    put16(out, unsigned(std::min(raster.dpi, 65535)));
    put32(out, 0);
    unsigned checksum = 0;
    for (size_t i = placeableStart; i < out.size(); i += 2)
        checksum ^= unsigned(out[i]) | (unsigned(out[i + 1]) << 8);
    put16(out, checksum);

    put16(out, 1);      // in memory
    put16(out, 9);      // header size in words
    put16(out, 0x0300); // version
    put32(out, totalWords);
    put16(out, 0); // objects
    put32(out, stretchWords);
    put16(out, 0);

    put32(out, windowWords); // SETWINDOWORG(y, x)
    put16(out, 0x020B);
    putShort(out, 0);
    putShort(out, 0);
    put32(out, windowWords); // SETWINDOWEXT(y, x)
    put16(out, 0x020C);
    putShort(out, raster.height);
    putShort(out, raster.width);

    put32(out, stretchWords); // STRETCHDIB
    put16(out, 0x0F43);
    put32(out, 0x00CC0020ul); // SRCCOPY
    put16(out, 0);            // colours are RGB values
    putShort(out, raster.height);
    putShort(out, raster.width);
    putShort(out, 0);
    putShort(out, 0);
    putShort(out, raster.height);
    putShort(out, raster.width);
    putShort(out, 0);
    putShort(out, 0);
    out.insert(out.end(), dib.begin(), dib.end());

    put32(out, 3); // EOF
    put16(out, 0);
    return true;
}

} // namespace dpl
