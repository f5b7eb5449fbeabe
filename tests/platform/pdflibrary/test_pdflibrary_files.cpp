// The PDF library stand-in, driven through the Qt binding: merging, extracting, decrypting,
// encrypting and saving, what is left on disk when they fail, and independent instances working
// on two threads at once.

#include "pdflib/binding/generated/DebenuPDFLibraryDLLQt1212.h"
#include "tests/platform/pdflibrary/PdfLibraryFixtures.h"
#include "tests/support/TestFiles.h"

#include <QtTest>
#include <atomic>
#include <thread>

using namespace PdfLibraryFixtures;

namespace {

// The page labels of a PDF in page order, as pdftotext reads them ("A1 A2 B1").
QString labels(const QString& path, const QString& password = QString())
{
    QStringList pages = pdftotext(path, password).split('\f', Qt::SkipEmptyParts);
    for (QString& page : pages)
        page.remove(QRegularExpression("\\s"));
    pages.removeAll(QString());
    return pages.join(' ');
}

} // namespace

class TestPdfLibraryFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void mergesLoadedDocuments();
    void mergesFileLists();
    void failedMergeWritesNothing();
    void extractsPagesIntoNewDocument();
    void extractsRangeLists_data();
    void extractsRangeLists();
    void decryptsFiles();
    void encryptsAtSave();
    void savesOverTheLoadedFile();
    void failedSavesLeaveFilesAlone();
    void instancesWorkOnTwoThreads();

private:
    QString alpha; // 3 pages A1..A3
    QString beta;  // 2 pages B1..B2
    QString ten;   // 10 pages P1..P10
    QScopedPointer<DebenuPDFLibraryDLLQt1212> dpl;
};

void TestPdfLibraryFiles::initTestCase()
{
    dpl.reset(new DebenuPDFLibraryDLLQt1212(libraryPath()));
    QVERIFY(dpl->LibraryLoaded());
    alpha = sandboxFile("alpha.pdf", textPdf(3, 0, "A"));
    beta = sandboxFile("beta.pdf", textPdf(2, 90, "B"));
    ten = sandboxFile("ten.pdf", textPdf(10, 0, "P"));
}

void TestPdfLibraryFiles::cleanup()
{
    while (dpl->DocumentCount() > 0) {
        dpl->SelectDocument(0);
        for (int id = 1; id < 10000 && dpl->DocumentCount() > 0; ++id)
            dpl->RemoveDocument(id);
    }
}

void TestPdfLibraryFiles::mergesLoadedDocuments()
{
    QCOMPARE(dpl->LoadFromFile(alpha, QString()), 1);
    const int first = dpl->SelectedDocument();
    QCOMPARE(dpl->LoadFromFile(beta, QString()), 1);
    const int second = dpl->SelectedDocument();
    QCOMPARE(dpl->SelectDocument(first), 1);
    QCOMPARE(dpl->MergeDocument(second), 1);
    QCOMPARE(dpl->PageCount(), 5);
    QCOMPARE(dpl->MergeDocument(first), 0);
    QCOMPARE(dpl->MergeDocument(0), 0);
    QCOMPARE(dpl->LastErrorCode(), 1001);

    // The other document stays loaded as it was.
    QCOMPARE(dpl->SelectDocument(second), 1);
    QCOMPARE(dpl->PageCount(), 2);
    QCOMPARE(dpl->SelectDocument(first), 1);
    const QString merged = sandboxFile("merged.pdf");
    QCOMPARE(dpl->SaveToFile(merged), 1);
    QVERIFY(qpdfCheck(merged));
    QCOMPARE(labels(merged), QString("A1 A2 A3 B1 B2"));
    // The appended pages keep their turn.
    QCOMPARE(dpl->SelectPage(5), 1);
    QCOMPARE(dpl->PageRotation(), 90);
}

void TestPdfLibraryFiles::mergesFileLists()
{
    QCOMPARE(dpl->AddToFileList("parts", beta), 1);
    QCOMPARE(dpl->AddToFileList("parts", alpha), 2);
    QCOMPARE(dpl->AddToFileList("parts", beta), 3);
    const QString merged = sandboxFile("list.pdf");
    QCOMPARE(dpl->MergeFileList("parts", merged), 1);
    QVERIFY(qpdfCheck(merged));
    QCOMPARE(labels(merged), QString("B1 B2 A1 A2 A3 B1 B2"));
    QCOMPARE(dpl->DocumentCount(), 0); // nothing stays loaded

    // Merging over one of its own inputs works: the inputs are read before anything is written.
    const QString copy = sandboxFile("alpha-copy.pdf", TestFiles::readFile(alpha));
    QCOMPARE(dpl->AddToFileList("self", copy), 1);
    QCOMPARE(dpl->AddToFileList("self", beta), 2);
    QCOMPARE(dpl->MergeFileList("self", copy), 1);
    QCOMPARE(pdfinfo(copy).value("Pages"), QString("5"));
}

