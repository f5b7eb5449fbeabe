#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// One block of the HTML that OCR text becomes: a line break, a bold heading or a paragraph.
// Its text is already HTML-escaped.
struct OcrTextBlock
{
    enum Kind {
        LineBreak = 0,
        Heading = 1,
        Paragraph = 2
    };

    QString text;
    int kind = LineBreak;

    QString toHtml() const;
};

using OcrTextBlocks = QList<OcrTextBlock>;

// Rebuilds the logical structure of one page of recognised text from its lines alone: wrapped
// lines are joined into paragraphs, short stand-alone lines become headings, blank lines between
// blocks become line breaks. Call step() until isFinished(), then read blocks().
class OcrParagraphBuilder
{
public:
    // escapedPageText: the page text after QString::toHtmlEscaped.
    explicit OcrParagraphBuilder(const QString& escapedPageText);

    void step();
    bool isFinished() const { return m_state == Finished; }
    OcrTextBlocks blocks() const { return m_blocks; }

    // True when text ends a sentence with ".", "!" or "?", also before one closing quote.
    static bool endsSentence(const QString& text);

private:
    enum State {
        Between = 0,
        InParagraph = 1,
        ParagraphEnded = 2,
        Finished = 3
    };

    void stepBetween();
    void stepInParagraph();
    bool isHeading(const QString& line) const;
    QChar nextLineFirstChar() const;
    bool remainingLinesEmpty() const;
    void addBreak();
    void addHeading(const QString& line);
    void flushParagraph();

    int m_state = Between;
    QStringList m_lines;
    QStringList m_gathered;
    int m_index = 0;
    int m_longest = 0;
    OcrTextBlocks m_blocks;
};

namespace OcrParagraphs {

// The HTML fragment of all pages: each page escaped and built into blocks, paragraphs joined
// across page boundaries, then the blocks' HTML back to back.
QString buildHtml(const QMap<int, QString>& pageTexts);

// Joins a paragraph that runs from one page onto the next (consecutive page numbers only) and
// returns all blocks in page order.
OcrTextBlocks joinPageBlocks(const QMap<int, OcrTextBlocks>& pages);

bool canJoinOcrBlocks(const OcrTextBlock& a, const OcrTextBlock& b);
OcrTextBlock joinOcrBlocks(const OcrTextBlock& a, const OcrTextBlock& b);

} // namespace OcrParagraphs
