#include "tests/platform/pdf2word/DocumentPdfs.h"
#include "tests/platform/pdf2word/Pdf2WordCall.h"
#include "tests/platform/pdf2word/RealDocuments.h"
#include "tests/platform/pdf2word/UserDocuments.h"
#include "tests/platform/pdflibrary/PdfLibraryFixtures.h"
#include "tests/support/TestFiles.h"

#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>
#include <QtTest>

using RealDocuments::OfficeText;

namespace {

const char kRunningHead[] = "Quarterly Letters of the Harbour Guild";
const char kArabic[] = "هذه فقرة باللغة العربية عن الماء والهواء";
const char kHebrew[] = "זוהי פסקה בעברית על המים והאוויר";
const QList<QStringList> kTable = {{QStringLiteral("Sample"), QStringLiteral("Weight"), QStringLiteral("Remark")},
                                   {QStringLiteral("S1"), QStringLiteral("12.5"), QStringLiteral("dry and firm")},
                                   {QStringLiteral("S2"), QStringLiteral("7.25"), QStringLiteral("wet fibres")}};

// A converted package: the body's paragraphs as text, in document order (table cells too).
struct Package
{
    QString body;    // the body part's XML
    QString margins; // header and footer parts (DOCX), or the styles part (ODT)
    QStringList paragraphs;
    QStringList pictures; // entries of the pictures
    bool wellFormed = false;
};

Package readPackage(const QString& path)
{
    Package package;
    const bool docx = path.endsWith(QLatin1String(".docx"));
    package.body = QString::fromUtf8(DocumentPdfs::zipEntry(path, docx ? QStringLiteral("word/document.xml") : QStringLiteral("content.xml")));
    package.margins = docx ? QString::fromUtf8(DocumentPdfs::zipEntry(path, QStringLiteral("word/header1.xml"))
                                               + DocumentPdfs::zipEntry(path, QStringLiteral("word/footer1.xml")))
                           : QString::fromUtf8(DocumentPdfs::zipEntry(path, QStringLiteral("styles.xml")));
    for (const QString& entry : DocumentPdfs::zipEntries(path)) {
        if (entry.startsWith(QLatin1String(docx ? "word/media/" : "Pictures/")))
            package.pictures << entry;
    }
    QXmlStreamReader xml(package.body);
    // w:p, text:p and text:h: paragraphs, also inside table cells.
    const QString paragraph = QStringLiteral("p");
    QString text;
    int depth = 0;
    int inDescription = 0; // a picture's description (svg:desc) is no paragraph text
    while (!xml.atEnd()) {
        xml.readNext();
        const QStringRef name = xml.name();
        if (name == QLatin1String("desc"))
            inDescription += xml.isStartElement() ? 1 : xml.isEndElement() ? -1
                                                                           : 0;
        if (xml.isStartElement()) {
            if (name == paragraph || name == QLatin1String("h"))
                ++depth;
            else if (name == QLatin1String("s"))
                text += QString(qMax(1, xml.attributes().value(xml.namespaceUri().toString(), QStringLiteral("c")).toInt()),
                                QLatin1Char(' '));
            else if (name == QLatin1String("tab"))
                text += QLatin1Char('\t');
        } else if (xml.isEndElement() && (name == paragraph || name == QLatin1String("h")) && --depth == 0) {
            if (!text.isEmpty())
                package.paragraphs << text;
            text.clear();
        } else if (xml.isCharacters() && depth > 0 && inDescription == 0) {
            text += xml.text();
        }
    }
    package.wellFormed = !xml.hasError();
    return package;
}

QString sandbox(const QString& name)
{
    const QString folder = TestFiles::sandbox() + QLatin1Char('/') + name;
    QDir().mkpath(folder);
    return folder;
}

// Whether a row of a table in the DOCX body holds the cells' texts, in order.
bool sameRow(const QString& body, const QStringList& cells)
{
    QString pattern;
    for (const QString& cell : cells)
        pattern += QStringLiteral("(?:(?!</w:tr>).)*?>%1<").arg(QRegularExpression::escape(cell));
    return QRegularExpression(QStringLiteral("<w:tr>") + pattern, QRegularExpression::DotMatchesEverythingOption).match(body).hasMatch();
}

QSet<QString> wordSet(const QString& text)
{
    const QStringList words = DocumentPdfs::words(text);
    return QSet<QString>(words.begin(), words.end());
}

} // namespace