void TestPdfLibraryFiles::failedMergeWritesNothing()
{
    const QString output = sandboxFile("merge-output.pdf", "previous");
    const QString locked = sandboxFile("locked.pdf");
    QCOMPARE(dpl->LoadFromFile(alpha, QString()), 1);
    QCOMPARE(dpl->Encrypt("pw", "pw", 1, dpl->EncodePermissions(1, 1, 1, 1, 1, 1, 1, 1)), 1);
    QCOMPARE(dpl->SaveToFile(locked), 1);

    struct Case
    {
        QString list;
        QString bad;
        int code;
    };
    const QList<Case> cases = {
        {"missing", sandboxFile("nowhere.pdf"), 411},
        {"broken", sandboxFile("broken.pdf", "%PDF-1.4 garbage"), 409},
        {"locked", locked, 410},
    };
    for (const Case& c : cases) {
        QCOMPARE(dpl->AddToFileList(c.list, alpha), 1);
        QCOMPARE(dpl->AddToFileList(c.list, c.bad), 2);
        QCOMPARE(dpl->AddToFileList(c.list, beta), 3);
        QCOMPARE(dpl->MergeFileList(c.list, output), 0);
        QCOMPARE(dpl->LastErrorCode(), c.code);
    }
    QCOMPARE(dpl->MergeFileList("never made", output), 0);
    QCOMPARE(dpl->LastErrorCode(), 1007);
    QCOMPARE(TestFiles::readFile(output), QByteArray("previous"));
}

void TestPdfLibraryFiles::extractsPagesIntoNewDocument()
{
    QCOMPARE(dpl->LoadFromFile(ten, QString()), 1);
    const int source = dpl->SelectedDocument();
    QCOMPARE(dpl->SetInformation(2, "Ten pages"), 1);
    for (const QPair<int, int>& bad : QList<QPair<int, int>>{{0, 2}, {9, 3}, {11, 1}, {2, 0}}) {
        QCOMPARE(dpl->ExtractPages(bad.first, bad.second), 0);
        QCOMPARE(dpl->SelectedDocument(), source);
    }
    QCOMPARE(dpl->DocumentCount(), 1);

    QCOMPARE(dpl->ExtractPages(4, 3), 1);
    const int extracted = dpl->SelectedDocument();
    QVERIFY(extracted != source);
    QCOMPARE(dpl->PageCount(), 3);
    const QString saved = sandboxFile("extracted.pdf");
    QCOMPARE(dpl->SaveToFile(saved), 1);
    QVERIFY(qpdfCheck(saved));
    QCOMPARE(labels(saved), QString("P4 P5 P6"));
    QCOMPARE(pdfinfo(saved).value("Title"), QString("Ten pages"));
    QCOMPARE(dpl->SelectDocument(source), 1);
    QCOMPARE(dpl->PageCount(), 10);
}

void TestPdfLibraryFiles::extractsRangeLists_data()
{
    QTest::addColumn<QString>("ranges");
    QTest::addColumn<QString>("pages");
    QTest::newRow("ranges and singles") << "1-3, 5, 7-9"
                                        << "P1 P2 P3 P5 P7 P8 P9";
    QTest::newRow("no spaces") << "10,1"
                               << "P10 P1";
    QTest::newRow("overlapping") << "2-3, 3-4"
                                 << "P2 P3 P3 P4";
    for (const char* bad : {"", " ", "0", "3-1", "1-11", "a", "1,,2", "1-", "-2", "2 3", "1;2"})
        QTest::newRow(qPrintable(QString("bad '%1'").arg(bad))) << QString(bad) << QString();
}

