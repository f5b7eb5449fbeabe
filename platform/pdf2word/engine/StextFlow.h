#pragma once

// Reads MuPDF's structured text of a page into flowing paragraphs and pictures: the plain road's
// document, the reference text the layout road is checked against, and the pictures both roads
// place.

#include "FlowDocument.h"
#include "Fitz.h"

#include <QHash>
#include <QList>

namespace p2w {

// A picture of the page and where it sits (page space, points, y downwards).
struct PlacedImage
{
    int image; // index into FlowDocument::images
    fz_rect box;
};

class StextFlow
{
public:
    explicit StextFlow(fz_context* ctx);

    // Appends the page's paragraphs and pictures to document.blocks and document.images; the
    // pictures of this page are returned with their places, top to bottom. False when MuPDF
    // failed to encode a picture (the text is still read).
    bool appendPage(fz_stext_page* page, FlowDocument& document, QList<PlacedImage>* placed);

    // The family of a font as the document writers name it (the font's PostScript-like name);
    // the name itself when the family is unknown.
    QString familyOf(const QString& fontName) const;

private:
    void appendTextBlock(fz_stext_block* block, QList<FlowBlock>& blocks);
    bool appendImage(fz_stext_block* block, FlowDocument& document, QList<PlacedImage>* placed);
    FlowRun runLook(fz_stext_char* ch);

    fz_context* m_ctx;
    QHash<QString, QString> m_families;
};

} // namespace p2w
