#include "quillbook/fb2/FbBinaries.h"

#include "quillbook/reader/ConfinedPath.h"
#include "quillbook/reader/ReaderLimits.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextCodec>

#include <cstring>
#include <memory>

namespace fb2 {

namespace {

constexpr int blockBytes = 1 << 16;

// Base64 text decoded as it arrives and written to a file in blocks. Characters outside the
// alphabet (line breaks, blanks) are skipped; "=" ends the bits of the current group.
class Base64File
{
public:
    explicit Base64File(const QString& path)
    {
        if (!path.isEmpty() && QDir().mkpath(QFileInfo(path).absolutePath()))
            m_file.setFileName(path);
        if (!m_file.fileName().isEmpty() && !m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            m_file.setFileName(QString());
        m_out.reserve(blockBytes);
    }

    void feed(const char* data, int size)
    {
        for (int i = 0; i < size; ++i) {
            const int value = sextet(uchar(data[i]));
            if (value == padding) {
                m_bits = 0;
                m_count = 0;
            } else if (value >= 0) {
                m_bits = (m_bits << 6) | quint32(value);
                m_count += 6;
                if (m_count >= 8) {
                    m_count -= 8;
                    m_out.append(char((m_bits >> m_count) & 0xFF));
                    if (m_out.size() >= blockBytes)
                        flush();
                }
            }
        }
    }

    // True when the decoded bytes were written whole.
    bool finish()
    {
        flush();
        if (!m_file.isOpen())
            return false;
        m_file.close();
        if (!m_written)
            m_file.remove();
        return m_written;
    }

private:
    static constexpr int padding = -2;

    static int sextet(uchar c)
    {
        if (c >= 'A' && c <= 'Z')
            return c - 'A';
        if (c >= 'a' && c <= 'z')
            return c - 'a' + 26;
        if (c >= '0' && c <= '9')
            return c - '0' + 52;
        if (c == '+' || c == '-')
            return 62;
        if (c == '/' || c == '_')
            return 63;
        return c == '=' ? padding : -1;
    }

    void flush()
    {
        if (m_file.isOpen() && !m_out.isEmpty())
            m_written = m_file.write(m_out) == m_out.size() && m_written;
        m_out.clear();
    }

    QFile m_file;
    QByteArray m_out;
    quint32 m_bits = 0;
    int m_count = 0;
    bool m_written = true;
};

// The value of an attribute as XML gives it: the five named entities and character references
// decoded.
QString attributeValue(const QString& raw)
{
    QString value;
    for (int i = 0; i < raw.size(); ++i) {
        const int end = raw.at(i) == QLatin1Char('&') ? raw.indexOf(QLatin1Char(';'), i) : -1;
        if (end < 0) {
            value += raw.at(i);
            continue;
        }
        const QString name = raw.mid(i + 1, end - i - 1);
        static const QMap<QString, QString> named = {
            {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}};
        bool ok = false;
        uint code = 0;
        if (name.startsWith(QLatin1String("#x")))
            code = name.midRef(2).toUInt(&ok, 16);
        else if (name.startsWith(QLatin1Char('#')))
            code = name.midRef(1).toUInt(&ok, 10);
        if (ok && code > 0 && code <= 0x10FFFF)
            value += QString::fromUcs4(&code, 1);
        else
            value += named.value(name, raw.mid(i, end - i + 1));
        i = end;
    }
    return value;
}

// The "id" attribute of a start tag (the tag's text from "<" to ">").
QString idOf(const QString& tag)
{
    int at = 1;
    while (at < tag.size() && !tag.at(at).isSpace() && tag.at(at) != QLatin1Char('/') && tag.at(at) != QLatin1Char('>'))
        ++at;
    while (at < tag.size()) {
        while (at < tag.size() && (tag.at(at).isSpace() || tag.at(at) == QLatin1Char('/')))
            ++at;
        const int nameStart = at;
        while (at < tag.size() && tag.at(at) != QLatin1Char('=') && !tag.at(at).isSpace() && tag.at(at) != QLatin1Char('>'))
            ++at;
        const QString name = tag.mid(nameStart, at - nameStart);
        while (at < tag.size() && tag.at(at).isSpace())
            ++at;
        if (at >= tag.size() || tag.at(at) != QLatin1Char('='))
            return QString();
        ++at;
        while (at < tag.size() && tag.at(at).isSpace())
            ++at;
        if (at >= tag.size())
            return QString();
        const QChar quote = tag.at(at);
        const int end = tag.indexOf(quote, at + 1);
        if ((quote != QLatin1Char('"') && quote != QLatin1Char('\'')) || end < 0)
            return QString();
        if (name == QLatin1String("id"))
            return attributeValue(tag.mid(at + 1, end - at - 1));
        at = end + 1;
    }
    return QString();
}

// The byte-level reading of the file: which markup construct the bytes belong to, how deep the
// elements nest, and where each binary element's text goes.
class Splitter
{
public:
    Splitter(const QString& folder, QTextCodec* codec, FbSplit& split)
        : m_folder(folder)
        , m_codec(codec)
        , m_split(split)
    {
    }

