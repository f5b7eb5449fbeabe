#include "app/core/EbookFormats.h"

#include <iterator>

namespace EbookFormats {

namespace {

// Indexed by Format.
const char* const kSuffixes[] = {"epub", "mobi", "fb2"};
static_assert(std::size(kSuffixes) == Fb2 + 1, "one suffix for each format");

} // namespace

QStringList suffixes()
{
    QStringList names;
    for (const char* suffix : kSuffixes)
        names << QString::fromLatin1(suffix);
    return names;
}

std::optional<Format> find(const QString& name)
{
    for (int index = 0; index < int(std::size(kSuffixes)); ++index) {
        if (name.compare(QLatin1String(kSuffixes[index]), Qt::CaseInsensitive) == 0)
            return Format(index);
    }
    return std::nullopt;
}

bool isBookPath(const QString& path)
{
    for (const char* suffix : kSuffixes) {
        if (path.endsWith(QLatin1Char('.') + QLatin1String(suffix), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace EbookFormats
