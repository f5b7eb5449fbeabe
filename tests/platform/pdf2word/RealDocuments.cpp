#include "tests/platform/pdf2word/RealDocuments.h"

#include "tests/platform/pdf2word/DocumentPdfs.h"
#include "tests/support/TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>

namespace RealDocuments {

namespace {

// A small deterministic generator: the same seed gives the same documents everywhere.
class Dice
{
public:
    explicit Dice(int seed)
        : m_state(quint32(seed) * 2654435761u + 12345u) {}
    int next(int bound)
    {
        m_state = m_state * 1664525u + 1013904223u;
        return int((m_state >> 8) % quint32(bound));
    }

private:
    quint32 m_state;
};

const char* const kShortWords[] = {"the", "of", "and", "a", "to", "in", "is", "that", "for", "it", "as", "was", "with",
                                   "be", "by", "on", "not", "this", "are", "or", "from", "at", "which", "but", "have",
                                   "an", "they", "were", "all", "there", "would", "their", "been", "has", "when", "will",
                                   "more", "if", "out", "so", "what", "up", "its", "into", "than", "them", "can", "only",
                                   "other", "new", "some", "could", "time", "these", "two", "may", "then", "first"};
const char* const kLongWords[] = {
    "efficient", "difficult", "office", "official", "affluent", "influence", "configuration", "information",
    "significant", "reflection", "workflow", "traffic", "baffling", "suffix", "offline", "fluorescent",
    "justification", "magnificent", "infrastructure", "superfluous", "identification", "classification",
    "effortlessly", "differentiation", "representative", "responsibility", "environmental", "characteristics",
    "approximately", "communication", "organization", "professional", "interpretation", "measurement",
    "distribution", "development", "understanding", "particularly", "consideration", "establishment",
    "fundamental", "appropriate", "independent", "experimental", "comprehensive", "satisfactory", "flourishing",
    "affirmative", "sufficiently", "scaffolding", "officially", "firsthand", "benefit", "flight", "field"};

QString xmlEscaped(const QString& text)
{
    return text.toHtmlEscaped();
}

QString pngBase64(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QString::fromLatin1(png.toBase64());
}

QString psString(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('('), QLatin1String("\\("))
        .replace(QLatin1Char(')'), QLatin1String("\\)"));
    return QLatin1Char('(') + escaped + QLatin1Char(')');
}

const char kArabic[] = "هذه فقرة باللغة العربية تتحدث عن الماء والهواء في المدينة القديمة. وكان الناس يعملون كل يوم في "
                       "الحقول القريبة من النهر.";
const char kHebrew[] = "זוהי פסקה בעברית על המים והאוויר בעיר העתיקה. האנשים עבדו כל יום בשדות הקרובים לנהר.";

} // namespace

void OfficeText::setRunningHead(const QString& text, bool onFirstPage)
{
    m_head = text;
    m_headOnFirstPage = onFirstPage;
}

void OfficeText::setFont(const QString& family, double points)
{
    m_font = family;
    m_size = points;
}

void OfficeText::heading(const QString& text)
{
    // The title opens the first page's own page style when the head starts on the second page.
    const bool titlePage = m_body.isEmpty() && !m_head.isEmpty() && !m_headOnFirstPage;
    m_body += QStringLiteral("<text:h text:style-name=\"%1\" text:outline-level=\"1\">%2</text:h>\n")
                  .arg(titlePage ? QStringLiteral("TitlePage") : QStringLiteral("Title"), xmlEscaped(text));
}

void OfficeText::authors(const QList<QStringList>& blocks)
{
    m_body += QStringLiteral("<text:section text:style-name=\"Columns%1\" text:name=\"Section%2\">\n").arg(blocks.size()).arg(++m_sections);
    for (int b = 0; b < blocks.size(); ++b) {
        for (int l = 0; l < blocks[b].size(); ++l) {
            // Each author starts a column of the section.
            const QString style = l > 0 ? QStringLiteral("Affiliation") : b > 0 ? QStringLiteral("NextAuthor")
                                                                                : QStringLiteral("Author");
            m_body += QStringLiteral("<text:p text:style-name=\"%1\">%2</text:p>\n").arg(style, xmlEscaped(blocks[b][l]));
        }
    }
    m_body += QStringLiteral("</text:section>\n");
}

