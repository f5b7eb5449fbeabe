#include "bench/pdf2word/RealProducerBench.h"

#include "bench/pdf2word/OfficeRuns.h"
#include "bench/pdf2word/RealProducerFigures.h"
#include "bench/pdf2word/StructureGallery.h"
#include "tests/platform/pdf2word/DocumentPdfs.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <cmath>

namespace {

using namespace RealProducerFigures;

// Goals on the real producers' files.
const double kF1Goal = 0.90;
const double kRecallGoal = 0.88;
const double kPrecisionGoal = 0.90;
const double kTimeRatioGoal = 2;
const double kPageTolerance = 0.2;
const double kMeanSsimGoal = 0.78;
const double kSsimMargin = 0.02; // a sample's goal: the lower of pdf2docx's pass mark and its own figure, less this

// Debian's Python, which has OpenCV, PyMuPDF and NumPy for the pdf2docx suite.
const char* const kPython = "/usr/bin/python3";
const char* const kIcdar = "corpus/icdar2013-eu";
const char* const kSamples = "corpus/pdf2docx-samples";
const char* const kReadme = "corpus/README.md";
const char* const kIcdarScorer = "tools/word-tables-icdar.py";
const char* const kSuite = "tools/word-pdf2docx-suite.py";
const int kScorerTimeoutMs = 60 * 60 * 1000;

// QP_SHARED, or the folder "shared" beside the repository or beside a folder holding it (a work
// tree kept apart from the main checkout).
QString sharedFolder()
{
    const QString named = qEnvironmentVariable("QP_SHARED");
    if (!named.isEmpty())
        return QDir(named).absolutePath();
    for (QDir dir(QStringLiteral(QP_REPOSITORY_ROOT)); dir.cdUp();) {
        if (QFileInfo(dir.filePath(QStringLiteral("shared"))).isDir())
            return dir.filePath(QStringLiteral("shared"));
    }
    return QDir::cleanPath(QStringLiteral(QP_REPOSITORY_ROOT "/../shared"));
}

struct Script
{
    QProcess* process = nullptr;
    QString log; // the script's output to log.out, its errors to log.err
};

struct Finished
{
    int exitCode = -1;
    QString output;
    QString errors;
};

// A Python script with extra environment variables; its output goes to files, so that nothing
// waits on a full pipe while the benchmark does other work.
Script startScript(const QString& script, const QStringList& arguments, const QList<QPair<QString, QString>>& environment, const QString& log)
{
    Script started{new QProcess, log};
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const auto& variable : environment)
        variables.insert(variable.first, variable.second);
    started.process->setProcessEnvironment(variables);
    started.process->setStandardOutputFile(log + QStringLiteral(".out"));
    started.process->setStandardErrorFile(log + QStringLiteral(".err"));
    started.process->start(QLatin1String(kPython), QStringList{script} + arguments);
    return started;
}

QString readText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

Finished finishScript(const Script& script)
{
    Finished finished;
    if (!script.process->waitForFinished(kScorerTimeoutMs))
        script.process->kill();
    script.process->waitForFinished();
    if (script.process->exitStatus() == QProcess::NormalExit)
        finished.exitCode = script.process->exitCode();
    delete script.process;
    finished.output = readText(script.log + QStringLiteral(".out"));
    finished.errors = readText(script.log + QStringLiteral(".err"));
    return finished;
}

Finished runScript(const QString& script, const QStringList& arguments, const QList<QPair<QString, QString>>& environment, const QString& log)
{
    return finishScript(startScript(script, arguments, environment, log));
}

QString lastLines(const QString& text, int count)
{
    const QStringList lines = text.trimmed().split(QLatin1Char('\n'));
    return QStringList(lines.mid(qMax(0, lines.size() - count))).join(QLatin1Char('\n')) + QLatin1Char('\n');
}

// The counts truth_tables.py makes for each document.
struct TruthCounts
{
    int truthTables = 0;
    int oneCellInside = 0;
    int notOneTable = 0;
};

QMap<QString, TruthCounts> truthCounts(const QString& json)
{
    QMap<QString, TruthCounts> counts;
    for (const QJsonValue& value : QJsonDocument::fromJson(json.toUtf8()).object().value(QStringLiteral("documents")).toArray()) {
        const QJsonObject document = value.toObject();
        counts.insert(document.value(QStringLiteral("name")).toString(),
                      {document.value(QStringLiteral("truthTables")).toInt(), document.value(QStringLiteral("oneCellInside")).toInt(),
                       document.value(QStringLiteral("notOneTable")).toInt()});
    }
    return counts;
}

