#include "bench/pdf2word/ScanBench.h"

#include "platform/pdf2word/com/Pdf2WordLib.h"
#include "tests/platform/pdf2word/DocumentPdfs.h"
#include "tests/platform/pdf2word/Pdf2WordCall.h"
#include "tests/platform/pdf2word/ScanPages.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

// A picture is a figure's when both its sides are within this many points, or this share, of the
// figure's.
const double kSizeSlack = 10;
const double kSizeShare = 0.1;

struct ScanInput
{
    QString name;
    QString pdf;
    QString source;          // Chinese: the text printed; else empty
    QVector<QRectF> figures; // where the page's figures stand (points)
    QString reference;       // the words a conversion should keep
};

struct ScanResult
{
    bool converted = false;
    double seconds = 0;
    ScanPages::CjkPairs pairs;
    double sourcePairs = 0; // share of the printed text's character pairs kept
    int pictures = 0;
    int figuresKept = 0;
    double words = 0;
};

bool fits(double size, double wanted)
{
    return std::abs(size - wanted) <= std::max(kSizeSlack, kSizeShare * wanted);
}

// The figures a picture of their own size stands for, each picture counted once.
int figuresKept(const QVector<QRectF>& figures, QList<QSizeF> pictures)
{
    int kept = 0;
    for (const QRectF& figure : figures) {
        for (int i = 0; i < pictures.size(); ++i) {
            if (fits(pictures[i].width(), figure.width()) && fits(pictures[i].height(), figure.height())) {
                pictures.removeAt(i);
                ++kept;
                break;
            }
        }
    }
    return kept;
}

QList<ScanInput> makeInputs(const QString& folder, const HardPagesTools& tools)
{
    QDir().mkpath(folder);
    QList<ScanInput> inputs;
    const QStringList paragraphs = ScanPages::chineseParagraphs(0, 6);
    const QString printed = folder + QStringLiteral("/chinese.pdf");
    if (ScanPages::writeOfficeChinesePdf(printed, QStringLiteral("年度报告"), paragraphs)) {
        const QString source = QStringLiteral("年度报告\n") + paragraphs.join(QLatin1Char('\n'));
        inputs.append({QStringLiteral("Chinese, LibreOffice"), printed, source, {}, tools.referenceText(printed)});
        QImage page = ScanPages::drawnPage(printed, 300);
        ScanPages::addNoise(page, 16, 7);
        const QString scan = folder + QStringLiteral("/chinese-scan.pdf");
        if (ScanPages::writeTesseractPdf(page, scan, QStringLiteral("chi_sim"), "png")) {
            inputs.append({QStringLiteral("Chinese scan, Tesseract"), scan, source, {}, tools.referenceText(scan)});
            const QString glyphless = folder + QStringLiteral("/chinese-glyphless.pdf");
            if (ScanPages::writeGlyphlessFontLayerPdf(scan, glyphless))
                inputs.append({QStringLiteral("Chinese scan, glyph-less"), glyphless, source, {}, tools.referenceText(glyphless)});
        }
    }
    QVector<QRectF> figures;
    const QString diagram = folder + QStringLiteral("/diagram.pdf");
    if (ScanPages::writeOfficeDiagramPdf(diagram, &figures)) {
        QImage page = ScanPages::drawnPage(diagram, 300);
        ScanPages::addNoise(page, 24, 8);
        const QString scan = folder + QStringLiteral("/diagram-scan.pdf");
        if (ScanPages::writeTesseractPdf(page, scan, QStringLiteral("eng"), "png"))
            inputs.append({QStringLiteral("LibreOffice diagram scan"), scan, QString(), figures, tools.referenceText(scan)});
    }
    figures.clear();
    QImage page = ScanPages::figuresPage(&figures);
    ScanPages::addNoise(page, 24, 9);
    const QString qtScan = folder + QStringLiteral("/figures-scan.pdf");
    if (ScanPages::writeTesseractPdf(page, qtScan, QStringLiteral("eng"), "jpg"))
        inputs.append({QStringLiteral("Qt figures scan (JPEG)"), qtScan, QString(), figures, tools.referenceText(qtScan)});
    return inputs;
}

