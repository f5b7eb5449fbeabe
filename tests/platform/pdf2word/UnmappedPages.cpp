#include "tests/platform/pdf2word/UnmappedPages.h"

#include "tests/platform/pdf2word/RealDocuments.h"
#include "tests/platform/pdf2word/UserDocuments.h"
#include "tests/platform/pdflibrary/PdfLibraryFixtures.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <functional>

namespace UnmappedPages {

namespace {

QString sibling(const QString& path, const QString& suffix)
{
    const QFileInfo info(path);
    return info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + suffix;
}

// Codes in the order of first use, from 1, as producers number the glyphs of a subset.
class FirstUseCodes
{
public:
    char code(char byte)
    {
        const int known = m_codes.value(uchar(byte), 0);
        if (known)
            return char(known);
        m_codes.insert(uchar(byte), m_codes.size() + 1);
        return char(m_codes.size());
    }
    // The original byte of each code, as a PostScript array.
    QByteArray inverse() const
    {
        QVector<int> bytes(256, 0);
        for (auto it = m_codes.cbegin(); it != m_codes.cend(); ++it)
            bytes[it.value()] = it.key();
        QByteArray array = "[";
        for (int byte : bytes)
            array += QByteArray::number(byte) + ' ';
        return array + ']';
    }

private:
    QHash<int, int> m_codes;
};

// The PostScript string starting at `at` ("(...)"): its bytes, escapes read; *end is past it.
QByteArray readString(const QByteArray& ps, int at, int* end)
{
    QByteArray bytes;
    int depth = 1;
    int i = at + 1;
    while (i < ps.size() && depth > 0) {
        const char c = ps[i];
        if (c == '\\' && i + 1 < ps.size()) {
            int value = 0;
            int digits = 0;
            while (digits < 3 && i + 1 + digits < ps.size() && ps[i + 1 + digits] >= '0' && ps[i + 1 + digits] <= '7')
                value = value * 8 + (ps[i + 1 + digits++] - '0');
            static const QHash<char, char> named = {{'n', '\n'}, {'r', '\r'}, {'t', '\t'}, {'b', '\b'}, {'f', '\f'}};
            bytes += digits ? char(value) : named.value(ps[i + 1], ps[i + 1]);
            i += 1 + (digits ? digits : 1);
            continue;
        }
        depth += c == '(' ? 1 : c == ')' ? -1
                                         : 0;
        if (depth > 0)
            bytes += c;
        ++i;
    }
    *end = i;
    return bytes;
}

// htmldoc's page descriptions with the strings shown in font `body` given first-use codes.
QByteArray recoded(const QByteArray& ps, const QByteArray& body, FirstUseCodes* codes)
{
    static const QRegularExpression setFont(QStringLiteral("^/(F\\d+)\\s*SF"));
    QByteArray out;
    QByteArray font;
    int i = 0;
    while (i < ps.size()) {
        if (ps[i] == '/') {
            const QRegularExpressionMatch match = setFont.match(QString::fromLatin1(ps.mid(i, 16)));
            if (match.hasMatch()) {
                font = match.captured(1).toLatin1();
                out += match.captured(0).toLatin1();
                i += match.capturedLength();
                continue;
            }
        }
        if (ps[i] != '(') {
            out += ps[i++];
            continue;
        }
        int end = 0;
        QByteArray bytes = readString(ps, i, &end);
        out += '(';
        for (char& byte : bytes)
            out += '\\' + QByteArray::number(uchar(font == body ? codes->code(byte) : byte), 8).rightJustified(3, '0');
        out += ')';
        i = end;
    }
    return out;
}

// The Type 3 font that draws code c as the body font's glyph of the byte it stands for; its glyph
// names ("ZAb") say nothing.
QByteArray typeThreeFont(const QByteArray& name, const QByteArray& original, const FirstUseCodes& codes)
{
    return "/" + name + "src0/" + original + " DF /" + name + "src /" + name + "src0 findfont 1000 scalefont def\n/" + name
           + "inv " + codes.inverse()
           + " def\n"
             "/Enc 256 array def 0 1 255 { Enc exch /.notdef put } for\n"
             "1 1 255 { /i exch def /s 3 string def s 0 (Z) putinterval s 1 i 26 idiv 65 add put s 2 i 26 mod 97 add put "
             "Enc i s cvn put } for\n/"
           + name
           + " << /FontType 3 /FontMatrix [0.001 0 0 0.001 0 0] /FontBBox [-200 -250 1200 950] /Encoding Enc\n"
             "  /BuildChar { exch pop "
           + name + "inv exch get " + name
           + "src setfont ( ) dup 0 4 -1 roll put dup stringwidth pop 0 -200 -250 1200 950 setcachedevice "
             "0 0 moveto false charpath fill } >> definefont pop\n";
}

bool ghostscriptPdf(const QString& postScript, const QString& path)
{
    TestFiles::run(QStringLiteral("gs"),
                   {QStringLiteral("-q"), QStringLiteral("-dNOPAUSE"), QStringLiteral("-dBATCH"), QStringLiteral("-dSAFER"),
                    QStringLiteral("-sDEVICE=pdfwrite"), QStringLiteral("-sOutputFile=") + path, postScript},
                   nullptr, nullptr, 600000);
    return QFileInfo(path).size() > 0;
}

// The Arabic font's map (a ToUnicode stream in QDF form) without the joining forms' entries.
QString withoutJoiningForms(const QString& map)
{
    QStringList lines = map.split(QLatin1Char('\n'));
    static const QRegularExpression form(QStringLiteral("^(<[0-9A-F]+> )+<FE[0-9A-F]{2}>$"));
    lines.erase(std::remove_if(lines.begin(), lines.end(), [](const QString& line) { return form.match(line).hasMatch(); }),
                lines.end());
    // The counts before each list of entries, counted again.
    for (int i = 0; i < lines.size(); ++i) {
        static const QRegularExpression begin(QStringLiteral("^\\d+ (begin(bfchar|bfrange))$"));
        const QRegularExpressionMatch match = begin.match(lines[i]);
        if (!match.hasMatch())
            continue;
        int count = 0;
        while (i + 1 + count < lines.size() && lines[i + 1 + count].startsWith(QLatin1Char('<')))
            ++count;
        lines[i] = QStringLiteral("%1 %2").arg(count).arg(match.captured(1));
    }
    return lines.join(QLatin1Char('\n'));
}

// The PDF's QDF form edited (Latin-1 text) and written again by qpdf.
bool editPdf(const QString& pdf, const QString& path, const std::function<bool(QString*)>& edit)
{
    const QString qdf = sibling(path, QStringLiteral("-qdf.pdf"));
    TestFiles::run(QStringLiteral("qpdf"), {QStringLiteral("--qdf"), QStringLiteral("--object-streams=disable"), pdf, qdf});
    const QByteArray bytes = TestFiles::readFile(qdf);
    QString text = QString::fromLatin1(bytes.constData(), bytes.size());
    QByteArray fixed;
    if (text.isEmpty() || !edit(&text) || !TestFiles::writeFile(qdf, text.toLatin1())
        || TestFiles::run(QStringLiteral("fix-qdf"), {qdf}, &fixed) != 0 || !TestFiles::writeFile(qdf, fixed))
        return false;
    TestFiles::run(QStringLiteral("qpdf"), {qdf, path});
    return QFileInfo(path).size() > 0;
}

} // namespace

QString paperHtml(int seed, int sections, int tables)
{
    QString html = QStringLiteral("<html><head><title>Computing in organizations</title></head><body>"
                                  "<h1>On the Adoption of Computing in Organizations</h1>");
    int table = 0;
    for (int s = 1; s <= sections; ++s) {
        html += QStringLiteral("<h2>%1. Findings of part %1</h2>").arg(s);
        for (int p = 0; p < 3; ++p)
            html += QStringLiteral("<p>%1</p>").arg(RealDocuments::prose(seed * 100 + s * 10 + p, 5));
        if (s % 2 != 0 || table >= tables)
            continue;
        ++table;
        const bool ruled = table % 2 == 1;
        html += QStringLiteral("<p>Table %1: Units and costs by year</p><table border=%2 cellpadding=%3>"
                               "<tr><th>Year</th><th>Units</th><th>Cost</th><th>Share</th></tr>")
                    .arg(table)
                    .arg(ruled ? 1 : 0)
                    .arg(ruled ? 3 : 6);
        for (int row = 0; row < 5; ++row)
            html += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3.%4</td><td>%5 percent</td></tr>")
                        .arg(1970 + table * 5 + row)
                        .arg(120 + (seed * 37 + row * 53 + table * 11) % 800)
                        .arg(3 + (row * 7 + table) % 9)
                        .arg((row * 29 + seed) % 90 + 10)
                        .arg((row * 13 + table * 7) % 60 + 5);
        html += QStringLiteral("</table>");
    }
    return html + QStringLiteral("</body></html>");
}

bool writeHtmldocPaperPdf(const QString& path, const QString& html)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString source = sibling(path, QStringLiteral(".html"));
    const QString printed = sibling(path, QStringLiteral("-htmldoc.ps"));
    if (!TestFiles::writeFile(source, html.toUtf8()))
        return false;
    TestFiles::run(QStringLiteral("htmldoc"), {QStringLiteral("--webpage"), QStringLiteral("--quiet"), QStringLiteral("-t"), QStringLiteral("ps3"), QStringLiteral("--no-embedfonts"), QStringLiteral("-f"), printed, source},
                   nullptr, nullptr, 300000);
    const QByteArray ps = TestFiles::readFile(printed);
    static const QRegularExpression bodyFont(QStringLiteral("/(F\\d+)/Times-Roman DF\\n"));
    const QRegularExpressionMatch body = bodyFont.match(QString::fromLatin1(ps));
    const int prologEnd = ps.indexOf("%%EndProlog");
    if (!body.hasMatch() || prologEnd < 0)
        return false;
    FirstUseCodes codes;
    const QByteArray pages = recoded(ps.mid(prologEnd), body.captured(1).toLatin1(), &codes);
    QByteArray prolog = ps.left(prologEnd);
    prolog.replace(body.captured(0).toLatin1(), typeThreeFont(body.captured(1).toLatin1(), "Times-Roman", codes));
    const QString edited = sibling(path, QStringLiteral("-type3.ps"));
    return TestFiles::writeFile(edited, prolog + pages) && ghostscriptPdf(edited, path);
}

