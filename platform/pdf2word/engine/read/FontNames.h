#pragma once

// The name and style a document's reader knows a font by, from what the PDF calls it.

#include <QString>

namespace p2w {

struct FontName
{
    QString family; // "Times New Roman", "Latin Modern Roman", "Adobe Caslon"
    bool bold = false;
    bool italic = false;
};

// From the font's PostScript name ("ABCDEF+TimesNewRomanPS-BoldItalicMT", "CMBX12",
// "ACaslon-Regular") and the family its file names (empty when it names none): the subset's
// prefix removed, the style's suffixes read as bold and italic, TeX's Computer Modern and Latin
// Modern fonts named as Latin Modern, a maker's marks left off and the words apart.
FontName fontNameOf(const QString& postScriptName, const QString& fileFamily);

} // namespace p2w