void OfficeText::subheading(const QString& text, bool centred)
{
    m_body += QStringLiteral("<text:p text:style-name=\"%1\">%2</text:p>\n")
                  .arg(centred ? QStringLiteral("CentredHeading") : QStringLiteral("Subheading"), xmlEscaped(text));
}

void OfficeText::abstract(const QString& text)
{
    m_body += QStringLiteral("<text:p text:style-name=\"Abstract\">%1</text:p>\n").arg(xmlEscaped(text));
}

void OfficeText::paragraph(const QString& text, bool justified)
{
    // Marked-up pieces arrive between \x01 and \x02 and pass unescaped.
    QString xml;
    const QStringList parts = text.split(QChar(1));
    for (int i = 0; i < parts.size(); ++i) {
        const int end = parts[i].indexOf(QChar(2));
        if (i == 0 || end < 0) {
            xml += xmlEscaped(parts[i]);
            continue;
        }
        xml += parts[i].left(end) + xmlEscaped(parts[i].mid(end + 1));
    }
    m_body += QStringLiteral("<text:p text:style-name=\"%1\">%2</text:p>\n")
                  .arg(justified ? QStringLiteral("Body") : QStringLiteral("Plain"), xml);
}

void OfficeText::rightToLeft(const QString& text, const QString& language)
{
    m_body += QStringLiteral("<text:p text:style-name=\"%1\">%2</text:p>\n")
                  .arg(language == QLatin1String("ar") ? QStringLiteral("Arabic") : QStringLiteral("Hebrew"), xmlEscaped(text));
}

void OfficeText::beginColumns(int count)
{
    m_body += QStringLiteral("<text:section text:style-name=\"Columns%1\" text:name=\"Section%2\">\n").arg(count).arg(++m_sections);
}

void OfficeText::endColumns()
{
    m_body += QStringLiteral("</text:section>\n");
}

void OfficeText::table(const QList<QStringList>& rows)
{
    const int columns = rows.isEmpty() ? 0 : rows.front().size();
    QString xml = QStringLiteral("<table:table table:name=\"Table%1\" table:style-name=\"Table\">"
                                 "<table:table-column table:number-columns-repeated=\"%2\"/>\n")
                      .arg(++m_tables)
                      .arg(columns);
    for (const QStringList& row : rows) {
        xml += QStringLiteral("<table:table-row>");
        for (const QString& cell : row)
            xml += QStringLiteral("<table:table-cell table:style-name=\"Cell\" office:value-type=\"string\">"
                                  "<text:p text:style-name=\"Plain\">%1</text:p></table:table-cell>")
                       .arg(xmlEscaped(cell));
        xml += QStringLiteral("</table:table-row>\n");
    }
    m_body += xml + QStringLiteral("</table:table>\n");
}

void OfficeText::picture(const QImage& image, double widthCm, double heightCm)
{
    m_body += QStringLiteral("<text:p text:style-name=\"Plain\"><draw:frame draw:name=\"Picture%1\" text:anchor-type=\"as-char\" "
                             "svg:width=\"%2cm\" svg:height=\"%3cm\"><draw:image><office:binary-data>%4</office:binary-data>"
                             "</draw:image></draw:frame></text:p>\n")
                  .arg(++m_pictures)
                  .arg(widthCm)
                  .arg(heightCm)
                  .arg(pngBase64(image));
}

void OfficeText::code(const QStringList& lines)
{
    for (const QString& line : lines) {
        int indent = 0;
        while (indent < line.size() && line[indent] == QLatin1Char(' '))
            ++indent;
        m_body += QStringLiteral("<text:p text:style-name=\"Code\">%1%2</text:p>\n")
                      .arg(indent > 0 ? QStringLiteral("<text:s text:c=\"%1\"/>").arg(indent) : QString(),
                           xmlEscaped(line.mid(indent)));
    }
}