QStringList arabicParagraphs()
{
    return {QStringLiteral("هذه فقرة باللغة العربية تتحدث عن الماء والهواء في المدينة القديمة. وكان الناس يعملون كل يوم في "
                           "الحقول القريبة من النهر."),
            QStringLiteral("في الصباح يذهب الأطفال إلى المدرسة، ويعود الرجال من السوق بالخبز والفاكهة. وفي المساء تجلس "
                           "الأسرة معا لتناول العشاء."),
            QStringLiteral("كانت الأمطار قليلة في ذلك العام، فحفر أهل القرية بئرا جديدة قرب المسجد الكبير، وشارك فيها الجميع."),
            QStringLiteral("وفي فصل الربيع تزهر الأشجار في البساتين، ويخرج الناس إلى الحدائق للتنزه والراحة بعد أيام العمل "
                           "الطويلة."),
            QStringLiteral("ويحكي كبار السن للأطفال قصصا عن تاريخ المدينة وعن التجار الذين كانوا يسافرون بين البلدان البعيدة.")};
}

QString arabicHeading()
{
    return QStringLiteral("Report on the old city");
}

bool writeArabicPdf(const QString& path, ArabicMap map)
{
    QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"><style>body{font-family:'DejaVu Sans';font-size:15pt}"
                                  "p{direction:rtl;margin-bottom:12pt}</style></head><body><h2>%1</h2>")
                       .arg(arabicHeading());
    for (const QString& paragraph : arabicParagraphs())
        html += QStringLiteral("<p>%1</p>").arg(paragraph);
    html += QStringLiteral("</body></html>");
    const QString printed = map == ArabicMap::Full ? path : sibling(path, QStringLiteral("-printed.pdf"));
    if (!UserDocuments::printWithChromium(html, printed, false))
        return false;
    if (map == ArabicMap::Full)
        return true;
    // The maps that give Arabic letters; the heading's font keeps its own.
    return editPdf(printed, path, [map](QString* pdf) {
        static const QRegularExpression named(QStringLiteral("  /ToUnicode (\\d+) 0 R\\n"));
        static const QRegularExpression arabic(QStringLiteral("> <(06|FE)[0-9A-F]{2}>"));
        bool edited = false;
        for (int at = 0;;) {
            const QRegularExpressionMatch match = named.match(*pdf, at);
            if (!match.hasMatch())
                break;
            at = match.capturedEnd();
            const int start = pdf->indexOf(QStringLiteral("stream\n"), pdf->indexOf(QStringLiteral("\n%1 0 obj\n").arg(match.captured(1))));
            const int end = pdf->indexOf(QStringLiteral("endstream"), start);
            if (start < 0 || end < 0 || !arabic.match(pdf->mid(start, end - start)).hasMatch())
                continue;
            edited = true;
            if (map == ArabicMap::None) {
                pdf->remove(match.capturedStart(), match.capturedLength());
                at = match.capturedStart();
            } else {
                pdf->replace(start, end - start, withoutJoiningForms(pdf->mid(start, end - start)));
            }
        }
        return edited;
    });
}

