#include "tests/platform/pdf2word/HardPages.h"

#include "tests/platform/pdf2word/DocumentPdfs.h"
#include "tests/platform/pdf2word/RealDocuments.h"
#include "tests/platform/pdflibrary/PdfLibraryFixtures.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>

namespace HardPages {

namespace {

QByteArray stream(const QByteArray& content, const QByteArray& dictionary = QByteArray())
{
    return "<< " + dictionary + " /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "\nendstream";
}

// The tesseract command line, one thread: on a busy machine its threads mostly wait for one
// another. Standard output goes to *out.
bool runTesseract(const QStringList& arguments, QByteArray* out = nullptr)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("tesseract"), arguments);
    if (!process.waitForFinished(600000))
        return false;
    if (out)
        *out = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// A folder beside path for the work files of making it.
QString workFolder(const QString& path, const QString& what)
{
    const QFileInfo info(path);
    const QString folder = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QLatin1Char('-') + what;
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    return folder;
}

// The pictures pdftoppm drew into folder, in page order.
QStringList drawnPages(const QString& folder)
{
    QStringList pages;
    for (const QString& entry : TestFiles::entries(folder)) {
        if (entry.endsWith(QLatin1String(".png")) || entry.endsWith(QLatin1String(".pgm")))
            pages << folder + QLatin1Char('/') + entry;
    }
    return pages;
}

// A PostScript string of Latin-1 bytes, each written as an octal escape.
QString psBytes(const QByteArray& bytes)
{
    QString text = QStringLiteral("(");
    for (const char byte : bytes)
        text += QStringLiteral("\\%1").arg(uint(uchar(byte)), 3, 8, QLatin1Char('0'));
    return text + QLatin1Char(')');
}

bool ghostscript(const QString& path, const QString& postScript)
{
    const QFileInfo info(path);
    const QString source = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".ps");
    if (!TestFiles::writeFile(source, postScript.toLatin1()))
        return false;
    TestFiles::run(QStringLiteral("gs"), {QStringLiteral("-q"), QStringLiteral("-dNOPAUSE"), QStringLiteral("-dBATCH"), QStringLiteral("-dSAFER"), QStringLiteral("-sDEVICE=pdfwrite"), QStringLiteral("-sOutputFile=") + path, source},
                   nullptr, nullptr, 600000);
    return QFileInfo(path).size() > 0;
}

} // namespace

bool tesseract(const QStringList& arguments, QByteArray* out)
{
    return runTesseract(arguments, out);
}

bool writeCoveredTextPdf(const QString& path, const QStringList& lines)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF());
    writer.setResolution(300);
    // The lines at 300 dpi, 12 points (50 pixels) high; the scan draws them the same at 100 dpi.
    auto drawLines = [&lines](QPainter& painter) {
        QFont font(QStringLiteral("DejaVu Serif"));
        font.setPixelSize(50);
        painter.setFont(font);
        painter.setPen(Qt::black);
        for (int i = 0; i < lines.size(); ++i)
            painter.drawText(QPointF(300, 400 + i * 90), lines[i]);
    };
    QImage scan(writer.width() / 3, writer.height() / 3, QImage::Format_RGB32);
    scan.fill(Qt::white);
    {
        QPainter painter(&scan);
        painter.scale(1.0 / 3, 1.0 / 3);
        drawLines(painter);
    }
    QPainter painter(&writer);
    drawLines(painter);
    painter.drawImage(QRect(0, 0, writer.width(), writer.height()), scan);
    painter.end();
    return QFileInfo(path).size() > 0;
}

