#pragma once

// Reads back the paragraphs that MuPDF's document writers wrote: the body of a DOCX
// (word/document.xml) or an ODT (content.xml). The writers leave line breaks inside the text
// elements and, in ODT, Word elements in an undeclared namespace, so both are read leniently
// (prefixes as plain names) into paragraphs whose runs keep '\n' for each break; tabs, which the
// writers put where words stand far apart, become spaces.

#include "FlowDocument.h"

#include <QByteArray>
#include <QList>

namespace p2w {

// False when the XML is not well-formed enough to read to its end.
bool readDocxBody(const QByteArray& xml, QList<FlowBlock>* blocks);
bool readOdtBody(const QByteArray& xml, QList<FlowBlock>* blocks);

} // namespace p2w