QString OfficeText::sub(const QString& text)
{
    return QStringLiteral("\x01<text:span text:style-name=\"Sub\">%1</text:span>\x02").arg(xmlEscaped(text));
}

QString OfficeText::sup(const QString& text)
{
    return QStringLiteral("\x01<text:span text:style-name=\"Sup\">%1</text:span>\x02").arg(xmlEscaped(text));
}

QString OfficeText::note(const QString& text)
{
    static int next = 0;
    return QStringLiteral("\x01<text:note text:id=\"n%1\" text:note-class=\"footnote\"><text:note-body>"
                          "<text:p text:style-name=\"Note\">%2</text:p></text:note-body></text:note>\x02")
        .arg(++next)
        .arg(xmlEscaped(text));
}

bool OfficeText::writePdf(const QString& pdfPath) const
{
    const QString size = QString::number(m_size) + QStringLiteral("pt");
    const QString foot = QStringLiteral("<style:footer><text:p text:style-name=\"Foot\"><text:page-number "
                                        "text:select-page=\"current\">1</text:page-number></text:p></style:footer>");
    const QString head = m_head.isEmpty() ? QString()
                                          : QStringLiteral("<style:header><text:p text:style-name=\"Head\">%1</text:p></style:header>")
                                                    .arg(xmlEscaped(m_head))
                                                + foot;
    // A title page: the page number without the head.
    const QString titlePage = QStringLiteral("<style:master-page style:name=\"TitlePage\" style:page-layout-name=\"Page\" "
                                             "style:next-style-name=\"Standard\">%1</style:master-page>")
                                  .arg(foot);
    const QString document = QStringLiteral(
                                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                                 "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
                                 "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\" "
                                 "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\" "
                                 "xmlns:xlink=\"http://www.w3.org/1999/xlink\" office:version=\"1.2\" office:mimetype=\"application/vnd.oasis.opendocument.text\">\n"
                                 "<office:font-face-decls><style:font-face style:name=\"%1\" svg:font-family=\"'%1'\"/>"
                                 "<style:font-face style:name=\"DejaVu Sans\" svg:font-family=\"'DejaVu Sans'\"/>"
                                 "<style:font-face style:name=\"DejaVu Sans Mono\" svg:font-family=\"'DejaVu Sans Mono'\"/></office:font-face-decls>\n"
                                 "<office:styles><style:default-style style:family=\"paragraph\"><style:text-properties style:font-name=\"%1\" "
                                 "fo:font-size=\"%2\" fo:language=\"en\" fo:country=\"US\" style:font-name-complex=\"DejaVu Sans\" "
                                 "style:font-size-complex=\"%2\" fo:hyphenate=\"true\" fo:hyphenation-remain-char-count=\"2\" "
                                 "fo:hyphenation-push-char-count=\"2\"/></style:default-style></office:styles>\n"
                                 "<office:automatic-styles>"
                                 "<style:style style:name=\"Title\" style:family=\"paragraph\"><style:paragraph-properties fo:text-align=\"center\" "
                                 "fo:margin-bottom=\"0.4cm\"/><style:text-properties fo:font-size=\"18pt\" fo:font-weight=\"bold\" fo:hyphenate=\"false\"/></style:style>"
                                 "<style:style style:name=\"TitlePage\" style:family=\"paragraph\" style:parent-style-name=\"Title\" "
                                 "style:master-page-name=\"TitlePage\"><style:paragraph-properties fo:text-align=\"center\" fo:margin-bottom=\"0.4cm\"/>"
                                 "<style:text-properties fo:font-size=\"18pt\" fo:font-weight=\"bold\" fo:hyphenate=\"false\"/></style:style>"
                                 "<style:style style:name=\"Author\" style:family=\"paragraph\"><style:paragraph-properties fo:text-align=\"center\"/>"
                                 "<style:text-properties fo:font-size=\"11pt\" fo:hyphenate=\"false\"/></style:style>"
                                 "<style:style style:name=\"NextAuthor\" style:family=\"paragraph\"><style:paragraph-properties fo:text-align=\"center\" "
                                 "fo:break-before=\"column\"/><style:text-properties fo:font-size=\"11pt\" fo:hyphenate=\"false\"/></style:style>"
                                 "<style:style style:name=\"Affiliation\" style:family=\"paragraph\"><style:paragraph-properties fo:text-align=\"center\"/>"
                                 "<style:text-properties fo:font-size=\"9pt\" fo:hyphenate=\"false\"/></style:style>"
                                 "<style:style style:name=\"Subheading\" style:family=\"paragraph\"><style:paragraph-properties fo:margin-top=\"0.3cm\" "
                                 "fo:margin-bottom=\"0.2cm\"/><style:text-properties fo:font-weight=\"bold\" fo:hyphenate=\"false\"/></style:style>"
                                 "<style:style style:name=\"CentredHeading\" style:family=\"paragraph\"><style:paragraph-properties fo:text-align=\"center\" "
                                 "fo:margin-top=\"0.5cm\" fo:margin-bottom=\"0.2cm\"/><style:text-properties fo:font-weight=\"bold\"/></style:style>"
                                 "<style:style style:name=\"Abstract\" style:family=\"paragraph\"><style:paragraph-properties fo:text-align=\"justify\" "
                                 "fo:margin-left=\"1.5cm\" fo:margin-right=\"1.5cm\" fo:margin-bottom=\"0.5cm\"/><style:text-properties fo:font-size=\"9pt\"/></style:style>"
                                 "<style:style style:name=\"Body\" style:family=\"paragraph\"><style:paragraph-properties fo:text-align=\"justify\" "
                                 "fo:text-indent=\"0.4cm\" fo:margin-bottom=\"0.1cm\"/></style:style>"
                                 "<style:style style:name=\"Plain\" style:family=\"paragraph\"><style:paragraph-properties fo:margin-bottom=\"0.2cm\"/></style:style>"
                                 "<style:style style:name=\"Code\" style:family=\"paragraph\"><style:text-properties style:font-name=\"DejaVu Sans Mono\" "
                                 "fo:font-size=\"8pt\" fo:hyphenate=\"false\"/></style:style>"
                                 "<style:style style:name=\"Note\" style:family=\"paragraph\"><style:text-properties fo:font-size=\"8pt\"/></style:style>"
                                 "<style:style style:name=\"Head\" style:family=\"paragraph\"><style:text-properties fo:font-size=\"8pt\" fo:font-style=\"italic\"/></style:style>"
                                 "<style:style style:name=\"Foot\" style:family=\"paragraph\"><style:paragraph-properties fo:text-align=\"center\"/></style:style>"
                                 "<style:style style:name=\"Arabic\" style:family=\"paragraph\"><style:paragraph-properties fo:text-align=\"end\" "
                                 "style:writing-mode=\"rl-tb\" fo:margin-bottom=\"0.2cm\"/><style:text-properties style:language-complex=\"ar\" style:country-complex=\"EG\"/></style:style>"
                                 "<style:style style:name=\"Hebrew\" style:family=\"paragraph\"><style:paragraph-properties fo:text-align=\"end\" "
                                 "style:writing-mode=\"rl-tb\" fo:margin-bottom=\"0.2cm\"/><style:text-properties style:language-complex=\"he\" style:country-complex=\"IL\"/></style:style>"
                                 "<style:style style:name=\"Sub\" style:family=\"text\"><style:text-properties style:text-position=\"sub 58%\"/></style:style>"
                                 "<style:style style:name=\"Sup\" style:family=\"text\"><style:text-properties style:text-position=\"super 58%\"/></style:style>"
                                 "<style:style style:name=\"Columns2\" style:family=\"section\"><style:section-properties><style:columns fo:column-count=\"2\" "
                                 "fo:column-gap=\"0.6cm\"/></style:section-properties></style:style>"
                                 "<style:style style:name=\"Columns3\" style:family=\"section\"><style:section-properties><style:columns fo:column-count=\"3\" "
                                 "fo:column-gap=\"0.5cm\"/></style:section-properties></style:style>"
                                 "<style:style style:name=\"Table\" style:family=\"table\"><style:table-properties style:width=\"16cm\" table:align=\"center\" "
                                 "fo:margin-top=\"0.3cm\" fo:margin-bottom=\"0.3cm\"/></style:style>"
                                 "<style:style style:name=\"Cell\" style:family=\"table-cell\"><style:table-cell-properties fo:padding=\"0.1cm\" "
                                 "fo:border=\"0.5pt solid #000000\"/></style:style>"
                                 "<style:page-layout style:name=\"Page\"><style:page-layout-properties fo:page-width=\"21cm\" fo:page-height=\"29.7cm\" "
                                 "fo:margin-top=\"1.5cm\" fo:margin-bottom=\"1.5cm\" fo:margin-left=\"2cm\" fo:margin-right=\"2cm\"/><style:header-style/>"
                                 "<style:footer-style/></style:page-layout></office:automatic-styles>\n"
                                 "<office:master-styles><style:master-page style:name=\"Standard\" style:page-layout-name=\"Page\">%3</style:master-page>"
                                 "%4</office:master-styles>\n<office:body><office:text>\n%5</office:text></office:body></office:document>\n")
                                 .arg(xmlEscaped(m_font), size, head, titlePage, m_body);
    const QFileInfo pdf(pdfPath);
    const QString source = pdf.absolutePath() + QLatin1Char('/') + pdf.completeBaseName() + QStringLiteral(".fodt");
    if (!TestFiles::writeFile(source, document.toUtf8()))
        return false;
    return DocumentPdfs::officeToPdf(source, pdf.absolutePath()) == pdf.absoluteFilePath();
}

