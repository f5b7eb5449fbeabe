#pragma once

// Reads one page of a display list: its text as lines of glyphs (fragments on one baseline
// joined, raised and lowered glyphs marked, right-to-left lines in read order) and its graphics
// (rulings, shapes, pictures).

#include "Fitz.h"
#include "PageModel.h"

#include <QHash>
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

private:
    fz_context* m_ctx;
    QHash<fz_font*, int> m_byFont;
    QHash<QString, int> m_byKey;
    QVector<Look> m_looks;
};

class PageReader
{
public:
    PageReader(fz_context* ctx, Looks& looks);

    // Reads the page; hidden text (render mode 3) is read only when keepHidden. False when
    // MuPDF failed; the reason is MuPDF's caught message.
    bool read(fz_display_list* list, fz_rect mediabox, bool keepHidden, fz_cookie* cookie,
              QVector<TextLine>* lines, PageGraphics* graphics);

private:
    void takeLines(fz_stext_page* page, QVector<TextLine>* lines);

    fz_context* m_ctx;
    Looks& m_looks;
};

} // namespace p2w
