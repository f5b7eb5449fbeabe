#include "frompdf/ocr/OcrParagraphBuilder.h"

#include <algorithm>

namespace {

// Qt's tests for a single UTF-16 unit: ASCII ranges below U+0080, Unicode categories above.
bool isUpper(QChar c) { return c.isUpper(); }
bool isLower(QChar c) { return c.isLower(); }
bool isDigit(QChar c) { return c.isDigit(); }

bool isClosingQuote(QChar c)
{
    static const QString quotes = QStringLiteral("'\u2019\u201D\u201C\u00BB\u203A");
    return quotes.contains(c);
}

} // namespace

QString OcrTextBlock::toHtml() const
{
    switch (kind) {
    case LineBreak:
        return QStringLiteral("<br>");
    case Heading:
        return QStringLiteral("<b>%1</b>").arg(text);
    case Paragraph:
        return QStringLiteral("<p>%1</p>").arg(text);
    default:
        return QString();
    }
}

OcrParagraphBuilder::OcrParagraphBuilder(const QString& escapedPageText)
    : m_lines(escapedPageText.split(QLatin1Char('\n'), Qt::KeepEmptyParts, Qt::CaseSensitive))
{
    for (const QString& line : qAsConst(m_lines))
        m_longest = std::max(m_longest, line.size());
}

bool OcrParagraphBuilder::endsSentence(const QString& text)
{
    if (text.size() < 2)
        return false;
    QChar last = text.at(text.size() - 1);
    if (isClosingQuote(last))
        last = text.at(text.size() - 2);
    return last == QLatin1Char('.') || last == QLatin1Char('!') || last == QLatin1Char('?');
}

void OcrParagraphBuilder::step()
{
    switch (m_state) {
    case Between:
        stepBetween();
        break;
    case InParagraph:
        stepInParagraph();
        break;
    case ParagraphEnded:
        flushParagraph();
        m_state = Between;
        break;
    default:
        break;
    }
}

void OcrParagraphBuilder::stepBetween()
{
    if (m_index >= m_lines.size()) {
        m_state = Finished;
        return;
    }
    const QString& line = m_lines.at(m_index);
    if (line.isEmpty()) {
        // Trailing blank lines add nothing.
        if (!remainingLinesEmpty())
            addBreak();
        ++m_index;
        return;
    }
    if (isHeading(line)) {
        addHeading(line);
        ++m_index;
        return;
    }
    m_gathered = QStringList{line};
    ++m_index;
    m_state = InParagraph;
}

void OcrParagraphBuilder::stepInParagraph()
{
    if (m_index >= m_lines.size()) {
        m_state = ParagraphEnded;
        return;
    }
    const QString& line = m_lines.at(m_index);
    if (line.isEmpty()) {
        // The blank line ends the paragraph and adds no break of its own.
        ++m_index;
        m_state = ParagraphEnded;
        return;
    }
    if (isUpper(line.at(0))) {
        // A short line that ended a sentence ends the paragraph before a capitalised line.
        const QString& last = m_gathered.constLast();
        const int limit = m_longest <= 25 ? 25 : int(float(m_longest) * 0.3f);
        if (last.size() <= limit && endsSentence(last))
            flushParagraph();
    }
    m_gathered << line;
    ++m_index;
}

bool OcrParagraphBuilder::isHeading(const QString& line) const
{
    const int length = line.size();
    const int limit70 = int(double(m_longest) * 0.7);
    const int limit55 = int(double(m_longest) * 0.55);
    const bool starts = isUpper(line.at(0)) || isDigit(line.at(0));
    const QChar next = nextLineFirstChar();
    if (next.isNull())
        return starts && length <= limit70;
    if (length <= limit55)
        return starts;
    return starts && length <= limit70 && !isLower(next);
}

QChar OcrParagraphBuilder::nextLineFirstChar() const
{
    const int next = m_index + 1;
    if (next >= m_lines.size() || m_lines.at(next).isEmpty())
        return QChar();
    return m_lines.at(next).at(0);
}

bool OcrParagraphBuilder::remainingLinesEmpty() const
{
    for (int i = m_index + 1; i < m_lines.size(); ++i) {
        if (!m_lines.at(i).isEmpty())
            return false;
    }
    return true;
}

void OcrParagraphBuilder::addBreak()
{
    m_blocks << OcrTextBlock{QString(), OcrTextBlock::LineBreak};
}

void OcrParagraphBuilder::addHeading(const QString& line)
{
    // Two headings in a row stay two lines.
    if (!m_blocks.isEmpty() && m_blocks.constLast().kind == OcrTextBlock::Heading)
        addBreak();
    m_blocks << OcrTextBlock{line, OcrTextBlock::Heading};
}

void OcrParagraphBuilder::flushParagraph()
{
    if (m_gathered.isEmpty())
        return;
    m_blocks << OcrTextBlock{m_gathered.join(QLatin1Char(' ')), OcrTextBlock::Paragraph};
    m_gathered.clear();
}

namespace OcrParagraphs {

bool canJoinOcrBlocks(const OcrTextBlock& a, const OcrTextBlock& b)
{
    if (a.kind == OcrTextBlock::LineBreak || b.kind == OcrTextBlock::LineBreak)
        return false;
    if (a.text.isEmpty() || b.text.isEmpty())
        return false;
    return isLower(b.text.at(0)) && !OcrParagraphBuilder::endsSentence(a.text);
}

OcrTextBlock joinOcrBlocks(const OcrTextBlock& a, const OcrTextBlock& b)
{
    return OcrTextBlock{a.text + QLatin1Char(' ') + b.text, OcrTextBlock::Paragraph};
}

OcrTextBlocks joinPageBlocks(const QMap<int, OcrTextBlocks>& pages)
{
    QMap<int, OcrTextBlocks> joined = pages;
    int previous = 0;
    bool hasPrevious = false;
    for (auto it = joined.begin(); it != joined.end(); ++it) {
        OcrTextBlocks& blocks = it.value();
        if (blocks.isEmpty())
            continue;
        if (hasPrevious && it.key() == previous + 1) {
            OcrTextBlocks& before = joined[previous];
            if (!before.isEmpty() && canJoinOcrBlocks(before.constLast(), blocks.constFirst())) {
                before.last() = joinOcrBlocks(before.constLast(), blocks.constFirst());
                blocks.removeFirst();
            }
        }
        // Remembered even when the join emptied it: its successor then joins nothing.
        previous = it.key();
        hasPrevious = true;
    }
    OcrTextBlocks result;
    for (const OcrTextBlocks& blocks : qAsConst(joined))
        result += blocks;
    return result;
}

QString buildHtml(const QMap<int, QString>& pageTexts)
{
    QMap<int, OcrTextBlocks> pages;
    for (auto it = pageTexts.cbegin(); it != pageTexts.cend(); ++it) {
        OcrParagraphBuilder builder(it.value().toHtmlEscaped());
        while (!builder.isFinished())
            builder.step();
        pages.insert(it.key(), builder.blocks());
    }
    QString html;
    for (const OcrTextBlock& block : joinPageBlocks(pages))
        html += block.toHtml();
    return html;
}

} // namespace OcrParagraphs
