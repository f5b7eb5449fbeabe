#include "platform/pdflibrary/LibraryInstance.h"

#include "platform/pdflibrary/ErrorCodes.h"
#include "platform/pdflibrary/ImageImport.h"
#include "platform/pdflibrary/PageBoxes.h"

// The image operations of a library instance.

namespace dpl {

int LibraryInstance::addImageFromFile(const std::string& path, int options)
{
    Document* document = current();
    if (!document)
        return 0;
    DocumentImage image;
    if (int error = openImageFile(m_ctx, path, image))
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

DocumentImage* LibraryInstance::selectedImage(Document* document)
{
    if (!document)
        return nullptr;
    auto found = document->images.find(document->selectedImage);
    if (found == document->images.end()) {
        fail(NoImage);
        return nullptr;
    }
    return &found->second;
}

int LibraryInstance::imageProperty(int DocumentImage::*property)
{
    DocumentImage* image = selectedImage(current());
    return image ? image->*property : 0;
}

int LibraryInstance::imageWidth()
{
    return imageProperty(&DocumentImage::width);
}

int LibraryInstance::imageHeight()
{
    return imageProperty(&DocumentImage::height);
}

int LibraryInstance::imageHorizontalResolution()
{
    return imageProperty(&DocumentImage::xResolution);
}

int LibraryInstance::imageVerticalResolution()
{
    return imageProperty(&DocumentImage::yResolution);
}

int LibraryInstance::placeSelectedImage(const PlacementRule& rule)
{
    Document* document = current();
    if (!document)
        return 0;
    DocumentImage* image = selectedImage(document);
    if (!image)
        return 0;
    fz_rect box;
    if (int error = pageBox(m_ctx, document->pdf(), document->selectedPage, PageBoxType::Crop, &box))
        return fail(error);
    ImagePlacement placement;
    if (!rule(*image, box, &placement))
        return fail(InvalidArgument);
    if (int error = storeImage(m_ctx, document->pdf(), *image))
        return fail(error);
    if (int error = drawImageOnPage(m_ctx, document->pdf(), document->selectedPage, *image, placement))
        return fail(error);
    return 1;
}

int LibraryInstance::fitImage(double left, double top, double width, double height, int hAlign, int vAlign, int rotate)
{
    return placeSelectedImage([&](const DocumentImage& image, const fz_rect& box, ImagePlacement* placement) {
        return fitImagePlacement(image.width, image.height, box.x0 + left, box.y0 + top, width, height, hAlign, vAlign,
                                 rotate, placement);
    });
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
    return placeSelectedImage([&](const DocumentImage&, const fz_rect& box, ImagePlacement* placement) {
        if (!usablePlacementBox(left, top, width, height))
            return false;
        const double yTop = m_origin == 1 ? box.y1 - top : box.y0 + top;
        *placement = {width, 0, 0, height, box.x0 + left, yTop - height};
        return true;
    });
}

int LibraryInstance::getImagePageCount(const std::string& path)
{
    const int count = imageFilePageCount(m_ctx, path);
    return count > 0 ? count : fail(UnreadableImage);
}

} // namespace dpl
