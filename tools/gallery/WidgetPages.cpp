// Gallery pictures of the shared widgets and dialogs.
#include "Gallery.h"

QList<GalleryItem> widgetItems()
{
    return {};
}