    void feed(const char* data, int size)
    {
        for (int i = 0; i < size;) {
            if (m_construct == None) {
                // Character data: everything up to the next "<" in one step.
                const char* open = static_cast<const char*>(memchr(data + i, '<', size_t(size - i)));
                const int end = open ? int(open - data) : size;
                text(data + i, end - i);
                i = end;
                if (open) {
                    beginMarkup();
                    ++i;
                }
                continue;
            }
            markupByte(data[i++]);
        }
    }

    // True when every element that was opened was closed (outside comments and the like).
    bool finish()
    {
        const bool balanced = !m_binary && m_construct == None && m_depth == 0 && m_opened;
        if (m_binary)
            endBinary();
        return balanced;
    }

private:
    enum Construct {
        None,
        Undetermined, // "<" and perhaps "!" seen
        StartTag,
        EndTag,
        Comment,
        CData,
        Instruction,
        Declaration,
    };

    void text(const char* data, int size)
    {
        if (m_binary)
            m_binary->feed(data, size);
        else
            m_split.document.append(data, size);
    }

    void beginMarkup()
    {
        m_construct = Undetermined;
        m_markup = "<";
        m_quote = 0;
        m_brackets = 0;
        m_tail = 0;
    }

    // Bytes of a construct that is not a tag go on as they come (to the document outside binaries;
    // inside one, a CDATA section's text is decoded and anything else dropped).
    void pass(char c)
    {
        if (!m_binary)
            m_split.document.append(c);
        else if (m_construct == CData)
            m_binary->feed(&c, 1);
    }

    void determine(char c)
    {
        m_markup.append(c);
        static const QByteArray comment("<!--"), cdata("<![CDATA[");
        if (m_markup.size() == 2 && c == '?')
            m_construct = Instruction;
        else if (m_markup.size() == 2 && c == '/')
            m_construct = EndTag;
        else if (m_markup.size() == 2 && c != '!')
            m_construct = StartTag;
        else if (m_markup == comment)
            m_construct = Comment;
        else if (m_markup == cdata)
            m_construct = CData;
        else if (!comment.startsWith(m_markup) && !cdata.startsWith(m_markup))
            m_construct = Declaration;
        if (m_construct == Undetermined || m_construct == StartTag || m_construct == EndTag)
            return;
        // The opening was read whole; what follows streams through pass().
        if (!m_binary)
            m_split.document.append(m_markup);
        const QByteArray rest = m_markup.mid(m_construct == Declaration ? 2 : m_markup.size());
        m_markup.clear();
        for (char r : rest)
            declarationByte(r);
    }

    void markupByte(char c)
    {
        switch (m_construct) {
        case Undetermined:
            determine(c);
            if (m_construct == StartTag || m_construct == EndTag)
                tagByte(c, false);
            return;
        case StartTag:
        case EndTag:
            tagByte(c, true);
            return;
        case Declaration:
            pass(c);
            declarationByte(c);
            return;
        case Comment:
        case CData:
        case Instruction: {
            pass(c);
            m_tail = (m_tail << 8) | uchar(c);
            const quint32 end = m_construct == Comment ? 0x2D2D3E : m_construct == CData ? 0x5D5D3E
                                                                                         : 0x3F3E;
            const quint32 mask = m_construct == Instruction ? 0xFFFF : 0xFFFFFF;
            if ((m_tail & mask) == end)
                m_construct = None;
            return;
        }
        case None:
            return;
        }
    }