void TestPdfLibraryFiles::extractsRangeLists()
{
    QFETCH(QString, ranges);
    QFETCH(QString, pages);
    const QString output = sandboxFile("ranges.pdf");
    QFile::remove(output);
    const int result = dpl->ExtractFilePages(ten, QString(), output, ranges);
    if (pages.isEmpty()) {
        QCOMPARE(result, 0);
        QCOMPARE(dpl->LastErrorCode(), 412);
        QVERIFY(!QFile::exists(output));
        return;
    }
    QCOMPARE(result, 1);
    QVERIFY(qpdfCheck(output));
    QCOMPARE(labels(output), pages);
    QCOMPARE(dpl->DocumentCount(), 0);
}

void TestPdfLibraryFiles::decryptsFiles()
{
    const QString locked = sandboxFile("user-locked.pdf");
    QCOMPARE(dpl->LoadFromFile(ten, QString()), 1);
    QCOMPARE(dpl->Encrypt("owner", "user", 1, dpl->EncodePermissions(1, 1, 1, 1, 1, 1, 1, 1)), 1);
    QCOMPARE(dpl->SaveToFile(locked), 1);
    const QString ownerOnly = sandboxFile("owner-locked.pdf");
    QCOMPARE(TestFiles::run("qpdf", {"--encrypt", "", "owner", "128", "--use-aes=y", "--", alpha, ownerOnly}), 0);

    const QString output = sandboxFile("decrypted"); // no extension, as the converter names it
    QCOMPARE(dpl->DecryptFile(locked, output, "wrong"), 0);
    QCOMPARE(dpl->LastErrorCode(), 404);
    QVERIFY(!QFile::exists(output));
    QCOMPARE(dpl->DecryptFile(locked, output, "user"), 1);
    QVERIFY(qpdfCheck(output));
    QVERIFY(qpdfEncryption(output).contains("File is not encrypted"));
    QCOMPARE(labels(output).count(' '), 9);

    QCOMPARE(dpl->DecryptFile(ownerOnly, output, QString()), 1);
    QVERIFY(qpdfEncryption(output).contains("File is not encrypted"));
    QCOMPARE(labels(output), QString("A1 A2 A3"));

    // Extracting from an encrypted file with its password gives plain pages.
    QCOMPARE(dpl->ExtractFilePages(locked, "user", output, "2, 4"), 1);
    QVERIFY(qpdfEncryption(output).contains("File is not encrypted"));
    QCOMPARE(labels(output), QString("P2 P4"));
    QCOMPARE(dpl->ExtractFilePages(locked, QString(), sandboxFile("no.pdf"), "1"), 0);
    QCOMPARE(dpl->LastErrorCode(), 404);
}

void TestPdfLibraryFiles::encryptsAtSave()
{
    QCOMPARE(dpl->LoadFromFile(alpha, QString()), 1);
    const int permissions = dpl->EncodePermissions(1, 1, 1, 1, 1, 1, 1, 1);
    QCOMPARE(dpl->Encrypt("pw", "pw", 7, permissions), 0);
    QCOMPARE(dpl->LastErrorCode(), 101);
    QCOMPARE(dpl->Encrypt("pw", "pw", 1, 12345), 0);
    QCOMPARE(dpl->LastErrorCode(), 102);
    QCOMPARE(dpl->SetInformation(2, "Locked title"), 1);
    QCOMPARE(dpl->Encrypt("secret", "secret", 1, permissions), 1);
    const QString locked = sandboxFile("encrypted.pdf");
    QCOMPARE(dpl->SaveToFile(locked), 1);

    const QString password = "secret";
    QVERIFY(qpdfCheck(locked, password));
    const QString encryption = qpdfEncryption(locked, password);
    QVERIFY2(encryption.contains("AESv2"), qPrintable(encryption));
    QCOMPARE(pdfinfo(locked, password).value("Title"), QString("Locked title"));

    QCOMPARE(dpl->LoadFromFile(locked, QString()), 0);
    QCOMPARE(dpl->LastErrorCode(), 404);
    QCOMPARE(dpl->LoadFromFile(locked, password), 1);
    QCOMPARE(dpl->GetInformation(2), QString("Locked title"));
    QCOMPARE(dpl->Encrypt("x", "x", 1, permissions), 0);
    QCOMPARE(dpl->LastErrorCode(), 103);

    // A password beyond ASCII works both ways (qpdf tries the encodings a password may be in).
    const QString accented = QString::fromUtf8("pässwörd");
    QCOMPARE(dpl->LoadFromFile(alpha, QString()), 1);
    QCOMPARE(dpl->Encrypt(accented, accented, 1, permissions), 1);
    const QString accentedFile = sandboxFile("accented.pdf");
    QCOMPARE(dpl->SaveToFile(accentedFile), 1);
    QVERIFY(qpdfCheck(accentedFile, accented));
    QCOMPARE(dpl->LoadFromFile(accentedFile, accented), 1);

    // Saving a loaded encrypted document keeps its encryption.
    QCOMPARE(dpl->LoadFromFile(locked, password), 1);
    const QString resaved = sandboxFile("resaved.pdf");
    QCOMPARE(dpl->SaveToFile(resaved), 1);
    QVERIFY(qpdfCheck(resaved, password));
    QCOMPARE(dpl->LoadFromFile(resaved, QString()), 0);
    QCOMPARE(dpl->LastErrorCode(), 404);
}

