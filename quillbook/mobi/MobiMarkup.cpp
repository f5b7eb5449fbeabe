// The rewrite of a MOBI book's markup into HTML that a web view shows as the book meant: link
// targets become named anchors, links point at them, pictures at the files saved beside the page,
// page breaks become CSS page breaks, and every heading gets an anchor of its own. Each pass runs
// in time linear in the text, however the text is made.
#include "MobiDocument.h"

#include <QRegularExpression>
#include <QUuid>

#include <map>

namespace mobi {

namespace {

// A link to a file position: <a filepos=123>, <a href="..." filepos="123">.
const QRegularExpression& linkPattern()
{
    static const QRegularExpression pattern(QStringLiteral("<a(?: href=\"[^\"]*\"){0,1}[\\s]+filepos=['\"]{0,1}([\\d]+)[\"']{0,1}"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

struct Insertion
{
    int position;
    QString text;
};

// text with each insertion put in front of the character at its position; positions ascend.
QString applyInsertions(const QString& text, const QVector<Insertion>& insertions)
{
    if (insertions.isEmpty())
        return text;
    QString out;
    int copied = 0;
    for (const Insertion& insertion : insertions) {
        out += text.midRef(copied, insertion.position - copied);
        out += insertion.text;
        copied = insertion.position;
    }
    out += text.midRef(copied);
    return out;
}

QString anchor(const char* attribute, const QString& value)
{
    return QStringLiteral("<a %1=\"%2\">&nbsp;</a>").arg(QLatin1String(attribute), value);
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Turns byte offsets into the book's text (what a file position counts) into character
// positions, for offsets given in ascending order.
class TextPositions
{
public:
    TextPositions(const QString& text, bool singleByte)
        : m_text(text)
        , m_singleByte(singleByte)
    {
    }

    qint64 at(qint64 byteOffset)
    {
        if (m_singleByte)
            return byteOffset;
        while (m_bytes < byteOffset && m_index < m_text.size()) {
            const ushort c = m_text.at(m_index).unicode();
            if (QChar::isHighSurrogate(c) && m_index + 1 < m_text.size() && m_text.at(m_index + 1).isLowSurrogate()) {
                m_bytes += 4;
                m_index += 2;
            } else {
                m_bytes += c < 0x80 ? 1 : c < 0x800 ? 2
                                                    : 3;
                ++m_index;
            }
        }
        return m_bytes < byteOffset ? m_text.size() : m_index;
    }

private:
    const QString& m_text;
    const bool m_singleByte;
    qint64 m_bytes = 0;
    int m_index = 0;
};

// Puts a named anchor at each position that a link points to: in front of the character there,
// or in front of the tag that the position falls into.
QString insertLinkTargets(const QString& text, bool singleByte)
{
    std::map<quint32, QString> targets;
    QRegularExpressionMatchIterator matches = linkPattern().globalMatch(text);
    while (matches.hasNext()) {
        const QString digits = matches.next().captured(1);
        bool ok = false;
        const quint32 value = digits.toUInt(&ok);
        if (ok && value != 0)
            targets[value] = digits;
    }
    QVector<Insertion> insertions;
    TextPositions positions(text, singleByte);
    int scanned = 0;
    int lastBracket = -1;
    for (const auto& target : targets) {
        const qint64 position = positions.at(target.first);
        if (position >= text.size())
            break;
        for (; scanned < position; ++scanned) {
            if (text.at(scanned) == QLatin1Char('<') || text.at(scanned) == QLatin1Char('>'))
                lastBracket = scanned;
        }
        const bool insideTag = lastBracket >= 0 && text.at(lastBracket) == QLatin1Char('<');
        insertions.append({insideTag ? lastBracket : int(position), anchor("name", target.second)});
    }
    return applyInsertions(text, insertions);
}

// The picture file that a recindex names: recindex counts the pictures from 1, the files from 0.
QString pictureFile(const QString& recindex)
{
    bool ok = false;
    const quint32 value = recindex.toUInt(&ok);
    const QString number = ok && value > 0 ? QStringLiteral("%1").arg(value - 1, 5, 10, QLatin1Char('0')) : recindex;
    return QStringLiteral("pdbrec_%1.jpg").arg(number);
}

// Replaces each <img ... recindex="N" ...> by a centred picture: from "<img" to the first ">"
// after the first recindex="digits" that follows it.
QString rewritePictures(const QString& text)
{
    const QLatin1String open("<img"), attribute("recindex=\"");
    QString out;
    int copied = 0;
    int from = 0;
    for (;;) {
        const int start = text.indexOf(open, from, Qt::CaseInsensitive);
        if (start < 0)
            break;
        int digitsEnd = -1;
        QString digits;
        for (int at = start + open.size(); (at = text.indexOf(attribute, at, Qt::CaseInsensitive)) >= 0; ++at) {
            const int first = at + attribute.size();
            int end = first;
            while (end < text.size() && isAsciiDigit(text.at(end)))
                ++end;
            if (end < text.size() && text.at(end) == QLatin1Char('"')) {
                digits = text.mid(first, end - first);
                digitsEnd = end;
                break;
            }
        }
        const int close = digitsEnd < 0 ? -1 : text.indexOf(QLatin1Char('>'), digitsEnd + 1);
        if (close < 0)
            break; // no later picture can match either
        out += text.midRef(copied, start - copied);
        out += QStringLiteral("<center><img src=\"%1\"></center>").arg(pictureFile(digits));
        copied = from = close + 1;
    }
    out += text.midRef(copied);
    return out;
}

// The end of the heading <hN attributes>...</hN> (N 1 to 4, any case) that starts at start, or -1.
// noCloseFrom[N] remembers where a search for </hN> already failed; spent counts what was read.
int headingEnd(const QString& text, int start, int noCloseFrom[5], qint64& spent)
{
    if (start + 2 >= text.size())
        return -1;
    const QChar level = text.at(start + 2);
    if (level < QLatin1Char('1') || level > QLatin1Char('4'))
        return -1;
    int at = start + 3;
    while (at < text.size() && text.at(at) != QLatin1Char('>')) {
        const QChar c = text.at(at);
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const int quoteEnd = text.indexOf(c, at + 1);
            spent += (quoteEnd < 0 ? text.size() : quoteEnd) - at;
            if (quoteEnd < 0)
                return -1;
            at = quoteEnd;
        }
        ++at;
        ++spent;
    }
    const int n = level.digitValue();
    if (at >= text.size() || at + 1 >= noCloseFrom[n])
        return -1;
    const QString close = QStringLiteral("</h") + level + QLatin1Char('>');
    const int found = text.indexOf(close, at + 1, Qt::CaseInsensitive);
    spent += (found < 0 ? text.size() : found) - at;
    if (found < 0) {
        noCloseFrom[n] = at + 1;
        return -1;
    }
    return found + close.size();
}

// Puts a fresh anchor right after every heading of levels 1 to 4.
QString anchorHeadings(const QString& text)
{
    // A text made to send the scan back and forth stops getting anchors; real books never come
    // near this.
    const qint64 budget = 16 * qint64(text.size()) + 4096;
    qint64 spent = 0;
    int noCloseFrom[5] = {INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX};
    QVector<Insertion> insertions;
    int from = 0;
    while (spent < budget) {
        const int start = text.indexOf(QLatin1String("<h"), from, Qt::CaseInsensitive);
        if (start < 0)
            break;
        spent += start - from;
        const int end = headingEnd(text, start, noCloseFrom, spent);
        if (end < 0) {
            from = start + 1;
            continue;
        }
        const QString id = QUuid::createUuid().toString(QUuid::Id128);
        insertions.append({end, anchor("id", id)});
        from = end;
    }
    return applyInsertions(text, insertions);
}

} // namespace

QString MobiDocument::rewriteHtml(const QString& text, bool singleByte)
{
    QString html = insertLinkTargets(text, singleByte);
    html.replace(linkPattern(), QStringLiteral("<a href=\"#\\1\""));
    html = rewritePictures(html);
    html.replace(QStringLiteral("<mbp:pagebreak/>"), QStringLiteral("<p style=\"page-break-after:always\"></p>"));
    return anchorHeadings(html);
}

} // namespace mobi
