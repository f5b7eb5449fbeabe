#include "ComClassTable.h"
#include "ComRuntime.h"
#include "DispEventSink.h"
#include "DocumentPdfs.h"
#include "Pdf2WordLib.h"
#include "Pdf2WordRegistration.h"
#include "ToolPaths.h"
#include "FileSystem.h"
#include "TestFiles.h"
#include "TestPdfs.h"

#include <QRegularExpression>
#include <QtTest>

#include <functional>

namespace {

// Records the component's events and answers event 1 as told.
class EventLog : public DispEventSink
{
public:
    EventLog() : DispEventSink(DIID_IPdf2WordEvents)
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

struct Outcome
{
    HRESULT result = E_FAIL;
    QString description;
};

QString sandbox(const QString& name)
{
    const QString folder = TestFiles::sandbox() + QLatin1Char('/') + name;
    QDir().mkpath(folder);
    return folder;
}

VARIANT intValue(int value)
{
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_INT;
    variant.intVal = value;
    return variant;
}

// One conversion through the component's interface, as its callers make it.
Outcome convert(const QString& source, const QString& output, int first, int last, int mode = 0,
                EventLog* events = nullptr, const QString& password = QString())
{
    Outcome outcome;
    IPdf2Word* component = nullptr;
    outcome.result = CoCreateInstanceFromProgID(QStringLiteral(PDF2WORD_PROGID).toStdWString().c_str(), nullptr,
                                                 CLSCTX_ALL, IID_IPdf2Word, reinterpret_cast<void**>(&component));
    if (SUCCEEDED(outcome.result)) {
        component->put_Option19(mode);
        if (events)
            events->advise(component);
        BSTR sourceText = SysAllocString(source.toStdWString().c_str());
        BSTR outputText = SysAllocString(output.toStdWString().c_str());
        VARIANT passwordValue;
        VariantInit(&passwordValue);
        passwordValue.vt = VT_BSTR;
        passwordValue.bstrVal = SysAllocString(password.toStdWString().c_str());
        outcome.result = component->ConvertToWord(sourceText, outputText, passwordValue, intValue(first), intValue(last));
        VariantClear(&passwordValue);
        SysFreeString(sourceText);
        SysFreeString(outputText);
        if (events)
            events->unadvise();
        component->Release();
    }
    if (BSTR description = TakeErrorDescription()) {
        outcome.description = QString::fromWCharArray(description);
        SysFreeString(description);
    }
    return outcome;
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

} // namespace

class Pdf2WordComponentTest : public QObject
{
    Q_OBJECT

    QString m_report;

private slots:
    void initTestCase()
    {
        registerPdf2WordComponent({ToolPaths::path(ToolPaths::Pdf2WordEngine), ToolPaths::path(ToolPaths::Soffice), FileSystem::cachePath()});
        m_report = sandbox(QStringLiteral("in")) + QStringLiteral("/report.pdf");
        QVERIFY(DocumentPdfs::writeReportPdf(m_report));
        QCOMPARE(joinedWords(TestPdfs::pdfText(m_report)), DocumentPdfs::reportWords().join(QLatin1Char(' ')));
    }