bool writeUnmappedFontPdf(const QString& path, const QStringList& lines)
{
    // The codes 132 to 226 stand for the characters 32 to 126; their glyph names ("ZFb") say
    // nothing of them, and there is no ToUnicode map.
    QString ps = QStringLiteral(
        "%!PS\n"
        "/Src /Times-Roman findfont 1000 scalefont def\n"
        "/Enc 256 array def 0 1 255 { Enc exch /.notdef put } for\n"
        "132 1 226 { /i exch def /s 3 string def s 0 (Z) putinterval s 1 i 26 idiv 65 add put "
        "s 2 i 26 mod 97 add put Enc i s cvn put } for\n"
        "/T3 << /FontType 3 /FontMatrix [0.001 0 0 0.001 0 0] /FontBBox [0 -250 1000 900] /Encoding Enc\n"
        "  /BuildChar { exch pop 100 sub Src setfont ( ) dup 0 4 -1 roll put\n"
        "    dup stringwidth pop 0 -50 -250 1000 900 setcachedevice 0 0 moveto false charpath fill } >> def\n"
        "/T3f T3 definefont pop\n"
        "/T3f findfont 11 scalefont setfont\n");
    int y = 760;
    for (const QString& line : lines) {
        QByteArray codes;
        for (const QChar c : line)
            codes += char(uchar((c.unicode() >= 32 && c.unicode() <= 126 ? c.unicode() : '?') + 100));
        ps += QStringLiteral("72 %1 moveto %2 show\n").arg(y).arg(psBytes(codes));
        y -= 15;
        if (y < 72) {
            ps += QStringLiteral("showpage /T3f findfont 11 scalefont setfont\n");
            y = 760;
        }
    }
    ps += QStringLiteral("showpage\n");
    return ghostscript(path, ps);
}

QByteArray repeatedTextPdf(const QString& text, int times)
{
    const QByteArray show = "BT /F1 12 Tf 72 720 Td (" + text.toLatin1() + ") Tj ET\n";
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 5 0 R >> >> /Contents 4 0 R >>",
        stream(qCompress(show.repeated(times), 9).mid(4), "/Filter /FlateDecode"),
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
    };
    return PdfLibraryFixtures::pdfFile(objects, 1);
}

QByteArray brokenPicturePdf()
{
    QByteArray pixels;
    for (int i = 0; i < 16; ++i)
        pixels += QByteArray::fromHex("c81e1e");
    const QByteArray picture = "/Type /XObject /Subtype /Image /Height 4 /ColorSpace /DeviceRGB /BitsPerComponent 8";
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 5 0 R >> "
        "/XObject << /Im0 6 0 R /Im1 7 0 R >> >> /Contents 4 0 R >>",
        stream("BT /F1 12 Tf 72 720 Td (Words before the pictures) Tj ET\n"
               "q 100 0 0 50 72 600 cm /Im0 Do Q\nq 100 0 0 50 72 500 cm /Im1 Do Q\n"
               "BT /F1 12 Tf 72 450 Td (Words after the pictures) Tj ET"),
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        stream(pixels, picture + " /Width 0"),
        stream(pixels, picture + " /Width 4"),
    };
    return PdfLibraryFixtures::pdfFile(objects, 1);
}

QByteArray nestedFormsPdf(int depth)
{
    QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R 6 0 R] /Count 2 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << /Font << /F1 5 0 R >> /XObject << /X 8 0 R >> >> "
        "/Contents 4 0 R >>",
        stream("BT /F1 14 Tf 72 740 Td (The first page) Tj ET /X Do"),
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << /Font << /F1 5 0 R >> >> /Contents 7 0 R >>",
        stream("BT /F1 14 Tf 72 740 Td (The second page) Tj ET"),
    };
    // Ten columns of 64 lines of 4 points.
    for (int level = 0; level < depth; ++level) {
        QByteArray content = "BT /F1 4 Tf " + QByteArray::number(40 + level / 64 % 10 * 56) + ' '
                             + QByteArray::number(700 - level % 64 * 10) + " Td (Level " + QByteArray::number(level) + ") Tj ET";
        QByteArray resources = "/Font << /F1 5 0 R >>";
        if (level + 1 < depth) {
            content += " /X Do";
            resources += " /XObject << /X " + QByteArray::number(objects.size() + 2) + " 0 R >>";
        }
        objects << stream(content, "/Type /XObject /Subtype /Form /BBox [0 0 612 792] /Resources << " + resources + " >>");
    }
    return PdfLibraryFixtures::pdfFile(objects, 1);
}