// Each capability of the layout road on documents that LibreOffice and Qt make, checked in the
// DOCX and ODT that the component writes.
class Pdf2WordLayoutTest : public QObject
{
    Q_OBJECT

    QStringList m_paragraphs;  // the letter's paragraphs of prose, in order
    QString m_source;          // all the letter's text
    QString m_letter;          // the PDF
    QList<Package> m_packages; // DOCX, then ODT

private slots:
    void initTestCase()
    {
        Pdf2WordCall::registerComponent();
        // A letter in a ligature font with automatic hyphenation: a two-column section of
        // justified prose with a footnote, a picture with transparent parts, sub- and
        // superscripts, an Arabic and a Hebrew paragraph, a ruled table; a running head and page
        // numbers on each of its pages.
        OfficeText letter;
        letter.setRunningHead(QLatin1String(kRunningHead));
        letter.heading(QStringLiteral("Efficient offices of the affluent harbour"));
        letter.beginColumns(2);
        for (int p = 0; p < 12; ++p) {
            m_paragraphs << RealDocuments::prose(100 + p, 5);
            QString text = m_paragraphs.back();
            if (p == 1)
                text += QStringLiteral(" Water is H") + OfficeText::sub(QStringLiteral("2")) + QStringLiteral("O and the square is x")
                        + OfficeText::sup(QStringLiteral("2")) + QStringLiteral(" here.");
            if (p == 3)
                text += OfficeText::note(QStringLiteral("Counted twice by the clerk."));
            letter.paragraph(text);
            if (p == 2)
                letter.picture(RealDocuments::transparentPicture(3), 6, 3.7);
            if (p == 4)
                letter.code(RealDocuments::listing());
            if (p == 5) {
                letter.rightToLeft(QString::fromUtf8(kArabic), QStringLiteral("ar"));
                letter.rightToLeft(QString::fromUtf8(kHebrew), QStringLiteral("he"));
            }
        }
        letter.endColumns();
        letter.table(kTable);
        m_source = m_paragraphs.join(QLatin1Char(' '))
                   + QStringLiteral(" Efficient offices of the affluent harbour Water is H2O and the square is x2 here "
                                    "Counted twice by the clerk %1 %2 %3 1 2 3")
                         .arg(QString::fromUtf8(kArabic), QString::fromUtf8(kHebrew), QLatin1String(kRunningHead));
        for (const QStringList& row : kTable)
            m_source += QLatin1Char(' ') + row.join(QLatin1Char(' '));
        m_source += QLatin1Char(' ') + RealDocuments::listing().join(QLatin1Char(' '));
        m_letter = sandbox(QStringLiteral("in")) + QStringLiteral("/letter.pdf");
        QVERIFY(letter.writePdf(m_letter));
        for (const char* suffix : {"docx", "odt"}) {
            const QString output = sandbox(QStringLiteral("out")) + QStringLiteral("/letter.") + QLatin1String(suffix);
            QCOMPARE(Pdf2WordCall::convert(m_letter, output, 1, DocumentPdfs::pageCount(m_letter)).result, S_OK);
            m_packages << readPackage(output);
            QVERIFY(m_packages.back().wellFormed);
        }
    }

    void columnsAreReadInOrderWithoutTheMargins()
    {
        for (const Package& package : m_packages) {
            const QString text = package.paragraphs.join(QLatin1Char('\n'));
            int last = -1;
            for (const QString& paragraph : m_paragraphs) {
                // Each paragraph's opening words, after the ones before.
                const QString opening = paragraph.section(QLatin1Char(' '), 0, 5);
                const int at = text.indexOf(opening);
                QVERIFY2(at > last, qPrintable(opening));
                last = at;
            }
            // The running head and the page numbers are out of the body, in the margins.
            QVERIFY(!text.contains(QLatin1String(kRunningHead)));
            for (const QString& paragraph : package.paragraphs)
                QVERIFY2(!QRegularExpression(QStringLiteral("^\\s*\\d+\\s*$")).match(paragraph).hasMatch(), qPrintable(paragraph));
            QVERIFY(package.margins.contains(QLatin1String(kRunningHead)));
            QVERIFY(package.margins.contains(QLatin1String("PAGE")) || package.margins.contains(QLatin1String("text:page-number")));
        }
    }

