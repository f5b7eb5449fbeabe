#pragma once

#include <QByteArray>
#include <QString>

// The family name inside a font file. A book's font that bears the family name of an installed
// font (a bundled "DejaVu Sans Mono Bold Oblique") would lose to the installed one when the
// printing view looks the family up: renamed to a family of its own, only the book's file
// answers. The PostScript name, which the PDF shows, stays.
namespace FontRenaming {

// The TrueType or OpenType font (also one in a WOFF file, which is unpacked) with family as its
// family and typographic family name in every name record; empty when the data is no font of
// those kinds or is damaged.
QByteArray withFamily(const QByteArray& font, const QString& family);

} // namespace FontRenaming
