#pragma once

// The runs of glyphs without a Unicode map in a page's lines, and what tells their script before
// they are read: the letters the same font maps (on this page and the pages before), and the
// letters beside the run in its line.

#include "platform/pdf2word/engine/model/Fitz.h"

#include "platform/pdf2word/engine/model/PageModel.h"

#include <QChar>
#include <QHash>
#include <QString>
#include <QVector>

namespace p2w {

struct UnmappedRun
{
    int line = 0;
    int from = 0; // first and last unmapped glyph of the run in its line
    int to = 0;
    int look = -1; // the look of its first glyph
    QString font;  // the name of its first glyph's font
    QChar::Script script = QChar::Script_Unknown;
    QString languages; // the Tesseract languages it is read with
    QString leftOut;   // why it is not read; empty while it may be
};

// The runs of unmapped glyphs, with the spaces between them, line by line; glyphs: the page's
// unmapped glyphs, which name the runs' fonts.
QVector<UnmappedRun> findUnmappedRuns(fz_context* ctx, const QVector<TextLine>& lines, const QVector<UnmappedGlyph>& glyphs);

// The scripts of the letters each font maps, over the pages read so far (fonts by name: their
// objects do not outlive a page).
class FontScripts
{
public:
    void addLetters(fz_context* ctx, const PageGraphics& graphics);
    // The script of nearly all the font's letters; unknown when they are few or mixed (a font
    // that maps Latin and Arabic letters alike says nothing of its unmapped glyphs).
    QChar::Script scriptOf(const QString& font) const;

private:
    QHash<QString, QHash<int, int>> m_letters; // font -> script -> letters
};

// The script of nearly all of the letters counted by script; unknown when they are few or mixed.
QChar::Script mostScript(const QHash<int, int>& letters);
// That of the letters the page's fonts map.
QChar::Script pageScript(const PageGraphics& graphics);

// The script of the letters nearest the run on either side in its line (only those of the run's
// look when sameLook); unknown when there are none or the two sides differ.
QChar::Script neighbourScript(const TextLine& line, const UnmappedRun& run, bool sameLook);

} // namespace p2w