QByteArray type3CyclePdf(bool throughPage)
{
    // Object own: a Type 3 font whose glyph (object own + 1) draws a glyph of the font named T in
    // its resources, object other; without resources of its own (other 0) the page's T, itself.
    const auto type3 = [](int own, int other) {
        return "<< /Type /Font /Subtype /Type3 /FontBBox [0 0 1000 1000] /FontMatrix [0.001 0 0 0.001 0 0] /CharProcs << /a "
               + QByteArray::number(own + 1) + " 0 R >> /Encoding << /Type /Encoding /Differences [97 /a] >> /FirstChar 97 "
                                               "/LastChar 97 /Widths [1000]"
               + (other > 0 ? " /Resources << /Font << /T " + QByteArray::number(other) + " 0 R >> >>" : QByteArray()) + " >>";
    };
    QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R 6 0 R] /Count 2 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << /Font << /F1 5 0 R /T 8 0 R >> >> /Contents 4 0 R >>",
        stream("BT /F1 14 Tf 72 740 Td (The first page) Tj ET BT /T 24 Tf 72 600 Td (a) Tj ET"),
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << /Font << /F1 5 0 R >> >> /Contents 7 0 R >>",
        stream("BT /F1 14 Tf 72 740 Td (The second page) Tj ET"),
        type3(8, throughPage ? 0 : 10),
        stream("1000 0 d0 0 0 500 500 re f BT /T 1000 Tf 0 0 Td (a) Tj ET"),
    };
    if (!throughPage)
        objects << type3(10, 8) << stream("1000 0 d0 100 100 300 300 re f BT /T 1000 Tf 0 0 Td (a) Tj ET");
    return PdfLibraryFixtures::pdfFile(objects, 1);
}

bool writeTesseractScanPdf(const QString& sourcePdf, const QString& path, int dpi)
{
    const QString folder = workFolder(path, QStringLiteral("pages"));
    TestFiles::run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"), sourcePdf,
                                                folder + QStringLiteral("/page")});
    const QStringList pages = drawnPages(folder);
    const QString list = folder + QStringLiteral("/pages.txt");
    if (pages.isEmpty() || !TestFiles::writeFile(list, pages.join(QLatin1Char('\n')).toUtf8() + '\n'))
        return false;
    const QString base = QFileInfo(path).absolutePath() + QLatin1Char('/') + QFileInfo(path).completeBaseName();
    return runTesseract({list, base, QStringLiteral("-l"), QStringLiteral("eng"), QStringLiteral("pdf")})
           && QFileInfo(path).size() > 0;
}

bool writeCoveredLayerPdf(const QString& tesseractPdf, const QString& path)
{
    const QString folder = workFolder(path, QStringLiteral("qdf"));
    const QString qdf = folder + QStringLiteral("/plain.pdf");
    TestFiles::run(QStringLiteral("qpdf"), {QStringLiteral("--qdf"), QStringLiteral("--object-streams=disable"), tesseractPdf, qdf});
    QByteArray pdf = TestFiles::readFile(qdf);
    // Each page draws its picture, then its text invisibly: the picture moves after the text,
    // and the text is drawn as any text is.
    static const QRegularExpression drawPicture(QStringLiteral("q [-0-9. ]+ cm /Im\\d+ Do Q\\n"));
    QString text = QString::fromLatin1(pdf.constData(), pdf.size());
    QList<QRegularExpressionMatch> matches;
    for (QRegularExpressionMatchIterator it = drawPicture.globalMatch(text); it.hasNext();)
        matches.prepend(it.next());
    if (matches.isEmpty())
        return false;
    for (const QRegularExpressionMatch& match : matches) {
        text.remove(match.capturedStart(), match.capturedLength());
        const int end = text.indexOf(QLatin1String("endstream"), match.capturedStart());
        if (end < 0)
            return false;
        text.insert(end, match.captured(0));
    }
    text.replace(QLatin1String("3 Tr"), QLatin1String("0 Tr"));
    const QString edited = folder + QStringLiteral("/edited.pdf");
    QByteArray fixed;
    if (!TestFiles::writeFile(edited, text.toLatin1())
        || TestFiles::run(QStringLiteral("fix-qdf"), {edited}, &fixed) != 0
        || !TestFiles::writeFile(folder + QStringLiteral("/fixed.pdf"), fixed))
        return false;
    TestFiles::run(QStringLiteral("qpdf"), {folder + QStringLiteral("/fixed.pdf"), path});
    return QFileInfo(path).size() > 0;
}

