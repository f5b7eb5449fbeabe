#include "bench/pdf2word/HardPagesBench.h"

#include "platform/pdf2word/com/Pdf2WordLib.h"
#include "tests/platform/pdf2word/DocumentPdfs.h"
#include "tests/platform/pdf2word/HardPages.h"
#include "tests/platform/pdf2word/Pdf2WordCall.h"
#include "tests/platform/pdf2word/RealDocuments.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace {

// What the page's time limit allows (seconds).
const double kPageBudget = 20;

struct HardInput
{
    enum Kind {
        Scan,
        Unmapped,
        Heavy,
        Repeated
    };
    QString name;
    QString pdf;
    QString reference; // the text a conversion should keep
    Kind kind = Scan;
};

struct Result
{
    bool converted = false;
    double seconds = 0;
    double words = 0; // share of the reference's words kept
    int replacements = 0;
    qint64 stopMs = 0;
};

// The longest time from a stop to the end of the conversion (ms), each page converted alone and
// stopped at its first event; -1 when a page did not end stopped.
qint64 longestStop(const QString& pdf, const QString& folder)
{
    qint64 longest = 0;
    for (int page = 1; page <= DocumentPdfs::pageCount(pdf); ++page) {
        Pdf2WordCall::Stopper stopper;
        const HRESULT result = Pdf2WordCall::convert(pdf, folder + QStringLiteral("/stopped.docx"), page, page, 0, &stopper).result;
        if (result != E_ABORT || !stopper.clock.isValid())
            return -1;
        longest = std::max(longest, stopper.clock.elapsed());
    }
    return longest;
}

// Prose set in lines of at most width characters.
QStringList proseLines(int seed, int paragraphs, int width)
{
    QStringList lines;
    for (int p = 0; p < paragraphs; ++p) {
        QString line;
        for (const QString& word : RealDocuments::prose(seed + p, 4).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!line.isEmpty() && line.size() + 1 + word.size() > width) {
                lines << line;
                line.clear();
            }
            line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
        }
        lines << line << QString();
    }
    return lines;
}

QList<HardInput> makeInputs(const QString& folder, const QString& scannedPaper, const HardPagesTools& tools)
{
    QDir().mkpath(folder);
    QList<HardInput> inputs;
    const QString scan = folder + QStringLiteral("/scan-tesseract.pdf");
    if (HardPages::writeTesseractScanPdf(scannedPaper, scan, 200)) {
        inputs.append({QStringLiteral("Scan, Tesseract layer"), scan, tools.referenceText(scan), HardInput::Scan});
        const QString covered = folder + QStringLiteral("/scan-covered.pdf");
        if (HardPages::writeCoveredLayerPdf(scan, covered))
            inputs.append({QStringLiteral("Scan, layer covered"), covered, tools.referenceText(covered), HardInput::Scan});
        const QString glyphless = folder + QStringLiteral("/scan-glyphless.pdf");
        if (HardPages::writeGlyphlessLayerPdf(scan, glyphless))
            inputs.append({QStringLiteral("Scan, glyph-less layer"), glyphless, tools.referenceText(glyphless), HardInput::Scan});
    }
    const QString unmapped = folder + QStringLiteral("/unmapped-font.pdf");
    if (HardPages::writeUnmappedFontPdf(unmapped, proseLines(70, 12, 85)))
        inputs.append({QStringLiteral("Type 3, no Unicode map"), unmapped, HardPages::tesseractText(unmapped), HardInput::Unmapped});
    const QString heavy = folder + QStringLiteral("/infographic.pdf");
    if (HardPages::writeInfographicPdf(heavy, 1))
        inputs.append({QStringLiteral("LibreOffice infographic"), heavy, tools.referenceText(heavy), HardInput::Heavy});
    const QString repeated = folder + QStringLiteral("/repeated.pdf");
    const QString line = QStringLiteral("Printed one hundred thousand times at one spot");
    if (TestFiles::writeFile(repeated, HardPages::repeatedTextPdf(line, 100000)))
        inputs.append({QStringLiteral("Text drawn 100,000 times"), repeated, line, HardInput::Repeated});
    return inputs;
}

Result convert(const HardInput& input, const QString& converter, const QString& folder, const HardPagesTools& tools)
{
    QDir().mkpath(folder);
    const QString docx = folder + QLatin1Char('/') + QFileInfo(input.pdf).completeBaseName() + QStringLiteral(".docx");
    QFile::remove(docx);
    const int pages = DocumentPdfs::pageCount(input.pdf);
    Result result;
    QElapsedTimer clock;
    clock.start();
    if (converter == QLatin1String("ours"))
        result.converted = SUCCEEDED(Pdf2WordCall::convert(input.pdf, docx, 1, pages).result);
    else
        result.converted = tools.mutool(input.pdf, docx);
    result.seconds = clock.nsecsElapsed() / 1e9;
    const QString text = result.converted ? tools.docxText(docx, pages) : QString();
    result.words = DocumentPdfs::shareKept(DocumentPdfs::words(input.reference), DocumentPdfs::words(text));
    result.replacements = text.count(QChar(0xFFFD));
    return result;
}

