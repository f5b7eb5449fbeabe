// Pages that lost their text or stopped the conversion: a scan's text layer under its picture,
// text in a font without a Unicode map, accents drawn apart from their letters, text drawn
// thousands of times at one spot, a picture that cannot be read, forms nested too deep.

#include "platform/pdf2word/com/Pdf2WordLib.h"
#include "tests/platform/pdf2word/DocumentPdfs.h"
#include "tests/platform/pdf2word/HardPages.h"
#include "tests/platform/pdf2word/Pdf2WordCall.h"
#include "tests/platform/pdf2word/RealDocuments.h"
#include "tests/platform/pdf2word/UnmappedPages.h"
#include "tests/platform/pdf2word/UserDocuments.h"
#include "tests/support/TestFiles.h"

#include "app/core/ToolPaths.h"

#include <QRegularExpression>
#include <QtTest>

namespace {

// The words of a converted file: the text of a package's parts, or of the file itself.
QStringList wordsOf(const QString& output)
{
    QString text;
    if (output.endsWith(QLatin1String(".docx")))
        text = QString::fromUtf8(DocumentPdfs::zipEntry(output, QStringLiteral("word/document.xml")));
    else if (output.endsWith(QLatin1String(".odt")))
        text = QString::fromUtf8(DocumentPdfs::zipEntry(output, QStringLiteral("content.xml")));
    else
        text = QString::fromUtf8(TestFiles::readFile(output));
    if (!output.endsWith(QLatin1String(".txt"))) {
        // Paragraphs end in a space; runs of one word join.
        text.replace(QRegularExpression(QStringLiteral("</(w:p|text:p|text:h|p|h\\d|td)>")), QStringLiteral(" "));
        text.remove(QRegularExpression(QStringLiteral("<head>.*</head>|<[^>]*>"), QRegularExpression::DotMatchesEverythingOption));
    }
    return DocumentPdfs::words(text);
}

// Every byte a converted file holds: its file, and each part of a package unpacked.
QByteArray allBytes(const QString& output)
{
    QByteArray bytes = TestFiles::readFile(output);
    if (output.endsWith(QLatin1String(".docx")) || output.endsWith(QLatin1String(".odt"))) {
        for (const QString& entry : DocumentPdfs::zipEntries(output))
            bytes += DocumentPdfs::zipEntry(output, entry);
    }
    return bytes;
}

// Converts with the OCR languages given and returns the log's lines.
QStringList convertLogged(const QString& source, const QString& output, int last, const QString& languages, HRESULT* result)
{
    QStringList log;
    Pdf2WordCall::registerComponent(
        QString(), [&log](const QString& line) { log << line; }, languages);
    *result = Pdf2WordCall::convert(source, output, 1, last).result;
    Pdf2WordCall::registerComponent();
    return log;
}

} // namespace