bool writeGarbledLayerPdf(const QString& tesseractPdf, const QString& path)
{
    const QString folder = workFolder(path, QStringLiteral("qdf"));
    const QString qdf = folder + QStringLiteral("/plain.pdf");
    TestFiles::run(QStringLiteral("qpdf"), {QStringLiteral("--qdf"), QStringLiteral("--object-streams=disable"), tesseractPdf, qdf});
    const QByteArray pdf = TestFiles::readFile(qdf);
    const QString text = QString::fromLatin1(pdf.constData(), pdf.size());
    // The layer shows its words as strings of four-digit character codes ("[ <00540068> ] TJ").
    static const QRegularExpression shown(QStringLiteral("<([0-9A-Fa-f]{4,})> \\] TJ"));
    QString garbled;
    int from = 0;
    for (QRegularExpressionMatchIterator it = shown.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        garbled += text.mid(from, match.capturedStart(1) - from);
        const QString codes = match.captured(1);
        for (int i = 0; i + 4 <= codes.size(); i += 4) {
            ushort c = codes.mid(i, 4).toUShort(nullptr, 16);
            if (c >= 'a' && c <= 'z')
                c = 'a' + (c - 'a' + 13) % 26;
            else if (c >= 'A' && c <= 'Z')
                c = 'A' + (c - 'A' + 13) % 26;
            garbled += QStringLiteral("%1").arg(c, 4, 16, QLatin1Char('0'));
        }
        from = match.capturedEnd(1);
    }
    garbled += text.mid(from);
    if (garbled == text)
        return false;
    const QString edited = folder + QStringLiteral("/garbled.pdf");
    if (!TestFiles::writeFile(edited, garbled.toLatin1()))
        return false;
    TestFiles::run(QStringLiteral("qpdf"), {edited, path});
    return QFileInfo(path).size() > 0;
}

bool writeGlyphlessLayerPdf(const QString& tesseractPdf, const QString& path)
{
    const QString folder = workFolder(path, QStringLiteral("pages"));
    const QString words = folder + QStringLiteral("/words.html");
    TestFiles::run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), tesseractPdf, words});
    TestFiles::run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-gray"), tesseractPdf,
                                                folder + QStringLiteral("/scan")});
    const QStringList scans = drawnPages(folder);
    // The font's glyphs draw nothing; their names are Latin-1's.
    QString ps = QStringLiteral("%!PS\n/Blank << /FontType 3 /FontMatrix [0.001 0 0 0.001 0 0] /FontBBox [0 0 500 1000] "
                                "/Encoding ISOLatin1Encoding /BuildChar { pop pop 500 0 setcharwidth } >> definefont pop\n");
    static const QRegularExpression pageTag(QStringLiteral("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\">(.*?)</page>"),
                                            QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression wordTag(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    int index = 0;
    for (QRegularExpressionMatchIterator pages = pageTag.globalMatch(QString::fromUtf8(TestFiles::readFile(words)));
         pages.hasNext(); ++index) {
        const QRegularExpressionMatch page = pages.next();
        const QImage scan(scans.value(index));
        if (scan.isNull())
            return false;
        const QImage gray = scan.convertToFormat(QImage::Format_Grayscale8);
        const double width = page.captured(1).toDouble();
        const double height = page.captured(2).toDouble();
        ps += QStringLiteral("<< /PageSize [%1 %2] >> setpagedevice\ngsave %1 %2 scale /DeviceGray setcolorspace\n"
                             "<< /ImageType 1 /Width %3 /Height %4 /BitsPerComponent 8 /Decode [0 1] "
                             "/ImageMatrix [%3 0 0 -%4 0 %4] /DataSource currentfile /ASCIIHexDecode filter >> image\n")
                  .arg(width)
                  .arg(height)
                  .arg(gray.width())
                  .arg(gray.height());
        for (int y = 0; y < gray.height(); ++y)
            ps += QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(gray.constScanLine(y)), gray.width()).toHex())
                  + QLatin1Char('\n');
        ps += QStringLiteral(">\ngrestore\n");
        for (QRegularExpressionMatchIterator it = wordTag.globalMatch(page.captured(3)); it.hasNext();) {
            const QRegularExpressionMatch word = it.next();
            const QString text = word.captured(5).replace(QLatin1String("&amp;"), QLatin1String("&")).replace(QLatin1String("&lt;"), QLatin1String("<")).replace(QLatin1String("&gt;"), QLatin1String(">")).replace(QLatin1String("&quot;"), QLatin1String("\""));
            const double x0 = word.captured(1).toDouble();
            const double y0 = word.captured(2).toDouble();
            const double x1 = word.captured(3).toDouble();
            const double y1 = word.captured(4).toDouble();
            const double size = 0.8 * (y1 - y0);
            const double stretch = (x1 - x0) / std::max(1.0, 0.5 * text.size());
            ps += QStringLiteral("/Blank findfont [%1 0 0 %2 0 0] makefont setfont %3 %4 moveto %5 show\n")
                      .arg(stretch)
                      .arg(size)
                      .arg(x0)
                      .arg(height - y1 + 0.2 * (y1 - y0))
                      .arg(psBytes(text.toLatin1()));
        }
        ps += QStringLiteral("showpage\n");
    }
    return index > 0 && ghostscript(path, ps);
}

