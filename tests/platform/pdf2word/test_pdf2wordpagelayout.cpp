// The page as its producer laid it out, in every format the component writes: highlights as the
// runs' shading, indents and alignment, pages of another size or orientation, table cells as high
// as their text. The PDFs are Qt's, made here.

#include "tests/platform/pdf2word/DocumentPdfs.h"
#include "tests/platform/pdf2word/Pdf2WordCall.h"
#include "tests/support/TestFiles.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QtTest>

namespace {

const char* const kFormats[] = {"docx", "odt", "html"};

QString sandbox(const QString& name)
{
    const QString folder = TestFiles::sandbox() + QLatin1Char('/') + name;
    QDir().mkpath(folder);
    return folder;
}

// The part of a conversion that holds its body: the DOCX's document, the ODT's content and
// styles, the HTML page.
QString bodyOf(const QString& path)
{
    if (path.endsWith(QLatin1String(".docx")))
        return QString::fromUtf8(DocumentPdfs::zipEntry(path, QStringLiteral("word/document.xml")));
    if (path.endsWith(QLatin1String(".odt")))
        return QString::fromUtf8(DocumentPdfs::zipEntry(path, QStringLiteral("content.xml"))
                                 + DocumentPdfs::zipEntry(path, QStringLiteral("styles.xml")));
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The PDF converted to each format: the format's suffix and its body.
QList<QPair<QString, QString>> converted(const QString& pdf, const QString& name)
{
    QList<QPair<QString, QString>> bodies;
    for (const char* suffix : kFormats) {
        const QString output = sandbox(QStringLiteral("out")) + QLatin1Char('/') + name + QLatin1Char('.') + QLatin1String(suffix);
        if (Pdf2WordCall::convert(pdf, output, 1, DocumentPdfs::pageCount(pdf)).result == S_OK)
            bodies.append({QLatin1String(suffix), bodyOf(output)});
    }
    return bodies;
}

// The DOCX paragraph that holds the text, its XML; empty when none does.
QString docxParagraph(const QString& body, const QString& text)
{
    const QRegularExpression paragraph(QStringLiteral("<w:p>.*?</w:p>"), QRegularExpression::DotMatchesEverythingOption);
    for (auto it = paragraph.globalMatch(body); it.hasNext();) {
        const QString xml = it.next().captured();
        QString plain = xml;
        plain.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
        if (plain.contains(text))
            return xml;
    }
    return QString();
}

// A number attribute of the paragraph's element ("w:ind", "w:left"); -1 when it has none.
int twips(const QString& paragraph, const QString& element, const QString& attribute)
{
    const QRegularExpression pattern(QStringLiteral("<%1 [^>]*%2=\"(-?\\d+)\"").arg(element, attribute));
    const QRegularExpressionMatch match = pattern.match(paragraph);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString prose(int sentences)
{
    QStringList text;
    for (int i = 0; i < sentences; ++i)
        text << QStringLiteral("The harbour board met again to talk about the boats and the weather of the coming week.");
    return text.join(QLatin1Char(' '));
}

// Pages in the orientations given, each with a heading and a few lines of text.
bool writeOrientedPdf(const QString& path, const QList<QPageLayout::Orientation>& orientations)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(orientations.front());
    QPainter painter(&writer);
    for (int p = 0; p < orientations.size(); ++p) {
        if (p > 0) {
            writer.setPageOrientation(orientations[p]);
            writer.newPage();
        }
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 11));
        const int dpi = writer.resolution();
        for (int line = 0; line < 5; ++line)
            painter.drawText(dpi, dpi + line * dpi / 4, QStringLiteral("Page %1 line %2 tells the weather of the week.").arg(p + 1).arg(line + 1));
    }
    return painter.end();
}