ScanResult convert(const ScanInput& input, bool ours, const QString& folder, const HardPagesTools& tools)
{
    QDir().mkpath(folder);
    const QString docx = folder + QLatin1Char('/') + QFileInfo(input.pdf).completeBaseName() + QStringLiteral(".docx");
    QFile::remove(docx);
    ScanResult result;
    QElapsedTimer clock;
    clock.start();
    result.converted = ours ? SUCCEEDED(Pdf2WordCall::convert(input.pdf, docx, 1, 1).result) : tools.mutool(input.pdf, docx);
    result.seconds = clock.nsecsElapsed() / 1e9;
    if (!result.converted)
        return result;
    const QString text = tools.docxText(docx, 1);
    result.pairs = ScanPages::cjkPairs(text);
    result.sourcePairs = input.source.isEmpty() ? 0 : ScanPages::characterPairsKept(input.source, text);
    const QList<QSizeF> pictures = ScanPages::pictureSizes(docx);
    result.pictures = pictures.size();
    result.figuresKept = figuresKept(input.figures, pictures);
    result.words = DocumentPdfs::shareKept(DocumentPdfs::words(input.reference), DocumentPdfs::words(text));
    return result;
}

QString verdict(bool met)
{
    return met ? QStringLiteral("met") : QStringLiteral("MISSED");
}

} // namespace

bool runScanPages(const QString& root, const HardPagesTools& tools, QTextStream& out)
{
    const QList<ScanInput> inputs = makeInputs(root + QStringLiteral("/scans"), tools);
    out << QStringLiteral("\nScans with a text layer and Chinese text (one run each; mutool convert the baseline):\n"
                          "%1 %2 %3 %4 %5 %6 %7\n")
               .arg(QStringLiteral("file"), -26)
               .arg(QStringLiteral("converter"), -10)
               .arg(QStringLiteral("s"), 7)
               .arg(QStringLiteral("CJK parted"), 14)
               .arg(QStringLiteral("source pairs"), 12)
               .arg(QStringLiteral("figures"), 9)
               .arg(QStringLiteral("words"), 6);
    int failed = 0;
    int parted = 0;
    int neighbours = 0;
    int figures = 0;
    int kept = 0;
    int mutoolParted = 0;
    int mutoolNeighbours = 0;
    int layerParted = 0;
    int layerNeighbours = 0;
    for (const ScanInput& input : inputs) {
        for (const QString& converter : {QStringLiteral("ours"), QStringLiteral("mutool"), QStringLiteral("pdftotext")}) {
            const bool ours = converter == QLatin1String("ours");
            ScanResult result;
            if (converter == QLatin1String("pdftotext")) {
                // What the PDF's text (the layer) says, read as it is: the spaces it holds.
                result.converted = true;
                result.pairs = ScanPages::cjkPairs(input.reference);
                result.sourcePairs = input.source.isEmpty() ? 0 : ScanPages::characterPairsKept(input.source, input.reference);
                result.words = 1;
            } else {
                result = convert(input, ours, root + QStringLiteral("/scans-") + converter, tools);
            }
            if (ours) {
                failed += result.converted ? 0 : 1;
                parted += result.pairs.parted;
                neighbours += result.pairs.neighbours;
                figures += input.figures.size();
                kept += result.figuresKept;
            } else if (!ours && converter == QLatin1String("mutool")) {
                mutoolParted += result.pairs.parted;
                mutoolNeighbours += result.pairs.neighbours;
            } else {
                layerParted += result.pairs.parted;
                layerNeighbours += result.pairs.neighbours;
            }
            out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
                       .arg(input.name, -26)
                       .arg(converter, -10)
                       .arg(result.seconds, 7, 'f', 3)
                       .arg(QStringLiteral("%1/%2").arg(result.pairs.parted).arg(result.pairs.neighbours), 14)
                       .arg(input.source.isEmpty() ? QStringLiteral("-") : QString::number(result.sourcePairs, 'f', 3), 12)
                       .arg(QStringLiteral("%1/%2 (%3)").arg(result.figuresKept).arg(input.figures.size()).arg(result.pictures), 9)
                       .arg(input.source.isEmpty() ? QString::number(result.words, 'f', 3) : QStringLiteral("-"), 6);
            out.flush();
        }
    }
    out << QStringLiteral("\nOver %1 files: neighbouring CJK characters parted by a space: ours %2 of %3, mutool %4 of %5, "
                          "the PDFs' own text (pdftotext) %6 of %7; figures kept as pictures of their size: ours %8 of %9.\n")
               .arg(inputs.size())
               .arg(parted)
               .arg(neighbours)
               .arg(mutoolParted)
               .arg(mutoolNeighbours)
               .arg(layerParted)
               .arg(layerNeighbours)
               .arg(kept)
               .arg(figures);
    out << QStringLiteral("Goals for ours: no file fails (%1); no space between CJK characters where the source has none (%2); "
                          "every scan's figure kept as a picture (%3).\n")
               .arg(verdict(failed == 0 && inputs.size() == 5), verdict(parted == 0 && neighbours > 0), verdict(kept == figures && figures > 0));
    return failed == 0 && inputs.size() == 5;
}