    void wordsAreWhole()
    {
        // Every word is one of the source's: none split at a line-end hyphen or a ligature, none
        // cut by a space, none run together with the next sentence.
        const QSet<QString> known = wordSet(m_source);
        for (const Package& package : m_packages) {
            const QString text = package.paragraphs.join(QLatin1Char('\n'));
            for (const QString& word : wordSet(text))
                QVERIFY2(known.contains(word), qPrintable(word));
            QVERIFY(!QRegularExpression(QStringLiteral("[a-z][.][A-Z]")).match(text).hasMatch());
            QVERIFY(text.contains(QLatin1String("Efficient offices of the affluent harbour")));
        }
    }

    void rightToLeftIsInReadingOrder()
    {
        const Package& docx = m_packages[0];
        QVERIFY(docx.paragraphs.contains(QString::fromUtf8(kArabic)));
        QVERIFY(docx.paragraphs.contains(QString::fromUtf8(kHebrew)));
        QVERIFY(QRegularExpression(QStringLiteral("<w:bidi/>.{0,600}עברית")).match(docx.body).hasMatch());
        const Package& odt = m_packages[1];
        QVERIFY(odt.paragraphs.contains(QString::fromUtf8(kArabic)));
        QVERIFY(odt.body.contains(QLatin1String("style:writing-mode=\"rl-tb\"")));
    }

    void subAndSuperscriptsStayOnTheirWord()
    {
        const Package& docx = m_packages[0];
        QVERIFY(docx.paragraphs.join(QLatin1Char(' ')).contains(QLatin1String("Water is H2O and the square is x2 here.")));
        QVERIFY(QRegularExpression(QStringLiteral("H</w:t></w:r><w:r><w:rPr>((?!</w:rPr>).)*<w:vertAlign w:val=\"subscript\"/>"
                                                  "((?!</w:r>).)*>2</w:t>"))
                    .match(docx.body)
                    .hasMatch());
        QVERIFY(QRegularExpression(QStringLiteral("x</w:t></w:r><w:r><w:rPr>((?!</w:rPr>).)*<w:vertAlign w:val=\"superscript\"/>"
                                                  "((?!</w:r>).)*>2</w:t>"))
                    .match(docx.body)
                    .hasMatch());
        const Package& odt = m_packages[1];
        const QString sub = QRegularExpression(QStringLiteral("style:name=\"(T\\d+)\"[^>]*>[^<]*<style:text-properties[^>]*sub 58%"))
                                .match(odt.body)
                                .captured(1);
        QVERIFY(!sub.isEmpty());
        QVERIFY(odt.body.contains(QStringLiteral("H</text:span><text:span text:style-name=\"%1\">2</text:span>").arg(sub)));
    }

    void codeKeepsItsLinesAndIndents()
    {
        for (const Package& package : m_packages) {
            const QStringList listing = RealDocuments::listing();
            const int first = package.paragraphs.indexOf(listing.front());
            QVERIFY(first >= 0);
            QCOMPARE(package.paragraphs.mid(first, listing.size()), listing);
        }
    }

    void ruledTableBecomesATable()
    {
        for (const Package& package : m_packages) {
            const bool docx = package.body.contains(QLatin1String("<w:body>"));
            QCOMPARE(package.body.count(QLatin1String(docx ? "<w:tbl>" : "<table:table ")), 1);
            QCOMPARE(package.body.count(QLatin1String(docx ? "<w:gridCol " : "<table:table-column ")), 3);
            // Cells padded as narrowly as the ODT's: a word processor's default would break words
            // that fill the source's columns.
            if (docx)
                QVERIFY(package.body.contains(QLatin1String("<w:tblCellMar><w:left w:w=\"40\" w:type=\"dxa\"/>"
                                                            "<w:right w:w=\"40\" w:type=\"dxa\"/></w:tblCellMar>")));
            // Rows keep their height: ODT rows name a style.
            QCOMPARE(package.body.count(QRegularExpression(docx ? QStringLiteral("<w:tr>") : QStringLiteral("<table:table-row[ >]"))),
                     kTable.size());
            // The cells' text, row by row, as the last paragraphs of the document.
            QStringList cells;
            for (const QStringList& row : kTable)
                cells += row;
            QCOMPARE(package.paragraphs.mid(package.paragraphs.size() - cells.size()), cells);
        }
    }

