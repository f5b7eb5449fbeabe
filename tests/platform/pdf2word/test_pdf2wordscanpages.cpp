// Scans with a text layer as Tesseract writes them, and Chinese text: no space between two
// Chinese characters unless the page draws one, and a scan's figures kept as pictures.

#include "platform/pdf2word/com/Pdf2WordLib.h"
#include "tests/platform/pdf2word/DocumentPdfs.h"
#include "tests/platform/pdf2word/HardPages.h"
#include "tests/platform/pdf2word/Pdf2WordCall.h"
#include "tests/platform/pdf2word/RealDocuments.h"
#include "tests/platform/pdf2word/ScanPages.h"
#include "tests/support/TestFiles.h"

#include <QPainter>
#include <QRegularExpression>
#include <QtTest>

namespace {

QString converted(const QString& source, const QString& output)
{
    if (Pdf2WordCall::convert(source, output, 1, 1).result != S_OK)
        return QString();
    return QString::fromUtf8(TestFiles::readFile(output));
}

// A DOCX's body: the words of its text, and its pictures' descriptions.
struct Body
{
    QStringList words;
    QStringList descriptions;
};

Body bodyOf(const QString& docx)
{
    QString xml = QString::fromUtf8(DocumentPdfs::zipEntry(docx, QStringLiteral("word/document.xml")));
    Body body;
    static const QRegularExpression description(QStringLiteral("descr=\"([^\"]*)\""));
    for (QRegularExpressionMatchIterator it = description.globalMatch(xml); it.hasNext();)
        body.descriptions << it.next().captured(1);
    xml.replace(QStringLiteral("</w:p>"), QStringLiteral(" "));
    body.words = DocumentPdfs::words(xml.remove(QRegularExpression(QStringLiteral("<[^>]*>"))));
    return body;
}

} // namespace

