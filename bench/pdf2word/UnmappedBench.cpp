#include "bench/pdf2word/UnmappedBench.h"

#include "platform/pdf2word/com/Pdf2WordLib.h"
#include "tests/platform/pdf2word/DocumentPdfs.h"
#include "tests/platform/pdf2word/Pdf2WordCall.h"
#include "tests/platform/pdf2word/UnmappedPages.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

namespace {

// The htmldoc paper: sections of prose, a ruled table and one without rulings.
const int kSections = 10;
const int kTables = 2;

struct Reading
{
    QString text;
    double seconds = 0;
    bool done = false;
};

// The tesseract command line on the pages drawn at 300 dpi (the drawing not timed), in one run
// over the list of pages, with one thread: with its default threads it takes two to four times
// as long on a busy machine (OpenMP's threads mostly wait for one another), and forty times under
// stress-ng.
Reading commandLine(const QString& pdf, const QString& folder)
{
    const QString pages = folder + QStringLiteral("/pages");
    if (!QFileInfo::exists(pages + QStringLiteral("/list.txt"))) {
        QDir().mkpath(pages);
        TestFiles::run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"), pdf,
                                                    pages + QStringLiteral("/page")});
        QStringList list;
        for (const QString& entry : TestFiles::entries(pages)) {
            if (entry.endsWith(QLatin1String(".png")))
                list << pages + QLatin1Char('/') + entry;
        }
        TestFiles::writeFile(pages + QStringLiteral("/list.txt"), list.join(QLatin1Char('\n')).toUtf8() + '\n');
    }
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
    process.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    process.start(QStringLiteral("tesseract"),
                  {pages + QStringLiteral("/list.txt"), QStringLiteral("stdout"), QStringLiteral("-l"), QStringLiteral("eng")});
    Reading reading;
    reading.done = process.waitForFinished(1800000) && process.exitCode() == 0;
    reading.seconds = clock.nsecsElapsed() / 1e9;
    reading.text = QString::fromUtf8(process.readAllStandardOutput());
    return reading;
}

struct Row
{
    QString name;
    bool converted = false;
    double seconds = 0;
    double baseline = 0; // the reference's time, when timed
    double words = 0;
    double pairs = 0;
    int tables = -1; // found, for the paper
    int mixed = 0;
    int logged = 0; // lines of the log saying what was left out
};

Row convert(const QString& name, const QString& pdf, const QString& reference, const QString& folder, const HardPagesTools& tools)
{
    Row row;
    row.name = name;
    const QString docx = folder + QLatin1Char('/') + QFileInfo(pdf).completeBaseName() + QStringLiteral(".docx");
    QFile::remove(docx);
    const int pages = DocumentPdfs::pageCount(pdf);
    QStringList log;
    Pdf2WordCall::registerComponent(
        QString(), [&log](const QString& line) { log << line; }, Pdf2WordCall::installedLanguages());
    QElapsedTimer clock;
    clock.start();
    row.converted = SUCCEEDED(Pdf2WordCall::convert(pdf, docx, 1, pages).result);
    row.seconds = clock.nsecsElapsed() / 1e9;
    Pdf2WordCall::registerComponent();
    const QStringList words = DocumentPdfs::words(row.converted ? tools.docxText(docx, pages) : QString());
    const QStringList expected = DocumentPdfs::words(reference);
    row.words = DocumentPdfs::shareKept(expected, words);
    row.pairs = DocumentPdfs::shareKept(DocumentPdfs::pairsOf(expected), DocumentPdfs::pairsOf(words));
    row.mixed = UnmappedPages::mixedScriptWords(words).size();
    row.logged = log.filter(QStringLiteral("left out")).size();
    row.tables = QString::fromUtf8(DocumentPdfs::zipEntry(docx, QStringLiteral("word/document.xml"))).count(QLatin1String("<w:tbl>"));
    return row;
}

QString verdict(bool met)
{
    return met ? QStringLiteral("met") : QStringLiteral("MISSED");
}

} // namespace