QString prose(int seed, int sentences)
{
    Dice dice(seed);
    QStringList result;
    for (int s = 0; s < sentences; ++s) {
        QStringList words;
        const int count = 8 + dice.next(10);
        for (int w = 0; w < count; ++w) {
            words << QLatin1String(dice.next(3) == 0 ? kLongWords[dice.next(int(sizeof kLongWords / sizeof *kLongWords))]
                                                     : kShortWords[dice.next(int(sizeof kShortWords / sizeof *kShortWords))]);
        }
        words[0][0] = words[0][0].toUpper();
        result << words.join(QLatin1Char(' ')) + QLatin1Char('.');
    }
    return result.join(QLatin1Char(' '));
}

QImage transparentPicture(int seed)
{
    QImage image(360, 220, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromHsv((seed * 53) % 360, 200, 220, 140));
    painter.drawEllipse(10, 10, 340, 200);
    painter.setBrush(QColor::fromHsv((seed * 53 + 150) % 360, 220, 180));
    painter.drawRect(120, 70, 120, 80);
    return image;
}

namespace {

const char* const kSections[] = {"Introduction", "Related work", "Method", "Measurements", "Results", "Discussion", "Conclusion"};

// A paper's text from its two-column section on, that section begun: paragraphs with a
// footnote, sub- and superscripts, a picture, a listing, Arabic and Hebrew, and tables across the
// page in the middle; with a section heading every four paragraphs when headed.
void paperBody(OfficeText& text, Dice& dice, int seed, int pages, int tables, bool headed)
{
    const int paragraphs = qMax(6, pages * 7);
    int next = seed * 1000;
    for (int p = 0; p < paragraphs; ++p) {
        if (headed && p % 4 == 0)
            text.subheading(QStringLiteral("%1. %2").arg(p / 4 + 1).arg(QLatin1String(kSections[(p / 4) % 7])));
        QString body = prose(++next, 3 + dice.next(4));
        if (p == 1)
            body += QStringLiteral(" A flask held H") + OfficeText::sub(QStringLiteral("2")) + QStringLiteral("O and the area grew as x")
                    + OfficeText::sup(QStringLiteral("2")) + QStringLiteral(" over time.");
        if (p % 4 == 0) {
            body += OfficeText::note(prose(++next, 1));
            body += QLatin1Char(' ') + prose(++next, 1);
        }
        text.paragraph(body);
        if (p == 2)
            text.picture(transparentPicture(seed), 6, 3.7);
        if (p == 3)
            text.code(listing());
        if (p == 4) {
            text.rightToLeft(QString::fromUtf8(kArabic), QStringLiteral("ar"));
            text.rightToLeft(QString::fromUtf8(kHebrew), QStringLiteral("he"));
        }
        if (p == paragraphs / 2) {
            text.endColumns();
            for (int t = 0; t < tables; ++t) {
                QList<QStringList> rows{{QStringLiteral("Sample"), QStringLiteral("Measurement"), QStringLiteral("Remark")}};
                for (int r = 0; r < 3 + dice.next(3); ++r)
                    rows << QStringList{QStringLiteral("S%1").arg(r + 1), QString::number(10 + dice.next(90)) + QStringLiteral(".5"),
                                        prose(++next, 1).section(QLatin1Char(' '), 0, 2)};
                text.table(rows);
            }
            text.beginColumns(2);
        }
    }
    text.endColumns();
}

} // namespace

