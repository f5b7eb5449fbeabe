#include "tests/platform/pdf2word/ScanPages.h"

#include "tests/platform/pdf2word/DocumentPdfs.h"
#include "tests/platform/pdf2word/HardPages.h"
#include "tests/platform/pdf2word/RealDocuments.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace ScanPages {

namespace {

// A4 at 300 dpi, and the page's margin.
const int kPageWidth = 2480;
const int kPageHeight = 3508;
const int kMargin = 250;

const char* const kSentences[] = {
    "本公司董事会及全体董事保证本报告内容不存在任何虚假记载、误导性陈述或者重大遗漏，并对其内容的真实性、准确性和完整性承担个别及连带责任。",
    "公司主要从事大气污染防治设备的研发、设计、制造和销售，产品广泛应用于电力、钢铁、水泥和化工等行业。",
    "报告期内，公司实现营业收入三十五亿元，同比增长百分之十二；归属于公司股东的净利润一亿二千万元。",
    "公司坚持以市场为导向，加强技术创新，提升产品质量，积极开拓国内外市场，全年新签合同金额再创历史新高。",
    "在技术研发方面，公司全年投入研发经费一亿五千万元，新获得发明专利十二项、实用新型专利三十五项。",
    "低温脱硝催化剂和湿式电除尘器两项产品通过了省级新产品鉴定，并已在多个大型项目中投入使用。",
    "公司进一步完善质量管理体系，推行精益生产，产品一次交验合格率达到百分之九十九以上。",
    "新建的智能化生产车间已于九月正式投产，年产能提高百分之三十，交货周期缩短了两周。",
    "展望新的一年，公司将继续围绕主营业务，加大科技创新力度，加快数字化转型，不断提高核心竞争力。",
    "公司将努力为股东创造更好的回报，为改善生态环境作出新的贡献。",
};

double points(int pixels)
{
    return pixels * 72.0 / 300.0;
}

// Draws the paragraph from top in the page's width; returns the top of the next one.
int drawParagraph(QPainter& painter, const QString& text, int top, int flags = Qt::TextWordWrap | Qt::AlignJustify)
{
    const QRect area(kMargin, top, kPageWidth - 2 * kMargin, kPageHeight);
    QRect used;
    painter.drawText(area, flags, text, &used);
    return used.bottom() + 40;
}

QImage blankPage()
{
    QImage page(kPageWidth, kPageHeight, QImage::Format_RGB32);
    page.fill(Qt::white);
    return page;
}

// A diagram of three labelled boxes in a row and a pump below them, joined by lines.
QRectF drawDiagram(QPainter& painter, int top)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(42);
    painter.setFont(font);
    const QStringList labels = {QStringLiteral("Intake"), QStringLiteral("Basin"), QStringLiteral("Outlet")};
    painter.setPen(QPen(Qt::black, 6));
    for (int i = 0; i < labels.size(); ++i) {
        const QRect box(kMargin + 100 + i * 650, top, 420, 220);
        painter.setBrush(QColor(0xdd, 0xdd, 0xdd));
        painter.drawRect(box);
        painter.drawText(box, Qt::AlignCenter, labels[i]);
        if (i > 0)
            painter.drawLine(box.left() - 230, top + 110, box.left(), top + 110);
    }
    painter.setBrush(Qt::NoBrush);
    const QRect pump(kMargin + 850, top + 400, 320, 180);
    painter.drawEllipse(pump);
    painter.drawText(pump, Qt::AlignCenter, QStringLiteral("Pump"));
    painter.drawLine(pump.center().x(), top + 220, pump.center().x(), pump.top());
    painter.drawPolyline(QPolygon({QPoint(pump.left(), pump.center().y()), QPoint(kMargin + 310, pump.center().y()),
                                   QPoint(kMargin + 310, top + 220)}));
    return QRectF(points(kMargin + 97), points(top - 3), points(1726), points(586));
}

