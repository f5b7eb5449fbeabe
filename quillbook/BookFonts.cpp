#include "quillbook/BookFonts.h"

#include "quillbook/FontRenaming.h"
#include "quillbook/reader/ConfinedPath.h"

#include "app/core/Logger.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QUrl>
#include <QUuid>

namespace {

// Fonts larger than this are no book's text fonts; they go in as they are.
constexpr qint64 maxFontBytes = 64 << 20;

// The position of the first match of word (lower case ASCII) at or after from, without regard to
// case; -1 when there is none.
int indexOfNoCase(const QByteArray& text, const char* word, int from)
{
    const int length = int(qstrlen(word));
    for (int at = from; at + length <= text.size(); ++at) {
        if (qstrnicmp(text.constData() + at, word, uint(length)) == 0)
            return at;
    }
    return -1;
}

// Just past the string or comment that starts at at, or at itself when none starts there.
int skipStringOrComment(const QByteArray& css, int at)
{
    const char c = css.at(at);
    if (c == '"' || c == '\'') {
        for (int i = at + 1; i < css.size(); ++i) {
            if (css.at(i) == '\\')
                ++i;
            else if (css.at(i) == c)
                return i + 1;
        }
        return css.size();
    }
    if (c == '/' && at + 1 < css.size() && css.at(at + 1) == '*') {
        const int end = css.indexOf("*/", at + 2);
        return end < 0 ? css.size() : end + 2;
    }
    return at;
}

// Splits [from, to) at the characters in separators that lie outside strings, comments and
// parentheses; the pieces as (start, end) pairs.
QVector<QPair<int, int>> split(const QByteArray& css, int from, int to, char separator)
{
    QVector<QPair<int, int>> pieces;
    int start = from;
    int parentheses = 0;
    for (int at = from; at < to;) {
        const int skipped = skipStringOrComment(css, at);
        if (skipped != at) {
            at = skipped;
            continue;
        }
        const char c = css.at(at);
        if (c == '(')
            ++parentheses;
        else if (c == ')')
            parentheses = qMax(0, parentheses - 1);
        else if (c == separator && parentheses == 0) {
            pieces.append({start, at});
            start = at + 1;
        }
        ++at;
    }
    pieces.append({start, qMin(to, css.size())});
    return pieces;
}

// The end of the block whose "{" is at open: the position of its "}" (the text's end when it has none).
int blockEnd(const QByteArray& css, int open)
{
    int depth = 0;
    for (int at = open; at < css.size();) {
        const int skipped = skipStringOrComment(css, at);
        if (skipped != at) {
            at = skipped;
            continue;
        }
        if (css.at(at) == '{')
            ++depth;
        else if (css.at(at) == '}' && --depth == 0)
            return at;
        ++at;
    }
    return css.size();
}

// The addresses of the url() items of a src value, in order.
QStringList urlsOf(const QByteArray& value)
{
    QStringList urls;
    for (int at = indexOfNoCase(value, "url(", 0); at >= 0; at = indexOfNoCase(value, "url(", at + 1)) {
        int begin = at + 4;
        while (begin < value.size() && QChar::isSpace(uchar(value.at(begin))))
            ++begin;
        int end;
        if (begin < value.size() && (value.at(begin) == '"' || value.at(begin) == '\'')) {
            end = value.indexOf(value.at(begin), begin + 1);
            ++begin;
        } else {
            end = value.indexOf(')', begin);
        }
        if (end < 0)
            break;
        urls.append(QString::fromUtf8(value.mid(begin, end - begin)).trimmed());
    }
    return urls;
}

// A family name as a CSS string: quotes, backslashes and anything outside printable ASCII escaped.
QByteArray cssString(const QString& text)
{
    QByteArray out("\"");
    for (const uint c : text.toUcs4()) {
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\')
            out.append(char(c));
        else
            out.append('\\').append(QByteArray::number(c, 16)).append(' ');
    }
    return out.append('"');
}

QByteArray readWhole(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeWhole(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        Logger::instance()->log(QStringLiteral("Book fonts not adopted in:%1").arg(path), Logger::Warning);
}

} // namespace

BookFonts::BookFonts(const QString& workFolder)
    : m_workFolder(workFolder)
{
}

BookFonts::~BookFonts()
{
    for (int id : qAsConst(m_fontIds))
        QFontDatabase::removeApplicationFont(id);
}

int BookFonts::adopt(const QStringList& pages)
{
    int count = 0;
    QDirIterator sheets(m_workFolder, {QStringLiteral("*.css")}, QDir::Files, QDirIterator::Subdirectories);
    while (sheets.hasNext()) {
        const QString path = sheets.next();
        if (ConfinedPath::contains(m_workFolder, path))
            adoptIn(path, true, &count);
    }
    for (const QString& page : pages)
        adoptIn(page, false, &count);
    return count;
}

void BookFonts::adoptIn(const QString& path, bool styleSheet, int* count)
{
    const QByteArray text = readWhole(path);
    if (indexOfNoCase(text, "@font-face", 0) < 0)
        return;
    const QString base = QFileInfo(path).absolutePath();
    const QByteArray rewritten = styleSheet ? rewrite(text, base, count) : rewriteStyleElements(text, base, count);
    if (rewritten != text)
        writeWhole(path, rewritten);
}

QByteArray BookFonts::rewriteStyleElements(const QByteArray& page, const QString& baseFolder, int* count)
{
    QByteArray out;
    int copied = 0;
    for (int open = indexOfNoCase(page, "<style", 0); open >= 0; open = indexOfNoCase(page, "<style", open + 1)) {
        const int start = page.indexOf('>', open);
        const int end = start < 0 ? -1 : indexOfNoCase(page, "</style", start);
        if (end < 0)
            break;
        out += page.mid(copied, start + 1 - copied);
        out += rewrite(page.mid(start + 1, end - start - 1), baseFolder, count);
        copied = open = end;
    }
    return out + page.mid(copied);
}

QByteArray BookFonts::rewrite(const QByteArray& css, const QString& baseFolder, int* count)
{
    const QUrl base = QUrl::fromLocalFile(baseFolder + QLatin1Char('/'));
    QByteArray out;
    int copied = 0;
    for (int rule = indexOfNoCase(css, "@font-face", 0); rule >= 0; rule = indexOfNoCase(css, "@font-face", rule + 1)) {
        const int open = css.indexOf('{', rule);
        if (open < 0)
            break;
        const int close = blockEnd(css, open);
        for (const auto& declaration : split(css, open + 1, close, ';')) {
            const int colon = css.indexOf(':', declaration.first);
            if (colon < 0 || colon >= declaration.second
                || css.mid(declaration.first, colon - declaration.first).trimmed().toLower() != "src")
                continue;
            QString family;
            for (const QString& address : urlsOf(css.mid(colon + 1, declaration.second - colon - 1))) {
                const QUrl url = base.resolved(QUrl(address));
                const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
                if (!path.isEmpty() && ConfinedPath::contains(m_workFolder, path) && QFileInfo(path).isFile())
                    family = familyOf(path);
                if (!family.isEmpty())
                    break;
            }
            if (family.isEmpty())
                continue;
            out += css.mid(copied, colon + 1 - copied);
            out += " local(" + cssString(family) + ")";
            copied = declaration.second;
            ++*count;
        }
        rule = close;
    }
    return out + css.mid(copied);
}

QString BookFonts::familyOf(const QString& fontPath)
{
    const auto known = m_families.constFind(fontPath);
    if (known != m_families.constEnd())
        return known.value();
    // Under a family name of its own, so that no installed font of the book font's family can
    // stand in for it; a font whose names cannot be rewritten goes in as it is.
    const QByteArray font = QFileInfo(fontPath).size() <= maxFontBytes ? readWhole(fontPath) : QByteArray();
    const QString ownFamily = QStringLiteral("Book Font %1 %2")
                                  .arg(m_fontIds.size() + 1)
                                  .arg(QUuid::createUuid().toString(QUuid::Id128).left(12));
    const QByteArray renamed = FontRenaming::withFamily(font, ownFamily);
    int id = renamed.isEmpty() ? -1 : QFontDatabase::addApplicationFontFromData(renamed);
    if (id < 0)
        id = QFontDatabase::addApplicationFont(fontPath);
    const QString family = id < 0 ? QString() : QFontDatabase::applicationFontFamilies(id).value(0);
    if (id >= 0)
        m_fontIds.append(id);
    m_families.insert(fontPath, family);
    Logger::instance()->log(family.isEmpty() ? QStringLiteral("Book font not readable:%1").arg(fontPath)
                                             : QStringLiteral("Book font:%1 (%2)").arg(fontPath, family),
                            Logger::Debug);
    return family;
}