OfficeText paper(int seed, int pages, int tables)
{
    Dice dice(seed);
    OfficeText text;
    text.setRunningHead(QStringLiteral("Proceedings of the Workshop on Quiet Machines %1").arg(2000 + seed % 25));
    text.heading(prose(seed * 7 + 1, 1).chopped(1));
    text.paragraph(QStringLiteral("Abstract. ") + prose(seed * 7 + 2, 4));
    text.beginColumns(2);
    paperBody(text, dice, seed, pages, tables, false);
    return text;
}

QList<QStringList> authorsOf(int seed, int authors)
{
    static const char* const names[] = {"Jane Mirren", "Tomas Okafor", "Lena Varga", "Ruth Abernathy", "Kenji Sato", "Ines Duarte"};
    static const char* const affiliations[][4] = {
        {"Department of Physics", "University of Eastford", "Eastford, United Kingdom", "jane.mirren@eastford.ac.uk"},
        {"Institute of Harbour Studies", "Northgate Polytechnic", "Northgate, Canada", "t.okafor@northgate.ca"},
        {"Quiet Machines Laboratory", "Central Research Centre", "Budapest, Hungary", "varga@qml.example.org"},
        {"School of Engineering", "Westmoor College", "Westmoor, Ireland", "r.abernathy@westmoor.ie"},
        {"Graduate School of Informatics", "Minato Institute of Technology", "Tokyo, Japan", "sato@mit.example.jp"},
        {"Centre for Acoustics", "University of the South Coast", "Faro, Portugal", "ines.duarte@usc.example.pt"}};
    Dice dice(seed * 13 + authors);
    QList<QStringList> blocks;
    for (int a = 0; a < authors; ++a) {
        const int who = (seed + a) % 6;
        QStringList block{QLatin1String(names[who])};
        // One to four lines: authors rarely give the same number.
        const int lines = 1 + dice.next(4);
        for (int l = 0; l < lines; ++l)
            block << QLatin1String(affiliations[who][l]);
        blocks << block;
    }
    return blocks;
}

