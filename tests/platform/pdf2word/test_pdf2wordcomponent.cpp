#include "pdflib/binding/generated/DebenuPDFLibraryDLLQt1212.h"
#include "platform/pdf2word/com/ComClassTable.h"
#include "platform/pdf2word/com/ComRuntime.h"
#include "platform/pdf2word/com/DispEventSink.h"
#include "platform/pdf2word/com/Pdf2WordLib.h"
#include "tests/frompdf/TestPdfs.h"
#include "tests/platform/pdf2word/DocumentPdfs.h"
#include "tests/platform/pdf2word/Pdf2WordCall.h"
#include "tests/platform/pdflibrary/PdfLibraryFixtures.h"
#include "tests/support/TestFiles.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QtTest>

#include <functional>

namespace {

// Records the component's events and answers event 1 as told.
class EventLog : public DispEventSink
{
public:
    EventLog()
        : DispEventSink(DIID_IPdf2WordEvents)
    {
        addEntry({Pdf2WordEventProgress, VT_I4, {VT_I4, VT_I4, VT_BSTR}, [this](const std::vector<VARIANT>& arguments) {
                      progress << QStringLiteral("%1/%2").arg(arguments[0].lVal).arg(arguments[1].lVal);
                      return answer ? answer(arguments[0].lVal) : 0;
                  }});
        addEntry({Pdf2WordEventFinished, VT_EMPTY, {VT_I4}, [this](const std::vector<VARIANT>& arguments) {
                      finishedPages << arguments[0].lVal;
                      return 0;
                  }});
    }
    ~EventLog() { unadvise(); }

    QStringList progress;
    QList<int> finishedPages;
    std::function<LONG(LONG current)> answer;
};

using Pdf2WordCall::Outcome;

Outcome convert(const QString& source, const QString& output, int first, int last, int mode = 0,
                EventLog* events = nullptr, const QString& password = QString())
{
    return Pdf2WordCall::convert(source, output, first, last, mode, events, password);
}

QString joinedWords(const QString& text)
{
    return DocumentPdfs::words(text).join(QLatin1Char(' '));
}

// The words of a document as LibreOffice lays it out again, read back with pdftotext.
QString officeWords(const QString& document)
{
    const QString pdf = DocumentPdfs::officeToPdf(document, QFileInfo(document).absolutePath() + QStringLiteral("/lo-")
                                                                + QFileInfo(document).suffix());
    return pdf.isEmpty() ? QStringLiteral("<LibreOffice could not open it>") : joinedWords(TestPdfs::pdfText(pdf));
}

// The report's words as LibreOffice lays a converted report out: the first page's body spaced as
// in the source fills that page, so the second page's paragraph starts the next; each page's
// number in the footer, where the converter put the source's page numbers.
QString laidOutReportWords()
{
    return DocumentPdfs::reportWords().join(QLatin1Char(' '));
}

} // namespace

class Pdf2WordComponentTest : public QObject
{
    Q_OBJECT

    QString m_report;

private slots:
    void initTestCase()
    {
        Pdf2WordCall::registerComponent();
        m_report = TestFiles::sandboxFolder(QStringLiteral("in")) + QStringLiteral("/report.pdf");
        QVERIFY(DocumentPdfs::writeReportPdf(m_report));
        QCOMPARE(joinedWords(TestPdfs::pdfText(m_report)), DocumentPdfs::reportWords().join(QLatin1Char(' ')));
    }

