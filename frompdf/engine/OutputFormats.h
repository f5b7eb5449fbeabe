#pragma once

#include <QString>
#include <QStringList>

// The formats a "From PDF" conversion writes: how each is made, whether the format pop-up offers
// it, and the PDF library's render-format code of a page image. Names are lower case and are
// also the output files' suffixes; lookups ignore case.
namespace OutputFormats {

enum class Kind {
    Document, // through the Word converter, or the OCR converter for scans
    Text,     // plain text through the OCR converter
    Image,    // page images rendered by the PDF library
    None,     // a render format of the library that no conversion writes
};

enum Flag {
    Offered = 1,    // in the format pop-up, in the order of the table
    OnePerPage = 2, // page images written one file per page, whatever the task's split says
};

struct Format
{
    const char* name;
    Kind kind;
    int flags;
    int renderCode; // -1: the library renders no page to this format
};

// The format of a name, compared without regard to case; null for a name of no format.
const Format* find(const QString& name);

// The names the format pop-up offers, in its order.
QStringList offered();

} // namespace OutputFormats