    void htmlAndTextKeepTablesScriptsAndDirection()
    {
        const QString folder = sandbox(QStringLiteral("out"));
        QCOMPARE(Pdf2WordCall::convert(m_letter, folder + QStringLiteral("/letter.html"), 1, DocumentPdfs::pageCount(m_letter)).result, S_OK);
        QCOMPARE(Pdf2WordCall::convert(m_letter, folder + QStringLiteral("/letter.txt"), 1, DocumentPdfs::pageCount(m_letter)).result, S_OK);
        const QString html = QString::fromUtf8(TestFiles::readFile(folder + QStringLiteral("/letter.html")));
        QCOMPARE(html.count(QLatin1String("<table>")), 1);
        QVERIFY(QRegularExpression(QStringLiteral("H(</span>)?<sub>(<span[^>]*>)?2(</span>)?</sub>")).match(html).hasMatch());
        QVERIFY(QRegularExpression(QStringLiteral("x(</span>)?<sup>(<span[^>]*>)?2(</span>)?</sup>")).match(html).hasMatch());
        QVERIFY(html.contains(QStringLiteral("<p dir=\"rtl\"")));
        const QString text = QString::fromUtf8(TestFiles::readFile(folder + QStringLiteral("/letter.txt")));
        QVERIFY(text.contains(kTable[1].join(QLatin1Char('\t'))));
        QVERIFY(text.contains(QString::fromUtf8(kHebrew)));
    }

    void transparentPictureIsComposited()
    {
        const QString docx = sandbox(QStringLiteral("out")) + QStringLiteral("/letter.docx");
        QCOMPARE(m_packages[0].pictures.size(), 1);
        QCOMPARE(m_packages[1].pictures.size(), 1);
        QImage picture;
        QVERIFY(picture.loadFromData(DocumentPdfs::zipEntry(docx, m_packages[0].pictures.front())));
        // The transparent corner is the paper's white, the opaque middle keeps its colour.
        const QImage expected = RealDocuments::transparentPicture(3);
        QCOMPARE(QColor(picture.pixel(1, 1)), QColor(Qt::white));
        const QColor middle(picture.pixel(picture.width() / 2, picture.height() / 2));
        const QColor source(expected.pixel(expected.width() / 2, expected.height() / 2));
        QVERIFY2(qAbs(middle.red() - source.red()) + qAbs(middle.green() - source.green()) + qAbs(middle.blue() - source.blue()) < 40,
                 qPrintable(middle.name()));
    }

    void vectorFigureIsOnePictureWithItsLabels()
    {
        const QString folder = sandbox(QStringLiteral("chart"));
        QVERIFY(RealDocuments::writeQtChartPdf(folder + QStringLiteral("/chart.pdf"), 4));
        for (const char* suffix : {"docx", "odt"}) {
            const QString output = folder + QStringLiteral("/chart.") + QLatin1String(suffix);
            QCOMPARE(Pdf2WordCall::convert(folder + QStringLiteral("/chart.pdf"), output, 1, 1).result, S_OK);
            const Package package = readPackage(output);
            QCOMPARE(package.pictures.size(), 1);
            const QString text = package.paragraphs.join(QLatin1Char('\n'));
            // The labels are in the picture and its description, the caption stays text.
            QVERIFY(!text.contains(QLatin1String("Symbol Key")) && !text.contains(QLatin1String("Latency")));
            QVERIFY(QRegularExpression(QStringLiteral("(descr=\"|<svg:desc>)[^\"<]*Symbol Key")).match(package.body).hasMatch());
            QVERIFY(text.contains(QLatin1String("Figure 1. Overhead of the two methods over time.")));
            QImage picture;
            QVERIFY(picture.loadFromData(DocumentPdfs::zipEntry(output, package.pictures.front())));
            // Drawn for print: 300 pixels per inch of the place the picture takes.
            const QRegularExpressionMatch size = QRegularExpression(QStringLiteral("(?:cx=\"(\\d+)\"|svg:width=\"([\\d.]+)pt\")")).match(package.body);
            const double inches = size.captured(1).isEmpty() ? size.captured(2).toDouble() / 72 : size.captured(1).toDouble() / 914400;
            QVERIFY2(picture.width() / inches > 290, qPrintable(QString::number(picture.width() / inches)));
        }
    }