class Pdf2WordScanPagesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Pdf2WordCall::registerComponent(); }

    // A Chinese page scanned and recognised by Tesseract: its layer writes a space after every
    // word it cut, which the text leaves out, and splits lines where its stretched glyphs
    // overlap, which are read whole. The same holds for the layer drawn in a glyph-less font.
    void chineseLayerReadsWithoutSpaces()
    {
        const QString folder = TestFiles::sandboxFolder(QStringLiteral("chinese"));
        const QStringList paragraphs = ScanPages::chineseParagraphs(0, 2);
        const QString scan = folder + QStringLiteral("/scan.pdf");
        QVERIFY(ScanPages::writeTesseractPdf(ScanPages::chinesePage(paragraphs), scan, QStringLiteral("chi_sim"), "png"));
        const QString glyphless = folder + QStringLiteral("/glyphless.pdf");
        QVERIFY(ScanPages::writeGlyphlessFontLayerPdf(scan, glyphless));
        for (const QString& source : {scan, glyphless}) {
            const QString text = converted(source, source + QStringLiteral(".txt"));
            const ScanPages::CjkPairs pairs = ScanPages::cjkPairs(text);
            QVERIFY2(pairs.neighbours > 100, qPrintable(text));
            QVERIFY2(pairs.parted == 0, qPrintable(text));
            // Each paragraph one paragraph, its lines in order.
            QCOMPARE(text.trimmed().split(QStringLiteral("\n\n")).size(), paragraphs.size());
            QVERIFY2(ScanPages::characterPairsKept(paragraphs.join(QLatin1Char('\n')), text) > 0.85, qPrintable(text));
        }
        const QString docx = folder + QStringLiteral("/scan.docx");
        QCOMPARE(Pdf2WordCall::convert(scan, docx, 1, 1).result, S_OK);
        QCOMPARE(ScanPages::pictureSizes(docx).size(), 0);
    }

    // Text a page shows: a heading spaced out letter by letter and the gaps of justified lines
    // are no spaces between Chinese characters; an ideographic space the page draws stays, and
    // Korean keeps the spaces between its words.
    void shownChineseKeepsOnlyDrawnSpaces()
    {
        const QString folder = TestFiles::sandboxFolder(QStringLiteral("shown"));
        const QString source = folder + QStringLiteral("/shown.pdf");
        const QString paragraph = ScanPages::chineseParagraphs(3, 1).front();
        QVERIFY(ScanPages::writeOfficeChinesePdf(source, QStringLiteral("年度报告"),
                                                 {QStringLiteral("报告人：山田\u3000太郎"), paragraph,
                                                  QStringLiteral("한국어 문장은 단어 사이를 띄어 씁니다.")}));
        const QString text = converted(source, folder + QStringLiteral("/shown.txt"));
        QVERIFY2(text.contains(QStringLiteral("年度报告")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("山田 太郎")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("한국어 문장은 단어 사이를 띄어 씁니다.")), qPrintable(text));
        const ScanPages::CjkPairs pairs = ScanPages::cjkPairs(text);
        QCOMPARE(pairs.parted, 1);
        QVERIFY(pairs.neighbours > paragraph.size() / 2);
    }

    // A scan of text with a diagram, a photo and a signature: the text comes from the layer, and
    // each of the three stays a picture of its own size at its place, not the whole scan.
    void scanKeepsItsFigures()
    {
        const QString folder = TestFiles::sandboxFolder(QStringLiteral("figures"));
        QVector<QRectF> figures;
        QImage page = ScanPages::figuresPage(&figures);
        ScanPages::addNoise(page, 24, 1);
        const QString scan = folder + QStringLiteral("/figures.pdf");
        QVERIFY(ScanPages::writeTesseractPdf(page, scan, QStringLiteral("eng"), "jpg"));
        const QString docx = folder + QStringLiteral("/figures.docx");
        QCOMPARE(Pdf2WordCall::convert(scan, docx, 1, 1).result, S_OK);
        const QList<QSizeF> pictures = ScanPages::pictureSizes(docx);
        QCOMPARE(pictures.size(), figures.size());
        for (int i = 0; i < figures.size(); ++i) {
            QVERIFY2(std::abs(pictures[i].width() - figures[i].width()) < 12, qPrintable(QString::number(pictures[i].width())));
            QVERIFY2(std::abs(pictures[i].height() - figures[i].height()) < 12, qPrintable(QString::number(pictures[i].height())));
        }
        // The pictures stand between the paragraphs they stand between on the page.
        const QString body = QString::fromUtf8(DocumentPdfs::zipEntry(docx, QStringLiteral("word/document.xml")));
        QCOMPARE(body.count(QStringLiteral("<w:drawing>")), 3);
        const QStringList parts = body.split(QStringLiteral("<w:drawing>"));
        for (int i = 0; i < figures.size(); ++i)
            QVERIFY2(parts[i].contains(QLatin1String("<w:t")), "a paragraph before each picture");
    }

    // A scan whose layer is garbled (no word of it a word) gives no text: the page stays its
    // scan's picture, whole, the layer's words its description. So does a picture of text on a
    // page that prints a paragraph of its own: the paragraph is the page's text. The same scan
    // with its layer as Tesseract wrote it is text.
    void layerThatIsNotThePagesTextStaysWithItsPicture()
    {
        const QString folder = TestFiles::sandboxFolder(QStringLiteral("unread-layer"));
        const QString prose = RealDocuments::prose(5, 5);
        QImage page(2480, 3508, QImage::Format_RGB32);
        page.setDotsPerMeterX(11811);
        page.setDotsPerMeterY(11811);
        page.fill(Qt::white);
        QPainter painter(&page);
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
        painter.drawText(QRect(250, 300, 1980, 1400), Qt::TextWordWrap, prose);
        painter.end();
        ScanPages::addNoise(page, 24, 2);
        const QString scan = folder + QStringLiteral("/scan.pdf");
        QVERIFY(ScanPages::writeTesseractPdf(page, scan, QStringLiteral("eng"), "png"));
        const QString garbled = folder + QStringLiteral("/garbled.pdf");
        QVERIFY(HardPages::writeGarbledLayerPdf(scan, garbled));
        const QString own = QStringLiteral("This paragraph is printed by the page itself, below the picture of the text that "
                                           "was recognised.");
        const QString paragraph = folder + QStringLiteral("/paragraph.pdf");
        QVERIFY(DocumentPdfs::writeHtmlPdf(paragraph, QStringLiteral("<br>").repeated(40) + QStringLiteral("<p>%1</p>").arg(own)));
        const QString printed = folder + QStringLiteral("/printed.pdf");
        TestFiles::run(QStringLiteral("qpdf"), {scan, QStringLiteral("--overlay"), paragraph, QStringLiteral("--"), printed});
        QVERIFY(QFileInfo::exists(printed));

        const QStringList proseWords = DocumentPdfs::words(prose);
        QCOMPARE(Pdf2WordCall::convert(scan, folder + QStringLiteral("/scan.docx"), 1, 1).result, S_OK);
        Body body = bodyOf(folder + QStringLiteral("/scan.docx"));
        QVERIFY2(DocumentPdfs::shareKept(proseWords, body.words) > 0.9, qPrintable(body.words.join(QLatin1Char(' '))));
        QCOMPARE(body.descriptions, QStringList());

        QCOMPARE(Pdf2WordCall::convert(garbled, folder + QStringLiteral("/garbled.docx"), 1, 1).result, S_OK);
        body = bodyOf(folder + QStringLiteral("/garbled.docx"));
        QCOMPARE(body.words, QStringList());
        QCOMPARE(ScanPages::pictureSizes(folder + QStringLiteral("/garbled.docx")).size(), 1);
        QCOMPARE(body.descriptions.size(), 1);
        QVERIFY2(DocumentPdfs::words(body.descriptions.front()).size() > proseWords.size() / 2, qPrintable(body.descriptions.front()));

        QCOMPARE(Pdf2WordCall::convert(printed, folder + QStringLiteral("/printed.docx"), 1, 1).result, S_OK);
        body = bodyOf(folder + QStringLiteral("/printed.docx"));
        QCOMPARE(body.words, DocumentPdfs::words(own));
        QCOMPARE(ScanPages::pictureSizes(folder + QStringLiteral("/printed.docx")).size(), 1);
        QCOMPARE(body.descriptions.size(), 1);
        QVERIFY2(DocumentPdfs::shareKept(proseWords, DocumentPdfs::words(body.descriptions.front())) > 0.9,
                 qPrintable(body.descriptions.front()));
    }
};

QTEST_MAIN(Pdf2WordScanPagesTest)
#include "test_pdf2wordscanpages.moc"