// A picture of one colour.
QImage filled(int width, int height, const QColor& color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// Pages drawn with Qt's painter, in points (the writer's resolution set to 72 dpi).
class DrawnPages
{
public:
    explicit DrawnPages(const QString& path)
        : m_writer(path)
    {
        m_writer.setPageSize(QPageSize(QPageSize::A4));
        m_writer.setResolution(72);
        m_writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        m_painter.begin(&m_writer);
        m_painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    }

    QPainter& painter() { return m_painter; }
    void newPage() { m_writer.newPage(); }
    bool finish() { return m_painter.end(); }

    // Lines of prose from the top, one every pitch points; returns where the next would stand.
    double prose(double x, double top, int lines, int words = 12, double pitch = 13)
    {
        for (int i = 0; i < lines; ++i) {
            QStringList text;
            for (int w = 0; w < words; ++w)
                text << (w % 3 == 0 ? QStringLiteral("harbour") : w % 3 == 1 ? QStringLiteral("boats")
                                                                             : QStringLiteral("weather"));
            m_painter.drawText(QPointF(x, top + pitch * i), text.join(QLatin1Char(' ')) + (i + 1 == lines ? QStringLiteral(".") : QString()));
        }
        return top + pitch * lines;
    }

private:
    QPdfWriter m_writer;
    QPainter m_painter;
};

} // namespace

