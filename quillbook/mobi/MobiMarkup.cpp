// The rewrite of a MOBI book's markup into HTML that a web view shows as the book meant: link
// targets become named anchors, links point at them, pictures at the files saved beside the page,
// page breaks become CSS page breaks, and every heading gets an anchor of its own. Each pass runs
// in time linear in the text, however the text is made.
#include "quillbook/mobi/MobiDocument.h"

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
// after its recindex="digits". A picture tag without a recindex attribute stays as it is.
QString rewritePictures(const QString& text)
{
    const QLatin1String open("<img"), attribute("recindex=\"");
    QString out;
    int copied = 0;
    for (int start = text.indexOf(open, 0, Qt::CaseInsensitive); start >= 0;
         start = text.indexOf(open, start + 1, Qt::CaseInsensitive)) {
        const int tagEnd = text.indexOf(QLatin1Char('>'), start);
        if (tagEnd < 0)
            break; // no later picture can be whole either
        // Only the tag itself is searched, so that each tag costs its own length.
        const QStringRef tag = text.midRef(start, tagEnd - start);
        QString digits;
        int close = -1;
        for (int found = tag.indexOf(attribute, open.size(), Qt::CaseInsensitive); found >= 0;
             found = tag.indexOf(attribute, found + 1, Qt::CaseInsensitive)) {
            const int first = start + found + attribute.size();
            int end = first;
            while (end < text.size() && isAsciiDigit(text.at(end)))
                ++end;
            if (end < text.size() && text.at(end) == QLatin1Char('"')) {
                digits = text.mid(first, end - first);
                close = text.indexOf(QLatin1Char('>'), end + 1);
                break;
            }
        }
        if (close < 0) {
            start = tagEnd;
            continue;
        }
        out += text.midRef(copied, start - copied);
        out += QStringLiteral("<center><img src=\"%1\"></center>").arg(pictureFile(digits));
        start = close;
        copied = close + 1;
    }
    out += text.midRef(copied);
    return out;
}

// True when [from, to) of text shows something: text other than white space and no-break spaces,
// or a picture or rule. The document head shows nothing.
bool showsSomething(const QString& text, int from, int to)
{
    for (int at = from; at < to; ++at) {
        const QChar c = text.at(at);
        if (c == QLatin1Char('<')) {
            const QStringRef tag = text.midRef(at, 5);
            if (tag.startsWith(QLatin1String("<img"), Qt::CaseInsensitive)
                || tag.startsWith(QLatin1String("<hr"), Qt::CaseInsensitive))
                return true;
            const int end = tag.startsWith(QLatin1String("<head"), Qt::CaseInsensitive)
                                ? text.indexOf(QLatin1String("</head"), at, Qt::CaseInsensitive)
                                : at;
            at = text.indexOf(QLatin1Char('>'), end < 0 ? at : end);
            if (at < 0 || at >= to)
                return false;
        } else if (c == QLatin1Char('&')) {
            const QStringRef entity = text.midRef(at, 6);
            if (!entity.startsWith(QLatin1String("&nbsp;")) && !entity.startsWith(QLatin1String("&#160;")))
                return true;
            at += entity.size() - 1;
        } else if (!c.isSpace() && c != QChar(0xA0)) {
            return true;
        }
    }
    return false;
}

// Page breaks become CSS page breaks, except those that would give a page with nothing on it:
// a break with nothing shown since the previous one (or the start), or nothing after it.
QString breakPages(const QString& text)
{
    const QLatin1String marker("<mbp:pagebreak/>");
    QVector<int> breaks;
    for (int at = text.indexOf(marker); at >= 0; at = text.indexOf(marker, at + marker.size()))
        breaks.append(at);
    if (breaks.isEmpty())
        return text;
    // shown[i]: whether the stretch after break i - 1 (the start for 0) and before break i shows anything.
    QVector<bool> shown;
    for (int i = 0; i <= breaks.size(); ++i) {
        const int from = i == 0 ? 0 : breaks.at(i - 1) + marker.size();
        shown.append(showsSomething(text, from, i < breaks.size() ? breaks.at(i) : text.size()));
    }
    QVector<bool> shownLater(shown.size(), false);
    for (int i = shown.size() - 2; i >= 0; --i)
        shownLater[i] = shown.at(i + 1) || shownLater.at(i + 1);
    QString out;
    int copied = 0;
    bool pageShows = false;
    for (int i = 0; i < breaks.size(); ++i) {
        pageShows = pageShows || shown.at(i);
        out += text.midRef(copied, breaks.at(i) - copied);
        copied = breaks.at(i) + marker.size();
        if (pageShows && shownLater.at(i)) {
            out += QStringLiteral("<p style=\"page-break-after:always\"></p>");
            pageShows = false;
        }
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

bool MobiDocument::showsSomething(const QString& text)
{
    return mobi::showsSomething(text, 0, text.size());
}

QString MobiDocument::rewriteHtml(const QString& text, bool singleByte)
{
    QString html = insertLinkTargets(text, singleByte);
    html.replace(linkPattern(), QStringLiteral("<a href=\"#\\1\""));
    html = rewritePictures(html);
    html = breakPages(html);
    return anchorHeadings(html);
}

} // namespace mobi
