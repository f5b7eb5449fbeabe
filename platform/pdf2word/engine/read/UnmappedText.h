#pragma once

// Text in fonts without a usable Unicode map reaches the lines as codes that name the glyphs'
// places in the page's list of unmapped glyphs (U+FFFD or a private-use code where no place is
// known). Each run of such glyphs is read with an OCR model for its script only: the script the
// letters its font maps say, else the letters beside it in its line, else Tesseract's script
// detection. The glyphs of a line are drawn alone into one picture, turned upright, and read; each
// word goes where the glyphs under it stand. What cannot be read is left out and logged; no
// unmapped code reaches the document.

#include "platform/pdf2word/engine/model/Fitz.h"
#include "platform/pdf2word/engine/model/PageModel.h"
#include "platform/pdf2word/engine/read/TextRecognizer.h"
#include "platform/pdf2word/engine/read/UnmappedRuns.h"

#include <QStringList>
#include <QVector>

namespace p2w {

struct GlyphPicture;

// Whether a character code says nothing of the character it stands for.
bool isUnmappedCharacter(char32_t c);
// The code that stands in the lines for the page's unmapped glyph `index` (U+FFFD past the codes
// there are); unmappedIndex reads it back (-1 for any other character).
char32_t unmappedCode(int index);
int unmappedIndex(char32_t c);

// Reads the unmapped text of a conversion's pages, one page at a time; the scripts of the letters
// each font maps are kept from page to page.
class UnmappedText
{
public:
    // recognizer: null when there are no OCR languages (the text is left out).
    UnmappedText(fz_context* ctx, TextRecognizer* recognizer);

    // Replaces the page's unmapped glyphs in lines by the words read from them, within limits:
    // drawing and reading have their own time, apart from the page's. What is left out is added
    // to notes, a line per reason with the count of its glyphs. False when the caller stopped.
    bool read(const PageGraphics& graphics, const fz_rect& mediabox, const TextRecognizer::Limits& limits,
              QVector<TextLine>* lines, QStringList* notes);

private:
    // The script of each run: before detection from its font's letters, what detection found
    // for its font on a page before, or the letters of its look beside it; after, from any
    // letters beside it, else from the page's letters; then the languages that read it.
    void scriptsBeforeDetection(QVector<UnmappedRun>* runs, const QVector<TextLine>& lines) const;
    void scriptsAfterDetection(QVector<UnmappedRun>* runs, const QVector<TextLine>& lines, QChar::Script page) const;
    // Tesseract's script detection for the runs still without one, a picture per look.
    TextRecognizer::Outcome detectScripts(QVector<UnmappedRun>* runs, const QVector<UnmappedGlyph>& glyphs,
                                          const QVector<TextLine>& lines, const fz_rect& mediabox,
                                          const TextRecognizer::Limits& limits);
    // Draws the pictures under the limits; those not drawn get the reason as their error.
    TextRecognizer::Outcome drawPictures(QVector<GlyphPicture>* pictures, const QVector<UnmappedGlyph>& glyphs,
                                         const fz_rect& mediabox, bool upright, const TextRecognizer::Limits& limits);

    fz_context* m_ctx;
    TextRecognizer* m_recognizer;
    FontScripts m_fontScripts;
    QHash<QString, QChar::Script> m_detected; // fonts' scripts found by detection, by font name
};

} // namespace p2w
