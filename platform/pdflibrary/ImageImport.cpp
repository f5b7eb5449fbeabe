#include "ImageImport.h"

#include "BaseCodes.h"
#include "ErrorCodes.h"
#include "RasterEncoders.h"

#include <vector>

namespace dpl {

namespace {

// Larger images would not fit in memory once decoded.
constexpr long long maximumImagePixels = 300LL * 1000 * 1000;

using Samples = std::vector<unsigned char>;

// Rows prefixed with the PNG "Up" predictor tag and deflated, as /Predictor 15 streams carry them.
bool deflateRows(const Samples& plain, int width, int components, int height, Samples& packed)
{
    const size_t rowSize = size_t(width) * components;
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
                       int components, pdf_obj* colourSpace)
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
        pdf_dict_put_int(ctx, dict, PDF_NAME(BitsPerComponent), 8);
        pdf_dict_put(ctx, dict, PDF_NAME(ColorSpace), colourSpace);
        pdf_dict_put(ctx, dict, PDF_NAME(Filter), PDF_NAME(FlateDecode));
        pdf_obj* parameters = pdf_dict_put_dict(ctx, dict, PDF_NAME(DecodeParms), 4);
        pdf_dict_put_int(ctx, parameters, PDF_NAME(Predictor), 15);
        pdf_dict_put_int(ctx, parameters, PDF_NAME(Colors), components);
        pdf_dict_put_int(ctx, parameters, PDF_NAME(BitsPerComponent), 8);
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
        if (!deflateRows(colour, width, colours, height, packedColour)
            || (alpha && !deflateRows(mask, width, 1, height, packedMask)))
            throw std::bad_alloc();
        Samples().swap(colour);
        Samples().swap(mask);

        pdf_obj* image = nullptr;
        pdf_obj* softMask = nullptr;
        const bool added = fzRun(ctx, [&] {
            image = addFlateImage(ctx, doc, packedColour, width, height, colours, colourSpace);
            if (alpha) {
                softMask = addFlateImage(ctx, doc, packedMask, width, height, 1, PDF_NAME(DeviceGray));
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

} // namespace

int importImageFile(fz_context* ctx, pdf_document* doc, const std::string& path, DocumentImage& image)
{
    int error = NoError;
    if (!isReadableFile(path, error))
        return error == FileNotFound ? FileNotFound : CannotOpenInput;

    fz_buffer* contents = nullptr;
    fz_image* decodedImage = nullptr;
    const bool opened = fzRun(ctx, [&] {
        contents = fz_read_file(ctx, path.c_str());
        decodedImage = fz_new_image_from_buffer(ctx, contents);
    });
    fz_drop_buffer(ctx, contents);
    if (!opened || decodedImage->w < 1 || decodedImage->h < 1
        || (long long)decodedImage->w * decodedImage->h > maximumImagePixels) {
        fz_drop_image(ctx, decodedImage);
        return UnreadableImage;
    }

    pdf_obj* xobject = nullptr;
    fz_compressed_buffer* compressed = fz_compressed_image_buffer(ctx, decodedImage);
    if (compressed && compressed->params.type == FZ_IMAGE_JPEG) {
        // The engine writes JPEG data as it came (DCTDecode), which keeps the photo untouched.
        // Adobe's CMYK JPEGs store inverted values, which a Decode array must undo in a PDF.
        if (!fzRun(ctx, [&] {
                xobject = pdf_add_image(ctx, doc, decodedImage);
                if (decodedImage->invert_cmyk_jpeg && decodedImage->n == 4 && !decodedImage->use_decode) {
                    pdf_obj* decode = pdf_dict_put_array(ctx, xobject, PDF_NAME(Decode), 8);
                    for (int i = 0; i < 4; ++i) {
                        pdf_array_push_int(ctx, decode, 1);
                        pdf_array_push_int(ctx, decode, 0);
                    }
                }
            }))
            error = UnreadableImage;
    } else {
        fz_pixmap* pixmap = nullptr;
        if (fzRun(ctx, [&] { pixmap = fz_get_pixmap_from_image(ctx, decodedImage, nullptr, nullptr, nullptr, nullptr); }))
            error = addPixmapImage(ctx, doc, pixmap, &xobject);
        else
            error = UnreadableImage;
        fz_drop_pixmap(ctx, pixmap);
    }
    if (!error) {
        image.xobject = xobject;
        image.width = decodedImage->w;
        image.height = decodedImage->h;
        image.xResolution = decodedImage->xres;
        image.yResolution = decodedImage->yres;
        image.drawn = false;
    }
    fz_drop_image(ctx, decodedImage);
    return error;
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