    // A title block: authors side by side are read one after the other, each line a paragraph,
    // then the abstract and the sections, whether the abstract is set across the page (two
    // authors) or opens the left column (three). The running head that the PDF starts on its
    // second page is left off the first, which keeps its page number: in DOCX a first page of
    // its own, in ODT a first master page (checked on LibreOffice's print of it).
    void titleBlockIsReadAuthorByAuthor()
    {
        const QString folder = sandbox(QStringLiteral("titled"));
        for (int authors = 2; authors <= 3; ++authors) {
            const QString pdf = folder + QStringLiteral("/titled%1.pdf").arg(authors);
            QVERIFY(RealDocuments::titledPaper(authors, 3, authors).writePdf(pdf));
            QStringList expected;
            for (const QStringList& block : RealDocuments::authorsOf(authors, authors))
                expected += block;
            for (const char* suffix : {"docx", "odt"}) {
                const QString output = folder + QStringLiteral("/titled%1.").arg(authors) + QLatin1String(suffix);
                QCOMPARE(Pdf2WordCall::convert(pdf, output, 1, DocumentPdfs::pageCount(pdf)).result, S_OK);
                const Package package = readPackage(output);
                const int first = package.paragraphs.indexOf(expected.front());
                QVERIFY(first > 0);
                QCOMPARE(package.paragraphs.mid(first, expected.size()), expected);
                QVERIFY(package.paragraphs.value(first + expected.size()).startsWith(QLatin1String("Abstract")));
                QVERIFY(package.paragraphs.indexOf(QStringLiteral("1. Introduction")) > first + expected.size());
            }
        }
        const QString docx = QString::fromUtf8(DocumentPdfs::zipEntry(folder + QStringLiteral("/titled3.docx"), QStringLiteral("word/document.xml")));
        QVERIFY(docx.contains(QLatin1String("<w:titlePg/>")));
        QVERIFY(docx.contains(QLatin1String("<w:footerReference w:type=\"first\"")));
        QVERIFY(!docx.contains(QLatin1String("<w:headerReference w:type=\"first\"")));
        const QString printed = DocumentPdfs::officeToPdf(folder + QStringLiteral("/titled3.odt"), folder + QStringLiteral("/printed"));
        QVERIFY(DocumentPdfs::pageCount(printed) >= 2);
        for (int page = 1; page <= 2; ++page) {
            QByteArray text;
            TestFiles::run(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page), printed, QStringLiteral("-")},
                           &text);
            QCOMPARE(text.contains("Letters on Quiet Machines"), page > 1);
            QCOMPARE(text.trimmed().split('\n').last().trimmed(), QByteArray::number(page));
        }
    }

    // Documents users bring: nothing of their text is drawn into a picture; an infobox and a
    // sidebar are shaded boxes of text with their pictures in them; rows of a statement, an
    // infobox and a form keep their figures beside their labels; check boxes are characters; a
    // turned label is one line; the form stays about as long as it was.
    void documentsUsersBringKeepTheirText()
    {
        const QString folder = sandbox(QStringLiteral("users"));
        struct Case
        {
            const char* name;
            bool (*write)(const QString&);
            const char* shading; // of the panel, or empty
            int pictures;
        } cases[] = {{"webpage", UserDocuments::writeWebPagePdf, "F8F9FA", 1},
                     {"form", UserDocuments::writeFormPdf, "000000", 0},
                     {"statement", UserDocuments::writeStatementPdf, "", 0},
                     {"slide", UserDocuments::writeSlidePdf, "DBE8F5", 1}};
        for (const Case& test : cases) {
            const QString pdf = folder + QLatin1Char('/') + QLatin1String(test.name) + QStringLiteral(".pdf");
            QVERIFY2(test.write(pdf), test.name);
            const QString docx = folder + QLatin1Char('/') + QLatin1String(test.name) + QStringLiteral(".docx");
            QCOMPARE(Pdf2WordCall::convert(pdf, docx, 1, DocumentPdfs::pageCount(pdf)).result, S_OK);
            const Package package = readPackage(docx);
            QVERIFY(package.wellFormed);
            QVERIFY2(package.pictures.size() == test.pictures, test.name);
            if (*test.shading)
                QVERIFY2(package.body.contains(QStringLiteral("w:fill=\"%1\"").arg(QLatin1String(test.shading))), test.name);
            // A row of a table holds a label and its value or figures.
            auto sameRow = [&](const QStringList& cells) { return ::sameRow(package.body, cells); };
            if (QLatin1String(test.name) == QLatin1String("webpage")) {
                for (const UserDocuments::Row& row : UserDocuments::infoboxRows())
                    QVERIFY2(sameRow({row.label, row.value}) || row.label == QLatin1String("Shape"), qPrintable(row.label));
            } else if (QLatin1String(test.name) == QLatin1String("statement")) {
                for (const UserDocuments::Row& row : UserDocuments::statementRows())
                    QVERIFY2(sameRow({row.label, row.value, row.number}), qPrintable(row.label));
            } else if (QLatin1String(test.name) == QLatin1String("form")) {
                const QString text = package.paragraphs.join(QLatin1Char('\n'));
                QVERIFY(text.contains(QString::fromUtf8("☐ Single ☒ Married filing jointly ☐ Married filing separately")));
                QVERIFY(text.contains(QString::fromUtf8("☒ I had no income")));
                QVERIFY(package.paragraphs.contains(QStringLiteral("PRINT CLEARLY")));
                for (const UserDocuments::Row& line : UserDocuments::formLines()) {
                    if (!line.value.isEmpty())
                        QVERIFY2(sameRow({line.number, line.value}), qPrintable(line.label));
                }
                // Two pages in, about two out: LibreOffice lays the document out.
                const QString printed = DocumentPdfs::officeToPdf(docx, folder + QStringLiteral("/printed"));
                QVERIFY(!printed.isEmpty());
                QVERIFY2(DocumentPdfs::pageCount(printed) <= 3, qPrintable(QString::number(DocumentPdfs::pageCount(printed))));
            } else {
                // The sidebar's figures, a short line each without a sentence, are items apart.
                for (const char* item : {"Key figures", "57.6 million crowns of revenue", "4.9 million crowns of profit",
                                         "38 boats in the fleet", "212 people employed"})
                    QVERIFY2(package.paragraphs.contains(QLatin1String(item)), item);
            }
        }
    }

    // A table of shaded cells without rulings is a table: each row's figures beside its label,
    // each cell's fill its shading, the header's white text white. An article beside an infobox
    // framed by a hairline keeps its paragraphs out of any table, the infobox's rows together.
    // Every font a run names is in the font table with its family class, PANOSE where the file
    // gives it (Chromium embeds it).
    void shadedTablesAndArticlesKeepTheirStructure()
    {
        const QString folder = sandbox(QStringLiteral("structure"));
        const QString shaded = folder + QStringLiteral("/shaded.pdf");
        const QString article = folder + QStringLiteral("/article.pdf");
        QVERIFY(UserDocuments::writeShadedTablePdf(shaded));
        QVERIFY(UserDocuments::writeArticlePdf(article));
        for (const QString& pdf : {shaded, article}) {
            const QString docx = QString(pdf).replace(QLatin1String(".pdf"), QLatin1String(".docx"));
            QCOMPARE(Pdf2WordCall::convert(pdf, docx, 1, DocumentPdfs::pageCount(pdf)).result, S_OK);
            const Package package = readPackage(docx);
            QVERIFY(package.wellFormed);
            if (pdf == shaded) {
                QCOMPARE(package.body.count(QLatin1String("<w:tbl>")), 1);
                for (const UserDocuments::Row& row : UserDocuments::shadedTableRows())
                    QVERIFY2(sameRow(package.body, {row.label, row.number, row.value}), qPrintable(row.label));
                for (const char* fill : {"1F4E79", "DDEBF7", "FFF2CC", "FFE699"})
                    QVERIFY2(package.body.contains(QStringLiteral("w:fill=\"%1\"").arg(QLatin1String(fill))), fill);
                QVERIFY(package.body.contains(QLatin1String("w:color w:val=\"FFFFFF\"")));
                QVERIFY(package.pictures.isEmpty());
            } else {
                for (const UserDocuments::Row& row : UserDocuments::infoboxRows())
                    QVERIFY2(sameRow(package.body, {row.label, row.value}), qPrintable(row.label));
                QStringList tables;
                for (QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral("<w:tbl>.*?</w:tbl>")).globalMatch(package.body); it.hasNext();)
                    tables << it.next().captured(0);
                for (const QString& paragraph : UserDocuments::articleParagraphs()) {
                    const QString words = paragraph.section(QLatin1Char(' '), 0, 3);
                    QVERIFY2(!tables.join(QString()).contains(words), qPrintable(words));
                    QVERIFY2(package.paragraphs.join(QLatin1Char(' ')).contains(words), qPrintable(words));
                }
            }
            const QString fonts = QString::fromUtf8(DocumentPdfs::zipEntry(docx, QStringLiteral("word/fontTable.xml")));
            QRegularExpressionMatchIterator named = QRegularExpression(QStringLiteral("w:ascii=\"([^\"]+)\"")).globalMatch(package.body);
            QVERIFY(named.hasNext());
            while (named.hasNext()) {
                const QString font = named.next().captured(1);
                QVERIFY2(QRegularExpression(QStringLiteral("<w:font w:name=\"%1\">(?:(?!</w:font>).)*<w:family w:val=\"(roman|swiss|modern|script|decorative)\"/>")
                                                .arg(QRegularExpression::escape(font)))
                             .match(fonts)
                             .hasMatch(),
                         qPrintable(font));
            }
            if (pdf == article)
                QVERIFY(fonts.contains(QLatin1String("<w:panose1 w:val=\"")));
        }
    }

    // Tables read right to left keep the page's column order: their columns are held from the
    // rightmost (DOCX bidiVisual), each value in its own cell, also where the row was drawn cell
    // by cell without rulings.
    void rightToLeftTablesKeepTheirColumns()
    {
        const QString pdf = sandbox(QStringLiteral("rtl")) + QStringLiteral("/tables.pdf");
        QVERIFY(UserDocuments::writeArabicTablesPdf(pdf));
        const QString docx = QString(pdf).replace(QLatin1String(".pdf"), QLatin1String(".docx"));
        QCOMPARE(Pdf2WordCall::convert(pdf, docx, 1, 1).result, S_OK);
        const Package package = readPackage(docx);
        QVERIFY(package.wellFormed);
        QCOMPARE(package.body.count(QLatin1String("<w:tbl>")), 2);
        QCOMPARE(package.body.count(QLatin1String("<w:bidiVisual/>")), 2);
        const QStringList tables = package.body.split(QStringLiteral("<w:tbl>")).mid(1);
        for (const QString& table : tables) {
            for (const QStringList& row : UserDocuments::arabicTableRows())
                QVERIFY2(sameRow(table, row), qPrintable(row.join(QLatin1Char(' '))));
        }
    }

    void anyTextMakesWellFormedPackages()
    {
        // A font named with "&" and a byte that is no UTF-8, and text with XML's own characters
        // and a code mapped to U+FFFF, which XML cannot carry.
        const QByteArray content = "BT /F1 14 Tf 72 720 Td (A Fish & Chips <b> \"cafe\") Tj ET";
        const QByteArray cmap = "/CIDInit /ProcSet findresource begin 12 dict begin begincmap /CMapName /X def "
                                "1 begincodespacerange <00> <FF> endcodespacerange 1 beginbfchar <41> <FFFF> endbfchar "
                                "endcmap CMapName currentdict /CMap defineresource pop end end";
        const QList<QByteArray> objects = {
            "<< /Type /Catalog /Pages 2 0 R >>",
            "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 5 0 R >> >> /Contents 4 0 R >>",
            "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "\nendstream",
            "<< /Type /Font /Subtype /Type1 /BaseFont /Fish#26Chips#E9 /ToUnicode 6 0 R >>",
            "<< /Length " + QByteArray::number(cmap.size()) + " >>\nstream\n" + cmap + "\nendstream",
        };
        const QString folder = sandbox(QStringLiteral("odd"));
        QVERIFY(TestFiles::writeFile(folder + QStringLiteral("/odd.pdf"), PdfLibraryFixtures::pdfFile(objects, 1)));
        for (const char* suffix : {"docx", "odt"}) {
            const QString output = folder + QStringLiteral("/odd.") + QLatin1String(suffix);
            QCOMPARE(Pdf2WordCall::convert(folder + QStringLiteral("/odd.pdf"), output, 1, 1).result, S_OK);
            const Package package = readPackage(output);
            QVERIFY(package.wellFormed);
            QVERIFY2(package.paragraphs.join(QLatin1Char(' ')).contains(QLatin1String("Fish & Chips <b> \"cafe\"")),
                     qPrintable(package.paragraphs.join(QLatin1Char('|'))));
        }
    }
};

QTEST_MAIN(Pdf2WordLayoutTest)
#include "test_pdf2wordlayout.moc"
