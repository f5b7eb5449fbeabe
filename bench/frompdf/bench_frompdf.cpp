// Page-image export and OCR of the from-PDF engine against established tools on the same
// inputs, measured in one run:
//   1. a 30-page text PDF to PNG pages at 150 dpi: PageImageExport vs "mutool draw" and "pdftoppm";
//   2. 10 scanned pages (300 dpi) to text: our Leptonica + Tesseract pipeline vs the "tesseract"
//      command line on the same page images, by time and by the share of the true words found;
//   3. one noisy scan (a 300-dpi G4 TIFF with speckles, made into a PDF by tiff2pdf): our reading
//      of the page rendered at 300 dpi vs the "tesseract" command line on that image, and how long
//      the conversion takes to end after a stop asked for while the page is recognised.
// "Ours" reads pages as the conversion does, through OcrPageReader and the OCR program quillocr.
// Usage: build/bin/bench_frompdf [repetitions]

#include "app/core/ImageQuality.h"
#include "app/core/ToolPaths.h"
#include "bench/support/BaselineTools.h"
#include "frompdf/engine/PageImageExport.h"
#include "frompdf/ocr/FromPDFOCR.h"
#include "frompdf/ocr/OcrPageReader.h"
#include "pdflib/service/DebenuDocument.h"
#include "pdflib/service/DebenuService.h"
#include "tests/frompdf/TestPdfs.h"
#include "tests/frompdf/engine/RecordingProgress.h"
#include "tests/support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <thread>

namespace {

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

// The best of n runs, in seconds; prepare runs before each timing and is not counted.
double bestOf(int n, const std::function<void()>& prepare, const std::function<void()>& work)
{
    double best = 1e30;
    for (int i = 0; i < n; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e9);
    }
    return best;
}

void freshFolder(const QString& path)
{
    QDir(path).removeRecursively();
    QDir().mkpath(path);
}

int countFiles(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files).size();
}

void pageImageBenchmark(const QString& work, const QSharedPointer<DebenuService>& service, int repetitions)
{
    const QString pdf = work + QStringLiteral("/text30.pdf");
    TestPdfs::writeTextPdf(pdf, TestPdfs::sentencePages(30, 40));
    const QString ours = work + QStringLiteral("/ours");
    const QString mutool = work + QStringLiteral("/mutool");
    const QString poppler = work + QStringLiteral("/pdftoppm");

    FromPDFTask task;
    task.file = QFileInfo(pdf);
    task.format = QStringLiteral("png");
    task.split = true;
    task.ranges = {{1, 30}};

    const double oursTime = bestOf(
        repetitions, [&] { freshFolder(ours); }, [&] {
        PageImageExport exporter(service, nullptr);
        exporter.setImageQuality(ImageQuality::Medium);
        exporter.exportTask(task, ours); });
    const int oursFiles = countFiles(ours);
    const double mutoolTime = bestOf(
        repetitions, [&] { freshFolder(mutool); }, [&] { TestFiles::run(QStringLiteral("mutool"),
                                                                        {"draw", "-q", "-r", "150", "-o", mutool + "/page%02d.png", pdf}, nullptr, nullptr, 600000); });
    const double popplerTime = bestOf(
        repetitions, [&] { freshFolder(poppler); }, [&] { TestFiles::run(QStringLiteral("pdftoppm"), {"-r", "150", "-png", pdf, poppler + "/page"}, nullptr, nullptr,
                                                                         600000); });

    out() << "Page images: 30 A4 text pages to PNG at 150 dpi (best of " << repetitions << ")\n";
    out() << QStringLiteral("  ours (PageImageExport)  %1 s  (%2 files)\n").arg(oursTime, 0, 'f', 2).arg(oursFiles);
    out() << QStringLiteral("  mutool draw             %1 s  (%2 files)\n").arg(mutoolTime, 0, 'f', 2).arg(countFiles(mutool));
    out() << QStringLiteral("  pdftoppm                %1 s  (%2 files)\n").arg(popplerTime, 0, 'f', 2).arg(countFiles(poppler));
    out() << QStringLiteral("  ratio ours / mutool     %1\n").arg(oursTime / mutoolTime, 0, 'f', 2);
    out() << QStringLiteral("  ratio ours / pdftoppm   %1\n").arg(oursTime / popplerTime, 0, 'f', 2);
    out().flush();
}

