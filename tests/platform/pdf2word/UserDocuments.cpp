#include "tests/platform/pdf2word/UserDocuments.h"

#include "tests/platform/pdf2word/DocumentPdfs.h"
#include "tests/support/TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QUrl>

namespace UserDocuments {

namespace {

const char kOdfNamespaces[] =
    R"(xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" )"
    R"(xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" )"
    R"(xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0" xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" )"
    R"(xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0" )"
    R"(xmlns:presentation="urn:oasis:names:tc:opendocument:xmlns:presentation:1.0" xmlns:xlink="http://www.w3.org/1999/xlink" office:version="1.2")";

// A landscape photograph's colours: a sky over water, trees in front.
QByteArray photoPng()
{
    QImage image(440, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int y = 0; y < image.height(); ++y) {
        painter.setPen(QColor(90 + y / 4, 140 + y / 6, 200 - y / 3));
        painter.drawLine(0, y, image.width(), y);
    }
    painter.setPen(Qt::NoPen);
    quint32 state = 3;
    auto next = [&](int bound) {
        state = state * 1664525u + 1013904223u;
        return int((state >> 8) % quint32(bound));
    };
    for (int i = 0; i < 60; ++i) {
        const int r = 5 + next(25);
        painter.setBrush(QColor(40 + next(60), 100 + next(80), 40));
        painter.drawEllipse(QPoint(next(440), 120 + next(180)), r, r);
    }
    painter.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

QString officeDocument(const QString& mimeType, const QString& content)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document %1 office:mimetype=\"%2\">\n%3</office:document>\n")
        .arg(QLatin1String(kOdfNamespaces), mimeType, content);
}

// Writes a flat ODF document beside path and prints it to path with LibreOffice.
bool printOffice(const QString& path, const QString& suffix, const QString& document)
{
    const QFileInfo pdf(path);
    const QString source = pdf.absolutePath() + QLatin1Char('/') + pdf.completeBaseName() + suffix;
    return TestFiles::writeFile(source, document.toUtf8()) && DocumentPdfs::officeToPdf(source, pdf.absolutePath()) == pdf.absoluteFilePath();
}

} // namespace

QList<Row> infoboxRows()
{
    return {{QStringLiteral("Location"), QStringLiteral("Quillport, North Coast"), {}},
            {QStringLiteral("Coordinates"), QString::fromUtf8("54°12′N 3°4′W"), {}},
            {QStringLiteral("Constructed"), QStringLiteral("1862"), {}},
            {QStringLiteral("Height"), QStringLiteral("31 m (102 ft)"), {}},
            {QStringLiteral("Shape"), QStringLiteral("Cylindrical tower with gallery"), {}},
            {QStringLiteral("Markings"), QStringLiteral("White with a red band"), {}},
            {QStringLiteral("Power source"), QStringLiteral("Mains electricity"), {}},
            {QStringLiteral("Operator"), QStringLiteral("Northern Lights Board"), {}},
            {QStringLiteral("Focal height"), QStringLiteral("38 m (125 ft)"), {}},
            {QStringLiteral("Range"), QStringLiteral("18 nmi (33 km)"), {}},
            {QStringLiteral("Characteristic"), QStringLiteral("Fl W 10s"), {}}};
}