class Pdf2WordPageLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Pdf2WordCall::registerComponent();
    }

    // A fill behind a few words is their highlight: the run's shading, neither a box nor a table
    // of its own.
    void highlightIsTheRunsShading()
    {
        const QString pdf = sandbox(QStringLiteral("in")) + QStringLiteral("/highlight.pdf");
        QVERIFY(DocumentPdfs::writeHtmlPdf(pdf, QStringLiteral("<p>The board met on Monday and <span style=\"background-color:#ffff00\">"
                                                               "agreed on the new fees</span> for the boats of the harbour.</p>")));
        const auto bodies = converted(pdf, QStringLiteral("highlight"));
        QCOMPARE(bodies.size(), 3);
        for (const auto& body : bodies) {
            const QString& xml = body.second;
            QVERIFY2(!xml.contains(QLatin1String("<w:tbl>")) && !xml.contains(QLatin1String("<table:table ")) && !xml.contains(QLatin1String("<table")),
                     qPrintable(body.first));
            if (body.first == QLatin1String("docx")) {
                QVERIFY(QRegularExpression(QStringLiteral("<w:shd [^>]*w:fill=\"FFFF00\"/>(?:(?!</w:r>).)*agreed on the new fees"),
                                           QRegularExpression::DotMatchesEverythingOption)
                            .match(xml)
                            .hasMatch());
                QVERIFY(!QRegularExpression(QStringLiteral("<w:shd [^>]*/>(?:(?!</w:r>).)*The board met"),
                                            QRegularExpression::DotMatchesEverythingOption)
                             .match(xml)
                             .hasMatch());
            } else if (body.first == QLatin1String("odt")) {
                QVERIFY(xml.contains(QLatin1String("fo:background-color=\"#FFFF00\"")));
            } else {
                QVERIFY(xml.contains(QLatin1String("background-color:#FFFF00\">agreed on the new fees")));
            }
        }
    }

    // A paragraph keeps where its lines stand: its left and right indents, its first line's
    // indent or hang, centred and right-aligned lines; justified text is justified, and text set
    // ragged is not.
    void paragraphsKeepIndentsAndAlignment()
    {
        const QString pdf = sandbox(QStringLiteral("in")) + QStringLiteral("/indents.pdf");
        const QString html = QStringLiteral("<p align=\"justify\">Justified: %1</p>"
                                            "<p style=\"margin-left:300px; margin-right:300px\" align=\"justify\">Quoted: %1</p>"
                                            "<p style=\"text-indent:150px\">Indented: %1</p>"
                                            "<p style=\"margin-left:150px; text-indent:-150px\">Hanging: %1</p>"
                                            "<p align=\"center\">Centred: a title set in the middle</p>"
                                            "<p align=\"right\">Right: the date at the right</p>")
                                 .arg(prose(3));
        QVERIFY(DocumentPdfs::writeHtmlPdf(pdf, html));
        const auto bodies = converted(pdf, QStringLiteral("indents"));
        QCOMPARE(bodies.size(), 3);
        const QString docx = bodies[0].second;
        const QString justified = docxParagraph(docx, QStringLiteral("Justified:"));
        QVERIFY(justified.contains(QLatin1String("<w:jc w:val=\"both\"/>")));
        QVERIFY(!justified.contains(QLatin1String("<w:ind ")));
        const QString quoted = docxParagraph(docx, QStringLiteral("Quoted:"));
        QVERIFY(quoted.contains(QLatin1String("<w:jc w:val=\"both\"/>")));
        QVERIFY2(qAbs(twips(quoted, QStringLiteral("w:ind"), QStringLiteral("w:left")) - 72 * 20) < 3 * 20, qPrintable(quoted));
        QVERIFY(qAbs(twips(quoted, QStringLiteral("w:ind"), QStringLiteral("w:right")) - 72 * 20) < 12 * 20);
        const QString indented = docxParagraph(docx, QStringLiteral("Indented:"));
        QVERIFY(qAbs(twips(indented, QStringLiteral("w:ind"), QStringLiteral("w:firstLine")) - 36 * 20) < 3 * 20);
        QVERIFY2(indented.contains(QLatin1String("<w:jc w:val=\"left\"/>")), qPrintable(indented));
        const QString hanging = docxParagraph(docx, QStringLiteral("Hanging:"));
        QVERIFY(qAbs(twips(hanging, QStringLiteral("w:ind"), QStringLiteral("w:hanging")) - 36 * 20) < 3 * 20);
        QVERIFY(qAbs(twips(hanging, QStringLiteral("w:ind"), QStringLiteral("w:left")) - 36 * 20) < 3 * 20);
        QVERIFY(docxParagraph(docx, QStringLiteral("Centred:")).contains(QLatin1String("<w:jc w:val=\"center\"/>")));
        QVERIFY(docxParagraph(docx, QStringLiteral("Right:")).contains(QLatin1String("<w:jc w:val=\"right\"/>")));
        // The same indents in the ODT's paragraph styles and the HTML's.
        QVERIFY(QRegularExpression(QStringLiteral("fo:margin-left=\"7\\d\\.\\d\\dpt\" fo:margin-right=\"[67]\\d\\.\\d\\dpt\"")).match(bodies[1].second).hasMatch());
        QVERIFY(QRegularExpression(QStringLiteral("fo:text-indent=\"-3\\d\\.\\d\\dpt\"")).match(bodies[1].second).hasMatch());
        QVERIFY(QRegularExpression(QStringLiteral("margin-left:7\\dpt;margin-right:[67]\\dpt\"><span[^>]*>Quoted")).match(bodies[2].second).hasMatch());
        QVERIFY(QRegularExpression(QStringLiteral("text-indent:3\\dpt\"><span[^>]*>Indented")).match(bodies[2].second).hasMatch());
    }

    // A landscape page among portrait ones is a section of its own on a landscape page, and the
    // pages after it are portrait again.
    void pagesKeepTheirOrientation()
    {
        const QString pdf = sandbox(QStringLiteral("in")) + QStringLiteral("/oriented.pdf");
        QVERIFY(writeOrientedPdf(pdf, {QPageLayout::Portrait, QPageLayout::Landscape, QPageLayout::Portrait}));
        const auto bodies = converted(pdf, QStringLiteral("oriented"));
        QCOMPARE(bodies.size(), 3);
        const QString docx = bodies[0].second;
        const QRegularExpression size(QStringLiteral("<w:sectPr>(?:(?!</w:sectPr>).)*<w:pgSz w:w=\"(\\d+)\" w:h=\"(\\d+)\"(?: w:orient=\"(\\w+)\")?"),
                                      QRegularExpression::DotMatchesEverythingOption);
        QStringList sizes;
        for (auto it = size.globalMatch(docx); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            sizes << (match.captured(1).toInt() > match.captured(2).toInt() ? QStringLiteral("landscape") : QStringLiteral("portrait"))
                         + match.captured(3);
        }
        QCOMPARE(sizes, QStringList({QStringLiteral("portrait"), QStringLiteral("landscapelandscape"), QStringLiteral("portrait")}));
        QCOMPARE(docx.count(QLatin1String("<w:type w:val=\"nextPage\"/>")), 2);
        // Each page's text on its page.
        QVERIFY(docx.indexOf(QLatin1String("Page 2 line 1")) < docx.indexOf(QLatin1String("w:orient=\"landscape\"")));
        QVERIFY(docx.indexOf(QLatin1String("Page 3 line 1")) > docx.indexOf(QLatin1String("w:orient=\"landscape\"")));
        // The ODT's second master page is landscape, and the second page's first paragraph opens it.
        const QString odt = bodies[1].second;
        QCOMPARE(odt.count(QLatin1String("style:print-orientation=\"landscape\"")), 1);
        QVERIFY(odt.contains(QLatin1String("style:master-page-name=\"Format2\"")));
        QVERIFY(odt.contains(QLatin1String("style:master-page-name=\"Standard\"")));
    }

    // A table's cells are as high as their text: no paragraph in a cell keeps the usual space
    // after a paragraph.
    void tableCellsAreAsHighAsTheirText()
    {
        const QString pdf = sandbox(QStringLiteral("in")) + QStringLiteral("/table.pdf");
        QString rows;
        for (int r = 0; r < 6; ++r)
            rows += QStringLiteral("<tr><td>Boat %1</td><td>%2.50</td><td>moored at the north pier</td></tr>").arg(r + 1).arg(r * 7);
        QVERIFY(DocumentPdfs::writeHtmlPdf(pdf, QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">%1</table>").arg(rows)));
        const auto bodies = converted(pdf, QStringLiteral("table"));
        QCOMPARE(bodies.size(), 3);
        const QString docx = bodies[0].second;
        const QRegularExpression cell(QStringLiteral("<w:tc>(?:(?!</w:tc>).)*Boat 3(?:(?!</w:tc>).)*</w:tc>"), QRegularExpression::DotMatchesEverythingOption);
        const QString boat = cell.match(docx).captured();
        QVERIFY2(boat.contains(QLatin1String("w:after=\"0\"")), qPrintable(docx.left(3000)));
        const QRegularExpression odtCell(QStringLiteral("<table:table-cell[^>]*><text:p text:style-name=\"(\\w+)\"><text:span[^>]*>Boat 3"));
        const QString style = odtCell.match(bodies[1].second).captured(1);
        QVERIFY(!style.isEmpty());
        QVERIFY(QRegularExpression(QStringLiteral("style:name=\"%1\"[^>]*>\\s*<style:paragraph-properties[^>]*fo:margin-bottom=\"0.00pt\"").arg(style))
                    .match(bodies[1].second)
                    .hasMatch());
    }
    // A tinted box beside the running text floats at its place with its text as text: the text
    // stays one column, the box is no section of columns.
    void boxBesideTheTextFloats()
    {
        const QString pdf = sandbox(QStringLiteral("in")) + QStringLiteral("/sidebar.pdf");
        DrawnPages pages(pdf);
        QPainter& painter = pages.painter();
        painter.fillRect(QRectF(380, 80, 150, 150), QColor(0xDC, 0xE6, 0xF2));
        for (int i = 0; i < 5; ++i)
            painter.drawText(QPointF(390, 100 + 18 * i), QStringLiteral("Key figure %1 of the year").arg(i + 1));
        // Paragraphs beside the box, then across the page under it.
        double y = pages.prose(72, 90, 8, 7);
        y = pages.prose(72, y + 13, 8, 7);
        pages.prose(72, y + 13, 10, 12);
        QVERIFY(pages.finish());
        const auto bodies = converted(pdf, QStringLiteral("sidebar"));
        QCOMPARE(bodies.size(), 3);
        const QString docx = bodies[0].second;
        QVERIFY(!docx.contains(QLatin1String("<w:cols ")));
        const QRegularExpression floating(QStringLiteral("<w:tblpPr [^>]*w:horzAnchor=\"page\" w:tblpX=\"(\\d+)\""));
        const QRegularExpressionMatch match = floating.match(docx);
        QVERIFY2(match.hasMatch(), qPrintable(docx.left(2000)));
        QVERIFY(qAbs(match.captured(1).toInt() - 380 * 20) < 2 * 20);
        // The box comes before the paragraph beside it, which anchors it, and holds its text.
        QVERIFY(docx.indexOf(QLatin1String("<w:tblpPr")) < docx.indexOf(QLatin1String("harbour")));
        QVERIFY(docx.indexOf(QLatin1String("Key figure 5")) < docx.indexOf(QLatin1String("harbour")));
        const QString odt = bodies[1].second;
        QVERIFY(!odt.contains(QLatin1String("<text:section")));
        QVERIFY(QRegularExpression(QStringLiteral("<draw:frame [^>]*text:anchor-type=\"paragraph\" svg:x=\"38\\d\\.\\d\\dpt\"[^>]*><draw:text-box[^>]*><table:table "))
                    .match(odt)
                    .hasMatch());
        QVERIFY(odt.contains(QLatin1String("style:wrap=\"parallel\"")));
        QVERIFY(bodies[2].second.contains(QLatin1String("float:right")));
    }

    // A box read last on its page, after the text beside it (a slide's sidebar), floats from the
    // page's top and stays after that text, in the order it is read.
    void boxReadLastFloatsFromThePage()
    {
        const QString pdf = sandbox(QStringLiteral("in")) + QStringLiteral("/slide.pdf");
        DrawnPages pages(pdf);
        QPainter& painter = pages.painter();
        pages.prose(72, 100, 14, 6);
        painter.fillRect(QRectF(330, 60, 200, 300), QColor(0xDC, 0xE6, 0xF2));
        for (int i = 0; i < 4; ++i)
            painter.drawText(QPointF(340, 380 - 18 * (4 - i)), QStringLiteral("Key figure %1").arg(i + 1));
        QVERIFY(pages.finish());
        const auto bodies = converted(pdf, QStringLiteral("slide"));
        QCOMPARE(bodies.size(), 3);
        const QString docx = bodies[0].second;
        const QRegularExpression floating(QStringLiteral("<w:tblpPr [^>]*w:vertAnchor=\"page\" w:horzAnchor=\"page\" w:tblpX=\"(\\d+)\" w:tblpY=\"(\\d+)\""));
        const QRegularExpressionMatch match = floating.match(docx);
        QVERIFY2(match.hasMatch(), qPrintable(docx.left(2000)));
        QVERIFY(qAbs(match.captured(1).toInt() - 330 * 20) < 2 * 20);
        QVERIFY(qAbs(match.captured(2).toInt() - 60 * 20) < 2 * 20);
        QVERIFY(docx.lastIndexOf(QLatin1String("weather")) < docx.indexOf(QLatin1String("Key figure 1")));
        QVERIFY(bodies[1].second.contains(QLatin1String("draw:style-name=\"frFloatPage\"")));
    }

    // A picture level with a line beside it (a logo beside a title) floats beside it, not above.
    void logoBesideATitleFloats()
    {
        const QString pdf = sandbox(QStringLiteral("in")) + QStringLiteral("/logo.pdf");
        DrawnPages pages(pdf);
        QPainter& painter = pages.painter();
        painter.drawImage(QRectF(420, 60, 120, 40), filled(120, 40, QColor(0xC0, 0x20, 0x20)));
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 16));
        painter.drawText(QPointF(72, 90), QStringLiteral("The Harbour Report"));
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
        pages.prose(72, 130, 10);
        QVERIFY(pages.finish());
        const auto bodies = converted(pdf, QStringLiteral("logo"));
        QCOMPARE(bodies.size(), 3);
        const QString docx = bodies[0].second;
        QVERIFY(QRegularExpression(QStringLiteral("<wp:anchor .*<wp:positionH relativeFrom=\"page\"><wp:posOffset>%1</wp:posOffset>").arg(420 * 12700),
                                   QRegularExpression::DotMatchesEverythingOption)
                    .match(docx)
                    .hasMatch());
        QVERIFY(docx.indexOf(QLatin1String("<wp:anchor")) < docx.indexOf(QLatin1String("The Harbour Report")));
        QVERIFY(!docx.contains(QLatin1String("<wp:inline")));
    }

    // A ruled table stands in from the text's edge where it stood; a tinted box is as high as on
    // the page.
    void boxesStandWhereTheyStood()
    {
        const QString pdf = sandbox(QStringLiteral("in")) + QStringLiteral("/boxes.pdf");
        DrawnPages pages(pdf);
        QPainter& painter = pages.painter();
        double y = pages.prose(72, 80, 6);
        painter.setPen(QPen(Qt::black, 0.5));
        for (int r = 0; r <= 4; ++r)
            painter.drawLine(QPointF(200, y + 20 * r), QPointF(440, y + 20 * r));
        for (int c = 0; c <= 3; ++c)
            painter.drawLine(QPointF(200 + 80 * c, y), QPointF(200 + 80 * c, y + 80));
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 3; ++c)
                painter.drawText(QPointF(205 + 80 * c, y + 20 * r + 14), QStringLiteral("Cell %1.%2").arg(r + 1).arg(c + 1));
        }
        y = pages.prose(72, y + 110, 6);
        painter.fillRect(QRectF(72, y, 440, 70), QColor(0xDC, 0xE6, 0xF2));
        painter.drawText(QPointF(82, y + 20), QStringLiteral("A note in a tinted box of the page."));
        pages.prose(72, y + 100, 4);
        QVERIFY(pages.finish());
        const auto bodies = converted(pdf, QStringLiteral("boxes"));
        QCOMPARE(bodies.size(), 3);
        const QString docx = bodies[0].second;
        const QRegularExpression indent(QStringLiteral("<w:tblInd w:w=\"(\\d+)\" w:type=\"dxa\"/>(?:(?!</w:tbl>).)*Cell 1\\.1"),
                                        QRegularExpression::DotMatchesEverythingOption);
        const QRegularExpressionMatch match = indent.match(docx);
        QVERIFY2(match.hasMatch(), qPrintable(docx.left(3000)));
        QVERIFY(qAbs(match.captured(1).toInt() - 128 * 20) < 6 * 20);
        const QRegularExpression height(QStringLiteral("<w:trHeight w:val=\"(\\d+)\" w:hRule=\"atLeast\"/>(?:(?!</w:tbl>).)*A note in a tinted box"),
                                        QRegularExpression::DotMatchesEverythingOption);
        QVERIFY(qAbs(height.match(docx).captured(1).toInt() - 70 * 20) < 3 * 20);
        QVERIFY(QRegularExpression(QStringLiteral("fo:margin-left=\"12\\d\\.\\d\\dpt\"")).match(bodies[1].second).hasMatch());
    }

    // A small picture between the words of a line (an icon) stands in the line: the words on
    // both sides of it are one paragraph with the picture among them.
    void pictureInALineStaysInTheLine()
    {
        const QString pdf = sandbox(QStringLiteral("in")) + QStringLiteral("/icon.pdf");
        DrawnPages pages(pdf);
        QPainter& painter = pages.painter();
        const QImage icon = filled(40, 40, QColor(0x20, 0x60, 0xC0));
        const double y = pages.prose(72, 100, 4);
        painter.drawText(QPointF(72, y), QStringLiteral("Press the button"));
        painter.drawImage(QRectF(168, y - 14, 16, 16), icon);
        painter.drawText(QPointF(190, y), QStringLiteral("to start the engine of the boat."));
        QVERIFY(pages.finish());
        const auto bodies = converted(pdf, QStringLiteral("icon"));
        QCOMPARE(bodies.size(), 3);
        const QString paragraph = docxParagraph(bodies[0].second, QStringLiteral("Press the button"));
        QVERIFY2(QRegularExpression(QStringLiteral("Press the button.*<wp:inline .*to start the engine"), QRegularExpression::DotMatchesEverythingOption)
                     .match(paragraph)
                     .hasMatch(),
                 qPrintable(bodies[0].second));
        QVERIFY(QRegularExpression(QStringLiteral("Press the button ?</text:span><draw:frame [^>]*text:anchor-type=\"as-char\"")).match(bodies[1].second).hasMatch());
        QVERIFY(QRegularExpression(QStringLiteral("Press the button ?</span><img ")).match(bodies[2].second).hasMatch());
    }

    // A line set at the page's foot, apart from the text above it, keeps its place there.
    void lineAtThePagesFootStaysThere()
    {
        const QString pdf = sandbox(QStringLiteral("in")) + QStringLiteral("/foot.pdf");
        DrawnPages pages(pdf);
        pages.prose(72, 100, 12);
        pages.painter().drawText(QPointF(72, 790), QStringLiteral("Unrestricted"));
        QVERIFY(pages.finish());
        const auto bodies = converted(pdf, QStringLiteral("foot"));
        QCOMPARE(bodies.size(), 3);
        const QRegularExpression frame(QStringLiteral("<w:framePr [^>]*w:vAnchor=\"page\"[^>]*w:y=\"(\\d+)\""));
        const QRegularExpressionMatch match = frame.match(docxParagraph(bodies[0].second, QStringLiteral("Unrestricted")));
        QVERIFY(match.hasMatch());
        QVERIFY(qAbs(match.captured(1).toInt() - 780 * 20) < 8 * 20);
        QVERIFY(QRegularExpression(QStringLiteral("<draw:frame draw:style-name=\"frFoot\"[^>]*svg:y=\"7[78]\\d\\.\\d\\dpt\"[^>]*><draw:text-box[^>]*><text:p [^>]*><text:span[^>]*>Unrestricted"))
                    .match(bodies[1].second)
                    .hasMatch());
        // The text above it stays in the flow.
        QVERIFY(!docxParagraph(bodies[0].second, QStringLiteral("harbour")).contains(QLatin1String("w:framePr")));
    }

    // A picture larger than the text area (a page's scan) stands at its place on the page, as
    // large as there; so do pictures side by side with no text after them, each at its place.
    void picturesKeepTheirPlaceOnThePage()
    {
        const QString pdf = sandbox(QStringLiteral("in")) + QStringLiteral("/pictures.pdf");
        DrawnPages pages(pdf);
        QPainter& painter = pages.painter();
        QImage scan = filled(595, 842, QColor(0xE0, 0xD8, 0xC8));
        QPainter(&scan).fillRect(100, 100, 395, 600, QColor(0x40, 0x40, 0x40));
        painter.drawImage(QRectF(0, 0, 595, 842), scan);
        pages.newPage();
        painter.drawImage(QRectF(72, 100, 200, 150), filled(200, 150, QColor(0x30, 0x90, 0x50)));
        painter.drawImage(QRectF(320, 100, 200, 150), filled(200, 150, QColor(0x90, 0x30, 0x50)));
        QVERIFY(pages.finish());
        const auto bodies = converted(pdf, QStringLiteral("pictures"));
        QCOMPARE(bodies.size(), 3);
        const QString docx = bodies[0].second;
        QVERIFY(!docx.contains(QLatin1String("<wp:inline")));
        const QRegularExpression anchor(QStringLiteral("<wp:positionH relativeFrom=\"page\"><wp:posOffset>(\\d+)</wp:posOffset></wp:positionH>"
                                                       "<wp:positionV relativeFrom=\"page\"><wp:posOffset>(\\d+)</wp:posOffset></wp:positionV>"
                                                       "<wp:extent cx=\"(\\d+)\" cy=\"(\\d+)\"/>"));
        QList<QList<int>> places; // x, y, width, height in points
        for (auto it = anchor.globalMatch(docx); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            places.append({qRound(match.captured(1).toDouble() / 12700), qRound(match.captured(2).toDouble() / 12700),
                           qRound(match.captured(3).toDouble() / 12700), qRound(match.captured(4).toDouble() / 12700)});
        }
        QCOMPARE(places, QList<QList<int>>({{0, 0, 595, 842}, {72, 100, 200, 150}, {320, 100, 200, 150}}));
        QCOMPARE(bodies[1].second.count(QLatin1String("draw:style-name=\"frPage\"")), 3);
    }

    // A page that ends short of where the others end keeps its page break: above its footnotes,
    // and a page that shows nothing but its number.
    void pagesThatEndShortKeepTheirBreaks()
    {
        const QString pdf = sandbox(QStringLiteral("in")) + QStringLiteral("/short.pdf");
        DrawnPages pages(pdf);
        QPainter& painter = pages.painter();
        pages.prose(72, 80, 54);
        pages.newPage();
        // A short page whose footnote stands at its foot.
        pages.prose(72, 80, 20);
        painter.drawLine(QPointF(72, 752), QPointF(180, 752));
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 7));
        painter.drawText(QPointF(72, 764), QStringLiteral("1 The weather of the week counted twice."));
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
        pages.newPage();
        pages.prose(72, 80, 54);
        pages.newPage();
        painter.drawText(QPointF(295, 800), QStringLiteral("4"));
        pages.newPage();
        painter.drawText(QPointF(72, 80), QStringLiteral("Closing words of the report on the fifth page."));
        pages.prose(72, 93, 40);
        QVERIFY(pages.finish());
        const auto bodies = converted(pdf, QStringLiteral("short"));
        QCOMPARE(bodies.size(), 3);
        const QString docx = bodies[0].second;
        // The third page's text starts a page, after the second page's short body and its note.
        const QRegularExpression breaks(QStringLiteral("<w:pageBreakBefore/>"));
        QCOMPARE(docx.count(breaks), 3);
        QVERIFY(docxParagraph(docx, QStringLiteral("Closing words")).contains(QLatin1String("<w:pageBreakBefore/>")));
        QVERIFY(docxParagraph(docx, QStringLiteral("4")).contains(QLatin1String("<w:pageBreakBefore/>")));
        for (const char* text : {"Closing words", "4</text:span>"}) {
            const QString odt = bodies[1].second;
            const QRegularExpression paragraph(QStringLiteral("<text:p text:style-name=\"(\\w+)\"><text:span[^>]*>%1").arg(QLatin1String(text)));
            const QString style = paragraph.match(odt).captured(1);
            QVERIFY2(QRegularExpression(QStringLiteral("style:name=\"%1\"[^>]*><style:paragraph-properties[^>]*fo:break-before=\"page\"").arg(style))
                         .match(odt)
                         .hasMatch(),
                     text);
        }
    }
};

QTEST_MAIN(Pdf2WordPageLayoutTest)
#include "test_pdf2wordpagelayout.moc"