    void declarationByte(char c)
    {
        if (m_quote) {
            if (c == m_quote)
                m_quote = 0;
        } else if (c == '"' || c == '\'') {
            m_quote = c;
        } else if (c == '[') {
            ++m_brackets;
        } else if (c == ']') {
            --m_brackets;
        } else if (c == '>' && m_brackets <= 0) {
            m_construct = None;
        }
    }

    // A start or end tag is kept whole until its ">" (outside quoted values) to learn its name.
    void tagByte(char c, bool append)
    {
        if (append)
            m_markup.append(c);
        if (m_quote) {
            if (c == m_quote)
                m_quote = 0;
            return;
        }
        if (c == '"' || c == '\'') {
            m_quote = c;
            return;
        }
        if (c != '>')
            return;
        const Construct construct = m_construct;
        m_construct = None;
        if (construct == EndTag)
            endTag();
        else
            startTag();
        m_markup.clear();
    }

    void startTag()
    {
        const bool empty = m_markup.endsWith("/>");
        if (m_binary) {
            if (!empty)
                ++m_binaryDepth;
            return;
        }
        // A binary element outside the root's children (in a body that was never closed, say) is
        // not a picture of a sound book, but its text must not reach the document either: the
        // book would then take several times its size in memory before it fails to parse.
        if (m_depth >= 1 && !empty && localName(m_markup) == "binary") {
            beginBinary(m_codec ? m_codec->toUnicode(m_markup) : QString::fromUtf8(m_markup));
            return;
        }
        m_split.document.append(m_markup);
        m_opened = true;
        if (!empty)
            ++m_depth;
    }

    void endTag()
    {
        if (m_binary) {
            if (m_binaryDepth-- == 0)
                endBinary();
            return;
        }
        m_split.document.append(m_markup);
        --m_depth;
    }

    static QByteArray localName(const QByteArray& tag)
    {
        int end = 1;
        while (end < tag.size() && !QChar::isSpace(uchar(tag.at(end))) && tag.at(end) != '/' && tag.at(end) != '>')
            ++end;
        const QByteArray name = tag.mid(1, end - 1);
        return name.mid(name.lastIndexOf(':') + 1);
    }

    void beginBinary(const QString& tag)
    {
        const QString id = idOf(tag);
        const QString path = id.isEmpty() ? QString() : ConfinedPath::resolve(m_folder, id);
        const bool usable = !path.isEmpty() && !QFileInfo(path).isDir();
        m_binaryId = usable ? id : QString();
        m_binary.reset(new Base64File(usable ? path : QString()));
        m_binaryPath = usable ? path : QString();
        m_binaryDepth = 0;
    }

    void endBinary()
    {
        if (m_binary->finish())
            m_split.binaries.insert(m_binaryId, m_binaryPath);
        else
            m_split.binaries.remove(m_binaryId);
        m_binary.reset();
    }

    const QString m_folder;
    QTextCodec* const m_codec;
    FbSplit& m_split;
    Construct m_construct = None;
    QByteArray m_markup;
    char m_quote = 0;
    int m_brackets = 0;
    quint32 m_tail = 0;
    int m_depth = 0;
    bool m_opened = false;
    std::unique_ptr<Base64File> m_binary;
    QString m_binaryId;
    QString m_binaryPath;
    int m_binaryDepth = 0;
};

} // namespace

FbSplit splitBinaries(const QString& path, const QString& folder, QTextCodec* codec)
{
    FbSplit split;
    QFile file(path);
    if (file.size() > ReaderLimits::bookFileBytes) {
        split.status = FbSplit::TooLarge;
        return split;
    }
    if (!file.open(QIODevice::ReadOnly))
        return split;
    Splitter splitter(folder, codec, split);
    QByteArray block(blockBytes, Qt::Uninitialized);
    qint64 count;
    while ((count = file.read(block.data(), block.size())) > 0)
        splitter.feed(block.constData(), int(count));
    const bool balanced = splitter.finish();
    split.status = count < 0 ? FbSplit::Unreadable : balanced ? FbSplit::Read
                                                              : FbSplit::Malformed;
    return split;
}

} // namespace fb2