// A photo: a sky, a sun and hills, in colour.
QRectF drawPhoto(QPainter& painter, int top)
{
    const QRect frame(kMargin + 500, top, 1000, 600);
    painter.save();
    painter.setClipRect(frame);
    QLinearGradient sky(frame.topLeft(), frame.bottomLeft());
    sky.setColorAt(0, QColor(40, 80, 160));
    sky.setColorAt(1, QColor(180, 200, 230));
    painter.fillRect(frame, sky);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(250, 200, 60));
    painter.drawEllipse(QPoint(frame.left() + 750, frame.top() + 150), 90, 90);
    painter.setBrush(QColor(40, 110, 50));
    painter.drawEllipse(QRect(frame.left() - 200, frame.top() + 380, 800, 500));
    painter.setBrush(QColor(70, 140, 60));
    painter.drawEllipse(QRect(frame.left() + 350, frame.top() + 420, 900, 500));
    painter.restore();
    return QRectF(points(frame.left()), points(frame.top()), points(frame.width()), points(frame.height()));
}

// A signature: a quick flourish of a pen, rising and falling (OCR reads a signature shaped like
// letters as a word: then it is text).
QRectF drawSignature(QPainter& painter, int top)
{
    QPainterPath stroke(QPointF(1500, top + 100));
    for (int i = 0; i < 80; ++i)
        stroke.lineTo(1500 + i * 9, top + 100 + 70 * std::sin(i / 3.0) * std::cos(i / 7.0));
    painter.setPen(QPen(QColor(20, 30, 110), 7, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(stroke);
    const QRectF box = stroke.boundingRect().adjusted(-4, -4, 4, 4);
    return QRectF(points(box.left()), points(box.top()), points(box.width()), points(box.height()));
}

bool isCjk(uint c)
{
    const QChar::Script script = QChar::script(c);
    return script == QChar::Script_Han || script == QChar::Script_Hiragana || script == QChar::Script_Katakana
           || (c >= 0x3001 && c <= 0x303F) || (c >= 0xFF01 && c <= 0xFF60);
}

// Empties every glyph of a TrueType font: each entry of its glyph index points at the same place.
bool emptyGlyphs(QByteArray& font, int offset, int length)
{
    if (length < 12)
        return false;
    auto read16 = [&](int at) { return (uchar(font[at]) << 8) | uchar(font[at + 1]); };
    auto read32 = [&](int at) { return int(quint32(read16(at)) << 16 | quint32(read16(at + 2))); };
    const int tables = read16(offset + 4);
    for (int i = 0; i < tables; ++i) {
        const int record = offset + 12 + 16 * i;
        if (record + 16 > offset + length)
            return false;
        if (font.mid(record, 4) != "loca")
            continue;
        const int start = offset + read32(record + 8);
        const int size = read32(record + 12);
        if (start < offset || start + size > offset + length)
            return false;
        font.replace(start, size, QByteArray(size, '\0'));
        return true;
    }
    return false;
}

} // namespace

QStringList chineseParagraphs(int seed, int count)
{
    const int sentences = int(sizeof(kSentences) / sizeof(kSentences[0]));
    QStringList paragraphs;
    for (int p = 0; p < count; ++p) {
        QString paragraph;
        for (int s = 0; s < 3; ++s)
            paragraph += QString::fromUtf8(kSentences[(seed + p * 3 + s) % sentences]);
        paragraphs << paragraph;
    }
    return paragraphs;
}

QImage chinesePage(const QStringList& paragraphs)
{
    QImage page = blankPage();
    QPainter painter(&page);
    QFont font(QStringLiteral("WenQuanYi Zen Hei"));
    font.setPixelSize(50);
    painter.setFont(font);
    painter.setPen(Qt::black);
    int top = kMargin;
    for (const QString& paragraph : paragraphs)
        top = drawParagraph(painter, paragraph, top);
    return page;
}

QImage figuresPage(QVector<QRectF>* figures)
{
    QImage page = blankPage();
    QPainter painter(&page);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(50);
    const auto text = [&](int seed, int top) {
        painter.setFont(font);
        painter.setPen(Qt::black);
        return drawParagraph(painter, RealDocuments::prose(seed, 3), top);
    };
    int top = text(41, kMargin);
    figures->append(drawDiagram(painter, top + 40));
    top = text(42, top + 700);
    figures->append(drawPhoto(painter, top + 40));
    top = text(43, top + 700);
    figures->append(drawSignature(painter, top + 80));
    return page;
}

void addNoise(QImage& page, int amplitude, int seed)
{
    quint32 state = quint32(seed) * 2654435761u + 1u;
    for (int y = 0; y < page.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(page.scanLine(y));
        for (int x = 0; x < page.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            const int shift = int((state >> 16) % quint32(2 * amplitude + 1)) - amplitude;
            const auto channel = [shift](int value) { return qBound(0, value + shift, 255); };
            row[x] = qRgb(channel(qRed(row[x])), channel(qGreen(row[x])), channel(qBlue(row[x])));
        }
    }
}

bool writeTesseractPdf(const QImage& page, const QString& path, const QString& languages, const char* format)
{
    const QFileInfo info(path);
    QDir().mkpath(info.absolutePath());
    const QString base = info.absolutePath() + QLatin1Char('/') + info.completeBaseName();
    const QString image = base + QStringLiteral("-scan.") + QLatin1String(format);
    // Tesseract sizes the PDF's page from the picture's resolution.
    QImage scan = page;
    scan.setDotsPerMeterX(11811);
    scan.setDotsPerMeterY(11811);
    if (!scan.save(image, format, 85))
        return false;
    return HardPages::tesseract({image, base, QStringLiteral("-l"), languages, QStringLiteral("pdf")}) && QFileInfo::exists(path);
}

QImage drawnPage(const QString& pdf, int dpi)
{
    const QString base = QFileInfo(pdf).absolutePath() + QLatin1Char('/') + QFileInfo(pdf).completeBaseName() + QStringLiteral("-drawn");
    TestFiles::run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                                                QStringLiteral("-singlefile"), QStringLiteral("-f"), QStringLiteral("1"),
                                                QStringLiteral("-l"), QStringLiteral("1"), pdf, base});
    return QImage(base + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

bool writeGlyphlessFontLayerPdf(const QString& tesseractPdf, const QString& path)
{
    const QString plain = path + QStringLiteral(".qdf");
    TestFiles::run(QStringLiteral("qpdf"), {QStringLiteral("--qdf"), QStringLiteral("--object-streams=disable"), tesseractPdf, plain});
    QByteArray pdf = TestFiles::readFile(plain);
    // The layer's font file (read without a regular expression: the scan makes the file large).
    const int reference = pdf.indexOf("/FontFile2 ");
    const QByteArray number = pdf.mid(reference + 11, pdf.indexOf(' ', reference + 11) - reference - 11);
    const int object = reference < 0 ? -1 : pdf.indexOf("\n" + number + " 0 obj");
    const int start = pdf.indexOf("stream\n", object) + 7;
    const int end = pdf.indexOf("endstream", start);
    if (object < 0 || start < 7 || end < start || !emptyGlyphs(pdf, start, end - start))
        return false;
    pdf.replace("\n3 Tr", "\n0 Tr");
    QByteArray fixed;
    if (!TestFiles::writeFile(plain, pdf) || TestFiles::run(QStringLiteral("fix-qdf"), {plain}, &fixed) != 0
        || !TestFiles::writeFile(plain, fixed))
        return false;
    TestFiles::run(QStringLiteral("qpdf"), {plain, path});
    return QFileInfo(path).size() > 0;
}

bool writeOfficeChinesePdf(const QString& path, const QString& heading, const QStringList& paragraphs)
{
    QString body = QStringLiteral("<text:p text:style-name=\"Spaced\">%1</text:p>").arg(heading.toHtmlEscaped());
    for (const QString& paragraph : paragraphs)
        body += QStringLiteral("<text:p>%1</text:p>").arg(paragraph.toHtmlEscaped());
    const QString document = QStringLiteral(
                                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document "
                                 "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                                 "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
                                 "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
                                 "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" office:version=\"1.2\" "
                                 "office:mimetype=\"application/vnd.oasis.opendocument.text\"><office:styles><style:default-style "
                                 "style:family=\"paragraph\"><style:paragraph-properties fo:text-align=\"justify\" fo:margin-bottom=\"0.3cm\"/>"
                                 "<style:text-properties style:font-name-asian=\"WenQuanYi Zen Hei\" style:font-size-asian=\"12pt\" "
                                 "fo:font-size=\"12pt\"/></style:default-style><style:style style:name=\"Spaced\" style:family=\"paragraph\">"
                                 "<style:paragraph-properties fo:text-align=\"center\"/><style:text-properties fo:letter-spacing=\"0.25cm\" "
                                 "style:font-size-asian=\"16pt\"/></style:style></office:styles><office:body><office:text>%1</office:text>"
                                 "</office:body></office:document>\n")
                                 .arg(body);
    const QFileInfo pdf(path);
    const QString source = pdf.absolutePath() + QLatin1Char('/') + pdf.completeBaseName() + QStringLiteral(".fodt");
    return TestFiles::writeFile(source, document.toUtf8()) && DocumentPdfs::officeToPdf(source, pdf.absolutePath()) == pdf.absoluteFilePath();
}

bool writeOfficeDiagramPdf(const QString& path, QVector<QRectF>* figures)
{
    const auto cm = [](double value) { return value * 72 / 2.54; };
    const auto shape = [](const QString& kind, const QString& style, double x, double y, double w, double h, const QString& label) {
        return QStringLiteral("<draw:%1 text:anchor-type=\"page\" text:anchor-page-number=\"1\" draw:style-name=\"%2\" svg:x=\"%3cm\" "
                              "svg:y=\"%4cm\" svg:width=\"%5cm\" svg:height=\"%6cm\"><text:p text:style-name=\"Label\">%7</text:p></draw:%1>")
            .arg(kind, style)
            .arg(x)
            .arg(y)
            .arg(w)
            .arg(h)
            .arg(label);
    };
    const auto line = [](double x1, double y1, double x2, double y2) {
        return QStringLiteral("<draw:line text:anchor-type=\"page\" text:anchor-page-number=\"1\" draw:style-name=\"pen\" svg:x1=\"%1cm\" "
                              "svg:y1=\"%2cm\" svg:x2=\"%3cm\" svg:y2=\"%4cm\"/>")
            .arg(x1)
            .arg(y1)
            .arg(x2)
            .arg(y2);
    };
    QString shapes = shape(QStringLiteral("rect"), QStringLiteral("box"), 3, 7, 3.5, 2, QStringLiteral("Intake"))
                     + shape(QStringLiteral("rect"), QStringLiteral("box"), 8.5, 7, 3.5, 2, QStringLiteral("Basin 1"))
                     + shape(QStringLiteral("rect"), QStringLiteral("box"), 14, 7, 3.5, 2, QStringLiteral("Outlet"))
                     + shape(QStringLiteral("ellipse"), QStringLiteral("pen"), 8.5, 10.5, 3.5, 2, QStringLiteral("Pump"))
                     + line(6.5, 8, 8.5, 8) + line(12, 8, 14, 8) + line(10.25, 9, 10.25, 10.5) + line(4.75, 9, 4.75, 11.5)
                     + line(4.75, 11.5, 8.5, 11.5);
    // The diagram from the boxes' corners to the pump's foot, strokes included.
    figures->append(QRectF(QPointF(cm(2.975), cm(6.975)), QPointF(cm(17.525), cm(12.525))));
    QStringList signature;
    int highest = 1000;
    int lowest = 0;
    for (int i = 0; i < 100; ++i) {
        const int y = int(500 + 400 * std::sin(i / 3.0) * std::cos(i / 7.0));
        signature << QStringLiteral("%1,%2").arg(i * 50).arg(y);
        highest = std::min(highest, y);
        lowest = std::max(lowest, y);
    }
    figures->append(QRectF(QPointF(cm(11.98), cm(24.98 + highest / 1000.0)), QPointF(cm(16.97), cm(25.02 + lowest / 1000.0))));
    shapes += QStringLiteral("<draw:polyline text:anchor-type=\"page\" text:anchor-page-number=\"1\" draw:style-name=\"ink\" svg:x=\"12cm\" "
                             "svg:y=\"25cm\" svg:width=\"5cm\" svg:height=\"1cm\" svg:viewBox=\"0 0 5000 1000\" draw:points=\"%1\"/>")
                  .arg(signature.join(QLatin1Char(' ')));
    QString body;
    for (int p = 0; p < 4; ++p)
        body += QStringLiteral("<text:p text:style-name=\"%1\">%2</text:p>")
                    .arg(p == 2 ? QStringLiteral("Gap") : QStringLiteral("Body"), RealDocuments::prose(50 + p, 3).toHtmlEscaped());
    const QString graphic = QStringLiteral("<style:style style:name=\"%1\" style:family=\"graphic\"><style:graphic-properties draw:stroke=\"solid\" "
                                           "svg:stroke-width=\"0.05cm\" svg:stroke-color=\"%2\" draw:fill=\"%3\" draw:fill-color=\"#dddddd\" "
                                           "style:run-through=\"foreground\" style:wrap=\"run-through\"/></style:style>");
    const QString document =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document "
                       "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                       "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
                       "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
                       "xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\" "
                       "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" "
                       "xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\" office:version=\"1.2\" "
                       "office:mimetype=\"application/vnd.oasis.opendocument.text\"><office:styles><style:default-style "
                       "style:family=\"paragraph\"><style:text-properties style:font-name=\"Liberation Serif\" fo:font-size=\"12pt\"/>"
                       "</style:default-style></office:styles><office:automatic-styles>%1%2%3"
                       "<style:style style:name=\"Label\" style:family=\"paragraph\"><style:paragraph-properties fo:text-align=\"center\"/>"
                       "</style:style><style:style style:name=\"Body\" style:family=\"paragraph\"><style:paragraph-properties "
                       "fo:margin-bottom=\"0.3cm\" fo:text-align=\"justify\"/></style:style><style:style style:name=\"Gap\" "
                       "style:family=\"paragraph\"><style:paragraph-properties fo:margin-top=\"7.5cm\" fo:margin-bottom=\"0.3cm\" "
                       "fo:text-align=\"justify\"/></style:style></office:automatic-styles><office:body><office:text>%4%5"
                       "</office:text></office:body></office:document>\n")
            .arg(graphic.arg(QStringLiteral("box"), QStringLiteral("#000000"), QStringLiteral("solid")),
                 graphic.arg(QStringLiteral("pen"), QStringLiteral("#000000"), QStringLiteral("none")),
                 graphic.arg(QStringLiteral("ink"), QStringLiteral("#102080"), QStringLiteral("none")), shapes, body);
    const QFileInfo pdf(path);
    const QString source = pdf.absolutePath() + QLatin1Char('/') + pdf.completeBaseName() + QStringLiteral(".fodt");
    return TestFiles::writeFile(source, document.toUtf8()) && DocumentPdfs::officeToPdf(source, pdf.absolutePath()) == pdf.absoluteFilePath();
}