bool writeInfographicPdf(const QString& path, int seed)
{
    quint32 state = quint32(seed) * 2654435761u + 7u;
    auto next = [&state](int bound) {
        state = state * 1664525u + 1013904223u;
        return int((state >> 8) % quint32(bound));
    };
    auto color = [&] { return QStringLiteral("#%1").arg(next(0x1000000), 6, 16, QLatin1Char('0')); };
    const double pageWidth = 44;
    const double pageHeight = 70;
    // Gradients of every kind, opaque and fading.
    const QStringList kinds = {QStringLiteral("linear"), QStringLiteral("axial"), QStringLiteral("radial"),
                               QStringLiteral("ellipsoid"), QStringLiteral("square"), QStringLiteral("rectangular")};
    QString gradients;
    QString styles;
    for (int i = 0; i < kinds.size(); ++i) {
        gradients += QStringLiteral("<draw:gradient draw:name=\"g%1\" draw:style=\"%2\" draw:start-color=\"%3\" draw:end-color=\"%4\" "
                                    "draw:start-intensity=\"100%\" draw:end-intensity=\"100%\" draw:angle=\"%5\" draw:border=\"0%\" "
                                    "draw:cx=\"50%\" draw:cy=\"50%\"/>"
                                    "<draw:opacity draw:name=\"t%1\" draw:style=\"%2\" draw:start=\"100%\" draw:end=\"20%\" "
                                    "draw:angle=\"%5\" draw:border=\"0%\" draw:cx=\"50%\" draw:cy=\"50%\"/>")
                         .arg(i)
                         .arg(kinds[i], color(), color())
                         .arg(next(3600));
        styles += QStringLiteral("<style:style style:name=\"fade%1\" style:family=\"graphic\"><style:graphic-properties draw:stroke=\"none\" "
                                 "draw:fill=\"gradient\" draw:fill-gradient-name=\"g%1\" draw:opacity-name=\"t%1\" "
                                 "style:run-through=\"background\" style:wrap=\"run-through\"/></style:style>"
                                 "<style:style style:name=\"panel%1\" style:family=\"graphic\"><style:graphic-properties "
                                 "draw:stroke=\"solid\" svg:stroke-color=\"#333333\" draw:fill=\"gradient\" draw:fill-gradient-name=\"g%1\" "
                                 "style:run-through=\"background\" style:wrap=\"run-through\"/></style:style>"
                                 "<style:style style:name=\"blob%1\" style:family=\"graphic\"><style:graphic-properties draw:stroke=\"none\" "
                                 "draw:fill=\"gradient\" draw:fill-gradient-name=\"g%1\" draw:opacity=\"50%\" "
                                 "style:run-through=\"background\" style:wrap=\"run-through\"/></style:style>")
                      .arg(i);
    }
    styles += QStringLiteral(
        "<style:style style:name=\"dot\" style:family=\"graphic\"><style:graphic-properties draw:stroke=\"none\" draw:fill=\"solid\" "
        "draw:fill-color=\"#2060c0\" draw:opacity=\"60%\" draw:shadow=\"visible\" draw:shadow-offset-x=\"0.05cm\" "
        "draw:shadow-offset-y=\"0.05cm\" draw:shadow-opacity=\"40%\" style:run-through=\"foreground\" style:wrap=\"run-through\"/></style:style>"
        "<style:style style:name=\"line\" style:family=\"graphic\"><style:graphic-properties draw:stroke=\"solid\" svg:stroke-width=\"0.05cm\" "
        "svg:stroke-color=\"#c03020\" draw:fill=\"none\" style:run-through=\"foreground\" style:wrap=\"run-through\"/></style:style>"
        "<style:style style:name=\"label\" style:family=\"graphic\"><style:graphic-properties draw:stroke=\"none\" draw:fill=\"none\" "
        "style:run-through=\"foreground\" style:wrap=\"run-through\"/></style:style>");
    auto rect = [](double x, double y, double w, double h, const QString& style, const QString& text = QString()) {
        return QStringLiteral("<draw:rect text:anchor-type=\"page\" text:anchor-page-number=\"1\" draw:style-name=\"%1\" svg:x=\"%2cm\" "
                              "svg:y=\"%3cm\" svg:width=\"%4cm\" svg:height=\"%5cm\">%6</draw:rect>")
            .arg(style)
            .arg(x, 0, 'f', 3)
            .arg(y, 0, 'f', 3)
            .arg(w, 0, 'f', 3)
            .arg(h, 0, 'f', 3)
            .arg(text.isEmpty() ? QString() : QStringLiteral("<text:p>%1</text:p>").arg(text));
    };
    QString shapes;
    for (int band = 0; band < 8; ++band)
        shapes += rect(0, band * pageHeight / 8, pageWidth, pageHeight / 8, QStringLiteral("fade%1").arg(band % 6));
    // Large half-transparent blobs over the backdrop, each over much of the page: drawing the page
    // at 300 dpi takes MuPDF minutes.
    for (int blob = 0; blob < 30; ++blob)
        shapes += QStringLiteral("<draw:ellipse text:anchor-type=\"page\" text:anchor-page-number=\"1\" draw:style-name=\"blob%1\" "
                                 "svg:x=\"%2cm\" svg:y=\"%3cm\" svg:width=\"%4cm\" svg:height=\"%5cm\"/>")
                      .arg(blob % 6)
                      .arg(next(2000) / 100.0 - 5, 0, 'f', 2)
                      .arg(next(5000) / 100.0 - 5, 0, 'f', 2)
                      .arg(20 + next(2000) / 100.0, 0, 'f', 2)
                      .arg(20 + next(2000) / 100.0, 0, 'f', 2);
    // Ten charts: a framed panel, a title, bars, a line of 300 points, 300 dots and axis numbers.
    const double chartWidth = 20;
    const double chartHeight = 9.4;
    const int points = 300;
    for (int chart = 0; chart < 10; ++chart) {
        const double x = 1.5 + (chart % 2) * (chartWidth + 1);
        const double y = 14 + (chart / 2) * (chartHeight + 1.4);
        shapes += rect(x, y, chartWidth, chartHeight, QStringLiteral("panel%1").arg(chart % 6));
        shapes += rect(x + 0.5, y + 0.2, chartWidth - 1, 1, QStringLiteral("label"),
                       QStringLiteral("Chart %1: quarterly figures of region %1").arg(chart + 1));
        for (int bar = 0; bar < 24; ++bar) {
            const double height = 1 + next(500) / 100.0;
            shapes += rect(x + 1 + bar * (chartWidth - 2) / 24, y + chartHeight - 1 - height, (chartWidth - 2) / 24 * 0.7, height,
                           QStringLiteral("fade%1").arg((bar + chart) % 6));
        }
        QStringList line;
        for (int p = 0; p < points; ++p)
            line << QStringLiteral("%1,%2").arg(p * 18000 / points).arg(next(5000));
        shapes += QStringLiteral("<draw:polyline text:anchor-type=\"page\" text:anchor-page-number=\"1\" draw:style-name=\"line\" "
                                 "svg:x=\"%1cm\" svg:y=\"%2cm\" svg:width=\"18cm\" svg:height=\"5cm\" svg:viewBox=\"0 0 18000 5000\" "
                                 "draw:points=\"%3\"/>")
                      .arg(x + 1, 0, 'f', 3)
                      .arg(y + 2, 0, 'f', 3)
                      .arg(line.join(QLatin1Char(' ')));
        for (int p = 0; p < points; ++p)
            shapes += QStringLiteral("<draw:ellipse text:anchor-type=\"page\" text:anchor-page-number=\"1\" draw:style-name=\"dot\" "
                                     "svg:x=\"%1cm\" svg:y=\"%2cm\" svg:width=\"0.25cm\" svg:height=\"0.25cm\"/>")
                          .arg(x + 1 + next(1770) / 100.0, 0, 'f', 3)
                          .arg(y + 2 + next(500) / 100.0, 0, 'f', 3);
        for (int tick = 0; tick < 5; ++tick)
            shapes += rect(x + 0.1, y + chartHeight - 1.5 - tick * (chartHeight - 3) / 4, 0.9, 0.6, QStringLiteral("label"),
                           QString::number(tick * 25));
    }
    // Prose above the charts, and a source line at the foot in a frame of its own.
    QString paragraphs;
    for (int p = 0; p < 3; ++p)
        paragraphs += QStringLiteral("<text:p text:style-name=\"Body\">%1</text:p>").arg(RealDocuments::prose(seed * 10 + p, 4).toHtmlEscaped());
    shapes += QStringLiteral("<draw:frame text:anchor-type=\"page\" text:anchor-page-number=\"1\" draw:style-name=\"label\" svg:x=\"1.5cm\" "
                             "svg:y=\"67.2cm\" svg:width=\"41cm\" svg:height=\"1.2cm\"><draw:text-box><text:p>%1</text:p></draw:text-box>"
                             "</draw:frame>")
                  .arg(RealDocuments::prose(seed * 10 + 7, 1).toHtmlEscaped());
    const QString document =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                       "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
                       "xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\" "
                       "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" "
                       "xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\" office:version=\"1.2\" "
                       "office:mimetype=\"application/vnd.oasis.opendocument.text\">\n"
                       "<office:styles>%1<style:default-style style:family=\"paragraph\"><style:text-properties style:font-name=\"DejaVu Sans\" "
                       "fo:font-size=\"14pt\"/></style:default-style></office:styles>\n"
                       "<office:automatic-styles>%2"
                       "<style:style style:name=\"Title\" style:family=\"paragraph\"><style:paragraph-properties fo:text-align=\"center\"/>"
                       "<style:text-properties fo:font-size=\"40pt\" fo:font-weight=\"bold\"/></style:style>"
                       "<style:style style:name=\"Body\" style:family=\"paragraph\"><style:paragraph-properties fo:margin-bottom=\"0.3cm\"/></style:style>"
                       "<style:page-layout style:name=\"Page\"><style:page-layout-properties fo:page-width=\"%3cm\" fo:page-height=\"%4cm\" "
                       "fo:margin-top=\"1.5cm\" fo:margin-bottom=\"1.5cm\" fo:margin-left=\"1.5cm\" fo:margin-right=\"1.5cm\"/></style:page-layout>"
                       "</office:automatic-styles>\n"
                       "<office:master-styles><style:master-page style:name=\"Standard\" style:page-layout-name=\"Page\"/></office:master-styles>\n"
                       "<office:body><office:text>%5<text:p text:style-name=\"Title\">The Year in Figures</text:p>%6</office:text></office:body>"
                       "</office:document>\n")
            .arg(gradients, styles)
            .arg(pageWidth)
            .arg(pageHeight)
            .arg(shapes, paragraphs);
    const QFileInfo pdf(path);
    const QString source = pdf.absolutePath() + QLatin1Char('/') + pdf.completeBaseName() + QStringLiteral(".fodt");
    return TestFiles::writeFile(source, document.toUtf8()) && DocumentPdfs::officeToPdf(source, pdf.absolutePath()) == pdf.absoluteFilePath();
}

QString tesseractText(const QString& pdf)
{
    const QString folder = workFolder(pdf, QStringLiteral("read"));
    TestFiles::run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"), pdf,
                                                folder + QStringLiteral("/page")});
    QString text;
    for (const QString& page : drawnPages(folder)) {
        QByteArray out;
        if (runTesseract({page, QStringLiteral("stdout"), QStringLiteral("-l"), QStringLiteral("eng")}, &out))
            text += QString::fromUtf8(out) + QLatin1Char('\n');
    }
    return text;
}

} // namespace HardPages