class Pdf2WordHardPagesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Pdf2WordCall::registerComponent(); }

    // Text drawn first and covered by the page's picture, as PDFium-based tools write a scan's
    // recognised text: it is the page's text, and the picture that repeats it is left out.
    void textUnderAScanIsText()
    {
        const QString folder = TestFiles::sandboxFolder(QStringLiteral("covered"));
        const QStringList lines = {QStringLiteral("Minutes of the harbour board, third of May."),
                                   QStringLiteral("The pier lights were mended and the ferry ran on time.")};
        const QString source = folder + QStringLiteral("/scan.pdf");
        QVERIFY(HardPages::writeCoveredTextPdf(source, lines));
        const QStringList expected = DocumentPdfs::words(lines.join(QLatin1Char(' ')));
        for (const char* suffix : {"docx", "txt"}) {
            const QString output = folder + QStringLiteral("/scan.") + QLatin1String(suffix);
            QCOMPARE(Pdf2WordCall::convert(source, output, 1, 1).result, S_OK);
            QCOMPARE(wordsOf(output), expected);
        }
        QCOMPARE(DocumentPdfs::zipEntries(folder + QStringLiteral("/scan.docx")).filter(QStringLiteral("media/")), QStringList());
    }

    // A Type 3 font whose glyph names say nothing and without a Unicode map: its words are read
    // from the glyphs, and no format holds a replacement character.
    void unmappedFontIsRecognised()
    {
        const QString folder = TestFiles::sandboxFolder(QStringLiteral("unmapped"));
        const QStringList lines = {RealDocuments::prose(3, 1).left(70), RealDocuments::prose(4, 1).left(70),
                                   QStringLiteral("Invoice 2024-117 totals 1,250.80 for 12 crates.")};
        const QString source = folder + QStringLiteral("/unmapped.pdf");
        QVERIFY(HardPages::writeUnmappedFontPdf(source, lines));
        QVERIFY(TestFiles::readFile(source).contains("/Type3"));
        const QStringList expected = DocumentPdfs::words(lines.join(QLatin1Char(' ')));
        for (const char* suffix : {"docx", "odt", "html", "txt"}) {
            const QString output = folder + QStringLiteral("/unmapped.") + QLatin1String(suffix);
            QCOMPARE(Pdf2WordCall::convert(source, output, 1, 1).result, S_OK);
            const QStringList words = wordsOf(output);
            int found = 0;
            for (const QString& word : expected)
                found += words.contains(word) ? 1 : 0;
            QVERIFY2(found >= 0.9 * expected.size(), qPrintable(words.join(QLatin1Char(' '))));
            QVERIFY2(!allBytes(output).contains("\xEF\xBF\xBD"), suffix);
        }
    }

    // A paper printed by htmldoc whose body font has no Unicode map: its words come in the order
    // they stand, its ruled table and its table without rulings are tables, nothing is left out,
    // and a stop while its text is recognised is answered within a second.
    void unmappedPaperReadsInOrderWithItsTables()
    {
        const QString folder = TestFiles::sandboxFolder(QStringLiteral("unmapped-paper"));
        const QString source = folder + QStringLiteral("/paper.pdf");
        const QString html = UnmappedPages::paperHtml(7, 4, 2);
        QVERIFY(UnmappedPages::writeHtmldocPaperPdf(source, html));
        QVERIFY(TestFiles::readFile(source).contains("/Type3"));
        QString body = html;
        body.replace(QRegularExpression(QStringLiteral("<title>.*</title>")), QString());
        const QStringList expected = DocumentPdfs::words(body.remove(QRegularExpression(QStringLiteral("<[^>]*>"))));
        const QString output = folder + QStringLiteral("/paper.docx");
        HRESULT result = E_FAIL;
        const QStringList log = convertLogged(source, output, DocumentPdfs::pageCount(source), QStringLiteral("eng"), &result);
        QCOMPARE(result, S_OK);
        const QStringList words = wordsOf(output);
        QVERIFY2(DocumentPdfs::shareKept(expected, words) >= 0.95, qPrintable(words.join(QLatin1Char(' '))));
        QVERIFY2(DocumentPdfs::shareKept(DocumentPdfs::pairsOf(expected), DocumentPdfs::pairsOf(words)) >= 0.9, qPrintable(words.join(QLatin1Char(' '))));
        QCOMPARE(DocumentPdfs::zipEntry(output, QStringLiteral("word/document.xml")).count("<w:tbl>"), 2);
        QVERIFY2(log.filter(QStringLiteral("left out")).isEmpty(), qPrintable(log.join(QLatin1Char('\n'))));

        Pdf2WordCall::Stopper stopper;
        QCOMPARE(Pdf2WordCall::convert(source, folder + QStringLiteral("/stopped.docx"), 1, 1, 0, &stopper).result, E_ABORT);
        QVERIFY(stopper.clock.isValid());
        QVERIFY2(stopper.clock.elapsed() < 1000, qPrintable(QString::number(stopper.clock.elapsed())));
    }

    // Arabic glyphs without a Unicode map are read with the Arabic model only, whether the font
    // maps none of them (Tesseract's script detection tells the script) or maps some letters (they
    // tell it): no word mixes Latin and Arabic letters. Where the languages given hold no Arabic
    // one, the installed Arabic model reads them; only where none is installed are they left out,
    // with a line in the log, and the heading stays.
    void unmappedArabicIsReadInItsScript()
    {
        const QString tessdata = ToolPaths::path(ToolPaths::TessData);
        QVERIFY2(QFileInfo::exists(tessdata + QStringLiteral("/ara.traineddata")), "tesseract-ocr-ara");
        QVERIFY2(QFileInfo::exists(tessdata + QStringLiteral("/osd.traineddata")), "tesseract-ocr-osd");
        const QString folder = TestFiles::sandboxFolder(QStringLiteral("unmapped-arabic"));
        const QStringList expected = DocumentPdfs::words(UnmappedPages::arabicParagraphs().join(QLatin1Char(' ')));
        const QStringList heading = DocumentPdfs::words(UnmappedPages::arabicHeading());
        // Tesseract's data without an Arabic model.
        const QString withoutArabic = folder + QStringLiteral("/tessdata");
        QVERIFY(QDir().mkpath(withoutArabic));
        for (const char* model : {"eng", "deu", "osd"}) {
            const QString name = QString::fromLatin1(model) + QStringLiteral(".traineddata");
            QFile::remove(withoutArabic + QLatin1Char('/') + name);
            QVERIFY(QFile::link(tessdata + QLatin1Char('/') + name, withoutArabic + QLatin1Char('/') + name));
        }
        for (const auto map : {UnmappedPages::ArabicMap::None, UnmappedPages::ArabicMap::BaseLetters}) {
            const QString source = folder + QStringLiteral("/arabic%1.pdf").arg(int(map));
            QVERIFY(UnmappedPages::writeArabicPdf(source, map));
            const QString output = folder + QStringLiteral("/arabic%1.txt").arg(int(map));
            for (const QString& languages : {QStringLiteral("eng+deu+ara"), QStringLiteral("eng+deu")}) {
                HRESULT result = E_FAIL;
                const QStringList log = convertLogged(source, output, 1, languages, &result);
                QCOMPARE(result, S_OK);
                const QStringList words = wordsOf(output);
                QCOMPARE(UnmappedPages::mixedScriptWords(words), QStringList());
                QCOMPARE(words.mid(0, heading.size()), heading);
                QVERIFY2(DocumentPdfs::shareKept(expected, words) >= 0.6, qPrintable(languages + QLatin1Char(' ') + words.join(QLatin1Char(' '))));
                QCOMPARE(log, QStringList());
            }

            const char* tessdataVariable = ToolPaths::environmentVariable(ToolPaths::TessData);
            qputenv(tessdataVariable, withoutArabic.toLocal8Bit());
            HRESULT result = E_FAIL;
            const QStringList log = convertLogged(source, output, 1, QStringLiteral("eng+deu"), &result);
            qunsetenv(tessdataVariable);
            Pdf2WordCall::registerComponent();
            QCOMPARE(result, S_OK);
            QCOMPARE(wordsOf(output), heading);
            QCOMPARE(log.size(), 1);
            QVERIFY2(QRegularExpression(QStringLiteral("^Page 1: \\d+ glyphs in a font without a Unicode map left out: no OCR model "
                                                       "for the Arabic script is installed$"))
                         .match(log.value(0))
                         .hasMatch(),
                     qPrintable(log.value(0)));
        }
    }

    // Accents troff (like TeX) draws as glyphs of their own over the letter, a dotless i's
    // included, are one character with their letter, as the reader sees them.
    void accentsDrawnApartAreComposed()
    {
        const QString folder = TestFiles::sandboxFolder(QStringLiteral("accents"));
        const QString text = QStringLiteral("A naïve reader, a café owner and a fiancée met at the Cité: École, Škoda, hôtel, Söhne, "
                                            "señor, façade, ångström.");
        const QString source = folder + QStringLiteral("/accents.pdf");
        QVERIFY(UserDocuments::writeOverstruckAccentsPdf(source, text));
        const QString output = folder + QStringLiteral("/accents.docx");
        QCOMPARE(Pdf2WordCall::convert(source, output, 1, 1).result, S_OK);
        QCOMPARE(wordsOf(output), DocumentPdfs::words(text));
        QVERIFY(QString::fromUtf8(DocumentPdfs::zipEntry(output, QStringLiteral("word/document.xml"))).contains(QStringLiteral("naïve")));
    }

    // A glyph drawn as large as the coordinate space is drawn within the page: the file converts,
    // its other text stays, and what OCR cannot read is logged.
    void giantGlyphIsDrawnWithinThePage()
    {
        const QString folder = TestFiles::sandboxFolder(QStringLiteral("giant"));
        const QString source = folder + QStringLiteral("/giant.pdf");
        QVERIFY(TestFiles::writeFile(source, UnmappedPages::giantGlyphPdf()));
        const QString output = folder + QStringLiteral("/giant.docx");
        HRESULT result = E_FAIL;
        const QStringList log = convertLogged(source, output, 1, QStringLiteral("eng"), &result);
        QCOMPARE(result, S_OK);
        const QStringList words = wordsOf(output);
        QCOMPARE(words.mid(0, 4), DocumentPdfs::words(QStringLiteral("Words beside the glyphs")));
        QVERIFY2(!allBytes(output).contains("\xEF\xBF\xBD"), "U+FFFD");
        QVERIFY2(words.size() > 4 || log.filter(QStringLiteral("glyphs in a font without a Unicode map left out")).size() == 1,
                 qPrintable(log.join(QLatin1Char('\n'))));
    }

    // 100,000 copies of one line at one spot read as one line, and a stop during the page is
    // answered within a second.
    void repeatedTextReadsOnceAndStops()
    {
        const QString folder = TestFiles::sandboxFolder(QStringLiteral("repeated"));
        const QString source = folder + QStringLiteral("/repeated.pdf");
        QVERIFY(TestFiles::writeFile(source, HardPages::repeatedTextPdf(QStringLiteral("Printed over itself"), 100000)));
        QCOMPARE(Pdf2WordCall::convert(source, folder + QStringLiteral("/repeated.txt"), 1, 1).result, S_OK);
        QCOMPARE(wordsOf(folder + QStringLiteral("/repeated.txt")), DocumentPdfs::words(QStringLiteral("Printed over itself")));

        Pdf2WordCall::Stopper stopper;
        QCOMPARE(Pdf2WordCall::convert(source, folder + QStringLiteral("/stopped.docx"), 1, 1, 0, &stopper).result, E_ABORT);
        QVERIFY(stopper.clock.isValid());
        QVERIFY2(stopper.clock.elapsed() < 1000, qPrintable(QString::number(stopper.clock.elapsed())));
    }

    // Forms nested 100 or 1000 deep, and Type 3 glyphs that draw one another (also through the
    // resources of the page that draws them), stop MuPDF's run of the page: what nests deeper
    // than 64 levels or draws itself is cut and logged, the levels above it convert, and the next
    // page stays. 64 levels convert whole.
    void deepNestingIsCut()
    {
        const QString folder = TestFiles::sandboxFolder(QStringLiteral("nested"));
        const QStringList first = DocumentPdfs::words(QStringLiteral("The first page"));
        const QStringList second = DocumentPdfs::words(QStringLiteral("The second page"));
        for (const int depth : {64, 100, 1000}) {
            const QString source = folder + QStringLiteral("/nested%1.pdf").arg(depth);
            QVERIFY(TestFiles::writeFile(source, HardPages::nestedFormsPdf(depth)));
            const QString output = folder + QStringLiteral("/nested%1.docx").arg(depth);
            HRESULT result = E_FAIL;
            const QStringList log = convertLogged(source, output, 2, QStringLiteral("eng"), &result);
            QCOMPARE(result, S_OK);
            const QStringList words = wordsOf(output);
            QCOMPARE(words.mid(0, first.size()), first);
            QCOMPARE(words.mid(words.size() - second.size()), second);
            QCOMPARE(words.count(QStringLiteral("Level")), std::min(depth, 64));
            QCOMPARE(log, depth > 64 ? QStringList{QStringLiteral("Page 1: 1 forms, Type 3 fonts or patterns nested deeper than 64 "
                                                                  "levels left out")}
                                     : QStringList());
        }
        // A Type 3 font without resources of its own draws with those it is drawn with: the page's,
        // which name it.
        for (const QByteArray& pdf : {HardPages::type3CyclePdf(), HardPages::type3CyclePdf(true)}) {
            const QString source = folder + QStringLiteral("/type3.pdf");
            QVERIFY(TestFiles::writeFile(source, pdf));
            HRESULT result = E_FAIL;
            const QStringList log = convertLogged(source, folder + QStringLiteral("/type3.docx"), 2, QStringLiteral("eng"), &result);
            QCOMPARE(result, S_OK);
            const QStringList words = wordsOf(folder + QStringLiteral("/type3.docx"));
            QCOMPARE(words.mid(0, first.size()), first);
            QCOMPARE(words.mid(words.size() - second.size()), second);
            QCOMPARE(log, QStringList{QStringLiteral("Page 1: 1 forms, Type 3 fonts or patterns drawn inside themselves left out")});
        }
    }

    // A picture of width zero is left out, with a line in the log; the rest of the page stays.
    void unreadablePictureIsSkipped()
    {
        const QString folder = TestFiles::sandboxFolder(QStringLiteral("broken"));
        const QString source = folder + QStringLiteral("/broken.pdf");
        QVERIFY(TestFiles::writeFile(source, HardPages::brokenPicturePdf()));
        QStringList log;
        Pdf2WordCall::registerComponent(QString(), [&log](const QString& line) { log << line; });
        const QString output = folder + QStringLiteral("/broken.docx");
        const HRESULT result = Pdf2WordCall::convert(source, output, 1, 1).result;
        Pdf2WordCall::registerComponent();
        QCOMPARE(result, S_OK);
        QCOMPARE(wordsOf(output), DocumentPdfs::words(QStringLiteral("Words before the pictures Words after the pictures")));
        QCOMPARE(DocumentPdfs::zipEntries(output).filter(QStringLiteral("media/")).size(), 1);
        QCOMPARE(log, QStringList{QStringLiteral("Page 1: picture Im0 left out: image width is zero (or less)")});
    }
};

QTEST_MAIN(Pdf2WordHardPagesTest)
#include "test_pdf2wordhardpages.moc"