void TestPdfLibraryFiles::savesOverTheLoadedFile()
{
    const QString path = sandboxFile("in-place.pdf", TestFiles::readFile(alpha));
    QCOMPARE(dpl->LoadFromFile(path, QString()), 1);
    QCOMPARE(dpl->SetInformation(1, "Someone"), 1);
    QCOMPARE(dpl->SaveToFile(path), 1);
    QVERIFY(qpdfCheck(path));
    QCOMPARE(pdfinfo(path).value("Author"), QString("Someone"));
    // The document in memory is still whole and can be saved again.
    QCOMPARE(dpl->SelectPage(3), 1);
    QVERIFY(dpl->GetPageText(0).contains("A 3"));
    QCOMPARE(dpl->SaveToFile(path), 1);
    QCOMPARE(labels(path), QString("A1 A2 A3"));
    QCOMPARE(QFileInfo(path).permissions() & QFileDevice::ReadOther, QFileDevice::ReadOther);
}

void TestPdfLibraryFiles::failedSavesLeaveFilesAlone()
{
    const QString notAFolder = sandboxFile("plain-file", "content");
    QCOMPARE(dpl->LoadFromFile(alpha, QString()), 1);
    const QStringList unwritable = {sandboxFile("missing-folder/out.pdf"), notAFolder + "/out.pdf",
                                    TestFiles::sandbox(), QString()};
    for (const QString& path : unwritable) {
        QCOMPARE(dpl->SaveToFile(path), 0);
        QCOMPARE(dpl->LastErrorCode(), 403);
        QCOMPARE(dpl->DecryptFile(alpha, path, QString()), 0);
        QCOMPARE(dpl->ExtractFilePages(alpha, QString(), path, "1"), 0);
    }
    QCOMPARE(TestFiles::readFile(notAFolder), QByteArray("content"));
    // Neither the failures nor the successes leave temporary files behind.
    QCOMPARE(dpl->SaveToFile(sandboxFile("ok.pdf")), 1);
    for (const QString& entry : TestFiles::entries(TestFiles::sandbox()))
        QVERIFY2(!entry.startsWith('.'), qPrintable(entry));
}

void TestPdfLibraryFiles::instancesWorkOnTwoThreads()
{
    // Each thread has an instance of its own; both load, render and extract at the same time.
    std::atomic<int> failures{0};
    auto work = [&](const QString& input, const QString& label, int pages, const QString& tag) {
        DebenuPDFLibraryDLLQt1212 own(libraryPath());
        for (int round = 0; round < 15; ++round) {
            if (own.LoadFromFile(input, QString()) != 1 || own.PageCount() != pages)
                ++failures;
            own.SelectPage(pages);
            if (!own.GetPageText(0).contains(label + " " + QString::number(pages)))
                ++failures;
            if (own.RenderPageToFile(36, 1, 5, sandboxFile(tag + ".png")) != 1)
                ++failures;
            own.RemoveDocument(own.SelectedDocument());
            if (own.ExtractFilePages(input, QString(), sandboxFile(tag + ".pdf"), "1") != 1)
                ++failures;
        }
    };
    std::thread first(work, ten, "P", 10, "first");
    std::thread second(work, beta, "B", 2, "second");
    first.join();
    second.join();
    QCOMPARE(failures.load(), 0);
    QCOMPARE(labels(sandboxFile("first.pdf")), QString("P1"));
    QCOMPARE(labels(sandboxFile("second.pdf")), QString("B1"));
}

QTEST_GUILESS_MAIN(TestPdfLibraryFiles)
#include "test_pdflibrary_files.moc"