OfficeText titledPaper(int seed, int pages, int authors)
{
    Dice dice(seed);
    OfficeText text;
    text.setRunningHead(QStringLiteral("Letters on Quiet Machines, volume %1").arg(seed), false);
    text.heading(prose(seed * 7 + 1, 1).chopped(1));
    text.authors(authorsOf(seed, authors));
    const QString abstract = prose(seed * 7 + 2, 4);
    if (authors == 2) {
        text.subheading(QStringLiteral("Abstract"), true);
        text.abstract(abstract);
        text.beginColumns(2);
    } else {
        text.beginColumns(2);
        text.paragraph(QStringLiteral("Abstract\u2014") + abstract);
    }
    paperBody(text, dice, seed, pages, 1, true);
    return text;
}

QStringList listing()
{
    return {QStringLiteral("int count(const Node* node)"), QStringLiteral("{"), QStringLiteral("    int total = 0;"),
            QStringLiteral("    while (node) {"), QStringLiteral("        total += node->weight;"),
            QStringLiteral("        node = node->next;"), QStringLiteral("    }"), QStringLiteral("    return total;"),
            QStringLiteral("}")};
}

bool writeGhostscriptPdf(const QString& path, int seed)
{
    Dice dice(seed);
    QString ps = QStringLiteral(
        "%!PS-Adobe-3.0\n"
        "/page 1 def /lm 72 def /rm 523 def /top 760 def /y top def /lh 13 def\n"
        "/body { /Times-Roman findfont 10.5 scalefont setfont } def\n"
        "/folio { gsave /Times-Roman findfont 9 scalefont setfont 290 40 moveto page 3 string cvs show grestore } def\n"
        "/nl { /y y lh sub def y 70 lt { folio showpage /page page 1 add def /y top def body } if lm y moveto } def\n"
        "/w { dup stringwidth pop currentpoint pop add rm gt { nl } if show ( ) show } def\n"
        "/para { nl nl } def\n"
        "body lm y moveto\n");
    auto paragraph = [&](const QString& text) {
        ps += QStringLiteral("para\n");
        for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            ps += psString(word) + QStringLiteral(" w\n");
    };
    for (int p = 0; p < 5; ++p)
        paragraph(prose(seed * 31 + p, 4 + dice.next(3)));
    // The chart: a framed plot of bars with axis numbers, a turned axis title and a key.
    ps += QStringLiteral(
        "para /y y 230 sub def\n"
        "gsave 110 y translate\n"
        "0.6 setlinewidth 0 0 moveto 0 180 lineto stroke 0 0 moveto 300 0 lineto stroke\n"
        "/Helvetica findfont 8 scalefont setfont\n"
        "0 1 4 { dup 45 mul -14 exch 3 sub moveto 25 mul 3 string cvs show } for\n");
    for (int bar = 0; bar < 6; ++bar) {
        const int height = 20 + dice.next(150);
        ps += QStringLiteral("%1 %2 %3 setrgbcolor %4 0 30 %5 rectfill 0 setgray %6 -12 moveto (%7) show\n")
                  .arg(0.2 + 0.1 * bar)
                  .arg(0.4)
                  .arg(0.8 - 0.1 * bar)
                  .arg(15 + bar * 45)
                  .arg(height)
                  .arg(22 + bar * 45)
                  .arg(QChar('A' + bar));
    }
    ps += QStringLiteral(
        "gsave -30 60 translate 90 rotate 0 0 moveto (Overhead) show grestore\n"
        "0.4 setlinewidth 215 130 80 45 rectstroke 222 162 moveto (Symbol Key) show\n"
        "0.8 0.2 0.2 setrgbcolor 222 145 8 8 rectfill 0 setgray 234 146 moveto (Latency) show\n"
        "grestore lm y 20 sub moveto /y y 20 sub def body\n");
    ps += QStringLiteral("(Figure 1. Bars of measured overhead per sample.) show\n");
    for (int p = 0; p < 6; ++p)
        paragraph(prose(seed * 31 + 10 + p, 4 + dice.next(3)));
    ps += QStringLiteral("folio showpage\n");
    const QFileInfo info(path);
    const QString source = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".ps");
    if (!TestFiles::writeFile(source, ps.toLatin1()))
        return false;
    TestFiles::run(QStringLiteral("gs"), {QStringLiteral("-q"), QStringLiteral("-dNOPAUSE"), QStringLiteral("-dBATCH"),
                                          QStringLiteral("-dSAFER"), QStringLiteral("-sDEVICE=pdfwrite"),
                                          QStringLiteral("-sOutputFile=") + path, source});
    return QFileInfo(path).size() > 0;
}

