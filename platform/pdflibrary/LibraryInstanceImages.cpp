#include "LibraryInstance.h"

#include "ErrorCodes.h"
#include "ImageImport.h"
#include "PageLayout.h"

#include <cmath>

// The image operations of a library instance.

namespace dpl {

int LibraryInstance::addImageFromFile(const std::string& path, int options)
{
    Document* document = current();
    if (!document)
        return 0;
    DocumentImage image;
    if (int error = importImageFile(m_ctx, document->pdf(), path, image))
        return fail(error);
    const int id = document->nextImageId++;
    document->images.emplace(id, image);
    document->selectedImage = id;
    return id;
}

int LibraryInstance::selectImage(int id)
{
    Document* document = current();
    if (!document)
        return 0;
    if (!document->images.count(id))
        return fail(NoImage);
    document->selectedImage = id;
    return 1;
}

namespace {

DocumentImage* selectedImageOf(Document* document)
{
    if (!document)
        return nullptr;
    auto found = document->images.find(document->selectedImage);
    return found == document->images.end() ? nullptr : &found->second;
}

} // namespace

int LibraryInstance::imageWidth()
{
    DocumentImage* image = selectedImageOf(current());
    return image ? image->width : (m_lastError ? 0 : fail(NoImage));
}

int LibraryInstance::imageHeight()
{
    DocumentImage* image = selectedImageOf(current());
    return image ? image->height : (m_lastError ? 0 : fail(NoImage));
}

int LibraryInstance::imageHorizontalResolution()
{
    DocumentImage* image = selectedImageOf(current());
    return image ? image->xResolution : (m_lastError ? 0 : fail(NoImage));
}

int LibraryInstance::imageVerticalResolution()
{
    DocumentImage* image = selectedImageOf(current());
    return image ? image->yResolution : (m_lastError ? 0 : fail(NoImage));
}

int LibraryInstance::fitImage(double left, double top, double width, double height, int hAlign, int vAlign, int rotate)
{
    Document* document = current();
    if (!document)
        return 0;
    DocumentImage* image = selectedImageOf(document);
    if (!image)
        return fail(NoImage);
    fz_rect box;
    if (int error = pageBox(m_ctx, document->pdf(), document->selectedPage, PageBoxType::Crop, &box))
        return fail(error);
    ImagePlacement placement;
    if (!fitImagePlacement(image->width, image->height, box.x0 + left, box.y0 + top, width, height, hAlign, vAlign,
                           rotate, &placement))
        return fail(InvalidArgument);
    if (int error = drawImageOnPage(m_ctx, document->pdf(), document->selectedPage, *image, placement))
        return fail(error);
    return 1;
}

int LibraryInstance::setOrigin(int origin)
{
    // 0: coordinates from the page's bottom-left corner, upwards; 1: from its top-left, downwards.
    if (origin != 0 && origin != 1)
        return fail(InvalidArgument);
    m_origin = origin;
    return 1;
}

int LibraryInstance::drawImage(double left, double top, double width, double height)
{
    Document* document = current();
    if (!document)
        return 0;
    DocumentImage* image = selectedImageOf(document);
    if (!image)
        return fail(NoImage);
    constexpr double limit = 1e6;
    if (!(width > 0 && width <= limit && height > 0 && height <= limit && std::fabs(left) <= limit && std::fabs(top) <= limit))
        return fail(InvalidArgument);
    fz_rect box;
    if (int error = pageBox(m_ctx, document->pdf(), document->selectedPage, PageBoxType::Crop, &box))
        return fail(error);
    const double x = box.x0 + left;
    const double yTop = m_origin == 1 ? box.y1 - top : box.y0 + top;
    const ImagePlacement placement = {width, 0, 0, height, x, yTop - height};
    if (int error = drawImageOnPage(m_ctx, document->pdf(), document->selectedPage, *image, placement))
        return fail(error);
    return 1;
}

int LibraryInstance::getImagePageCount(const std::string& path)
{
    const int count = imageFilePageCount(m_ctx, path);
    return count > 0 ? count : fail(UnreadableImage);
}

} // namespace dpl
