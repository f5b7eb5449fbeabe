#include "platform/pdflibrary/ImageImport.h"

#include "platform/pdflibrary/BaseCodes.h"
#include "platform/pdflibrary/ErrorCodes.h"
#include "platform/pdflibrary/RasterEncoders.h"
#include "platform/pdflibrary/WholeImage.h"

#include <algorithm>
#include <string>
#include <vector>

#include <zlib.h>

namespace dpl {

namespace {

// Larger images would not fit in memory once decoded.
constexpr long long maximumImagePixels = 300LL * 1000 * 1000;

using Samples = std::vector<unsigned char>;

// Rows of rowSize bytes prefixed with the PNG "Up" predictor tag and deflated, as /Predictor 15
// streams carry them.
bool deflateRows(const Samples& plain, size_t rowSize, int height, Samples& packed)
{
    Samples filtered((rowSize + 1) * height);
    for (int y = 0; y < height; ++y) {
        unsigned char* target = filtered.data() + (rowSize + 1) * y;
        const unsigned char* row = plain.data() + rowSize * y;
        target[0] = 2;
        if (y == 0) {
            std::copy(row, row + rowSize, target + 1);
        } else {
            const unsigned char* above = row - rowSize;
            for (size_t i = 0; i < rowSize; ++i)
                target[i + 1] = static_cast<unsigned char>(row[i] - above[i]);
        }
    }
    return deflateBytes(filtered, packed);
}

// Adds one Flate image stream; runs inside the engine's error frame. Returns an owned reference.
pdf_obj* addFlateImage(fz_context* ctx, pdf_document* doc, const Samples& packed, int width, int height,
                       int components, int bits, pdf_obj* colourSpace)
{
    pdf_obj* dict = nullptr;
    fz_buffer* buffer = nullptr;
    pdf_obj* reference = nullptr;
    fz_var(dict);
    fz_var(buffer);
    fz_var(reference);
    fz_try(ctx)
    {
        dict = pdf_new_dict(ctx, doc, 8);
        pdf_dict_put(ctx, dict, PDF_NAME(Type), PDF_NAME(XObject));
        pdf_dict_put(ctx, dict, PDF_NAME(Subtype), PDF_NAME(Image));
        pdf_dict_put_int(ctx, dict, PDF_NAME(Width), width);
        pdf_dict_put_int(ctx, dict, PDF_NAME(Height), height);
        pdf_dict_put_int(ctx, dict, PDF_NAME(BitsPerComponent), bits);
        pdf_dict_put(ctx, dict, PDF_NAME(ColorSpace), colourSpace);
        pdf_dict_put(ctx, dict, PDF_NAME(Filter), PDF_NAME(FlateDecode));
        pdf_obj* parameters = pdf_dict_put_dict(ctx, dict, PDF_NAME(DecodeParms), 4);
        pdf_dict_put_int(ctx, parameters, PDF_NAME(Predictor), 15);
        pdf_dict_put_int(ctx, parameters, PDF_NAME(Colors), components);
        pdf_dict_put_int(ctx, parameters, PDF_NAME(BitsPerComponent), bits);
        pdf_dict_put_int(ctx, parameters, PDF_NAME(Columns), width);
        buffer = fz_new_buffer_from_copied_data(ctx, packed.data(), packed.size());
        reference = pdf_add_stream(ctx, doc, buffer, dict, 1);
    }
    fz_always(ctx)
    {
        fz_drop_buffer(ctx, buffer);
        pdf_drop_obj(ctx, dict);
    }
    fz_catch(ctx)
    {
        fz_rethrow(ctx);
    }
    return reference;
}

// A picture of black and white alone (a scan, a fax, a 1-bit BMP or TIFF page; grey or RGB
// samples) packed to one bit of grey a pixel, rows padded to whole bytes: an eighth of the data
// or less, so also of the time to compress it. False, with nothing packed, when a pixel has
// another colour.
bool packBilevel(const Samples& samples, int colours, int width, int height, Samples& packed)
{
    for (size_t i = 0; i < samples.size(); i += colours) {
        const unsigned char value = samples[i];
        if (value != 0 && value != 255)
            return false;
        for (int c = 1; c < colours; ++c) {
            if (samples[i + c] != value)
                return false;
        }
    }
    const size_t rowSize = (size_t(width) + 7) / 8;
    packed.assign(rowSize * height, 0);
    const unsigned char* from = samples.data();
    for (int y = 0; y < height; ++y) {
        unsigned char* row = packed.data() + rowSize * y;
        for (int x = 0; x < width; ++x, from += colours) {
            if (*from)
                row[x >> 3] |= static_cast<unsigned char>(0x80 >> (x & 7));
        }
    }
    return true;
}

bool isOpaque(const unsigned char* samples, ptrdiff_t stride, int width, int height, int n)
{
    for (int y = 0; y < height; ++y) {
        const unsigned char* alpha = samples + stride * y + n - 1;
        for (int x = 0; x < width; ++x, alpha += n)
            if (*alpha != 255)
                return false;
    }
    return true;
}

// Stores a decoded image without loss; the engine's own writer would drop an alpha channel.
int addPixmapImage(fz_context* ctx, pdf_document* doc, fz_pixmap* source, pdf_obj** out)
{
    fz_pixmap* pixmap = source;
    pdf_obj* colourSpace = nullptr;
    const bool converted = fzRun(ctx, [&] {
        switch (fz_colorspace_type(ctx, fz_pixmap_colorspace(ctx, source))) {
        case FZ_COLORSPACE_GRAY: colourSpace = PDF_NAME(DeviceGray); break;
        case FZ_COLORSPACE_RGB: colourSpace = PDF_NAME(DeviceRGB); break;
        case FZ_COLORSPACE_CMYK: colourSpace = PDF_NAME(DeviceCMYK); break;
        default:
            pixmap = fz_convert_pixmap(ctx, source, fz_device_rgb(ctx), nullptr, nullptr, fz_default_color_params, 1);
            colourSpace = PDF_NAME(DeviceRGB);
            break;
        }
    });
    if (!converted)
        return UnreadableImage;

    const int width = fz_pixmap_width(ctx, pixmap);
    const int height = fz_pixmap_height(ctx, pixmap);
    const int n = fz_pixmap_components(ctx, pixmap);
    const int colours = n - fz_pixmap_alpha(ctx, pixmap);
    const unsigned char* samples = fz_pixmap_samples(ctx, pixmap);
    const ptrdiff_t stride = fz_pixmap_stride(ctx, pixmap);
    // An alpha channel that is opaque everywhere needs no soft mask.
    const int alpha = fz_pixmap_alpha(ctx, pixmap) && !isOpaque(samples, stride, width, height, n) ? 1 : 0;

    int error = NoError;
    try {
        Samples colour(size_t(width) * colours * height);
        Samples mask(alpha ? size_t(width) * height : 0);
        for (int y = 0; y < height; ++y) {
            const unsigned char* from = samples + stride * y;
            unsigned char* to = colour.data() + size_t(width) * colours * y;
            for (int x = 0; x < width; ++x, from += n) {
                const unsigned a = n > colours ? from[colours] : 255;
                for (int c = 0; c < colours; ++c) {
                    // Decoded pixels carry premultiplied alpha; the soft mask wants plain colours.
                    to[c] = (a == 255 || a == 0) ? from[c] : static_cast<unsigned char>(std::min(255u, (from[c] * 255u + a / 2) / a));
                }
                to += colours;
                if (alpha)
                    mask[size_t(width) * y + x] = static_cast<unsigned char>(a);
            }
        }
        Samples packedColour;
        Samples packedMask;
        Samples bilevel;
        // Grey and RGB only: in CMYK, black is not all samples at their highest.
        const bool bw = colours != 4 && !alpha && packBilevel(colour, colours, width, height, bilevel);
        const bool deflated = bw ? deflateRows(bilevel, (size_t(width) + 7) / 8, height, packedColour)
                                 : deflateRows(colour, size_t(width) * colours, height, packedColour);
        if (!deflated || (alpha && !deflateRows(mask, size_t(width), height, packedMask)))
            throw std::bad_alloc();
        Samples().swap(colour);
        Samples().swap(mask);
        Samples().swap(bilevel);

        pdf_obj* image = nullptr;
        pdf_obj* softMask = nullptr;
        const bool added = fzRun(ctx, [&] {
            image = bw ? addFlateImage(ctx, doc, packedColour, width, height, 1, 1, PDF_NAME(DeviceGray))
                       : addFlateImage(ctx, doc, packedColour, width, height, colours, 8, colourSpace);
            if (alpha) {
                softMask = addFlateImage(ctx, doc, packedMask, width, height, 1, 8, PDF_NAME(DeviceGray));
                pdf_dict_put(ctx, image, PDF_NAME(SMask), softMask);
            }
        });
        pdf_drop_obj(ctx, softMask);
        if (added) {
            *out = image;
        } else {
            pdf_drop_obj(ctx, image);
            error = InternalError;
        }
    } catch (...) {
        error = InternalError;
    }
    if (pixmap != source)
        fz_drop_pixmap(ctx, pixmap);
    return error;
}

// A PNG file whose rows can go into the PDF as they are: PDF's Flate filter with the PNG
// predictors takes them unchanged when the picture is not interlaced and holds 1, 2, 4 or 8 bits
// of grey, 8-bit RGB, or a palette of such, without transparency (a soft mask needs decoding).
struct PlainPng
{
    int width = 0;
    int height = 0;
    int bits = 0;
    int colours = 1;
    Samples palette; // RGB triples; empty unless the picture has one
    Samples rows;    // the IDAT chunks joined: the zlib stream of the filtered rows
};

unsigned long bigEndian32(const unsigned char* bytes)
{
    return (unsigned long)bytes[0] << 24 | (unsigned long)bytes[1] << 16 | (unsigned long)bytes[2] << 8 | bytes[3];
}

bool readPlainPng(const unsigned char* data, size_t size, PlainPng& png)
{
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < 8 || !std::equal(signature, signature + 8, data))
        return false;
    int colourType = -1;
    for (size_t at = 8; at + 12 <= size;) {
        const unsigned long length = bigEndian32(data + at);
        const std::string type(reinterpret_cast<const char*>(data + at + 4), 4);
        const unsigned char* body = data + at + 8;
        if (length > size - at - 12)
            return false;
        if (type == "IHDR" && length == 13) {
            png.width = int(bigEndian32(body));
            png.height = int(bigEndian32(body + 4));
            png.bits = body[8];
            colourType = body[9];
            if (body[10] != 0 || body[11] != 0 || body[12] != 0) // other methods, or interlaced
                return false;
        } else if (type == "PLTE") {
            png.palette.assign(body, body + length);
        } else if (type == "tRNS") {
            return false;
        } else if (type == "IDAT") {
            png.rows.insert(png.rows.end(), body, body + length);
        } else if (type == "IEND") {
            break;
        }
        at += 12 + length;
    }
    const bool bitsOfGrey = png.bits == 1 || png.bits == 2 || png.bits == 4 || png.bits == 8;
    const bool usable = (colourType == 0 && bitsOfGrey) || (colourType == 2 && png.bits == 8)
                        || (colourType == 3 && bitsOfGrey && png.palette.size() >= 3 && png.palette.size() % 3 == 0
                            && png.palette.size() / 3 <= (size_t(1) << png.bits));
    if (!usable || png.width < 1 || png.height < 1 || png.rows.empty())
        return false;
    png.colours = colourType == 2 ? 3 : 1;
    if (colourType != 3)
        png.palette.clear();
    return true;
}

// True when the rows inflate to exactly what the header promises, each led by a PNG filter type
// (0 to 4): a damaged picture is not passed on.
bool rowsInflate(const PlainPng& png)
{
    const size_t rowSize = (size_t(png.width) * png.colours * png.bits + 7) / 8 + 1;
    const size_t expected = rowSize * size_t(png.height);
    z_stream stream = {};
    if (inflateInit(&stream) != Z_OK)
        return false;
    stream.next_in = const_cast<unsigned char*>(png.rows.data());
    stream.avail_in = uInt(png.rows.size());
    unsigned char chunk[65536];
    size_t total = 0;
    int result = Z_OK;
    bool filtersKnown = true;
    while (result == Z_OK && filtersKnown) {
        stream.next_out = chunk;
        stream.avail_out = sizeof chunk;
        result = inflate(&stream, Z_NO_FLUSH);
        const size_t produced = sizeof chunk - stream.avail_out;
        // The filter type bytes that fell into this chunk.
        for (size_t row = (total + rowSize - 1) / rowSize * rowSize; row < total + produced && filtersKnown; row += rowSize)
            filtersKnown = row >= expected || chunk[row - total] <= 4;
        total += produced;
        if (total > expected)
            break;
    }
    inflateEnd(&stream);
    return result == Z_STREAM_END && filtersKnown && total == expected;
}

// The colour space of a plain PNG's samples; runs inside the engine's error frame. Returns an owned
// reference.
pdf_obj* pngColourSpace(fz_context* ctx, pdf_document* doc, const PlainPng& png)
{
    if (png.palette.empty())
        return png.colours == 3 ? PDF_NAME(DeviceRGB) : PDF_NAME(DeviceGray);
    pdf_obj* indexed = pdf_new_array(ctx, doc, 4);
    fz_try(ctx)
    {
        pdf_array_push(ctx, indexed, PDF_NAME(Indexed));
        pdf_array_push(ctx, indexed, PDF_NAME(DeviceRGB));
        pdf_array_push_int(ctx, indexed, int(png.palette.size() / 3) - 1);
        pdf_array_push_drop(ctx, indexed,
                            pdf_new_string(ctx, reinterpret_cast<const char*>(png.palette.data()), png.palette.size()));
    }
    fz_catch(ctx)
    {
        pdf_drop_obj(ctx, indexed);
        fz_rethrow(ctx);
    }
    return indexed;
}

// Stores a PNG without decoding it when its rows can stay as they are: no time spent on
// decompressing and compressing again, and pixel for pixel what the file holds. False when the
// picture needs decoding (or does not read).
bool addPlainPng(fz_context* ctx, pdf_document* doc, fz_compressed_buffer* compressed, pdf_obj** out)
{
    unsigned char* data = nullptr;
    const size_t size = fz_buffer_storage(ctx, compressed->buffer, &data);
    PlainPng png;
    try {
        if (!readPlainPng(data, size, png) || !rowsInflate(png))
            return false;
    } catch (...) {
        return false;
    }
    pdf_obj* colourSpace = nullptr;
    const bool added = fzRun(ctx, [&] {
        colourSpace = pngColourSpace(ctx, doc, png);
        *out = addFlateImage(ctx, doc, png.rows, png.width, png.height, png.colours, png.bits, colourSpace);
    });
    pdf_drop_obj(ctx, colourSpace);
    return added;
}

// A file cut short opens as a picture whose missing part a decoder fills with grey or black.
bool isWhole(fz_context* ctx, fz_image* image)
{
    fz_compressed_buffer* compressed = fz_compressed_image_buffer(ctx, image);
    if (!compressed)
        return true;
    unsigned char* data = nullptr;
    const size_t size = fz_buffer_storage(ctx, compressed->buffer, &data);
    switch (compressed->params.type) {
    case FZ_IMAGE_JPEG:
        return isWholeJpeg(data, size);
    case FZ_IMAGE_PNG:
        return isWholePng(data, size);
    case FZ_IMAGE_BMP:
        return isWholeBmp(data, size);
    default:
        return true;
    }
}

} // namespace