    void docxRebuildsHeadingParagraphsAndPicture()
    {
        const QString output = TestFiles::sandboxFolder(QStringLiteral("docx")) + QStringLiteral("/report.docx");
        EventLog events;
        const Outcome outcome = convert(m_report, output, 1, 2, 0, &events);
        QCOMPARE(outcome.result, S_OK);
        QCOMPARE(events.progress, (QStringList{QStringLiteral("1/2"), QStringLiteral("2/2")}));
        QCOMPARE(events.finishedPages, QList<int>{2});

        QCOMPARE(DocumentPdfs::zipEntries(output).filter(QStringLiteral("word/media/image1.")).size(), 1);
        const QString body = QString::fromUtf8(DocumentPdfs::zipEntry(output, QStringLiteral("word/document.xml")));
        // Font sizes are whole half points.
        QRegularExpressionMatchIterator sizes = QRegularExpression(QStringLiteral("<w:sz w:val=\"([^\"]*)\"")).globalMatch(body);
        QVERIFY(sizes.hasNext());
        while (sizes.hasNext())
            QVERIFY2(QRegularExpression(QStringLiteral("^\\d+$")).match(sizes.next().captured(1)).hasMatch(), qPrintable(body));
        // The heading is a bold run set larger than the paragraphs.
        const QRegularExpression run(QStringLiteral("<w:r><w:rPr>(.*?)</w:rPr><w:t[^>]*>([^<]*)</w:t>"));
        int headingSize = 0;
        int textSize = 0;
        bool headingBold = false;
        for (QRegularExpressionMatchIterator it = run.globalMatch(body); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            const int size = QRegularExpression(QStringLiteral("w:sz w:val=\"(\\d+)\"")).match(match.captured(1)).captured(1).toInt();
            if (match.captured(2) == QLatin1String("Harvest Report")) {
                headingSize = size;
                headingBold = match.captured(1).contains(QLatin1String("<w:b/>"));
            } else if (match.captured(2).startsWith(QLatin1String("Apples"))) {
                textSize = size;
            }
        }
        QVERIFY(headingBold);
        QVERIFY2(headingSize > textSize && textSize > 0, qPrintable(QStringLiteral("%1 %2").arg(headingSize).arg(textSize)));
        // The picture sits between the first and the second paragraph.
        QVERIFY(body.indexOf(QLatin1String("oranges")) < body.indexOf(QLatin1String("<w:drawing>")));
        QVERIFY(body.indexOf(QLatin1String("<w:drawing>")) < body.indexOf(QLatin1String("Bananas")));

        // LibreOffice opens it and finds the whole text in order, and the picture.
        QCOMPARE(officeWords(output), laidOutReportWords());
        QByteArray images;
        TestFiles::run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), QFileInfo(output).absolutePath() + QStringLiteral("/lo-docx/report.pdf")}, &images);
        QVERIFY2(images.split('\n').size() > 3, images.constData());
    }

    void eachFormatHasItsTypeAndText()
    {
        const QString folder = TestFiles::sandboxFolder(QStringLiteral("formats"));
        const QString expected = DocumentPdfs::reportBodyWords().join(QLatin1Char(' '));
        const QString laidOut = laidOutReportWords();
        for (const char* suffix : {"odt", "html", "txt", "doc", "rtf"}) {
            const QString output = folder + QStringLiteral("/report.") + QLatin1String(suffix);
            QCOMPARE(convert(m_report, output, 1, 2).result, S_OK);
            const QByteArray bytes = TestFiles::readFile(output);
            const QString format = QLatin1String(suffix);
            if (format == QLatin1String("odt")) {
                QCOMPARE(DocumentPdfs::zipEntries(output).value(0), QStringLiteral("mimetype"));
                QCOMPARE(DocumentPdfs::zipEntry(output, QStringLiteral("mimetype")), QByteArray("application/vnd.oasis.opendocument.text"));
                QCOMPARE(DocumentPdfs::zipEntries(output).filter(QStringLiteral("Pictures/image1.")).size(), 1);
                QCOMPARE(officeWords(output), laidOut);
            } else if (format == QLatin1String("html")) {
                QVERIFY(bytes.startsWith("<!DOCTYPE html>"));
                QVERIFY(bytes.contains("<img src=\"data:image/"));
                QVERIFY(bytes.contains("<h1>"));
                QString text = QString::fromUtf8(bytes);
                text.remove(QRegularExpression(QStringLiteral("<head>.*</head>|<[^>]*>"),
                                               QRegularExpression::DotMatchesEverythingOption));
                QCOMPARE(joinedWords(text), expected);
            } else if (format == QLatin1String("txt")) {
                QCOMPARE(joinedWords(QString::fromUtf8(bytes)), expected);
                QVERIFY(bytes.startsWith("Harvest Report\n\nApples and oranges filled"));
            } else if (format == QLatin1String("doc")) {
                QVERIFY(bytes.startsWith(QByteArray::fromHex("d0cf11e0a1b11ae1"))); // OLE compound file
                QCOMPARE(officeWords(output), laidOut);
            } else {
                QVERIFY(bytes.startsWith("{\\rtf"));
                QCOMPARE(officeWords(output), laidOut);
            }
        }
        // Only the outputs and LibreOffice's read-back folders are left: no work files.
        for (const QString& entry : TestFiles::entries(folder))
            QVERIFY2(entry.startsWith(QLatin1String("report.")) || entry.startsWith(QLatin1String("lo-")), qPrintable(entry));
    }

    void progressCountsFromTheRangeStart()
    {
        const QString folder = TestFiles::sandboxFolder(QStringLiteral("range"));
        QVERIFY(TestPdfs::writeTextPdf(folder + QStringLiteral("/numbers.pdf"), TestPdfs::numberedPages(4)));
        EventLog events;
        QCOMPARE(convert(folder + QStringLiteral("/numbers.pdf"), folder + QStringLiteral("/part.txt"), 2, 3, 0, &events).result, S_OK);
        QCOMPARE(events.progress, (QStringList{QStringLiteral("1/2"), QStringLiteral("2/2")}));
        const QString text = QString::fromUtf8(TestFiles::readFile(folder + QStringLiteral("/part.txt")));
        QVERIFY(text.contains(QLatin1String("Page 2")) && text.contains(QLatin1String("Page 3")));
        QVERIFY(!text.contains(QLatin1String("Page 1")) && !text.contains(QLatin1String("Page 4")));
    }

    void stopAnswerEndsWithoutOutput()
    {
        const QString folder = TestFiles::sandboxFolder(QStringLiteral("stop"));
        for (const char* suffix : {"docx", "odt", "rtf"}) {
            EventLog events;
            events.answer = [](LONG current) { return current == 1 ? -1 : 0; };
            const QString output = folder + QStringLiteral("/report.") + QLatin1String(suffix);
            QCOMPARE(convert(m_report, output, 1, 2, 0, &events).result, E_ABORT);
            QCOMPARE(events.progress, QStringList{QStringLiteral("1/2")});
            QCOMPARE(events.finishedPages, QList<int>{0});
        }
        QCOMPARE(TestFiles::entries(folder), QStringList());
        QCOMPARE(TestFiles::entries(TestFiles::sandbox() + QStringLiteral("/cache")).filter(QStringLiteral(".docx")), QStringList());
    }

    void bothModesConvertAScansInvisibleText()
    {
        // A scan's recognised text drawn invisibly, and nothing visible: both roads write it.
        const QString folder = TestFiles::sandboxFolder(QStringLiteral("plain"));
        const QString source = folder + QStringLiteral("/scan.pdf");
        QVERIFY(DocumentPdfs::writeInvisibleTextPdf(source, QStringLiteral("Recognised words of a scanned letter")));
        for (int mode : {0, 2}) {
            const QString output = folder + QStringLiteral("/scan%1.docx").arg(mode);
            QCOMPARE(convert(source, output, 1, 1, mode).result, S_OK);
            QCOMPARE(joinedWords(QString::fromUtf8(DocumentPdfs::zipEntry(output, QStringLiteral("word/document.xml")))
                                     .remove(QRegularExpression(QStringLiteral("<[^>]*>")))),
                     QStringLiteral("Recognised words of a scanned letter"));
        }
        // The plain road also serves documents the layout road handles.
        QCOMPARE(convert(m_report, folder + QStringLiteral("/report.odt"), 1, 2, 2).result, S_OK);
        QCOMPARE(officeWords(folder + QStringLiteral("/report.odt")), laidOutReportWords());
    }

    void refusedInputsAreFailuresWithReasons()
    {
        const QString folder = TestFiles::sandboxFolder(QStringLiteral("refused"));
        const QString locked = folder + QStringLiteral("/locked.pdf");
        QVERIFY(TestPdfs::encryptPdf(m_report, locked, QStringLiteral("open"), QStringLiteral("owner")));
        Outcome outcome = convert(locked, folder + QStringLiteral("/a.docx"), 1, 2);
        QCOMPARE(outcome.result, PDF2WORD_E_OPEN);
        QVERIFY(outcome.description.contains(QLatin1String("password")));
        QCOMPARE(convert(locked, folder + QStringLiteral("/b.txt"), 1, 2, 0, nullptr, QStringLiteral("open")).result, S_OK);

        QCOMPARE(convert(m_report, folder + QStringLiteral("/c.docx"), 2, 3).result, PDF2WORD_E_RANGE);
        QCOMPARE(convert(m_report, folder + QStringLiteral("/d.xlsx"), 1, 1).result, PDF2WORD_E_FORMAT);
        QCOMPARE(convert(folder + QStringLiteral("/missing.pdf"), folder + QStringLiteral("/e.docx"), 1, 1).result, PDF2WORD_E_OPEN);
        QCOMPARE(TestFiles::entries(folder), (QStringList{QStringLiteral("b.txt"), QStringLiteral("locked.pdf")}));
    }

    // A file cut to half its size (Qt writes the page tree at the end): the engine converts the
    // pages the PDF library shows.
    void damagedFilesGiveTheLibrarysPages()
    {
        const QString folder = TestFiles::sandboxFolder(QStringLiteral("cut"));
        QString html;
        for (int page = 1; page <= 12; ++page)
            html += QStringLiteral("<p style=\"page-break-after:always\">Chapter %1 tells of orchards and rivers.</p>").arg(page);
        QVERIFY(DocumentPdfs::writeHtmlPdf(folder + QStringLiteral("/whole.pdf"), html));
        const QByteArray whole = TestFiles::readFile(folder + QStringLiteral("/whole.pdf"));
        const QString cut = folder + QStringLiteral("/cut.pdf");
        QVERIFY(TestFiles::writeFile(cut, whole.left(whole.size() / 2)));

        DebenuPDFLibraryDLLQt1212 library(PdfLibraryFixtures::libraryPath());
        QCOMPARE(library.LoadFromFile(cut, QString()), 1);
        const int pages = library.PageCount();
        QVERIFY2(pages > 1, qPrintable(QString::number(pages)));
        EventLog events;
        QCOMPARE(convert(cut, folder + QStringLiteral("/cut.txt"), 1, pages, 0, &events).result, S_OK);
        QCOMPARE(events.progress.value(pages - 1), QStringLiteral("%1/%1").arg(pages));
    }

    // A picture that needs 2.5 GB is left out at once, and the log says why; a stop during a
    // long page is answered within a second.
    void limitsEndLongPages()
    {
        const QString folder = TestFiles::sandboxFolder(QStringLiteral("limits"));
        const QString huge = folder + QStringLiteral("/huge.pdf");
        QVERIFY(TestFiles::writeFile(huge, PdfLibraryFixtures::hugeJbig2Pdf()));
        QStringList log;
        Pdf2WordCall::registerComponent(QString(), [&log](const QString& line) { log << line; });
        QElapsedTimer clock;
        clock.start();
        const Outcome overMemory = convert(huge, folder + QStringLiteral("/huge.docx"), 1, 1);
        Pdf2WordCall::registerComponent();
        QCOMPARE(overMemory.result, S_OK);
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(DocumentPdfs::zipEntries(folder + QStringLiteral("/huge.docx")).filter(QStringLiteral("media/")), QStringList());
        QVERIFY2(log.size() == 1 && log.front().startsWith(QLatin1String("Page 1: figure 1 left out"))
                     && log.front().contains(QLatin1String("memory")),
                 qPrintable(log.join(QLatin1Char('\n'))));

        const QString busy = folder + QStringLiteral("/busy.pdf");
        QVERIFY(TestFiles::writeFile(busy, PdfLibraryFixtures::busyPdf(4000000)));
        EventLog events;
        events.answer = [](LONG) { return -1; };
        clock.restart();
        QCOMPARE(convert(busy, folder + QStringLiteral("/busy.txt"), 1, 1, 0, &events).result, E_ABORT);
        QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(events.progress, QStringList{QStringLiteral("0/1")});
        QCOMPARE(TestFiles::entries(folder),
                 (QStringList{QStringLiteral("busy.pdf"), QStringLiteral("huge.docx"), QStringLiteral("huge.pdf")}));
    }

    void missingEngineMeansNoComponent()
    {
        Pdf2WordCall::registerComponent(TestFiles::sandbox() + QStringLiteral("/nowhere/engine.so"));
        const Outcome outcome = convert(m_report, TestFiles::sandboxFolder(QStringLiteral("none")) + QStringLiteral("/x.docx"), 1, 1);
        Pdf2WordCall::registerComponent();
        QCOMPARE(outcome.result, CO_E_DLLNOTFOUND);
        QVERIFY(outcome.description.contains(QLatin1String("missing")));
    }
};

QTEST_MAIN(Pdf2WordComponentTest)
#include "test_pdf2wordcomponent.moc"