    void docxRebuildsHeadingParagraphsAndPicture()
    {
        const QString output = sandbox(QStringLiteral("docx")) + QStringLiteral("/report.docx");
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
        QCOMPARE(officeWords(output), DocumentPdfs::reportWords().join(QLatin1Char(' ')));
        QByteArray images;
        TestFiles::run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), QFileInfo(output).absolutePath() + QStringLiteral("/lo-docx/report.pdf")}, &images);
        QVERIFY2(images.split('\n').size() > 3, images.constData());
    }

    void eachFormatHasItsTypeAndText()
    {
        const QString folder = sandbox(QStringLiteral("formats"));
        const QString expected = DocumentPdfs::reportWords().join(QLatin1Char(' '));
        for (const char* suffix : {"odt", "html", "txt", "doc", "rtf"}) {
            const QString output = folder + QStringLiteral("/report.") + QLatin1String(suffix);
            QCOMPARE(convert(m_report, output, 1, 2).result, S_OK);
            const QByteArray bytes = TestFiles::readFile(output);
            const QString format = QLatin1String(suffix);
            if (format == QLatin1String("odt")) {
                QCOMPARE(DocumentPdfs::zipEntries(output).value(0), QStringLiteral("mimetype"));
                QCOMPARE(DocumentPdfs::zipEntry(output, QStringLiteral("mimetype")), QByteArray("application/vnd.oasis.opendocument.text"));
                QCOMPARE(DocumentPdfs::zipEntries(output).filter(QStringLiteral("Pictures/image1.")).size(), 1);
                QCOMPARE(officeWords(output), expected);
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
                QCOMPARE(officeWords(output), expected);
            } else {
                QVERIFY(bytes.startsWith("{\\rtf"));
                QCOMPARE(officeWords(output), expected);
            }
        }
        // Only the outputs and LibreOffice's read-back folders are left: no work files.
        for (const QString& entry : TestFiles::entries(folder))
            QVERIFY2(entry.startsWith(QLatin1String("report.")) || entry.startsWith(QLatin1String("lo-")), qPrintable(entry));
    }

    void progressCountsFromTheRangeStart()
    {
        const QString folder = sandbox(QStringLiteral("range"));
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
        const QString folder = sandbox(QStringLiteral("stop"));
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

    void plainModeConvertsWhatTheLayoutRoadCannot()
    {
        // A scan with an invisible recognised-text layer: nothing visible for the layout road.
        const QString folder = sandbox(QStringLiteral("plain"));
        const QString source = folder + QStringLiteral("/scan.pdf");
        QVERIFY(DocumentPdfs::writeInvisibleTextPdf(source, QStringLiteral("Recognised words of a scanned letter")));
        const Outcome layout = convert(source, folder + QStringLiteral("/scan.docx"), 1, 1, 0);
        QCOMPARE(layout.result, PDF2WORD_E_LAYOUT_TEXT);
        QVERIFY(!layout.description.isEmpty());
        QVERIFY(!QFile::exists(folder + QStringLiteral("/scan.docx")));

        QCOMPARE(convert(source, folder + QStringLiteral("/scan.docx"), 1, 1, 2).result, S_OK);
        QCOMPARE(joinedWords(QString::fromUtf8(DocumentPdfs::zipEntry(folder + QStringLiteral("/scan.docx"),
                                                                      QStringLiteral("word/document.xml")))
                                 .remove(QRegularExpression(QStringLiteral("<[^>]*>")))),
                 QStringLiteral("Recognised words of a scanned letter"));
        // The plain road also serves documents the layout road handles.
        QCOMPARE(convert(m_report, folder + QStringLiteral("/report.odt"), 1, 2, 2).result, S_OK);
        QCOMPARE(officeWords(folder + QStringLiteral("/report.odt")), DocumentPdfs::reportWords().join(QLatin1Char(' ')));
    }

    void refusedInputsAreFailuresWithReasons()
    {
        const QString folder = sandbox(QStringLiteral("refused"));
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

    void missingEngineMeansNoComponent()
    {
        registerPdf2WordComponent({TestFiles::sandbox() + QStringLiteral("/nowhere/engine.so"), ToolPaths::path(ToolPaths::Soffice), FileSystem::cachePath()});
        const Outcome outcome = convert(m_report, sandbox(QStringLiteral("none")) + QStringLiteral("/x.docx"), 1, 1);
        registerPdf2WordComponent({ToolPaths::path(ToolPaths::Pdf2WordEngine), ToolPaths::path(ToolPaths::Soffice), FileSystem::cachePath()});
        QCOMPARE(outcome.result, CO_E_DLLNOTFOUND);
        QVERIFY(outcome.description.contains(QLatin1String("missing")));
    }
};

QTEST_MAIN(Pdf2WordComponentTest)
#include "test_pdf2wordcomponent.moc"