QString verdict(bool met)
{
    return met ? QStringLiteral("met") : QStringLiteral("MISSED");
}

} // namespace

bool runHardPages(const QString& root, const QString& scannedPaper, const QStringList& earlierPdfs,
                  const HardPagesTools& tools, QTextStream& out)
{
    const QList<HardInput> inputs = makeInputs(root + QStringLiteral("/hard"), scannedPaper, tools);
    out << QStringLiteral("\nPages that lose their text or stop a converter (one run each; mutool convert the baseline):\n"
                          "%1 %2 %3 %4 %5 %6\n")
               .arg(QStringLiteral("file"), -26)
               .arg(QStringLiteral("converter"), -10)
               .arg(QStringLiteral("s"), 8)
               .arg(QStringLiteral("words"), 7)
               .arg(QStringLiteral("U+FFFD"), 7)
               .arg(QStringLiteral("stop ms"), 8);
    int failed = 0;
    int replacements = 0;
    qint64 longest = 0;
    bool allStopped = true;
    bool scansMet = true;
    bool unmappedMet = true;
    bool heavyMet = true;
    QHash<QString, double> time;
    for (const HardInput& input : inputs) {
        for (const QString& converter : {QStringLiteral("ours"), QStringLiteral("mutool")}) {
            Result result = convert(input, converter, root + QStringLiteral("/hard-") + converter, tools);
            const bool ours = converter == QLatin1String("ours");
            if (ours) {
                result.stopMs = longestStop(input.pdf, root + QStringLiteral("/hard-ours"));
                allStopped = allStopped && result.stopMs >= 0;
                longest = std::max(longest, result.stopMs);
                failed += result.converted ? 0 : 1;
                replacements += result.replacements;
                scansMet = scansMet && (input.kind != HardInput::Scan || result.words >= 0.95);
                unmappedMet = unmappedMet && (input.kind != HardInput::Unmapped || result.words >= 0.90);
                heavyMet = heavyMet && (input.kind != HardInput::Heavy || (result.seconds <= kPageBudget + 1 && result.words >= 0.95));
            }
            time[converter] += result.seconds;
            out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                       .arg(input.name, -26)
                       .arg(converter, -10)
                       .arg(result.seconds, 8, 'f', 3)
                       .arg(result.words, 7, 'f', 3)
                       .arg(result.replacements, 7)
                       .arg(ours ? QString::number(result.stopMs) : QStringLiteral("-"), 8);
            out.flush();
        }
    }
    // The earlier documents: a stop during every page, and no U+FFFD in what ours wrote of them.
    for (const QString& pdf : earlierPdfs) {
        const qint64 stop = longestStop(pdf, root + QStringLiteral("/hard-ours"));
        allStopped = allStopped && stop >= 0;
        longest = std::max(longest, stop);
        const QString docx = root + QStringLiteral("/ours/") + QFileInfo(pdf).completeBaseName() + QStringLiteral(".docx");
        replacements += tools.docxText(docx, DocumentPdfs::pageCount(pdf)).count(QChar(0xFFFD));
    }
    out << QStringLiteral("\nOver %1 hard files: ours failed %2, time %4 s (mutool %5 s). Over all %6 files: U+FFFD written %3,\n"
                          "longest wait for a stop during a page %7 ms.\n")
               .arg(inputs.size())
               .arg(failed)
               .arg(replacements)
               .arg(time.value(QStringLiteral("ours")), 0, 'f', 2)
               .arg(time.value(QStringLiteral("mutool")), 0, 'f', 2)
               .arg(inputs.size() + earlierPdfs.size())
               .arg(longest);
    out << QStringLiteral("Goals for ours: no file fails (%1); scans keep >= 0.95 of their text layer's words (%2); the font "
                          "without a Unicode map >= 0.90 of the tesseract command line's words (%3); no U+FFFD (%4); the "
                          "infographic within %5 s with its text (%6); a stop answered within a second on every page (%7).\n")
               .arg(verdict(failed == 0 && inputs.size() == 6), verdict(scansMet), verdict(unmappedMet), verdict(replacements == 0))
               .arg(kPageBudget)
               .arg(verdict(heavyMet), verdict(allStopped && longest <= 1000));
    return failed == 0 && inputs.size() == 6;
}