bool writeQtChartPdf(const QString& path, int seed)
{
    Dice dice(seed);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(300);
    QPainter painter(&writer);
    const double unit = 300.0 / 72; // device pixels per point
    const QRectF area(72 * unit, 60 * unit, 451 * unit, 700 * unit);
    double y = area.top();
    QFont title(QStringLiteral("DejaVu Serif"));
    title.setPointSizeF(16);
    title.setBold(true);
    painter.setFont(title);
    QRectF used;
    painter.drawText(QRectF(area.left(), y, area.width(), 40 * unit), Qt::AlignHCenter | Qt::TextWordWrap,
                     prose(seed * 17, 1).chopped(1), &used);
    y = used.bottom() + 14 * unit;
    QFont body(QStringLiteral("DejaVu Serif"));
    body.setPointSizeF(10);
    painter.setFont(body);
    auto paragraph = [&](const QString& text) {
        if (y > area.bottom() - 80 * unit) {
            writer.newPage();
            y = area.top();
        }
        painter.drawText(QRectF(area.left(), y, area.width(), 400 * unit), Qt::TextWordWrap | Qt::AlignJustify, text, &used);
        y = used.bottom() + 8 * unit;
    };
    for (int p = 0; p < 3; ++p)
        paragraph(prose(seed * 17 + 1 + p, 3 + dice.next(2)));
    // The chart: axes, grid ticks with numbers, two curves, an axis title and a key.
    const QRectF plot(area.left() + 40 * unit, y + 10 * unit, 300 * unit, 160 * unit);
    painter.setPen(QPen(Qt::black, 0.8 * unit));
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPointSizeF(7);
    painter.setFont(small);
    for (int tick = 0; tick <= 4; ++tick) {
        const double ty = plot.bottom() - tick * plot.height() / 4;
        painter.drawText(QPointF(plot.left() - 16 * unit, ty + 3 * unit), QString::number(tick * 25));
        painter.drawText(QPointF(plot.left() + tick * plot.width() / 4 - 3 * unit, plot.bottom() + 10 * unit), QString::number(tick * 2));
    }
    for (int curve = 0; curve < 2; ++curve) {
        QPainterPath path;
        for (int i = 0; i <= 20; ++i) {
            const QPointF point(plot.left() + i * plot.width() / 20,
                                plot.bottom() - (0.2 + 0.6 * ((i * (curve + 3) + dice.next(5)) % 17) / 17.0) * plot.height());
            if (i == 0)
                path.moveTo(point);
            else
                path.lineTo(point);
        }
        painter.setPen(QPen(curve == 0 ? QColor(200, 40, 40) : QColor(40, 40, 200), 1.2 * unit));
        painter.drawPath(path);
    }
    painter.setPen(Qt::black);
    painter.save();
    painter.translate(plot.left() - 26 * unit, plot.center().y() + 20 * unit);
    painter.rotate(-90);
    painter.drawText(QPointF(0, 0), QStringLiteral("Overhead"));
    painter.restore();
    const QRectF key(plot.right() - 90 * unit, plot.top() + 4 * unit, 86 * unit, 34 * unit);
    painter.setPen(QPen(Qt::black, 0.5 * unit));
    painter.drawRect(key);
    painter.drawText(key.topLeft() + QPointF(4 * unit, 10 * unit), QStringLiteral("Symbol Key"));
    painter.fillRect(QRectF(key.left() + 4 * unit, key.top() + 18 * unit, 8 * unit, 8 * unit), QColor(200, 40, 40));
    painter.drawText(key.topLeft() + QPointF(16 * unit, 26 * unit), QStringLiteral("Latency"));
    y = plot.bottom() + 30 * unit;
    painter.setFont(body);
    paragraph(QStringLiteral("Figure 1. Overhead of the two methods over time."));
    for (int p = 0; p < 4; ++p)
        paragraph(prose(seed * 17 + 10 + p, 3 + dice.next(3)));
    painter.end();
    return QFileInfo(path).size() > 0;
}

} // namespace RealDocuments