bool writeWebPagePdf(const QString& path)
{
    QString infobox = QStringLiteral("<table class=\"infobox\"><caption>Quillport Harbour Light</caption><tr><td colspan=\"2\" class=\"pic\">"
                                     "<img src=\"data:image/png;base64,%1\" width=\"250\"><div class=\"cap\">The tower seen from the "
                                     "north pier in 2019</div></td></tr><tr><th colspan=\"2\" class=\"head\">Tower</th></tr>")
                          .arg(QString::fromLatin1(photoPng().toBase64()));
    const QList<Row> rows = infoboxRows();
    for (int i = 0; i < rows.size(); ++i) {
        if (rows[i].label == QLatin1String("Focal height"))
            infobox += QStringLiteral("<tr><th colspan=\"2\" class=\"head\">Light</th></tr>");
        infobox += QStringLiteral("<tr><th>%1</th><td>%2</td></tr>").arg(rows[i].label, rows[i].value);
    }
    infobox += QStringLiteral("</table>");
    const QString html = QString::fromUtf8(R"(<!DOCTYPE html><html><head><meta charset="utf-8"><title>Quillport Harbour Light</title><style>
body{font-family:"DejaVu Sans",sans-serif;font-size:14px;line-height:1.5;color:#202122;margin:0 24px}
h1{font-family:"DejaVu Serif",serif;font-weight:normal;font-size:28px;border-bottom:1px solid #a2a9b1;margin:8px 0 4px}
h2{font-family:"DejaVu Serif",serif;font-weight:normal;font-size:22px;border-bottom:1px solid #a2a9b1;margin:18px 0 6px}
.sub{font-size:12px;color:#54595d;margin-bottom:10px}
a{color:#3366cc;text-decoration:none}
.infobox{float:right;clear:right;width:300px;margin:0 0 12px 16px;border:1px solid #a2a9b1;background:#f8f9fa;font-size:12px;line-height:1.4;border-spacing:3px;padding:2px}
.infobox caption{font-weight:bold;font-size:15px;padding:4px}
.infobox th{text-align:left;vertical-align:top;padding:2px 4px;width:40%}
.infobox td{vertical-align:top;padding:2px 4px}
.infobox .pic{text-align:center}
.infobox .cap{font-size:11px;padding-top:2px}
.infobox .head{text-align:center;background:#dde4ee}
</style></head><body>
<h1>Quillport Harbour Light</h1><div class="sub">From the free encyclopedia of the North Coast</div>
%1
<p>The <b>Quillport Harbour Light</b> is an active lighthouse at the end of the north pier of <a href="#">Quillport</a>, a fishing town on the north coast. It was built between 1860 and 1862 to guide the herring fleet into the harbour, and it replaced a coal fire that had burned on the headland since the seventeenth century.</p>
<p>The tower is built of local sandstone and rendered in white. A single red band below the gallery makes it easy to tell apart from the lights of the neighbouring harbours in daylight. The lantern holds a rotating optic that gives one white flash every ten seconds.</p>
<p>In the winter of 1881 a storm damaged the pier and the keepers' cottages, and for two months the light was shown from a temporary wooden mast. The tower itself survived without harm, which the engineers of the time took as proof of the care that had gone into its foundations.</p>
<h2>History</h2>
<p>The harbour commissioners first asked for a proper light in 1848, after three boats were lost on the rocks below the headland in a single night. The request was refused twice on the grounds of cost, and it was only when the railway reached the town that the money could be found.</p>
<p>The engineer chosen for the work had built several piers along the coast, and he designed the tower to stand on the rock at the end of the new pier rather than on the headland. Work began in the spring of 1860 and the light was first lit on the first of November 1862.</p>
<p>The light was converted from oil to electricity in 1951 and was automated in 1989, when the last keepers left. The cottages at the foot of the pier now house a small museum about the herring fishery and the people who worked the light.</p>
<h2>Design</h2>
<p>The tower is 31 metres high and tapers slightly from the base to the gallery. A spiral stair of 142 steps climbs inside the wall to the watch room, and a short iron ladder leads from there to the lantern.</p>
<p>The original first order lens was replaced in 1951 by a smaller rotating optic, and the old lens is now shown in the museum. The light can be seen for eighteen nautical miles in clear weather, and a fog signal sounded from the pier head until 2005.</p>
<h2>See also</h2><ul><li><a href="#">List of lighthouses on the North Coast</a></li><li><a href="#">Herring fishery of the North Coast</a></li></ul>
</body></html>
)")
                             .arg(infobox);
    return printWithChromium(html, path);
}

QList<QStringList> arabicTableRows()
{
    return {{QString::fromUtf8("المنطقة"), QString::fromUtf8("الإيرادات"), QString::fromUtf8("التكاليف")},
            {QString::fromUtf8("الشمال"), QStringLiteral("1200"), QStringLiteral("800")},
            {QString::fromUtf8("الجنوب"), QStringLiteral("1500"), QStringLiteral("900")},
            {QString::fromUtf8("الشرق"), QStringLiteral("1100"), QStringLiteral("700")}};
}

bool writeArabicTablesPdf(const QString& path)
{
    QString rows;
    for (const QStringList& row : arabicTableRows())
        rows += QStringLiteral("<tr><td>%1</td></tr>\n").arg(row.join(QStringLiteral("</td><td>")));
    const QString html = QStringLiteral(R"(<!DOCTYPE html><html dir="rtl" lang="ar"><head><meta charset="utf-8"><style>
body { font-family: 'DejaVu Sans'; font-size: 12pt; }
table { border-collapse: collapse; margin-bottom: 2em; }
td { padding: 4px 8px; }
.ruled td { border: 1px solid #000; }
</style></head><body>
<p>جدول الإيرادات حسب المنطقة</p>
<table class="ruled">%1</table>
<p>الجدول نفسه بلا خطوط</p>
<table>%1</table>
</body></html>)")
                             .arg(rows);
    return printWithChromium(html, path, false);
}

bool printWithChromium(const QString& html, const QString& path, bool headerAndFooter)
{
    const QFileInfo pdf(path);
    const QString page = pdf.absolutePath() + QLatin1Char('/') + pdf.completeBaseName() + QStringLiteral(".html");
    if (!TestFiles::writeFile(page, html.toUtf8()))
        return false;
    // A fresh profile and nothing that reaches the network: the page is all there is.
    const QString profile = pdf.absolutePath() + QStringLiteral("/.chromium-") + pdf.completeBaseName();
    QDir(profile).removeRecursively();
    QStringList arguments = {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
                             QStringLiteral("--disable-quic"), QStringLiteral("--no-first-run"), QStringLiteral("--disable-background-networking"),
                             QStringLiteral("--disable-component-update"), QStringLiteral("--disable-sync"),
                             QStringLiteral("--user-data-dir=") + profile, QStringLiteral("--print-to-pdf=") + pdf.absoluteFilePath(),
                             QUrl::fromLocalFile(page).toString()};
    if (!headerAndFooter)
        arguments.prepend(QStringLiteral("--no-pdf-header-footer"));
    TestFiles::run(QStringLiteral("chromium"), arguments, nullptr, nullptr, 180000);
    QDir(profile).removeRecursively();
    return pdf.exists() && QFileInfo(path).size() > 0;
}

QList<Row> formLines()
{
    const char* const lines[][2] = {{"Wages, salaries and tips from all employers", "48,200"},
                                    {"Interest from savings and bonds", "312"},
                                    {"Dividends from shares", "1,045"},
                                    {"Pensions and annuities", ""},
                                    {"Rents received from property in the district", "6,600"},
                                    {"Add lines 1 through 5. This is your total income", "56,157"},
                                    {"Allowance for a household of two or more", "4,800"},
                                    {"Subtract line 7 from line 6", "51,357"},
                                    {"Tax on the amount on line 8 (see the table)", "7,704"},
                                    {"Tax already paid by your employers", "7,950"},
                                    {"Harbour levy for boats of more than six metres", "120"},
                                    {"Credit for insulating a dwelling built before 1950", "300"},
                                    {"Add lines 10 and 12", "8,250"},
                                    {"Subtract line 11 from line 13", "8,130"},
                                    {"If line 14 is more than line 9, this is your refund", "426"},
                                    {"Amount of line 15 you want paid into your account", "426"},
                                    {"Amount of line 15 you want set against next year's tax", ""},
                                    {"If line 9 is more than line 14, this is what you owe", ""}};
    QList<Row> rows;
    for (const auto& line : lines)
        rows.append({QString::fromUtf8(line[0]), QString::fromUtf8(line[1]), QString::number(rows.size() + 1)});
    return rows;
}

bool writeFormPdf(const QString& path)
{
    // Check boxes drawn as squares, a checked one crossed.
    auto box = [](bool checked) {
        return QStringLiteral("<draw:path draw:style-name=\"Box\" text:anchor-type=\"as-char\" svg:width=\"0.3cm\" svg:height=\"0.3cm\" "
                              "svg:viewBox=\"0 0 300 300\" svg:d=\"M0 0 L300 0 L300 300 L0 300 Z%1\"/>")
            .arg(checked ? QStringLiteral(" M40 40 L260 260 M260 40 L40 260") : QString());
    };
    const QList<Row> lines = formLines();
    auto numbered = [&](int from, int to) {
        QString rows;
        for (int i = from; i < to; ++i)
            rows += QStringLiteral("<table:table-row><table:table-cell table:style-name=\"Num\"><text:p text:style-name=\"NumP\">%1</text:p>"
                                   "</table:table-cell><table:table-cell table:style-name=\"Lab\"><text:p>%2</text:p></table:table-cell>"
                                   "<table:table-cell table:style-name=\"Num\"><text:p text:style-name=\"NumP\">%1</text:p></table:table-cell>"
                                   "<table:table-cell table:style-name=\"Amt\"><text:p text:style-name=\"AmtP\">%3</text:p></table:table-cell>"
                                   "</table:table-row>\n")
                        .arg(lines[i].number, lines[i].label.toHtmlEscaped(), lines[i].value);
        return QStringLiteral("<table:table table:name=\"Lines%1\" table:style-name=\"Form\"><table:table-column table:style-name=\"C1\"/>"
                              "<table:table-column table:style-name=\"C2\"/><table:table-column table:style-name=\"C3\"/>"
                              "<table:table-column table:style-name=\"C4\"/>%2</table:table>\n")
            .arg(from)
            .arg(rows);
    };
    auto boxes = [](const QStringList& cells) {
        QString row;
        for (int i = 0; i + 1 < cells.size(); i += 2)
            row += QStringLiteral("<table:table-cell table:style-name=\"Frame\"><text:p text:style-name=\"Small\">%1</text:p>"
                                  "<text:p text:style-name=\"Fill\">%2</text:p></table:table-cell>")
                       .arg(cells[i], cells[i + 1]);
        return row.isEmpty() ? QString() : QStringLiteral("<table:table-row>%1</table:table-row>").arg(row);
    };
    const QString body =
        QStringLiteral(
            "<text:p text:style-name=\"FormNo\"><draw:custom-shape draw:style-name=\"Vertical\" draw:name=\"Vertical\" text:anchor-type=\"page\" "
            "text:anchor-page-number=\"1\" svg:width=\"7cm\" svg:height=\"0.9cm\" draw:transform=\"rotate (1.5707963267949) translate (0.6cm 16cm)\">"
            "<text:p text:style-name=\"VerticalP\">PRINT CLEARLY</text:p><draw:enhanced-geometry draw:type=\"rectangle\"/></draw:custom-shape>Form 7204</text:p>\n"
            "<text:p text:style-name=\"FormTitle\">Household Return of the North Coast 2024</text:p>\n"
            "<text:p text:style-name=\"FormSub\">Department of Coastal Revenue. Use black ink. Round amounts to whole crowns.</text:p>\n"
            "<table:table table:name=\"Names\" table:style-name=\"Form\"><table:table-column table:style-name=\"N1\"/><table:table-column table:style-name=\"N2\"/>%1%2</table:table>\n"
            "<text:p text:style-name=\"Section\">Filing status</text:p>\n"
            "<text:p text:style-name=\"Checks\">Check only one box. %3 Single  %4 Married filing jointly  %3 Married filing separately  %3 Head of household</text:p>\n"
            "<text:p text:style-name=\"Section\">Income</text:p>\n%5"
            "<text:p text:style-name=\"Checks\">%4 I had no income from abroad this year.</text:p>\n"
            "<text:p text:style-name=\"SectionBreak\">Refund or amount you owe</text:p>\n%6"
            "<text:p text:style-name=\"Section\">Sign here</text:p>\n"
            "<text:p text:style-name=\"Checks\">Under penalties of perjury, I declare that I have examined this return and to the best of my knowledge "
            "and belief it is true, correct and complete.</text:p>\n"
            "<table:table table:name=\"Sign\" table:style-name=\"Form\"><table:table-column table:style-name=\"N1\"/><table:table-column table:style-name=\"N2\"/>%7</table:table>\n"
            "<text:p text:style-name=\"Checks\">%3 Check here if you want the department to talk about this return with your preparer.</text:p>\n")
            .arg(boxes({QStringLiteral("Your first name and initial"), QStringLiteral("Marta J."),
                        QStringLiteral("Last name"), QStringLiteral("Lindqvist")}),
                 boxes({QStringLiteral("Home address (number and street)"), QStringLiteral("14 Pier Road"),
                        QStringLiteral("Town and postcode"), QStringLiteral("Quillport QP4 7HT")}),
                 box(false), box(true), numbered(0, 10), numbered(10, lines.size()),
                 boxes({QStringLiteral("Your signature"), QString(), QStringLiteral("Date"), QStringLiteral("12 March 2025")}));
    const QString section = QStringLiteral("<style:paragraph-properties %1fo:margin-top=\"0.3cm\" fo:margin-bottom=\"0.15cm\" "
                                           "fo:background-color=\"#000000\" fo:padding=\"0.05cm\"/><style:text-properties fo:font-weight=\"bold\" "
                                           "fo:color=\"#ffffff\"/>");
    const QString styles =
        QStringLiteral(
            "<office:font-face-decls><style:font-face style:name=\"Liberation Sans\" svg:font-family=\"'Liberation Sans'\"/></office:font-face-decls>\n"
            "<office:styles><style:default-style style:family=\"paragraph\"><style:text-properties style:font-name=\"Liberation Sans\" "
            "fo:font-size=\"9pt\" fo:language=\"en\" fo:country=\"US\"/></style:default-style></office:styles>\n"
            "<office:automatic-styles>\n"
            "<style:style style:name=\"FormNo\" style:family=\"paragraph\"><style:text-properties fo:font-size=\"16pt\" fo:font-weight=\"bold\"/></style:style>\n"
            "<style:style style:name=\"FormTitle\" style:family=\"paragraph\"><style:paragraph-properties fo:text-align=\"center\"/>"
            "<style:text-properties fo:font-size=\"14pt\" fo:font-weight=\"bold\"/></style:style>\n"
            "<style:style style:name=\"FormSub\" style:family=\"paragraph\"><style:paragraph-properties fo:text-align=\"center\" fo:margin-bottom=\"0.3cm\"/>"
            "<style:text-properties fo:font-size=\"8pt\"/></style:style>\n"
            "<style:style style:name=\"Section\" style:family=\"paragraph\">%1</style:style>\n"
            "<style:style style:name=\"SectionBreak\" style:family=\"paragraph\">%2</style:style>\n"
            "<style:style style:name=\"Checks\" style:family=\"paragraph\"><style:paragraph-properties fo:margin-top=\"0.1cm\" fo:margin-bottom=\"0.1cm\"/></style:style>\n"
            "<style:style style:name=\"Small\" style:family=\"paragraph\"><style:text-properties fo:font-size=\"6.5pt\"/></style:style>\n"
            "<style:style style:name=\"Fill\" style:family=\"paragraph\"><style:text-properties fo:font-size=\"10pt\"/></style:style>\n"
            "<style:style style:name=\"NumP\" style:family=\"paragraph\"><style:text-properties fo:font-weight=\"bold\"/></style:style>\n"
            "<style:style style:name=\"AmtP\" style:family=\"paragraph\"><style:paragraph-properties fo:text-align=\"end\"/>"
            "<style:text-properties fo:font-size=\"10pt\"/></style:style>\n"
            "<style:style style:name=\"VerticalP\" style:family=\"paragraph\"><style:paragraph-properties fo:text-align=\"center\"/>"
            "<style:text-properties fo:font-size=\"11pt\" fo:font-weight=\"bold\"/></style:style>\n"
            "<style:style style:name=\"Vertical\" style:family=\"graphic\"><style:graphic-properties draw:fill=\"none\" draw:stroke=\"none\" "
            "draw:textarea-horizontal-align=\"center\" draw:textarea-vertical-align=\"middle\" style:wrap=\"none\"/></style:style>\n"
            "<style:style style:name=\"Box\" style:family=\"graphic\"><style:graphic-properties svg:stroke-color=\"#000000\" svg:stroke-width=\"0.03cm\" "
            "draw:fill=\"none\" style:vertical-pos=\"middle\" style:vertical-rel=\"text\"/></style:style>\n"
            "<style:style style:name=\"Form\" style:family=\"table\"><style:table-properties style:width=\"17cm\" table:align=\"left\"/></style:style>\n"
            "<style:style style:name=\"C1\" style:family=\"table-column\"><style:table-column-properties style:column-width=\"0.8cm\"/></style:style>\n"
            "<style:style style:name=\"C2\" style:family=\"table-column\"><style:table-column-properties style:column-width=\"11.2cm\"/></style:style>\n"
            "<style:style style:name=\"C3\" style:family=\"table-column\"><style:table-column-properties style:column-width=\"1cm\"/></style:style>\n"
            "<style:style style:name=\"C4\" style:family=\"table-column\"><style:table-column-properties style:column-width=\"4cm\"/></style:style>\n"
            "<style:style style:name=\"N1\" style:family=\"table-column\"><style:table-column-properties style:column-width=\"10cm\"/></style:style>\n"
            "<style:style style:name=\"N2\" style:family=\"table-column\"><style:table-column-properties style:column-width=\"7cm\"/></style:style>\n"
            "<style:style style:name=\"Num\" style:family=\"table-cell\"><style:table-cell-properties fo:padding=\"0.08cm\" fo:border=\"none\"/></style:style>\n"
            "<style:style style:name=\"Lab\" style:family=\"table-cell\"><style:table-cell-properties fo:padding=\"0.08cm\" "
            "fo:border-bottom=\"0.5pt dotted #000000\" fo:border-top=\"none\" fo:border-left=\"none\" fo:border-right=\"none\"/></style:style>\n"
            "<style:style style:name=\"Amt\" style:family=\"table-cell\"><style:table-cell-properties fo:padding=\"0.08cm\" fo:border=\"0.5pt solid #000000\"/></style:style>\n"
            "<style:style style:name=\"Frame\" style:family=\"table-cell\"><style:table-cell-properties fo:padding=\"0.08cm\" fo:border=\"0.5pt solid #000000\"/></style:style>\n"
            "<style:page-layout style:name=\"Page\"><style:page-layout-properties fo:page-width=\"21cm\" fo:page-height=\"29.7cm\" fo:margin-top=\"1.5cm\" "
            "fo:margin-bottom=\"1.5cm\" fo:margin-left=\"2cm\" fo:margin-right=\"1.5cm\"/></style:page-layout>\n"
            "</office:automatic-styles>\n"
            "<office:master-styles><style:master-page style:name=\"Standard\" style:page-layout-name=\"Page\"/></office:master-styles>\n")
            .arg(section.arg(QString()), section.arg(QStringLiteral("fo:break-before=\"page\" ")));
    return printOffice(path, QStringLiteral(".fodt"),
                       officeDocument(QStringLiteral("application/vnd.oasis.opendocument.text"),
                                      styles + QStringLiteral("<office:body><office:text>\n%1</office:text></office:body>\n").arg(body)));
}

QList<Row> statementRows()
{
    const char* const rows[][3] = {{"Sales of fish and shellfish", "48,213", "45,102"},
                                   {"Harbour and mooring fees", "6,120", "5,874"},
                                   {"Boat repairs and chandlery", "3,307", "3,544"},
                                   {"Total revenue", "57,640", "54,520"},
                                   {"Cost of goods sold", "(29,876)", "(28,340)"},
                                   {"Wages and salaries", "(11,420)", "(10,980)"},
                                   {"Fuel and ice", "(4,312)", "(4,790)"},
                                   {"Depreciation of boats and equipment", "(2,904)", "(2,711)"},
                                   {"Other operating expenses", "(1,877)", "(1,650)"},
                                   {"Total operating expenses", "(50,389)", "(48,471)"},
                                   {"Operating profit", "7,251", "6,049"},
                                   {"Interest received", "214", "96"},
                                   {"Interest paid on loans", "(1,130)", "(1,245)"},
                                   {"Profit before tax", "6,335", "4,900"},
                                   {"Income tax", "(1,394)", "(1,078)"},
                                   {"Profit for the year", "4,941", "3,822"},
                                   {"Basic", "2.47", "1.91"},
                                   {"Diluted", "2.41", "1.88"}};
    QList<Row> result;
    for (const auto& row : rows)
        result.append({QString::fromUtf8(row[0]), QString::fromUtf8(row[1]), QString::fromUtf8(row[2])});
    return result;
}

bool writeStatementPdf(const QString& path)
{
    // Each row: its look, then the label; the amounts come from statementRows() in order.
    const char* const layout[][2] = {{"Title", "Consolidated statement of income"},
                                     {"Default", ""},
                                     {"ColHead", "(in thousands of crowns)"},
                                     {"SectionLabel", "Revenue"},
                                     {"Item", nullptr},
                                     {"Item", nullptr},
                                     {"Item", nullptr},
                                     {"TotalLabel", nullptr},
                                     {"SectionLabel", "Operating expenses"},
                                     {"Item", nullptr},
                                     {"Item", nullptr},
                                     {"Item", nullptr},
                                     {"Item", nullptr},
                                     {"Item", nullptr},
                                     {"TotalLabel", nullptr},
                                     {"TotalLabel", nullptr},
                                     {"Item", nullptr},
                                     {"Item", nullptr},
                                     {"TotalLabel", nullptr},
                                     {"Item", nullptr},
                                     {"NetLabel", nullptr},
                                     {"Default", ""},
                                     {"SectionLabel", "Earnings per share (crowns)"},
                                     {"Item", nullptr},
                                     {"Item", nullptr}};
    const QList<Row> amounts = statementRows();
    int next = 0;
    QString rows;
    for (const auto& row : layout) {
        const QString look = QString::fromUtf8(row[0]);
        const QString numberLook = look == QLatin1String("ColHead")      ? QStringLiteral("ColHeadNum")
                                   : look == QLatin1String("TotalLabel") ? QStringLiteral("TotalNum")
                                   : look == QLatin1String("NetLabel")   ? QStringLiteral("NetNum")
                                                                         : QStringLiteral("Num");
        rows += QStringLiteral("<table:table-row>");
        if (row[1]) {
            rows += QStringLiteral("<table:table-cell table:style-name=\"%1\" office:value-type=\"string\"><text:p>%2</text:p></table:table-cell>")
                        .arg(look, QString::fromUtf8(row[1]));
            if (look == QLatin1String("ColHead"))
                rows += QStringLiteral("<table:table-cell table:style-name=\"ColHeadNum\" office:value-type=\"string\"><text:p>2024</text:p>"
                                       "</table:table-cell><table:table-cell table:style-name=\"ColHeadNum\" office:value-type=\"string\">"
                                       "<text:p>2023</text:p></table:table-cell>");
            else
                rows += QStringLiteral("<table:table-cell table:style-name=\"%1\" table:number-columns-repeated=\"2\"/>").arg(numberLook);
        } else {
            const Row& amount = amounts[next++];
            rows += QStringLiteral("<table:table-cell table:style-name=\"%1\" office:value-type=\"string\"><text:p>%2</text:p></table:table-cell>")
                        .arg(look, amount.label);
            for (const QString& shown : {amount.value, amount.number}) {
                // Calc prints the value in the cell's number format: thousands grouped, losses in brackets.
                QString value = shown;
                value.remove(QLatin1Char(',')).remove(QLatin1Char(')'));
                if (value.startsWith(QLatin1Char('(')))
                    value = QLatin1Char('-') + value.mid(1);
                const bool decimals = value.contains(QLatin1Char('.'));
                rows += QStringLiteral("<table:table-cell table:style-name=\"%1\" office:value-type=\"float\" office:value=\"%2\"><text:p>%3</text:p>"
                                       "</table:table-cell>")
                            .arg(decimals ? QStringLiteral("Dec") : numberLook, value, shown);
            }
        }
        rows += QStringLiteral("</table:table-row>\n");
    }
    const QString content = QString::fromUtf8(R"(<office:font-face-decls><style:font-face style:name="Liberation Sans" svg:font-family="'Liberation Sans'"/></office:font-face-decls>
<office:styles><style:default-style style:family="table-cell"><style:text-properties style:font-name="Liberation Sans" fo:font-size="10pt"/></style:default-style></office:styles>
<office:automatic-styles>
<number:number-style style:name="Npos"><number:number number:decimal-places="0" number:min-integer-digits="1" number:grouping="true"/><number:text> </number:text></number:number-style>
<number:number-style style:name="Nfmt"><number:text>(</number:text><number:number number:decimal-places="0" number:min-integer-digits="1" number:grouping="true"/><number:text>)</number:text><style:map style:condition="value()&gt;=0" style:apply-style-name="Npos"/></number:number-style>
<number:number-style style:name="Dpos"><number:number number:decimal-places="2" number:min-integer-digits="1"/><number:text> </number:text></number:number-style>
<style:style style:name="co1" style:family="table-column"><style:table-column-properties style:column-width="9cm"/></style:style>
<style:style style:name="co2" style:family="table-column"><style:table-column-properties style:column-width="3cm"/></style:style>
<style:style style:name="Default" style:family="table-cell"/>
<style:style style:name="Dec" style:family="table-cell" style:data-style-name="Dpos"><style:paragraph-properties fo:text-align="end"/></style:style>
<style:style style:name="Title" style:family="table-cell"><style:text-properties fo:font-size="14pt" fo:font-weight="bold"/></style:style>
<style:style style:name="ColHead" style:family="table-cell"><style:table-cell-properties fo:border-bottom="0.75pt solid #000000"/><style:text-properties fo:font-style="italic"/></style:style>
<style:style style:name="ColHeadNum" style:family="table-cell"><style:table-cell-properties fo:border-bottom="0.75pt solid #000000"/><style:paragraph-properties fo:text-align="end"/><style:text-properties fo:font-weight="bold"/></style:style>
<style:style style:name="SectionLabel" style:family="table-cell"><style:text-properties fo:font-weight="bold"/></style:style>
<style:style style:name="Item" style:family="table-cell"><style:paragraph-properties fo:margin-left="0.4cm"/></style:style>
<style:style style:name="Num" style:family="table-cell" style:data-style-name="Nfmt"><style:paragraph-properties fo:text-align="end"/></style:style>
<style:style style:name="TotalLabel" style:family="table-cell"><style:table-cell-properties fo:border-top="0.5pt solid #000000"/><style:text-properties fo:font-weight="bold"/></style:style>
<style:style style:name="TotalNum" style:family="table-cell" style:data-style-name="Nfmt"><style:table-cell-properties fo:border-top="0.5pt solid #000000"/><style:paragraph-properties fo:text-align="end"/><style:text-properties fo:font-weight="bold"/></style:style>
<style:style style:name="NetLabel" style:family="table-cell"><style:table-cell-properties fo:border-top="0.5pt solid #000000" fo:border-bottom="1.5pt double #000000"/><style:text-properties fo:font-weight="bold"/></style:style>
<style:style style:name="NetNum" style:family="table-cell" style:data-style-name="Nfmt"><style:table-cell-properties fo:border-top="0.5pt solid #000000" fo:border-bottom="1.5pt double #000000"/><style:paragraph-properties fo:text-align="end"/><style:text-properties fo:font-weight="bold"/></style:style>
</office:automatic-styles>
<office:body><office:spreadsheet><table:table table:name="Income">
<table:table-column table:style-name="co1"/><table:table-column table:style-name="co2" table:number-columns-repeated="2"/>
%1</table:table></office:spreadsheet></office:body>
)")
                                .arg(rows);
    return printOffice(path, QStringLiteral(".fods"), officeDocument(QStringLiteral("application/vnd.oasis.opendocument.spreadsheet"), content));
}

bool writeSlidePdf(const QString& path)
{
    const QString content = QString::fromUtf8(R"(<office:font-face-decls><style:font-face style:name="Liberation Sans" svg:font-family="'Liberation Sans'"/></office:font-face-decls>
<office:styles><style:default-style style:family="graphic"><style:text-properties style:font-name="Liberation Sans" fo:font-size="18pt"/></style:default-style></office:styles>
<office:automatic-styles>
<style:page-layout style:name="PM1"><style:page-layout-properties fo:page-width="28cm" fo:page-height="15.75cm" style:print-orientation="landscape"/></style:page-layout>
<style:style style:name="dp1" style:family="drawing-page"><style:drawing-page-properties draw:fill="none"/></style:style>
<style:style style:name="Plain" style:family="graphic"><style:graphic-properties draw:fill="none" draw:stroke="none" draw:textarea-vertical-align="top"/></style:style>
<style:style style:name="Side" style:family="graphic"><style:graphic-properties draw:fill="solid" draw:fill-color="#dbe8f5" draw:stroke="none" draw:auto-grow-height="false" draw:textarea-vertical-align="top" fo:padding-left="0.5cm" fo:padding-top="0.5cm" fo:padding-right="0.4cm"/></style:style>
<style:style style:name="PT" style:family="paragraph"><style:text-properties fo:font-size="30pt" fo:font-weight="bold" fo:color="#1f4e79"/></style:style>
<style:style style:name="PB" style:family="paragraph"><style:paragraph-properties fo:margin-bottom="0.3cm"/><style:text-properties fo:font-size="18pt"/></style:style>
<style:style style:name="SH" style:family="paragraph"><style:paragraph-properties fo:margin-bottom="0.3cm"/><style:text-properties fo:font-size="18pt" fo:font-weight="bold" fo:color="#1f4e79"/></style:style>
<style:style style:name="SP" style:family="paragraph"><style:paragraph-properties fo:margin-bottom="0.25cm"/><style:text-properties fo:font-size="14pt"/></style:style>
<text:list-style style:name="L1"><text:list-level-style-bullet text:level="1" text:bullet-char="•"><style:list-level-properties text:space-before="0cm" text:min-label-width="0.6cm"/></text:list-level-style-bullet></text:list-style>
</office:automatic-styles>
<office:master-styles><style:master-page style:name="Default" style:page-layout-name="PM1" draw:style-name="dp1"/></office:master-styles>
<office:body><office:presentation>
<draw:page draw:name="Slide1" draw:style-name="dp1" draw:master-page-name="Default">
<draw:frame draw:style-name="Plain" svg:x="1.2cm" svg:y="0.8cm" svg:width="17cm" svg:height="2cm"><draw:text-box><text:p text:style-name="PT">The harbour in 2024</text:p></draw:text-box></draw:frame>
<draw:frame draw:style-name="Plain" svg:x="1.2cm" svg:y="3.2cm" svg:width="16.5cm" svg:height="11cm"><draw:text-box><text:list text:style-name="L1">
<text:list-item><text:p text:style-name="PB">Landings rose by seven per cent on the year</text:p></text:list-item>
<text:list-item><text:p text:style-name="PB">Two new boats joined the fleet in the spring</text:p></text:list-item>
<text:list-item><text:p text:style-name="PB">The ice plant now runs on power from the harbour wind turbine</text:p></text:list-item>
<text:list-item><text:p text:style-name="PB">Mooring fees stay the same for local boats</text:p></text:list-item>
</text:list></draw:text-box></draw:frame>
<draw:custom-shape draw:style-name="Side" svg:x="19cm" svg:y="0cm" svg:width="9cm" svg:height="15.75cm"><text:p text:style-name="SH">Key figures</text:p>
<text:p text:style-name="SP">57.6 million crowns of revenue</text:p><text:p text:style-name="SP">4.9 million crowns of profit</text:p>
<text:p text:style-name="SP">38 boats in the fleet</text:p><text:p text:style-name="SP">212 people employed</text:p><draw:enhanced-geometry draw:type="rectangle"/></draw:custom-shape>
<draw:frame draw:style-name="Plain" svg:x="19.8cm" svg:y="9.8cm" svg:width="7.4cm" svg:height="5cm"><draw:image><office:binary-data>%1</office:binary-data></draw:image></draw:frame>
</draw:page>
</office:presentation></office:body>
)")
                                .arg(QString::fromLatin1(photoPng().toBase64()));
    return printOffice(path, QStringLiteral(".fodp"), officeDocument(QStringLiteral("application/vnd.oasis.opendocument.presentation"), content));
}

QList<Row> shadedTableRows()
{
    const char* const rows[][3] = {{"North Coast", "1,517", "1,402"}, {"Western Isles", "955", "901"}, {"Firth", "2,512", "2,405"}, {"Southern Uplands", "661", "629"}, {"Eastern Plain", "3,502", "3,388"}, {"Highlands", "533", "517"}, {"All regions", "9,680", "9,242"}};
    QList<Row> result;
    for (const auto& row : rows)
        result.append({QString::fromUtf8(row[0]), QString::fromUtf8(row[1]), QString::fromUtf8(row[2])});
    return result;
}

bool writeShadedTablePdf(const QString& path)
{
    // Columns: region, last year, this year (tinted); the header tinted dark with white text,
    // every other row banded, the total row tinted darker.
    QString rows = QStringLiteral("<table:table-row table:style-name=\"ro\"><table:table-cell table:style-name=\"Head\" office:value-type=\"string\">"
                                  "<text:p>Region</text:p></table:table-cell><table:table-cell table:style-name=\"Head\" office:value-type=\"string\">"
                                  "<text:p>2023</text:p></table:table-cell><table:table-cell table:style-name=\"Head\" office:value-type=\"string\">"
                                  "<text:p>2024</text:p></table:table-cell></table:table-row>\n");
    const QList<Row> data = shadedTableRows();
    for (int r = 0; r < data.size(); ++r) {
        const bool total = r + 1 == data.size();
        const QString look = total ? QStringLiteral("Total") : r % 2 ? QStringLiteral("Band")
                                                                     : QStringLiteral("Plain");
        rows += QStringLiteral("<table:table-row table:style-name=\"ro\"><table:table-cell table:style-name=\"%1\" office:value-type=\"string\">"
                               "<text:p>%2</text:p></table:table-cell><table:table-cell table:style-name=\"%1\" office:value-type=\"string\">"
                               "<text:p>%3</text:p></table:table-cell><table:table-cell table:style-name=\"%4\" office:value-type=\"string\">"
                               "<text:p>%5</text:p></table:table-cell></table:table-row>\n")
                    .arg(look, data[r].label, data[r].number, total ? QStringLiteral("TotalTint") : QStringLiteral("Tint"), data[r].value);
    }
    const QString content = QString::fromUtf8(R"(<office:font-face-decls><style:font-face style:name="Liberation Sans" svg:font-family="'Liberation Sans'"/></office:font-face-decls>
<office:styles><style:default-style style:family="table-cell"><style:text-properties style:font-name="Liberation Sans" fo:font-size="10pt"/></style:default-style></office:styles>
<office:automatic-styles>
<style:style style:name="co1" style:family="table-column"><style:table-column-properties style:column-width="4.5cm"/></style:style>
<style:style style:name="co2" style:family="table-column"><style:table-column-properties style:column-width="2.3cm"/></style:style>
<style:style style:name="ro" style:family="table-row"><style:table-row-properties style:row-height="0.7cm"/></style:style>
<style:style style:name="Head" style:family="table-cell"><style:table-cell-properties fo:background-color="#1f4e79" style:vertical-align="middle"/><style:text-properties fo:color="#ffffff" fo:font-weight="bold"/></style:style>
<style:style style:name="Plain" style:family="table-cell"><style:table-cell-properties style:vertical-align="middle"/></style:style>
<style:style style:name="Band" style:family="table-cell"><style:table-cell-properties fo:background-color="#ddebf7" style:vertical-align="middle"/></style:style>
<style:style style:name="Tint" style:family="table-cell"><style:table-cell-properties fo:background-color="#fff2cc" style:vertical-align="middle"/></style:style>
<style:style style:name="Total" style:family="table-cell"><style:table-cell-properties fo:background-color="#bdd7ee" style:vertical-align="middle"/><style:text-properties fo:font-weight="bold"/></style:style>
<style:style style:name="TotalTint" style:family="table-cell"><style:table-cell-properties fo:background-color="#ffe699" style:vertical-align="middle"/><style:text-properties fo:font-weight="bold"/></style:style>
</office:automatic-styles>
<office:body><office:spreadsheet><table:table table:name="Landings">
<table:table-column table:style-name="co1"/><table:table-column table:style-name="co2" table:number-columns-repeated="2"/>
%1</table:table></office:spreadsheet></office:body>
)")
                                .arg(rows);
    return printOffice(path, QStringLiteral(".fods"), officeDocument(QStringLiteral("application/vnd.oasis.opendocument.spreadsheet"), content));
}

QStringList articleParagraphs()
{
    return {QStringLiteral("The harbour was dredged in the spring of that year, and the work took longer than the board had hoped because the "
                           "weather stayed rough well into May."),
            QStringLiteral("Fishing boats moved to the outer pier while the dredger worked, which meant a longer walk for the crews and a "
                           "great deal of grumbling in the harbour office."),
            QStringLiteral("When the work was done the inner harbour could take boats of a deeper draught at any state of the tide, and two "
                           "new trawlers joined the fleet before the summer was out."),
            QStringLiteral("The cost was met in part by a grant from the county, and in part by a small rise in the mooring fees that the "
                           "owners accepted after a long meeting in the town hall.")};
}

bool writeArticlePdf(const QString& path)
{
    QString infobox = QStringLiteral("<table class=\"infobox\"><caption>Quillport Harbour Light</caption>");
    for (const Row& row : infoboxRows())
        infobox += QStringLiteral("<tr><th>%1</th><td>%2</td></tr>").arg(row.label, row.value);
    infobox += QStringLiteral("</table>");
    QString paragraphs;
    for (const QString& paragraph : articleParagraphs())
        paragraphs += QStringLiteral("<p>%1</p>").arg(paragraph);
    const QString html = QString::fromUtf8(R"(<!DOCTYPE html><html><head><meta charset="utf-8"><style>
body{font-family:"Liberation Sans",sans-serif;font-size:14px;line-height:1.6;margin:0 24px}
h1{font-family:"Liberation Serif",serif;font-weight:normal;font-size:28px;border-bottom:1px solid #a2a9b1}
.infobox{float:right;width:300px;margin:0 0 12px 16px;border:1px solid #a2a9b1;font-size:12px;line-height:1.5;border-spacing:3px}
.infobox caption{font-weight:bold;font-size:15px}
.infobox th{text-align:left;vertical-align:top;width:40%}
</style></head><body><h1>Quillport harbour</h1>%1%2</body></html>)")
                             .arg(infobox, paragraphs + paragraphs);
    return printWithChromium(html, path);
}

bool writeOverstruckAccentsPdf(const QString& path, const QString& text)
{
    // troff's names of the accents a decomposed letter carries.
    static const QHash<char32_t, QString> accentNames = {
        {U'\u0300', QStringLiteral("ga")}, {U'\u0301', QStringLiteral("aa")}, {U'\u0302', QStringLiteral("a^")}, {U'\u0303', QStringLiteral("a~")}, {U'\u0304', QStringLiteral("a-")}, {U'\u0306', QStringLiteral("ab")}, {U'\u0307', QStringLiteral("a.")}, {U'\u0308', QStringLiteral("ad")}, {U'\u030A', QStringLiteral("ao")}, {U'\u030C', QStringLiteral("ah")}, {U'\u0327', QStringLiteral("ac")}, {U'\u0328', QStringLiteral("ho")}};
    QString troff;
    for (const uint c : text.toUcs4()) {
        const QVector<uint> parts = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_D).toUcs4();
        if (parts.size() != 2 || !accentNames.contains(parts[1])) {
            troff += QString::fromUcs4(&c, 1);
            continue;
        }
        const QString letter = parts[0] == 'i' ? QStringLiteral("\\(.i") : QString::fromUcs4(&parts[0], 1);
        troff += QStringLiteral("\\o'\\(%1%2'").arg(accentNames.value(parts[1]), letter);
    }
    const QFileInfo pdf(path);
    const QString base = pdf.absolutePath() + QLatin1Char('/') + pdf.completeBaseName();
    QByteArray postscript;
    return TestFiles::writeFile(base + QStringLiteral(".tr"), troff.toLatin1() + '\n')
           && TestFiles::run(QStringLiteral("groff"), {QStringLiteral("-Tps"), base + QStringLiteral(".tr")}, &postscript) == 0
           && TestFiles::writeFile(base + QStringLiteral(".ps"), postscript)
           && TestFiles::run(QStringLiteral("ps2pdf"), {base + QStringLiteral(".ps"), path}) == 0 && QFileInfo::exists(path);
}

} // namespace UserDocuments