void ocrBenchmark(const QString& work, const QSharedPointer<DebenuService>& service)
{
    const int pages = 10;
    const QStringList truthPages = TestPdfs::sentencePages(pages, 25);
    const QString pdf = work + QStringLiteral("/scan10.pdf");
    TestPdfs::writeScannedPdf(pdf, truthPages, 300);
    QStringList truth;
    for (const QString& page : truthPages)
        truth += TestPdfs::wordsOf(page);

    // The page images both recognisers read: rendered the way the OCR conversion renders them.
    const QString images = work + QStringLiteral("/scan-images");
    freshFolder(images);
    QStringList imageFiles;
    {
        DebenuDocument document(service, pdf, QString(), false);
        for (int page = 1; page <= pages; ++page) {
            const QString path = images + QStringLiteral("/page%1.jpg").arg(page, 2, 10, QLatin1Char('0'));
            document.renderPageToFile(300.0, page, 1, path);
            imageFiles << path;
        }
    }

    const QString tessdata = ToolPaths::path(ToolPaths::TessData);
    QString oursText;
    QElapsedTimer timer;
    timer.start();
    {
        OcrPageReader reader;
        reader.init(tessdata, QStringLiteral("eng"));
        for (const QString& image : imageFiles) {
            QString text;
            QString reason;
            reader.recognizeFile(image, &text, &reason);
            oursText += text;
        }
    }
    const double oursTime = timer.nsecsElapsed() / 1e9;

    QString cliText;
    timer.restart();
    for (const QString& image : imageFiles) {
        QByteArray text;
        TestFiles::run(QStringLiteral("tesseract"), {image, "stdout", "-l", "eng", "--tessdata-dir", tessdata}, &text,
                       nullptr, 600000);
        cliText += QString::fromUtf8(text);
    }
    const double cliTime = timer.nsecsElapsed() / 1e9;

    // The whole conversion as the program runs it: render, prepare, recognise, write text.
    timer.restart();
    FromPDFOCR conversion(service, pdf, QString(), work + QStringLiteral("/scan10.txt"), 1, pages,
                          QStringLiteral("EN"), false, nullptr);
    conversion.run();
    const double conversionTime = timer.nsecsElapsed() / 1e9;

    const QStringList oursWords = TestPdfs::wordsOf(oursText);
    const QStringList cliWords = TestPdfs::wordsOf(cliText);
    out() << "OCR: 10 scanned A4 pages (300 dpi, " << truth.size() << " words), same page images\n";
    out() << QStringLiteral("  ours (Leptonica + Tesseract library)  %1 s  words found %2%\n")
                 .arg(oursTime, 0, 'f', 2)
                 .arg(100.0 * TestPdfs::wordsFound(truth, oursWords), 0, 'f', 1);
    out() << QStringLiteral("  tesseract command line                %1 s  words found %2%\n")
                 .arg(cliTime, 0, 'f', 2)
                 .arg(100.0 * TestPdfs::wordsFound(truth, cliWords), 0, 'f', 1);
    out() << QStringLiteral("  ratio ours / command line (time)      %1\n").arg(oursTime / cliTime, 0, 'f', 2);
    out() << QStringLiteral("  words the two agree on                %1%\n")
                 .arg(100.0 * TestPdfs::wordsFound(cliWords, oursWords), 0, 'f', 1);
    out() << QStringLiteral("  whole OCR conversion to TXT           %1 s  (error type %2)\n")
                 .arg(conversionTime, 0, 'f', 2)
                 .arg(conversion.errorType());
    out().flush();
}

