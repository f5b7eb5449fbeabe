#include "platform/pdflibrary/PageImageFile.h"

#include "platform/pdflibrary/BaseCodes.h"
#include "platform/pdflibrary/ErrorCodes.h"
#include "platform/pdflibrary/PageRender.h"
#include "platform/pdflibrary/RasterEncoders.h"

#include <cmath>

namespace dpl {

namespace {

constexpr int jpegQuality = 85;

bool encodePng(fz_context* ctx, fz_pixmap* pixmap, Bytes& out)
{
    fz_buffer* buffer = nullptr;
    fz_output* output = nullptr;
    const bool ok = fzRun(ctx, [&] {
        buffer = fz_new_buffer(ctx, 1 << 16);
        output = fz_new_output_with_buffer(ctx, buffer);
        fz_write_pixmap_as_png(ctx, output, pixmap);
        fz_close_output(ctx, output);
    });
    fz_drop_output(ctx, output);
    if (ok) {
        unsigned char* data = nullptr;
        const size_t size = fz_buffer_storage(ctx, buffer, &data);
        out.assign(data, data + size);
    }
    fz_drop_buffer(ctx, buffer);
    return ok;
}

} // namespace

bool isPageImageFormat(int code)
{
    switch (PageImageFormat(code)) {
    case PageImageFormat::Bmp:
    case PageImageFormat::Jpeg:
    case PageImageFormat::Wmf:
    case PageImageFormat::Eps:
    case PageImageFormat::Png:
    case PageImageFormat::Gif:
    case PageImageFormat::Tiff:
        return true;
    }
    return false;
}

int writePageImage(fz_context* ctx, pdf_document* doc, int page, double dpi, PageImageFormat format, const std::string& path)
{
    if (path.empty())
        return CannotOpenOutput;
    fz_pixmap* pixmap = nullptr;
    if (int error = renderPageToPixmap(ctx, doc, page, dpi, &pixmap))
        return error;

    RgbRaster raster;
    raster.width = fz_pixmap_width(ctx, pixmap);
    raster.height = fz_pixmap_height(ctx, pixmap);
    raster.stride = fz_pixmap_stride(ctx, pixmap);
    raster.pixels = fz_pixmap_samples(ctx, pixmap);
    raster.dpi = std::max(1, int(std::lround(dpi)));

    Bytes file;
    bool encoded = false;
    try {
        switch (format) {
        case PageImageFormat::Bmp: encoded = encodeBmp(raster, file); break;
        case PageImageFormat::Jpeg: encoded = encodeJpeg(raster, jpegQuality, file); break;
        case PageImageFormat::Wmf: encoded = encodeWmf(raster, file); break;
        case PageImageFormat::Eps: encoded = encodeEps(raster, file); break;
        case PageImageFormat::Png: encoded = encodePng(ctx, pixmap, file); break;
        case PageImageFormat::Gif: encoded = encodeGif(raster, file); break;
        case PageImageFormat::Tiff: encoded = encodeTiff(raster, file); break;
        }
    } catch (...) {
        encoded = false;
    }
    fz_drop_pixmap(ctx, pixmap);
    if (!encoded)
        return InvalidArgument;
    return outputError(AtomicFile::write(path, file.data(), file.size()));
}

} // namespace dpl