CjkPairs cjkPairs(const QString& text)
{
    CjkPairs pairs;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        uint previous = 0;
        bool spaced = false;
        for (const uint c : line.toUcs4()) {
            if (c == ' ' || c == '\t' || c == 0x3000) {
                spaced = true;
                continue;
            }
            if (previous && isCjk(previous) && isCjk(c)) {
                ++pairs.neighbours;
                pairs.parted += spaced ? 1 : 0;
            }
            previous = c;
            spaced = false;
        }
    }
    return pairs;
}

double characterPairsKept(const QString& source, const QString& text)
{
    const auto pairsOf = [](QString plain) {
        plain.remove(QRegularExpression(QStringLiteral("\\s")));
        QStringList pairs;
        for (int i = 1; i < plain.size(); ++i)
            pairs << plain.mid(i - 1, 2);
        return pairs;
    };
    QStringList pairs;
    for (const QString& paragraph : source.split(QLatin1Char('\n')))
        pairs += pairsOf(paragraph);
    return DocumentPdfs::shareKept(pairs, pairsOf(text));
}

QList<QSizeF> pictureSizes(const QString& docx)
{
    static const QRegularExpression extent(QStringLiteral("<wp:extent cx=\"(\\d+)\" cy=\"(\\d+)\""));
    QList<QSizeF> sizes;
    const QString body = QString::fromUtf8(DocumentPdfs::zipEntry(docx, QStringLiteral("word/document.xml")));
    for (QRegularExpressionMatchIterator it = extent.globalMatch(body); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        // English metric units: 12,700 a point.
        sizes << QSizeF(match.captured(1).toDouble() / 12700, match.captured(2).toDouble() / 12700);
    }
    return sizes;
}

} // namespace ScanPages