void noisyScanBenchmark(const QString& work, const QSharedPointer<DebenuService>& service, int repetitions)
{
    const QString truthText = TestPdfs::sentencePages(1, 40).first();
    const QStringList truth = TestPdfs::wordsOf(truthText);
    const QString pdf = work + QStringLiteral("/noisy.pdf");
    TestPdfs::writeNoisyScanPdf(pdf, truthText);
    const QString image = work + QStringLiteral("/noisy-page.jpg");
    {
        DebenuDocument document(service, pdf, QString(), false);
        document.renderPageToFile(300.0, 1, 1, image);
    }
    const QString tessdata = ToolPaths::path(ToolPaths::TessData);

    // Both timings include loading the language data, which the command line does each time.
    QString oursText;
    const double oursTime = bestOf(
        repetitions, [] {}, [&] {
            OcrPageReader reader;
            reader.init(tessdata, QStringLiteral("eng"));
            QString reason;
            reader.recognizeFile(image, &oursText, &reason); });
    QByteArray cliText;
    const double cliTime = bestOf(
        repetitions, [] {}, [&] { TestFiles::run(QStringLiteral("tesseract"), {image, "stdout", "-l", "eng", "--tessdata-dir", tessdata},
                                                 &cliText, nullptr, 600000); });

    // A stop 1.5 s into the conversion, while the page is recognised.
    RecordingProgress progress;
    QElapsedTimer clock;
    clock.start();
    qint64 stoppedAt = 0;
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        stoppedAt = clock.elapsed();
        progress.stopped = true;
    });
    FromPDFOCR conversion(service, pdf, QString(), work + QStringLiteral("/noisy.txt"), 1, 1, QStringLiteral("EN"),
                          false, &progress);
    conversion.run();
    const qint64 finishedAt = clock.elapsed();
    stopper.join();

    out() << "OCR: a noisy scan (one A4 page, G4 at 300 dpi, " << truth.size() << " words), best of " << repetitions
          << "\n";
    out() << QStringLiteral("  ours (Leptonica + Tesseract library)  %1 s  words found %2%\n")
                 .arg(oursTime, 0, 'f', 2)
                 .arg(100.0 * TestPdfs::wordsFound(truth, TestPdfs::wordsOf(oursText)), 0, 'f', 1);
    out() << QStringLiteral("  tesseract command line                %1 s  words found %2%\n")
                 .arg(cliTime, 0, 'f', 2)
                 .arg(100.0 * TestPdfs::wordsFound(truth, TestPdfs::wordsOf(QString::fromUtf8(cliText))), 0, 'f', 1);
    out() << QStringLiteral("  ratio ours / command line (time)      %1\n").arg(oursTime / cliTime, 0, 'f', 2);
    out() << QStringLiteral("  conversion ended after a stop in      %1 s  (error type %2)\n")
                 .arg((finishedAt - stoppedAt) / 1000.0, 0, 'f', 2)
                 .arg(conversion.errorType());
    out().flush();
}

} // namespace

int main(int argc, char** argv)
{
    // Log, cache and settings of this run go to a private folder, not to the user's own.
    QTemporaryDir home;
    for (const char* variable : {"HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME"})
        qputenv(variable, QFile::encodeName(home.path() + QLatin1Char('/') + QLatin1String(variable)));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!requireBaselineTools({{QStringLiteral("mutool"), QStringLiteral("mupdf-tools")},
                               {QStringLiteral("pdftoppm"), QStringLiteral("poppler-utils")},
                               {QStringLiteral("tesseract"), QStringLiteral("tesseract-ocr")},
                               {QStringLiteral("tiffcp"), QStringLiteral("libtiff-tools")},
                               {QStringLiteral("tiff2pdf"), QStringLiteral("libtiff-tools")}}))
        return 2;
    QCoreApplication::setOrganizationName(QStringLiteral("Zembrook"));
    QCoreApplication::setApplicationName(QStringLiteral("Zembrook PDF Converter"));
    // Keep the per-call debug lines of the engine off the report.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));

    const int repetitions = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 3;
    QTemporaryDir work;
    QSharedPointer<DebenuService> service(new DebenuService);
    pageImageBenchmark(work.path(), service, repetitions);
    ocrBenchmark(work.path(), service);
    noisyScanBenchmark(work.path(), service, repetitions);
    return 0;
}
