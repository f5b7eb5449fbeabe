#include "platform/pdf2word/engine/read/UnmappedText.h"

#include "platform/mupdf/PageRun.h"
#include "platform/pdf2word/engine/read/GlyphPictures.h"
#include "platform/pdf2word/engine/read/RecognisedWords.h"
#include "platform/pdf2word/engine/read/Scripts.h"

#include <QMap>

#include <algorithm>

namespace p2w {

namespace {

// The codes of Unicode's last two private-use planes name the places of unmapped glyphs.
const char32_t kFirstCode = 0xF0000;
const int kCodes = 0x10FFFE - 0xF0000;

const QString kOutOfTime = QStringLiteral("the time for OCR ran out");

// Glyphs enough for Tesseract's script detection, which judges at most 250 characters: a picture
// of a look's runs holds whole runs, in the page's order, until it has this many. Detection
// cannot be stopped while it runs and takes time with the picture's size (almost a second for
// the runs of a whole page), so a stop waits for it no longer than for a few lines.
const int kDetectionGlyphs = 120;

// The page's unmapped glyphs of the run (indices into the page's list).
QVector<int> glyphsOf(const TextLine& line, const UnmappedRun& run, int glyphCount)
{
    QVector<int> glyphs;
    for (int p = run.from; p <= run.to; ++p) {
        const int index = unmappedIndex(line.glyphs[p].c);
        if (index >= 0 && index < glyphCount)
            glyphs.append(index);
    }
    return glyphs;
}

// A picture per line and set of languages, of the runs that will be read.
QVector<GlyphPicture> picturesOf(const QVector<UnmappedRun>& runs, const QVector<TextLine>& lines, int glyphCount)
{
    QVector<GlyphPicture> pictures;
    QMap<QPair<int, QString>, int> byLine;
    for (const UnmappedRun& run : runs) {
        if (!run.leftOut.isEmpty())
            continue;
        const QPair<int, QString> key(run.line, run.languages);
        if (!byLine.contains(key)) {
            byLine.insert(key, pictures.size());
            pictures.append(GlyphPicture());
            pictures.back().line = run.line;
            pictures.back().picture.languages = run.languages;
        }
        pictures[byLine.value(key)].glyphs += glyphsOf(lines[run.line], run, glyphCount);
    }
    return pictures;
}

QVector<TextRecognizer::Picture*> picturesToRead(QVector<GlyphPicture>* pictures)
{
    QVector<TextRecognizer::Picture*> drawn;
    for (GlyphPicture& picture : *pictures) {
        if (!picture.picture.pixels.isEmpty())
            drawn.append(&picture.picture);
    }
    return drawn;
}

// Lines left without glyphs go; the others lose the spaces at their ends and are measured again.
void tidyLines(QVector<TextLine>* lines)
{
    QVector<TextLine> kept;
    kept.reserve(lines->size());
    for (TextLine& line : *lines) {
        while (!line.glyphs.isEmpty() && line.glyphs.front().isSpace())
            line.glyphs.removeFirst();
        while (!line.glyphs.isEmpty() && line.glyphs.back().isSpace())
            line.glyphs.removeLast();
        if (line.glyphs.isEmpty())
            continue;
        line.measure();
        kept.append(line);
    }
    *lines = kept;
}

} // namespace

bool isUnmappedCharacter(char32_t c)
{
    return c == 0xFFFD || (c >= 0xE000 && c <= 0xF8FF) || c >= 0xF0000;
}

char32_t unmappedCode(int index)
{
    return index >= 0 && index < kCodes ? kFirstCode + char32_t(index) : char32_t(0xFFFD);
}

int unmappedIndex(char32_t c)
{
    return c >= kFirstCode && c < kFirstCode + char32_t(kCodes) ? int(c - kFirstCode) : -1;
}

UnmappedText::UnmappedText(fz_context* ctx, TextRecognizer* recognizer)
    : m_ctx(ctx)
    , m_recognizer(recognizer)
{
}

bool UnmappedText::read(const PageGraphics& graphics, const fz_rect& mediabox, const TextRecognizer::Limits& limits,
                        QVector<TextLine>* lines, QStringList* notes)
{
    const QVector<UnmappedGlyph>& glyphs = graphics.unmapped;
    m_fontScripts.addLetters(m_ctx, graphics);
    QVector<UnmappedRun> runs = findUnmappedRuns(m_ctx, *lines, glyphs);
    if (runs.isEmpty())
        return true;
    QVector<GlyphPicture> pictures;
    if (!m_recognizer || m_recognizer->languages().isEmpty()) {
        for (UnmappedRun& run : runs)
            run.leftOut = QStringLiteral("no OCR languages");
    } else {
        scriptsBeforeDetection(&runs, *lines);
        if (detectScripts(&runs, glyphs, *lines, mediabox, limits) == TextRecognizer::Outcome::Stopped)
            return false;
        scriptsAfterDetection(&runs, *lines, pageScript(graphics));
        pictures = picturesOf(runs, *lines, glyphs.size());
        TextRecognizer::Outcome outcome = drawPictures(&pictures, glyphs, mediabox, true, limits);
        if (outcome == TextRecognizer::Outcome::Finished)
            outcome = m_recognizer->read(picturesToRead(&pictures), limits);
        if (outcome == TextRecognizer::Outcome::Stopped)
            return false;
        for (GlyphPicture& picture : pictures) {
            if (!picture.picture.read && picture.picture.error.isEmpty())
                picture.picture.error = kOutOfTime;
        }
    }
    QMap<QString, int> leftOut;
    placeRecognisedWords(pictures, runs, lines, &leftOut);
    tidyLines(lines);
    for (auto it = leftOut.cbegin(); it != leftOut.cend(); ++it)
        notes->append(QStringLiteral("%1 glyphs in a font without a Unicode map left out: %2").arg(it.value()).arg(it.key()));
    return true;
}

void UnmappedText::scriptsBeforeDetection(QVector<UnmappedRun>* runs, const QVector<TextLine>& lines) const
{
    for (UnmappedRun& run : *runs) {
        run.script = m_fontScripts.scriptOf(run.font);
        if (run.script == QChar::Script_Unknown)
            run.script = m_detected.value(run.font, QChar::Script_Unknown);
        if (run.script == QChar::Script_Unknown)
            run.script = neighbourScript(lines[run.line], run, true);
    }
}

void UnmappedText::scriptsAfterDetection(QVector<UnmappedRun>* runs, const QVector<TextLine>& lines, QChar::Script page) const
{
    for (UnmappedRun& run : *runs) {
        if (run.script == QChar::Script_Unknown)
            run.script = neighbourScript(lines[run.line], run, false);
        if (run.script == QChar::Script_Unknown)
            run.script = page;
        if (run.script == QChar::Script_Unknown) {
            run.leftOut = QStringLiteral("their script is not known");
            continue;
        }
        run.languages = languagesForScript(run.script, m_recognizer->languages(), m_recognizer->installed());
        if (run.languages.isEmpty())
            run.leftOut = QStringLiteral("no OCR model for the %1 script is installed").arg(scriptName(run.script));
    }
}

TextRecognizer::Outcome UnmappedText::detectScripts(QVector<UnmappedRun>* runs, const QVector<UnmappedGlyph>& glyphs,
                                                    const QVector<TextLine>& lines, const fz_rect& mediabox,
                                                    const TextRecognizer::Limits& limits)
{
    if (!m_recognizer->detectsScripts())
        return TextRecognizer::Outcome::Finished;
    // A picture of each look's runs whose script is not known yet.
    QMap<int, int> pictureOfLook;
    QVector<GlyphPicture> pictures;
    for (const UnmappedRun& run : *runs) {
        if (run.script != QChar::Script_Unknown || !run.leftOut.isEmpty())
            continue;
        if (!pictureOfLook.contains(run.look)) {
            pictureOfLook.insert(run.look, pictures.size());
            pictures.append(GlyphPicture());
        }
        QVector<int>& lookGlyphs = pictures[pictureOfLook.value(run.look)].glyphs;
        if (lookGlyphs.size() < kDetectionGlyphs)
            lookGlyphs += glyphsOf(lines[run.line], run, glyphs.size());
    }
    if (pictures.isEmpty())
        return TextRecognizer::Outcome::Finished;
    TextRecognizer::Outcome outcome = drawPictures(&pictures, glyphs, mediabox, false, limits);
    if (outcome == TextRecognizer::Outcome::Finished)
        outcome = m_recognizer->detectScripts(picturesToRead(&pictures), limits);
    for (UnmappedRun& run : *runs) {
        if (run.script != QChar::Script_Unknown || !pictureOfLook.contains(run.look))
            continue;
        run.script = scriptOfDetectedName(pictures[pictureOfLook.value(run.look)].picture.script);
        if (run.script != QChar::Script_Unknown && !run.font.isEmpty())
            m_detected.insert(run.font, run.script);
    }
    return outcome;
}

TextRecognizer::Outcome UnmappedText::drawPictures(QVector<GlyphPicture>* pictures, const QVector<UnmappedGlyph>& glyphs,
                                                   const fz_rect& mediabox, bool upright,
                                                   const TextRecognizer::Limits& limits)
{
    // Drawing runs under the base's page watch: a stop or the deadline cuts it short.
    qpmupdf::RunWatch watch;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(limits.deadline - TextRecognizer::Clock::now());
    watch.timeLimit = std::max(std::chrono::milliseconds(1), left);
    watch.keepGoing = limits.keepGoing;
    const qpmupdf::RunOutcome outcome = qpmupdf::runPage(
        m_ctx,
        [&](fz_cookie*) {
            for (GlyphPicture& picture : *pictures) {
                if (!drawGlyphPicture(m_ctx, glyphs, mediabox, upright, &picture, &picture.picture.error))
                    picture.picture.pixels.clear();
            }
        },
        watch);
    // A run cut short refuses memory: what failed then failed for the time.
    const bool overTime = outcome.end == qpmupdf::RunEnd::OverTime;
    for (GlyphPicture& picture : *pictures) {
        if (picture.picture.pixels.isEmpty() && (picture.picture.error.isEmpty() || overTime))
            picture.picture.error = overTime ? kOutOfTime : QString::fromStdString(outcome.message);
    }
    switch (outcome.end) {
    case qpmupdf::RunEnd::Stopped:
        return TextRecognizer::Outcome::Stopped;
    case qpmupdf::RunEnd::OverTime:
        return TextRecognizer::Outcome::OutOfTime;
    default:
        return TextRecognizer::Outcome::Finished;
    }
}

} // namespace p2w