QStringList mixedScriptWords(const QStringList& words)
{
    QStringList mixed;
    for (const QString& word : words) {
        QSet<int> scripts;
        for (const uint c : word.toUcs4()) {
            const QChar::Script script = QChar::script(c);
            if (QChar::isLetter(c) && script != QChar::Script_Common && script != QChar::Script_Inherited)
                scripts.insert(script);
        }
        if (scripts.size() > 1)
            mixed << word;
    }
    return mixed;
}

QByteArray giantGlyphPdf()
{
    auto stream = [](const QByteArray& content) {
        return "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "\nendstream";
    };
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 5 0 R /F2 6 0 R >> >> "
        "/Contents 4 0 R >>",
        stream("BT /F1 12 Tf 72 720 Td (Words beside the glyphs) Tj ET\nBT /F2 24 Tf 72 650 Td (\\001\\002\\001) Tj ET"),
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        "<< /Type /Font /Subtype /Type3 /FontBBox [0 0 1000 1000] /FontMatrix [0.001 0 0 0.001 0 0] "
        "/CharProcs << /g1 7 0 R /g2 8 0 R >> /Encoding << /Type /Encoding /Differences [1 /g1 /g2] >> "
        "/FirstChar 1 /LastChar 2 /Widths [600 600] >>",
        stream("600 0 d0 50 0 500 700 re f"),
        stream("600 0 d0 0 0 1e30 1e30 re f"),
    };
    return PdfLibraryFixtures::pdfFile(objects, 1);
}

} // namespace UnmappedPages