bool runUnmappedText(const QString& root, const HardPagesTools& tools, QTextStream& out)
{
    const QString folder = root + QStringLiteral("/unmapped");
    QDir().mkpath(folder);
    QList<Row> rows;
    const QString paper = folder + QStringLiteral("/htmldoc-paper.pdf");
    Reading command;
    if (UnmappedPages::writeHtmldocPaperPdf(paper, UnmappedPages::paperHtml(11, kSections, kTables))) {
        command = commandLine(paper, folder);
        Row row = convert(QStringLiteral("htmldoc paper, no map"), paper, command.text, folder, tools);
        row.baseline = command.seconds;
        rows << row;
    }
    const QString mapped = folder + QStringLiteral("/arabic.pdf");
    if (UnmappedPages::writeArabicPdf(mapped, UnmappedPages::ArabicMap::Full)) {
        const QString reference = tools.referenceText(mapped);
        const struct
        {
            const char* name;
            const char* file;
            UnmappedPages::ArabicMap map;
        } arabic[] = {{"Arabic, no map", "/arabic-nomap.pdf", UnmappedPages::ArabicMap::None},
                      {"Arabic, forms unmapped", "/arabic-forms.pdf", UnmappedPages::ArabicMap::BaseLetters}};
        for (const auto& page : arabic) {
            const QString pdf = folder + QLatin1String(page.file);
            if (UnmappedPages::writeArabicPdf(pdf, page.map))
                rows << convert(QLatin1String(page.name), pdf, reference, folder, tools);
        }
    }
    const QString giant = folder + QStringLiteral("/giant-glyph.pdf");
    if (TestFiles::writeFile(giant, UnmappedPages::giantGlyphPdf()))
        rows << convert(QStringLiteral("A glyph 10^30 pt wide"), giant, QStringLiteral("Words beside the glyphs"), folder, tools);

    out << QStringLiteral("\nText in fonts without a Unicode map, read by OCR (ours; references: the tesseract command line on the\n"
                          "paper's pages at 300 dpi with one thread, %1 s; pdftotext of the Arabic page with its map):\n"
                          "%2 %3 %4 %5 %6 %7 %8\n")
               .arg(command.seconds, 0, 'f', 2)
               .arg(QStringLiteral("file"), -24)
               .arg(QStringLiteral("s"), 8)
               .arg(QStringLiteral("words"), 7)
               .arg(QStringLiteral("pairs"), 7)
               .arg(QStringLiteral("tables"), 7)
               .arg(QStringLiteral("mixed"), 6)
               .arg(QStringLiteral("logged"), 7);
    bool converted = rows.size() == 4;
    bool paperMet = false;
    bool timeMet = false;
    int mixed = 0;
    for (const Row& row : rows) {
        converted = converted && row.converted;
        mixed += row.mixed;
        out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
                   .arg(row.name, -24)
                   .arg(row.seconds, 8, 'f', 2)
                   .arg(row.words, 7, 'f', 3)
                   .arg(row.pairs, 7, 'f', 3)
                   .arg(row.tables, 7)
                   .arg(row.mixed, 6)
                   .arg(row.logged, 7);
        if (row.baseline > 0) {
            paperMet = row.words >= 0.95 && row.pairs >= 0.90 && row.tables >= kTables;
            timeMet = row.seconds <= row.baseline;
            out << QStringLiteral("  time ours / tesseract command line: %1\n")
                       .arg(row.seconds / row.baseline, 0, 'f', 2);
        }
    }
    out << QStringLiteral("Goals for ours: the paper keeps >= 0.95 of the command line's words and >= 0.90 of its word pairs, its\n"
                          "%1 tables tables (%2); converting it takes at most the command line's time (%3); no word mixes letters\n"
                          "of two scripts (%4); no file fails (%5).\n")
               .arg(kTables)
               .arg(verdict(paperMet), verdict(timeMet), verdict(mixed == 0), verdict(converted));
    out.flush();
    return converted;
}
