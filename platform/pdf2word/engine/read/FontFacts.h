#pragma once

// What a font file and the PDF tell about a font beyond its name: its family class, pitch,
// PANOSE digits and character set, for the document's font table.

#include "platform/pdf2word/engine/model/Fitz.h"
#include "platform/pdf2word/engine/model/FlowDocument.h"

#include <QHash>
#include <QList>

namespace p2w {

// The facts of the font named family (its name as the runs give it). PANOSE and the character
// set come only from a font file the PDF embeds: a stand-in MuPDF loads for a missing font would
// describe the stand-in.
FlowFont fontFactsOf(fz_context* ctx, fz_font* font, const QString& family, bool monospace);

// The facts of a font known only by its name (a run whose font the document never described).
FlowFont fontFactsByName(const QString& family, bool monospace);

// The fonts of a document by family, each described once: an embedded file's facts win over a
// stand-in's.
class FontTable
{
public:
    void learn(const FlowFont& font);
    // The fonts the names stand for, in the order given; a name never learnt by its name alone.
    QList<FlowFont> fontsNamed(const QStringList& names) const;

private:
    QHash<QString, FlowFont> m_fonts;
};

} // namespace p2w
