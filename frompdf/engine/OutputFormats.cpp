#include "frompdf/engine/OutputFormats.h"

namespace OutputFormats {

namespace {

// The offered formats first, in the pop-up's order.
const Format kFormats[] = {
    {"doc", Kind::Document, Offered, -1},
    {"docx", Kind::Document, Offered, -1},
    {"rtf", Kind::Document, Offered, -1},
    {"odt", Kind::Document, Offered, -1},
    {"jpg", Kind::Image, Offered, 1},
    {"png", Kind::Image, Offered, 5},
    {"bmp", Kind::Image, Offered, 0},
    {"tiff", Kind::Image, Offered, 7},
    {"gif", Kind::Image, Offered, 6},
    {"eps", Kind::Image, Offered | OnePerPage, 4},
    {"html", Kind::Document, Offered, 9},
    {"wmf", Kind::Image, Offered | OnePerPage, 2},
    {"ods", Kind::Document, 0, -1},
    {"txt", Kind::Text, 0, -1},
    {"emf", Kind::None, 0, 3},
};

} // namespace

const Format* find(const QString& name)
{
    for (const Format& format : kFormats) {
        if (name.compare(QLatin1String(format.name), Qt::CaseInsensitive) == 0)
            return &format;
    }
    return nullptr;
}

QStringList offered()
{
    QStringList names;
    for (const Format& format : kFormats) {
        if (format.flags & Offered)
            names << QString::fromLatin1(format.name);
    }
    return names;
}

} // namespace OutputFormats
