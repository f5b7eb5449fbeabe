#include "quillbook/ReaderChoice.h"

#include "app/core/EbookFormats.h"
#include "quillbook/epub/EpubDocument.h"
#include "quillbook/fb2/FbDocument.h"
#include "quillbook/mobi/MobiDocument.h"

BookReader* createReader(const QString& format, const QString& sourcePath)
{
    const std::optional<EbookFormats::Format> book = EbookFormats::find(format);
    if (!book)
        return nullptr;
    switch (*book) {
    case EbookFormats::Epub:
        return new epub::EpubDocument(sourcePath);
    case EbookFormats::Mobi:
        return new mobi::MobiDocument(sourcePath);
    case EbookFormats::Fb2:
        return new fb2::FbDocument(sourcePath);
    }
    return nullptr;
}