int openImageFile(fz_context* ctx, const std::string& path, DocumentImage& image)
{
    int error = NoError;
    if (!isReadableFile(path, error))
        return error == FileNotFound ? FileNotFound : CannotOpenInput;

    fz_buffer* contents = nullptr;
    fz_image* source = nullptr;
    const bool opened = fzRun(ctx, [&] {
        contents = fz_read_file(ctx, path.c_str());
        source = fz_new_image_from_buffer(ctx, contents);
    });
    const bool whole = opened && isWhole(ctx, source);
    fz_drop_buffer(ctx, contents);
    if (!whole || source->w < 1 || source->h < 1 || (long long)source->w * source->h > maximumImagePixels) {
        fz_drop_image(ctx, source);
        return UnreadableImage;
    }
    image.source = source;
    image.width = source->w;
    image.height = source->h;
    image.xResolution = source->xres;
    image.yResolution = source->yres;
    image.drawn = false;
    return NoError;
}

int storeImage(fz_context* ctx, pdf_document* doc, DocumentImage& image)
{
    if (image.xobject)
        return NoError;
    if (!image.source)
        return NoImage;
    fz_image* source = image.source;
    pdf_obj* xobject = nullptr;
    int error = NoError;
    fz_compressed_buffer* compressed = fz_compressed_image_buffer(ctx, source);
    if (compressed && compressed->params.type == FZ_IMAGE_JPEG) {
        // The engine writes JPEG data as it came (DCTDecode), which keeps the photo untouched.
        // Adobe's CMYK JPEGs store inverted values, which a Decode array must undo in a PDF.
        if (!fzRun(ctx, [&] {
                xobject = pdf_add_image(ctx, doc, source);
                if (source->invert_cmyk_jpeg && source->n == 4 && !source->use_decode) {
                    pdf_obj* decode = pdf_dict_put_array(ctx, xobject, PDF_NAME(Decode), 8);
                    for (int i = 0; i < 4; ++i) {
                        pdf_array_push_int(ctx, decode, 1);
                        pdf_array_push_int(ctx, decode, 0);
                    }
                }
            }))
            error = UnreadableImage;
    } else if (compressed && compressed->params.type == FZ_IMAGE_PNG && addPlainPng(ctx, doc, compressed, &xobject)) {
        error = NoError;
    } else {
        fz_pixmap* pixmap = nullptr;
        if (fzRun(ctx, [&] { pixmap = fz_get_pixmap_from_image(ctx, source, nullptr, nullptr, nullptr, nullptr); }))
            error = addPixmapImage(ctx, doc, pixmap, &xobject);
        else
            error = UnreadableImage;
        fz_drop_pixmap(ctx, pixmap);
    }
    if (error)
        return error;
    // The file's data is in the document now.
    image.xobject = xobject;
    fz_drop_image(ctx, source);
    image.source = nullptr;
    return NoError;
}

int imageFilePageCount(fz_context* ctx, const std::string& path)
{
    int error = NoError;
    if (!isReadableFile(path, error))
        return 0;
    fz_buffer* contents = nullptr;
    fz_image* image = nullptr;
    int count = 0;
    fzRun(ctx, [&] {
        contents = fz_read_file(ctx, path.c_str());
        unsigned char* data = nullptr;
        const size_t size = fz_buffer_storage(ctx, contents, &data);
        unsigned char head[8] = {0};
        std::copy(data, data + std::min<size_t>(size, 8), head);
        if (fz_recognize_image_format(ctx, head) == FZ_IMAGE_TIFF) {
            count = fz_load_tiff_subimage_count(ctx, data, size);
        } else {
            image = fz_new_image_from_buffer(ctx, contents);
            count = 1;
        }
    });
    fz_drop_image(ctx, image);
    fz_drop_buffer(ctx, contents);
    return count;
}

} // namespace dpl
