// The PDF service's library calls, seen through the recording fake library: which calls an
// operation makes, in which order, and what it makes of the results.

#include "pdflib/service/DebenuService.h"
#include "tests/pdflib/binding/RecordingControl.h"

#include "app/core/Logger.h"
#include "app/core/ToolPaths.h"
#include "tests/support/TestFiles.h"

#include <QtTest>

class TestPdfServiceCalls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void unknownDocumentStopsAfterTheSelection();
    void failedRenderingGivesANullImage();
    void propertiesAreWrittenThenEncrypted();
    void failedEncryptionIsLoggedAsError();
    void failedExtractionLeavesNothingLoaded();

private:
    QString logText() const;

    RecordingControl fake{RECORDING_LIBRARY};
    std::unique_ptr<DebenuService> service;
};

void TestPdfServiceCalls::initTestCase()
{
    QCoreApplication::setOrganizationName("Zembrook");
    QCoreApplication::setApplicationName("Zembrook PDF Converter");
    qputenv(ToolPaths::environmentVariable(ToolPaths::PdfLibrary), RECORDING_LIBRARY);
    QVERIFY(fake.isOpen());
}

void TestPdfServiceCalls::init()
{
    service.reset();
    service.reset(new DebenuService);
    fake.reset();
}

QString TestPdfServiceCalls::logText() const
{
    return QString::fromUtf8(TestFiles::readFile(Logger::instance()->filePath()));
}

void TestPdfServiceCalls::unknownDocumentStopsAfterTheSelection()
{
    // The library refuses the selection (its document was closed): nothing may act on whatever
    // document happens to be selected.
    fake.scriptInt("SelectDocument", 0);
    fake.scriptInt("PageCount", 9);
    fake.scriptInt("SaveToFile", 1);
    QCOMPARE(service->pageCount(7), 0);
    QVERIFY(!service->save(7, "/tmp/out.pdf"));
    QVERIFY(!service->setProperties(7, DocumentProperties{"a", "t", "pw", "c", "p"}));
    QVERIFY(service->renderPage(7, 1, 72.0).isNull());
    QCOMPARE(service->mergeDocument(7, 8), 0);
    QCOMPARE(fake.log(), (QStringList{"SelectDocument(1, 7)", "SelectDocument(1, 7)", "SelectDocument(1, 7)",
                                      "SelectDocument(1, 7)", "SelectDocument(1, 7)"}));

    // Id 0 (a failed open) does not reach the library at all.
    fake.reset();
    QCOMPARE(service->pageCount(0), 0);
    QCOMPARE(service->title(0), QString());
    QCOMPARE(service->pageSize(0, 1), QSize(0, 0));
    QCOMPARE(fake.log(), QStringList());
}

void TestPdfServiceCalls::failedRenderingGivesANullImage()
{
    fake.scriptInt("SelectDocument", 1);
    fake.scriptDouble("GetPageBox", 120.7);
    fake.scriptInt("RenderPageToDC", 0);
    QVERIFY(service->renderPage(3, 2, 72.0).isNull());
    const QStringList calls = fake.log();
    QCOMPARE(calls.mid(0, 5), (QStringList{"SelectDocument(1, 3)", "SelectPage(1, 2)", "GetPageBox(1, 2, 2)",
                                           "GetPageBox(1, 2, 3)", "PageRotation(1)"}));
    QVERIFY(calls.last().startsWith("RenderPageToDC(1, 72, 2, 0x"));

    // The same page rendered: an image of the page box in whole points.
    fake.scriptInt("RenderPageToDC", 1);
    const QImage image = service->renderPage(3, 2, 72.0);
    QCOMPARE(image.size(), QSize(120, 120));
    QCOMPARE(image.format(), QImage::Format_RGB32);

    // A page without size is not rendered at all.
    fake.reset();
    fake.scriptInt("SelectDocument", 1);
    QVERIFY(service->renderPage(3, 1, 72.0).isNull());
    QVERIFY(!fake.log().last().startsWith("RenderPageToDC"));
}

void TestPdfServiceCalls::propertiesAreWrittenThenEncrypted()
{
    fake.scriptInt("SelectDocument", 1);
    fake.scriptInt("EncodePermissions", 252);
    fake.scriptInt("Encrypt", 1);
    QVERIFY(service->setProperties(4, DocumentProperties{"Ann", "Title", "  secret ", "Maker", "Press"}));
    QCOMPARE(fake.log(), (QStringList{
                             "SelectDocument(1, 4)",
                             "SetInformation(1, 1, L\"Ann\")",
                             "SetInformation(1, 2, L\"Title\")",
                             "SetInformation(1, 5, L\"Maker\")",
                             "SetInformation(1, 6, L\"Press\")",
                             "EncodePermissions(1, 1, 1, 1, 1, 1, 1, 1, 1)",
                             "Encrypt(1, L\"secret\", L\"secret\", 1, 252)",
                         }));

    // A password of spaces writes the information and does not encrypt.
    fake.reset();
    fake.scriptInt("SelectDocument", 1);
    QVERIFY(service->setProperties(4, DocumentProperties{"", "T", "   ", "", ""}));
    QVERIFY(!fake.log().join('\n').contains("Encrypt("));
}

void TestPdfServiceCalls::failedEncryptionIsLoggedAsError()
{
    fake.scriptInt("SelectDocument", 1);
    fake.scriptInt("Encrypt", 0);
    fake.scriptInt("LastErrorCode", 103);
    QVERIFY(!service->setProperties(4, DocumentProperties{"", "", "pw", "", ""}));
    QVERIFY(logText().contains("ERROR: The document could not be encrypted.103"));
}

void TestPdfServiceCalls::failedExtractionLeavesNothingLoaded()
{
    fake.scriptInt("LoadFromFile", 1);
    fake.scriptInt("SelectedDocument", 6);
    fake.scriptInt("ExtractPages", 0);
    QCOMPARE(service->extractPages("/in.pdf", "", "/out.pdf", 2, 3), 0);
    QCOMPARE(fake.log(), (QStringList{"LoadFromFile(1, L\"/in.pdf\", L\"\")", "SelectedDocument(1)",
                                      "ExtractPages(1, 2, 3)", "RemoveDocument(1, 6)"}));
}

QTEST_GUILESS_MAIN(TestPdfServiceCalls)
#include "test_pdfservicecalls.moc"