TruthCounts total(const QMap<QString, TruthCounts>& counts)
{
    TruthCounts sum;
    for (const TruthCounts& one : counts) {
        sum.truthTables += one.truthTables;
        sum.oneCellInside += one.oneCellInside;
        sum.notOneTable += one.notOneTable;
    }
    return sum;
}

struct IcdarRun
{
    IcdarSummary summary;
    QList<IcdarDocument> documents;
    QMap<QString, TruthCounts> counts;
};

bool pagesWithin(int original, int printed)
{
    return printed > 0 && std::abs(printed - original) <= kPageTolerance * original + 1e-9;
}

QString verdict(bool met)
{
    return met ? QStringLiteral("met") : QStringLiteral("MISSED");
}

QString ratio(double ours, double baseline)
{
    return baseline > 0 ? QString::number(ours / baseline, 'f', 2) : QStringLiteral("-");
}

QString fixed(double value)
{
    return QString::number(value, 'f', 3);
}

} // namespace

bool runRealProducerBench(const QString& root, const QString& galleryFolder, const QString& soffice, QTextStream& out)
{
    const QString shared = sharedFolder();
    for (const char* needed : {kIcdar, kSamples, kReadme, kIcdarScorer, kSuite}) {
        if (!QFileInfo::exists(shared + QLatin1Char('/') + QLatin1String(needed))) {
            out << QStringLiteral("\nReal producers: skipped, no %1/%2 (a checkout without the shared corpus; QP_SHARED names its folder)\n")
                       .arg(shared, QLatin1String(needed));
            out.flush();
            return true;
        }
    }
    QElapsedTimer clock;
    clock.start();
    const QString data = shared + QLatin1Char('/') + QLatin1String(kIcdar);
    const QString engine = QCoreApplication::applicationDirPath() + QStringLiteral("/libquillpdf2wordengine.so");
    const QString work = root + QStringLiteral("/real");
    QDir(work).removeRecursively();
    QDir().mkpath(work);
    const QString icdarWork = work + QStringLiteral("/icdar");
    const QString suiteWork = work + QStringLiteral("/pdf2docx");
    out << QStringLiteral("\nReal producers: ICDAR 2013's EU tables and pdf2docx's samples from %1; the scorers' own lines in %2/*.err\n")
               .arg(shared, work);
    out.flush();

    // The two ICDAR runs one after the other, their times compared.
    const QString icdarScorer = shared + QLatin1Char('/') + QLatin1String(kIcdarScorer);
    IcdarRun ours;
    IcdarRun mutool;
    const Finished oursScored = runScript(icdarScorer, {engine, icdarWork}, {{QStringLiteral("DATA"), data}}, work + QStringLiteral("/icdar-ours"));
    const Finished mutoolScored = runScript(icdarScorer, {engine, icdarWork}, {{QStringLiteral("DATA"), data}, {QStringLiteral("ANCHOR"), QStringLiteral("mutool")}},
                                            work + QStringLiteral("/icdar-mutool"));
    ours.summary = icdarSummary(oursScored.output);
    ours.documents = icdarDocuments(oursScored.errors);
    mutool.summary = icdarSummary(mutoolScored.output);
    mutool.documents = icdarDocuments(mutoolScored.errors);

    const double icdarSeconds = clock.elapsed() / 1000.0;

    // pdf2docx's suite while LibreOffice prints the ICDAR DOCX files.
    QElapsedTimer suiteClock;
    suiteClock.start();
    const Script suite = startScript(shared + QLatin1Char('/') + QLatin1String(kSuite), {engine, suiteWork},
                                     {{QStringLiteral("SAMPLES"), shared + QLatin1Char('/') + QLatin1String(kSamples)}}, work + QStringLiteral("/pdf2docx-suite"));
    const QString icdarPrinted = work + QStringLiteral("/icdar-printed");
    QProcess* printing = startPrinting(soffice, icdarWork + QStringLiteral("/out-engine"), icdarPrinted, work + QStringLiteral("/profile"));
    const QString truthScript = QStringLiteral(QP_TRUTH_TABLES_SCRIPT);
    ours.counts = truthCounts(runScript(truthScript, {icdarScorer, data, icdarWork + QStringLiteral("/out-engine")}, {}, work + QStringLiteral("/truth-ours")).output);
    mutool.counts = truthCounts(runScript(truthScript, {icdarScorer, data, icdarWork + QStringLiteral("/out-mutool")}, {}, work + QStringLiteral("/truth-mutool")).output);
    finishOffice(printing);
    if (!ours.summary.read || !mutool.summary.read) {
        out << "The ICDAR scorer printed no summary:\n"
            << lastLines(ours.summary.read ? mutoolScored.errors : oursScored.errors, 8);
        finishScript(suite);
        return false;
    }

    // ICDAR, document by document, and its gallery while the suite runs.
    QDir(galleryFolder).removeRecursively();
    int galleryDocuments = 0;
    QStringList failedDocuments;
    QStringList pagesOutside;
    out << QStringLiteral("\nICDAR 2013 EU: relations F1 ours and mutool's, ours' one-cell tables inside a truth table, truth tables not "
                          "written as one table,\npages of the original and of our DOCX printed by LibreOffice\n");
    out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
               .arg(QStringLiteral("document"), -10)
               .arg(QStringLiteral("F1"), 6)
               .arg(QStringLiteral("mutool"), 7)
               .arg(QStringLiteral("one-cell"), 9)
               .arg(QStringLiteral("not one"), 8)
               .arg(QStringLiteral("pages"), 7);
    QHash<QString, double> mutoolF1;
    for (const IcdarDocument& document : mutool.documents)
        mutoolF1.insert(document.name, document.f1);
    for (const IcdarDocument& document : ours.documents) {
        const QString pdf = data + QLatin1Char('/') + document.name + QStringLiteral(".pdf");
        const QString printed = icdarPrinted + QLatin1Char('/') + document.name + QStringLiteral(".pdf");
        const int pages = DocumentPdfs::pageCount(pdf);
        const int printedPages = QFileInfo::exists(printed) ? DocumentPdfs::pageCount(printed) : 0;
        if (document.returnCode != 0)
            failedDocuments << QStringLiteral("%1 (rc %2)").arg(document.name).arg(document.returnCode);
        if (!pagesWithin(pages, printedPages))
            pagesOutside << QStringLiteral("%1 %2->%3").arg(document.name).arg(pages).arg(printedPages);
        const TruthCounts counts = ours.counts.value(document.name);
        out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                   .arg(document.name, -10)
                   .arg(fixed(document.f1), 6)
                   .arg(mutoolF1.contains(document.name) ? fixed(mutoolF1.value(document.name)) : QStringLiteral("-"), 7)
                   .arg(counts.oneCellInside, 9)
                   .arg(QStringLiteral("%1/%2").arg(counts.notOneTable).arg(counts.truthTables), 8)
                   .arg(QStringLiteral("%1/%2").arg(pages).arg(printedPages), 7);
        galleryDocuments += writeDocumentSideBySide(pdf, 1, pages, QFileInfo::exists(printed) ? printed : QString(),
                                                    QStringLiteral("icdar-") + document.name, galleryFolder)
                                ? 1
                                : 0;
    }
    out.flush();

    const Finished suiteScored = finishScript(suite);
    const double suiteSeconds = suiteClock.elapsed() / 1000.0;
    const SuiteResult samples = suiteResult(suiteScored.output, suiteScored.errors);
    const QMap<QString, Pdf2docxReference> references = pdf2docxReferences(readText(shared + QLatin1Char('/') + QLatin1String(kReadme)));
    if (!samples.read) {
        out << "The pdf2docx suite printed no summary (it needs python3-opencv, python3-fitz and python3-numpy):\n"
            << lastLines(suiteScored.errors, 8);
        return false;
    }
    if (references.isEmpty()) {
        out << "The corpus's README has no table of pdf2docx's samples.\n";
        return false;
    }

    // pdf2docx's samples, file by file.
    out << QStringLiteral("\npdf2docx's samples: our similarity (SSIM) and printed pages; the goal is the lower of pdf2docx's pass mark and "
                          "pdf2docx's own SSIM, less %1.\npdf2docx cannot run here: its figures are those of the corpus's README, measured "
                          "on this machine.\n")
               .arg(kSsimMargin);
    out << QStringLiteral("%1 %2 %3 %4 %5 | %6 %7 %8\n")
               .arg(QStringLiteral("sample"), -34)
               .arg(QStringLiteral("SSIM"), 6)
               .arg(QStringLiteral("goal"), 6)
               .arg(QString(), -6)
               .arg(QStringLiteral("pages"), 6)
               .arg(QStringLiteral("pdf2docx"), 8)
               .arg(QStringLiteral("pages"), 5)
               .arg(QStringLiteral("pass mark"), 9);
    int goalsMet = 0;
    int goals = 0;
    int oursLonger = 0;
    int pdf2docxLonger = 0;
    int pdf2docxPassed = 0;
    int passMarks = 0;
    double pdf2docxSsims = 0;
    QStringList longerThanPdf2docx;
    QElapsedTimer galleryClock;
    galleryClock.start();
    for (const SampleResult& sample : samples.samples) {
        if (!sample.converted)
            failedDocuments << sample.name;
        const bool known = references.contains(sample.name);
        const Pdf2docxReference reference = references.value(sample.name);
        const int pages = reference.lastPage - reference.firstPage + 1;
        QString goal = QStringLiteral("-");
        QString met;
        if (known) {
            const double target = (reference.passMark >= 0 ? qMin(reference.passMark, reference.ssim) : reference.ssim) - kSsimMargin;
            goal = fixed(target);
            met = verdict(sample.ssim >= target - 1e-9);
            goalsMet += sample.ssim >= target - 1e-9 ? 1 : 0;
            ++goals;
            passMarks += reference.passMark >= 0 ? 1 : 0;
            pdf2docxPassed += reference.passMark >= 0 && reference.ssim >= reference.passMark ? 1 : 0;
            pdf2docxLonger += reference.printedPages > pages ? 1 : 0;
            pdf2docxSsims += reference.ssim;
            if (pages == 1 && sample.printedPages > 1 && reference.printedPages <= 1)
                longerThanPdf2docx << QStringLiteral("%1 (%2)").arg(QString(sample.name).remove(QStringLiteral(".pdf"))).arg(sample.printedPages);
        }
        oursLonger += sample.printedPages > sample.pages ? 1 : 0;
        out << QStringLiteral("%1 %2 %3 %4 %5 | %6 %7 %8\n")
                   .arg(sample.name, -34)
                   .arg(sample.converted ? fixed(sample.ssim) : QStringLiteral("failed"), 6)
                   .arg(goal, 6)
                   .arg(met, -6)
                   .arg(QStringLiteral("%1/%2").arg(sample.pages).arg(sample.printedPages), 6)
                   .arg(known ? fixed(reference.ssim) : QStringLiteral("-"), 8)
                   .arg(known ? QString::number(reference.printedPages) : QStringLiteral("-"), 5)
                   .arg(reference.passMark >= 0 ? QString::number(reference.passMark, 'f', 2) : QStringLiteral("-"), 9);
        const QString base = QString(sample.name).remove(QStringLiteral(".pdf"));
        const QString printed = suiteWork + QStringLiteral("/printed/qp-") + base + QStringLiteral(".pdf");
        galleryDocuments += writeDocumentSideBySide(suiteWork + QLatin1Char('/') + sample.name, reference.firstPage, reference.lastPage,
                                                    QFileInfo::exists(printed) ? printed : QString(), QStringLiteral("pdf2docx-") + base, galleryFolder)
                                ? 1
                                : 0;
    }

    const double samplesGallerySeconds = galleryClock.elapsed() / 1000.0;

    // The summary.
    const TruthCounts oursCounts = total(ours.counts);
    const TruthCounts mutoolCounts = total(mutool.counts);
    const IcdarSummary& a = ours.summary;
    const IcdarSummary& m = mutool.summary;
    const double timeRatio = m.seconds > 0 ? a.seconds / m.seconds : 0;
    const int icdarDocuments = ours.documents.size();
    out << QStringLiteral("\n== Real producers: ours; baselines mutool convert (run now) and pdf2docx (the corpus's README) ==\n");
    out << QStringLiteral("ICDAR 2013 EU, %1 docs: P %2 R %3 F1 %4 (mutool %5 %6 %7; F1 ours / mutool %8)\n")
               .arg(icdarDocuments)
               .arg(fixed(a.precision), fixed(a.recall), fixed(a.f1), fixed(m.precision), fixed(m.recall), fixed(m.f1), ratio(a.f1, m.f1));
    out << QStringLiteral("  tables written %1 (truth %2, mutool %3); docs with a truth table not written %4 (mutool %5)\n")
               .arg(a.written)
               .arg(a.truthTables)
               .arg(m.written)
               .arg(a.docsNotWritten)
               .arg(m.docsNotWritten);
    out << QStringLiteral("  one-cell tables inside a truth table %1 (mutool %2); truth tables not one table %3/%4 (mutool %5)\n")
               .arg(oursCounts.oneCellInside)
               .arg(mutoolCounts.oneCellInside)
               .arg(oursCounts.notOneTable)
               .arg(oursCounts.truthTables)
               .arg(mutoolCounts.notOneTable);
    out << QStringLiteral("  printed pages outside %1%: %2/%3%4\n")
               .arg(kPageTolerance * 100)
               .arg(pagesOutside.size())
               .arg(icdarDocuments)
               .arg(pagesOutside.isEmpty() ? QString() : QStringLiteral(" (") + pagesOutside.join(QStringLiteral(", ")) + QLatin1Char(')'));
    out << QStringLiteral("  time %1 s, mutool %2 s, ours / mutool %3\n").arg(a.seconds, 0, 'f', 1).arg(m.seconds, 0, 'f', 1).arg(timeRatio, 0, 'f', 2);
    out << QStringLiteral("  goals: F1 >= %1 %2; recall >= %3 %4; precision >= %5 %6; time ours / mutool <= %7 %8;\n"
                          "         no one-cell table inside a truth table %9; every truth table one table %10; every doc's pages within %11% %12\n")
               .arg(kF1Goal)
               .arg(verdict(a.f1 >= kF1Goal))
               .arg(kRecallGoal)
               .arg(verdict(a.recall >= kRecallGoal))
               .arg(kPrecisionGoal)
               .arg(verdict(a.precision >= kPrecisionGoal))
               .arg(kTimeRatioGoal)
               .arg(verdict(timeRatio <= kTimeRatioGoal))
               .arg(verdict(oursCounts.oneCellInside == 0), verdict(oursCounts.notOneTable == 0))
               .arg(kPageTolerance * 100)
               .arg(verdict(pagesOutside.isEmpty()));
    out << QStringLiteral("pdf2docx samples, %1 files: pass marks met %2/%3 (pdf2docx %4/%5 on the README's rounded figures); mean SSIM %6 (pdf2docx %7, ours / pdf2docx %8)\n")
               .arg(samples.samples.size())
               .arg(samples.thresholdsMet)
               .arg(samples.graded)
               .arg(pdf2docxPassed)
               .arg(passMarks)
               .arg(fixed(samples.meanSsim), fixed(goals ? pdf2docxSsims / goals : 0), ratio(samples.meanSsim, goals ? pdf2docxSsims / goals : 0));
    out << QStringLiteral("  printed longer than the original %1 (pdf2docx %2); one-page samples longer where pdf2docx's is not: %3%4\n")
               .arg(oursLonger)
               .arg(pdf2docxLonger)
               .arg(longerThanPdf2docx.size())
               .arg(longerThanPdf2docx.isEmpty() ? QString() : QStringLiteral(" (") + longerThanPdf2docx.join(QStringLiteral(", ")) + QLatin1Char(')'));
    out << QStringLiteral("  goals: each sample's SSIM %1/%2 met; mean SSIM >= %3 %4; no one-page sample longer than pdf2docx's %5;\n"
                          "         table extraction exact %6\n")
               .arg(goalsMet)
               .arg(goals)
               .arg(kMeanSsimGoal)
               .arg(verdict(samples.meanSsim >= kMeanSsimGoal), verdict(longerThanPdf2docx.isEmpty()))
               .arg(samples.tableExact ? QStringLiteral("met") : QStringLiteral("MISSED (wrong)"));
    out << QStringLiteral("Gallery of ours (%1 documents, each original beside its printed DOCX): %2\n").arg(galleryDocuments).arg(galleryFolder);
    out << QStringLiteral("The part took %1 s: the ICDAR scorers %2 s; the pdf2docx suite (which prints each sample with LibreOffice "
                          "on its own) %3 s, beside the ICDAR prints and gallery; the samples' gallery %4 s.\n")
               .arg(clock.elapsed() / 1000.0, 0, 'f', 1)
               .arg(icdarSeconds, 0, 'f', 1)
               .arg(suiteSeconds, 0, 'f', 1)
               .arg(samplesGallerySeconds, 0, 'f', 1);
    if (!failedDocuments.isEmpty() || a.withoutDocx > 0)
        out << QStringLiteral("Ours failed to convert: %1\n").arg(failedDocuments.isEmpty() ? QStringLiteral("%1 ICDAR documents").arg(a.withoutDocx) : failedDocuments.join(QStringLiteral(", ")));
    out.flush();
    return failedDocuments.isEmpty() && a.withoutDocx == 0 && samples.failed == 0;
}
