#include "quillbook/ReaderChoice.h"

#include "quillbook/epub/EpubDocument.h"
#include "quillbook/fb2/FbDocument.h"
#include "quillbook/mobi/MobiDocument.h"

namespace {

template <typename Reader>
BookReader* make(const QString& sourcePath)
{
    return new Reader(sourcePath);
}

struct ReaderEntry
{
    const char* format;
    BookReader* (*create)(const QString& sourcePath);
};

// One line per book format, in the order the formats are tried.
const ReaderEntry readers[] = {
    {"epub", &make<epub::EpubDocument>},
    {"mobi", &make<mobi::MobiDocument>},
    {"fb2", &make<fb2::FbDocument>},
};

} // namespace

BookReader* createReader(const QString& format, const QString& sourcePath)
{
    for (const ReaderEntry& entry : readers) {
        if (format.compare(QLatin1String(entry.format), Qt::CaseInsensitive) == 0)
            return entry.create(sourcePath);
    }
    return nullptr;
}
