#pragma once

// Reads one page of a display list: its text as lines of glyphs (fragments on one baseline
// joined, raised and lowered glyphs marked, right-to-left lines in read order) and its graphics
// (rulings, shapes, pictures, glyphs without a Unicode map).
//
// A page may hide text: a scan's recognised text, drawn invisibly, in a font without glyphs, or
// under the scan's picture. That text is read where the page shows no text of its own, and the
// pictures it lies on (the scan) are left out of the page's graphics.

#include "platform/pdf2word/engine/model/Fitz.h"
#include "platform/pdf2word/engine/model/PageModel.h"
#include "platform/pdf2word/engine/read/FontFacts.h"

#include <QHash>
#include <QSet>
#include <QVector>

namespace p2w {

// The fonts of the document as looks (family, bold, italic), each look once.
class Looks
{
public:
    explicit Looks(fz_context* ctx);

    int lookOf(fz_font* font);
    // Font objects may be freed and their addresses reused between pages.
    void forgetFonts() { m_byFont.clear(); }
    const Look& operator[](int look) const { return m_looks[look]; }
    // The families of the looks, with what their font files tell of them.
    const FontTable& fonts() const { return m_fonts; }

private:
    fz_context* m_ctx;
    FontTable m_fonts;
    QHash<fz_font*, int> m_byFont;
    QHash<QString, int> m_byKey;
    QVector<Look> m_looks;
};

class DrawnSpaces;
class TextRecognizer;

class PageReader
{
public:
    // recognizer: its dictionaries tell whether a scan's text layer reads its picture; may be null.
    PageReader(fz_context* ctx, Looks& looks, TextRecognizer* recognizer = nullptr);

    // Reads the page. False when MuPDF failed; the reason is MuPDF's caught message. Stops early
    // when the cookie is aborted. Glyphs without a Unicode map are left in the lines as their
    // codes (UnmappedText reads them).
    bool readText(fz_display_list* list, fz_rect mediabox, fz_cookie* cookie, QVector<TextLine>* lines,
                  PageGraphics* graphics);
    // Marks the lines' raised and lowered glyphs and puts right-to-left lines in read order.
    static void finishLines(QVector<TextLine>* lines);
    // readText, then finishLines.
    bool read(fz_display_list* list, fz_rect mediabox, fz_cookie* cookie, QVector<TextLine>* lines,
              PageGraphics* graphics);

private:
    // The page's lines; drawn holds the space glyphs the text shows (null for text the page
    // hides, whose spaces are an OCR engine's word breaks).
    QVector<TextLine> linesOf(fz_stext_page* page, const DrawnSpaces* drawn);

    fz_context* m_ctx;
    Looks& m_looks;
    TextRecognizer* m_recognizer;
    QSet<QString> m_unmappedFonts; // PageDeviceOptions::unmappedFonts, over the pages read
};

} // namespace p2w
