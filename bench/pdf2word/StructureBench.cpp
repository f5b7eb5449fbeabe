#include "bench/pdf2word/StructureBench.h"

#include "bench/pdf2word/OfficeRuns.h"
#include "bench/pdf2word/StructureGallery.h"
#include "bench/pdf2word/StructureMeasures.h"
#include "platform/pdf2word/com/Pdf2WordLib.h"
#include "tests/platform/pdf2word/DocumentPdfs.h"
#include "tests/platform/pdf2word/Pdf2WordCall.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>

#include <cmath>

namespace {

const char* const kOurs = "ours";
const char* const kMutool = "mutool";
const char* const kOffice = "LibreOffice";

// Goals of the structure corpus.
const double kCellGoal = 0.95;
const double kRunningInTablesGoal = 0.01;
const double kOnlyInPicturesGoal = 0.01;
const double kOrderGoal = 0.97;
const double kPageTolerance = 0.2;

struct Document
{
    QString name;
    QString pdf;
    int pages = 0;
    StructureTruth truth;
};

struct Result
{
    bool converted = false;
    int printedPages = 0;
    StructureScores scores;
};

QStringList converters()
{
    return {QLatin1String(kOurs), QLatin1String(kMutool), QLatin1String(kOffice)};
}

DocxStructure readDocx(const QString& docx)
{
    QList<QByteArray> others;
    static const QRegularExpression other(QStringLiteral("^word/(header\\d*|footer\\d*|footnotes|endnotes)\\.xml$"));
    for (const QString& entry : DocumentPdfs::zipEntries(docx)) {
        if (other.match(entry).hasMatch())
            others << DocumentPdfs::zipEntry(docx, entry);
    }
    return DocxStructure::parse(DocumentPdfs::zipEntry(docx, QStringLiteral("word/document.xml")), others);
}

bool pagesWithin(int original, int printed)
{
    return printed > 0 && std::abs(printed - original) <= kPageTolerance * original + 1e-9;
}

QString share(int part, int whole)
{
    return whole > 0 ? QString::number(double(part) / whole, 'f', 3) : QStringLiteral("-");
}

QString percent(int part, int whole)
{
    return whole > 0 ? QString::number(100.0 * part / whole, 'f', 1) + QLatin1Char('%') : QStringLiteral("-");
}

// The measures' columns: cells' precision and recall, running words in tables, words only in
// pictures, pairs in order, words kept, pictures lost and shrunk.
QStringList columns(const StructureScores& s)
{
    return {share(s.matchedOutputCells, s.outputCells),
            share(s.matchedTruthCells, s.truthCells),
            percent(s.runningWordsInTables, s.runningWords),
            percent(s.wordsOnlyInPictures, s.words),
            share(s.pairsInOrder, s.pairs),
            share(s.wordsKept, s.words),
            QStringLiteral("%1+%2 of %3").arg(s.picturesLost).arg(s.picturesShrunk).arg(s.pictures)};
}

// A line of the tables: its label, then the columns right-aligned.
QString line(const QString& label, const QStringList& columns)
{
    static const int widths[] = {8, 8, 10, 9, 7, 7, 12, 9, 7};
    QString text = label;
    for (int i = 0; i < columns.size(); ++i)
        text += QStringLiteral(" %1").arg(columns[i], widths[qMin(i, 8)]);
    return text + QLatin1Char('\n');
}

QString verdict(bool met)
{
    return met ? QStringLiteral("met") : QStringLiteral("MISSED");
}

QString ratio(double ours, double baseline)
{
    return baseline > 0 ? QString::number(ours / baseline, 'f', 2) : QStringLiteral("-");
}

} // namespace

bool runStructureBench(const QString& root, const QString& galleryFolder, const StructureTools& tools, QTextStream& out)
{
    const QString folder = root + QStringLiteral("/structure");
    const QString corpus = folder + QStringLiteral("/corpus");
    QDir(folder).removeRecursively();
    QElapsedTimer clock;
    clock.start();
    QByteArray made;
    TestFiles::run(QStringLiteral("python3"), {QStringLiteral(QP_STRUCTURE_CORPUS_SCRIPT), corpus}, &made, nullptr, 900000);
    QList<Document> documents;
    for (const QString& entry : QDir(corpus).entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
        Document document;
        document.name = QFileInfo(entry).completeBaseName();
        document.pdf = corpus + QLatin1Char('/') + document.name + QStringLiteral(".pdf");
        document.pages = DocumentPdfs::pageCount(document.pdf);
        if (document.pages > 0 && readStructureTruth(corpus + QLatin1Char('/') + entry, &document.truth))
            documents.append(document);
    }
    out << QStringLiteral("\nStructure corpus: %1 documents made from sources in %2 s (Writer, Calc, Impress, Draw printed by "
                          "LibreOffice; web pages printed by Chromium and by LibreOffice)\n")
               .arg(documents.size())
               .arg(clock.elapsed() / 1000.0, 0, 'f', 1);
    if (documents.size() < 40) {
        out << "The structure corpus could not be made:\n"
            << QString::fromUtf8(made);
        return false;
    }

    QStringList pdfs;
    for (const Document& document : documents)
        pdfs << document.pdf;
    const auto outputFolder = [&](const QString& converter) { return folder + QLatin1Char('/') + converter; };
    const auto printedFolder = [&](const QString& converter) { return folder + QStringLiteral("/printed-") + converter; };
    for (const QString& converter : converters())
        QDir().mkpath(outputFolder(converter));
    // LibreOffice's import of every PDF in one run, while the others convert.
    QProcess* import = startOffice(tools.soffice, folder + QStringLiteral("/profile-import"),
                                   QStringList{QStringLiteral("--infilter=writer_pdf_import"), QStringLiteral("--convert-to"),
                                               QStringLiteral("docx:MS Word 2007 XML"), QStringLiteral("--outdir"), outputFolder(QLatin1String(kOffice))}
                                       + pdfs);
    QHash<QString, QList<Result>> results;
    QHash<QString, double> seconds;
    for (const Document& document : documents) {
        const QString docx = QStringLiteral("/%1.docx").arg(document.name);
        QElapsedTimer timer;
        timer.start();
        Result ours;
        ours.converted = SUCCEEDED(Pdf2WordCall::convert(document.pdf, outputFolder(QLatin1String(kOurs)) + docx, 1, document.pages).result);
        seconds[QLatin1String(kOurs)] += timer.nsecsElapsed() / 1e9;
        timer.restart();
        Result mutool;
        mutool.converted = tools.mutool(document.pdf, outputFolder(QLatin1String(kMutool)) + docx);
        seconds[QLatin1String(kMutool)] += timer.nsecsElapsed() / 1e9;
        results[QLatin1String(kOurs)].append(ours);
        results[QLatin1String(kMutool)].append(mutool);
    }
    QProcess* printOurs = startPrinting(tools.soffice, outputFolder(QLatin1String(kOurs)), printedFolder(QLatin1String(kOurs)), folder + QStringLiteral("/profile-ours"));
    QProcess* printMutool = startPrinting(tools.soffice, outputFolder(QLatin1String(kMutool)), printedFolder(QLatin1String(kMutool)),
                                          folder + QStringLiteral("/profile-mutool"));
    // LibreOffice's import is not printed: its DOCX holds a text box per line, which LibreOffice
    // takes minutes to lay out again.
    finishOffice(import);
    finishOffice(printOurs);
    finishOffice(printMutool);

    QDir(galleryFolder).removeRecursively();
    int galleryPages = 0;
    for (const QString& converter : converters()) {
        QList<Result>& list = results[converter];
        for (int i = 0; i < documents.size(); ++i) {
            if (list.size() <= i)
                list.append(Result());
            Result& result = list[i];
            const QString docx = outputFolder(converter) + QStringLiteral("/%1.docx").arg(documents[i].name);
            result.converted = QFileInfo(docx).size() > 0 && (converter == QLatin1String(kOffice) || result.converted);
            const QString printed = printedFolder(converter) + QStringLiteral("/%1.pdf").arg(documents[i].name);
            result.printedPages = QFileInfo::exists(printed) ? DocumentPdfs::pageCount(printed) : -1;
            if (result.converted)
                result.scores = StructureMeasures::measure(documents[i].truth, readDocx(docx));
            else
                result.scores = StructureMeasures::measure(documents[i].truth, DocxStructure());
            if (converter == QLatin1String(kOurs))
                galleryPages += writeSideBySide(documents[i].pdf, QFileInfo::exists(printed) ? printed : QString(), documents[i].name, galleryFolder);
        }
    }

    out << QStringLiteral("Per document: table cells' precision and recall, running-text words in tables, words only in a "
                          "picture's description,\nparagraph pairs in order, words kept as text, pictures lost and shrunk of "
                          "the source's (lost+shrunk of all), pages of the original and of the DOCX printed by LibreOffice\n"
                          "(LibreOffice's import not printed: its text box per line takes LibreOffice minutes to lay out again).\n");
    out << line(QStringLiteral("%1 %2").arg(QStringLiteral("document"), -24).arg(QStringLiteral("converter"), -12),
                {QStringLiteral("cells P"), QStringLiteral("cells R"), QStringLiteral("in tables"), QStringLiteral("pic only"),
                 QStringLiteral("order"), QStringLiteral("words"), QStringLiteral("pictures"), QStringLiteral("pages")});
    QHash<QString, StructureScores> totals;
    QHash<QString, int> pagesWithinCount;
    QHash<QString, int> failed;
    for (int i = 0; i < documents.size(); ++i) {
        for (const QString& converter : converters()) {
            const Result& result = results[converter][i];
            totals[converter].add(result.scores);
            pagesWithinCount[converter] += pagesWithin(documents[i].pages, result.printedPages) ? 1 : 0;
            failed[converter] += result.converted ? 0 : 1;
            const QString printed = result.printedPages < 0 ? QStringLiteral("-") : QString::number(result.printedPages);
            out << line(QStringLiteral("%1 %2").arg(documents[i].name, -24).arg(converter, -12),
                        columns(result.scores) << QStringLiteral("%1/%2").arg(documents[i].pages).arg(printed));
        }
        out.flush();
    }

    const int count = documents.size();
    out << QStringLiteral("\nOver the %1 documents (counts summed over the corpus):\n").arg(count);
    out << line(QStringLiteral("%1").arg(QStringLiteral("converter"), -37),
                {QStringLiteral("cells P"), QStringLiteral("cells R"), QStringLiteral("in tables"), QStringLiteral("pic only"),
                 QStringLiteral("order"), QStringLiteral("words"), QStringLiteral("pictures"), QStringLiteral("pages ok"),
                 QStringLiteral("failed")});
    for (const QString& converter : converters()) {
        const QString pages = converter == QLatin1String(kOffice) ? QStringLiteral("-")
                                                                  : QStringLiteral("%1/%2").arg(pagesWithinCount[converter]).arg(count);
        out << line(QStringLiteral("%1").arg(converter, -37), columns(totals[converter]) << pages << QString::number(failed[converter]));
    }
    // Ratios against the baselines, measure by measure (for words in tables and words only in
    // pictures lower is better).
    auto value = [&](const QString& converter, int measure) {
        const StructureScores& s = totals[converter];
        const int values[][2] = {{s.matchedOutputCells, s.outputCells}, {s.matchedTruthCells, s.truthCells}, {s.runningWordsInTables, s.runningWords}, {s.wordsOnlyInPictures, s.words}, {s.pairsInOrder, s.pairs}, {s.wordsKept, s.words}, {s.pictures - s.picturesLost - s.picturesShrunk, s.pictures}, {pagesWithinCount[converter], count}};
        return values[measure][1] > 0 ? double(values[measure][0]) / values[measure][1] : 0.0;
    };
    const char* const names[] = {"cells P", "cells R", "in tables", "pic only", "order", "words", "pictures kept", "pages ok"};
    out << "Ratios ours / baseline:";
    for (int measure = 0; measure < 8; ++measure)
        out << QStringLiteral("  %1 %2 (mutool) %3 (LibreOffice)")
                   .arg(QLatin1String(names[measure]))
                   .arg(ratio(value(QLatin1String(kOurs), measure), value(QLatin1String(kMutool), measure)))
                   .arg(ratio(value(QLatin1String(kOurs), measure), value(QLatin1String(kOffice), measure)))
            << (measure % 3 == 2 ? "\n  " : ";");
    out << QStringLiteral("\nTime of the conversions: ours %1 s, mutool %2 s. Gallery of ours (%3 pages, each original beside "
                          "its printed DOCX): %4\n")
               .arg(seconds.value(QLatin1String(kOurs)), 0, 'f', 1)
               .arg(seconds.value(QLatin1String(kMutool)), 0, 'f', 1)
               .arg(galleryPages)
               .arg(galleryFolder);
    const StructureScores& ours = totals[QLatin1String(kOurs)];
    out << QStringLiteral("Goals for ours on the structure corpus: table cells precision and recall >= %1 (%2, %3); running-text "
                          "words in tables <= %4% (%5); words only in pictures <= %6% (%7); paragraph order >= %8 (%9); no "
                          "picture lost or shrunk (%10); every document's pages within %11% (%12).\n")
               .arg(kCellGoal)
               .arg(verdict(value(QLatin1String(kOurs), 0) >= kCellGoal), verdict(value(QLatin1String(kOurs), 1) >= kCellGoal))
               .arg(kRunningInTablesGoal * 100)
               .arg(verdict(value(QLatin1String(kOurs), 2) <= kRunningInTablesGoal))
               .arg(kOnlyInPicturesGoal * 100)
               .arg(verdict(value(QLatin1String(kOurs), 3) <= kOnlyInPicturesGoal))
               .arg(kOrderGoal)
               .arg(verdict(value(QLatin1String(kOurs), 4) >= kOrderGoal))
               .arg(verdict(ours.picturesLost + ours.picturesShrunk == 0))
               .arg(kPageTolerance * 100)
               .arg(verdict(pagesWithinCount[QLatin1String(kOurs)] == count));
    out.flush();
    return failed[QLatin1String(kOurs)] == 0;
}
