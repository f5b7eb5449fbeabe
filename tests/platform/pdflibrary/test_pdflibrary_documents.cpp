// The PDF library stand-in, driven through the Qt binding: opening (passwords, bad and damaged
// files), document and page selection, page geometry, document information, fonts and text, and
// the infrastructure calls the binding makes around each call.

#include "pdflib/binding/generated/DPLExports.h"
#include "pdflib/binding/generated/DebenuPDFLibraryDLLQt1212.h"
#include "tests/platform/pdflibrary/PdfLibraryFixtures.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QImage>
#include <QRandomGenerator>
#include <QtTest>
#include <dlfcn.h>

using namespace PdfLibraryFixtures;

namespace {

enum {
    NoDocument = 1001,
    PageOutOfRange = 1002,
    NotImplemented = 1008
};

QByteArray replaced(QByteArray bytes, const QByteArray& from, const QByteArray& to)
{
    return bytes.replace(from, to);
}

// Every object offset of the cross-reference table moved by a few bytes.
QByteArray shiftedOffsets(const QByteArray& pdf)
{
    QString text = QString::fromLatin1(pdf);
    QRegularExpression entry("(\\d{10}) 00000 n");
    QString out;
    int last = 0;
    for (auto match = entry.globalMatch(text); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        out += text.mid(last, m.capturedStart() - last);
        out += QString::number(m.captured(1).toInt() + 7).rightJustified(10, '0') + " 00000 n";
        last = m.capturedEnd();
    }
    return (out + text.mid(last)).toLatin1();
}

} // namespace

class TestPdfLibraryDocuments : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void opensWithAndWithoutPassword();
    void badFilesFailWithTheirCode_data();
    void badFilesFailWithTheirCode();
    void damagedFilesOpenWithTheirPages_data();
    void damagedFilesOpenWithTheirPages();
    void mangledFilesNeverCrash();
    void unknownDocumentSelectsNothing();
    void pageGeometry();
    void informationRoundTripsUnicode();
    void fontsAndText();
    void infrastructureLeavesErrorAndResultsAlone();

private:
    QScopedPointer<DebenuPDFLibraryDLLQt1212> dpl;
};

void TestPdfLibraryDocuments::initTestCase()
{
    dpl.reset(new DebenuPDFLibraryDLLQt1212(libraryPath()));
    QVERIFY(dpl->LibraryLoaded());
}

void TestPdfLibraryDocuments::opensWithAndWithoutPassword()
{
    const QString plain = sandboxFile("plain.pdf", textPdf(3));
    QCOMPARE(dpl->LoadFromFile(plain, QString()), 1);
    const int id = dpl->SelectedDocument();
    QVERIFY(id > 0);
    QCOMPARE(dpl->PageCount(), 3);
    QCOMPARE(dpl->SecurityInfo(0), 0);

    const QString locked = sandboxFile("locked.pdf");
    QCOMPARE(dpl->Encrypt("secret", "secret", 1, dpl->EncodePermissions(1, 1, 1, 1, 1, 1, 1, 1)), 1);
    QCOMPARE(dpl->SaveToFile(locked), 1);
    QVERIFY(qpdfCheck(locked, "secret"));
    QCOMPARE(dpl->RemoveDocument(id), 1);

    for (const QString& password : {QString(), QStringLiteral("wrong")}) {
        QCOMPARE(dpl->LoadFromFile(locked, password), 0);
        QCOMPARE(dpl->LastErrorCode(), 404);
    }
    QCOMPARE(dpl->DocumentCount(), 0);
    QCOMPARE(dpl->LoadFromFile(locked, "secret"), 1);
    QCOMPARE(dpl->PageCount(), 3);
    QCOMPARE(dpl->SecurityInfo(0), 1);
    QCOMPARE(dpl->RemoveDocument(dpl->SelectedDocument()), 1);

    // A file with only an owner password opens without one, and still counts as encrypted.
    const QString ownerOnly = sandboxFile("owner-only.pdf");
    QCOMPARE(TestFiles::run("qpdf", {"--encrypt", "", "owner", "256", "--", plain, ownerOnly}), 0);
    QCOMPARE(dpl->LoadFromFile(ownerOnly, QString()), 1);
    QCOMPARE(dpl->SecurityInfo(0), 1);
    QCOMPARE(dpl->SecurityInfo(5), 6);
    QCOMPARE(dpl->RemoveDocument(dpl->SelectedDocument()), 1);
}

void TestPdfLibraryDocuments::badFilesFailWithTheirCode_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("code");
    const QByteArray pdf = textPdf(2);
    QTest::newRow("missing") << sandboxFile("missing.pdf") << 411;
    QTest::newRow("empty path") << QString() << 411;
    QTest::newRow("folder") << QDir::tempPath() << 401;
    QTest::newRow("empty file") << sandboxFile("empty.pdf", QByteArray("")) << 409;
    QTest::newRow("header only") << sandboxFile("header.pdf", pdf.left(9)) << 409;
    QTest::newRow("plain text") << sandboxFile("text.pdf", QByteArray("not a PDF at all\n").repeated(50)) << 409;
    QByteArray garbage;
    for (int i = 0; i < 20000; ++i)
        garbage += char((i * 7919) % 251);
    QTest::newRow("garbage") << sandboxFile("garbage.pdf", garbage) << 409;
}

void TestPdfLibraryDocuments::badFilesFailWithTheirCode()
{
    QFETCH(QString, path);
    QFETCH(int, code);
    const int before = dpl->DocumentCount();
    QCOMPARE(dpl->LoadFromFile(path, QString()), 0);
    QCOMPARE(dpl->LastErrorCode(), code);
    QCOMPARE(dpl->DocumentCount(), before);
}

void TestPdfLibraryDocuments::damagedFilesOpenWithTheirPages_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray pdf = textPdf(4);
    QTest::newRow("wrong cross-reference offsets") << shiftedOffsets(pdf);
    QTest::newRow("no cross-reference table") << pdf.left(pdf.lastIndexOf("xref"));
    QTest::newRow("page tree points at a page") << replaced(pdf, "/Pages 2 0 R >>", "/Pages 5 0 R >>");
    QTest::newRow("page tree points nowhere") << replaced(pdf, "/Pages 2 0 R >>", "/Pages 99 0 R >>");
    QTest::newRow("page tree of the wrong type") << replaced(pdf, "<< /Type /Pages", "<< /Type /Fonts");
    QTest::newRow("page count wrong") << replaced(pdf, "/Count 4", "/Count 9");
}

void TestPdfLibraryDocuments::damagedFilesOpenWithTheirPages()
{
    QFETCH(QByteArray, bytes);
    const QString damaged = sandboxFile("damaged.pdf", bytes);
    QCOMPARE(dpl->LoadFromFile(damaged, QString()), 1);
    QCOMPARE(dpl->PageCount(), 4);
    QCOMPARE(dpl->SelectPage(4), 1);
    QVERIFY(dpl->GetPageText(0).contains("Page 4"));

    // What is saved is sound and has every page.
    const QString repaired = sandboxFile("repaired.pdf");
    QCOMPARE(dpl->SaveToFile(repaired), 1);
    QVERIFY(qpdfCheck(repaired));
    QCOMPARE(pdfinfo(repaired).value("Pages"), QString("4"));
    QCOMPARE(dpl->RemoveDocument(dpl->SelectedDocument()), 1);
}

// Files mangled at random (seeded, so every run sees the same ones) either fail with a code or
// open; whatever opens renders, extracts and saves without bringing the process down.
void TestPdfLibraryDocuments::mangledFilesNeverCrash()
{
    const QByteArray pdf = textPdf(3);
    QRandomGenerator random(4711);
    QImage canvasImage(200, 200, QImage::Format_RGB32);
    QpCanvas canvas{200, 200, 800, canvasImage.bits()};
    for (int round = 0; round < 60; ++round) {
        QByteArray bytes = pdf;
        if (round % 3 == 0) {
            bytes.truncate(random.bounded(bytes.size()));
        } else {
            for (int flips = random.bounded(1, 20); flips > 0; --flips)
                bytes[random.bounded(bytes.size())] = char(random.bounded(256));
        }
        const QString path = sandboxFile("mangled.pdf", bytes);
        if (dpl->LoadFromFile(path, QString()) != 1) {
            QVERIFY(dpl->LastErrorCode() != 0);
            continue;
        }
        const int opened = dpl->SelectedDocument();
        for (int page = 1; page <= dpl->PageCount(); ++page) {
            dpl->SelectPage(page);
            dpl->GetPageText(0);
            dpl->RenderPageToDC(36.0, page, &canvas);
        }
        dpl->FindFonts();
        const QString saved = sandboxFile("mangled-saved.pdf");
        if (dpl->SaveToFile(saved) == 1) {
            QCOMPARE(dpl->LoadFromFile(saved, QString()), 1);
            QCOMPARE(dpl->RemoveDocument(dpl->SelectedDocument()), 1);
        }
        QCOMPARE(dpl->RemoveDocument(opened), 1);
    }
    QVERIFY(dpl->LoadFromFile(sandboxFile("fine.pdf", pdf), QString()) == 1);
    QCOMPARE(dpl->RemoveDocument(dpl->SelectedDocument()), 1);
}

void TestPdfLibraryDocuments::unknownDocumentSelectsNothing()
{
    QCOMPARE(dpl->LoadFromFile(sandboxFile("one.pdf", textPdf(1)), QString()), 1);
    const int one = dpl->SelectedDocument();
    QCOMPARE(dpl->LoadFromFile(sandboxFile("two.pdf", textPdf(2)), QString()), 1);
    const int two = dpl->SelectedDocument();
    QVERIFY(one != two);

    // Neither 0 nor an unknown id leaves the previous document selected.
    for (int id : {0, two + 1000}) {
        QCOMPARE(dpl->SelectDocument(id), 0);
        QCOMPARE(dpl->SelectedDocument(), 0);
        QCOMPARE(dpl->PageCount(), 0);
        QCOMPARE(dpl->LastErrorCode(), int(NoDocument));
        QCOMPARE(dpl->SaveToFile(sandboxFile("nothing.pdf")), 0);
        QVERIFY(!QFile::exists(sandboxFile("nothing.pdf")));
    }
    QCOMPARE(dpl->SelectDocument(one), 1);
    QCOMPARE(dpl->PageCount(), 1);
    QCOMPARE(dpl->SelectDocument(two), 1);
    QCOMPARE(dpl->PageCount(), 2);

    // Removing the selected document selects nothing; removing twice fails.
    QCOMPARE(dpl->RemoveDocument(two), 1);
    QCOMPARE(dpl->PageCount(), 0);
    QCOMPARE(dpl->RemoveDocument(two), 0);
    QCOMPARE(dpl->RemoveDocument(one), 1);
    QCOMPARE(dpl->DocumentCount(), 0);
}

void TestPdfLibraryDocuments::pageGeometry()
{
    QCOMPARE(dpl->LoadFromFile(sandboxFile("turned.pdf", textPdf(2, 90)), QString()), 1);
    QCOMPARE(dpl->PageRotation(), 90);
    // The box is the page's own; turning is the caller's business.
    QCOMPARE(dpl->GetPageBox(2, 2), 612.0);
    QCOMPARE(dpl->GetPageBox(2, 3), 792.0);
    QCOMPARE(dpl->SelectPage(3), 0);
    QCOMPARE(dpl->LastErrorCode(), int(PageOutOfRange));
    QCOMPARE(dpl->SelectedPage(), 1);
    QCOMPARE(dpl->RemoveDocument(dpl->SelectedDocument()), 1);

    // The crop box (cut to the media box) is what box type 2 and the page size give.
    QCOMPARE(dpl->LoadFromFile(sandboxFile("cropped.pdf", textPdf(1, -90, "Page", "/CropBox [10 20 310 900]")), QString()), 1);
    QCOMPARE(dpl->PageRotation(), 270);
    QCOMPARE(dpl->GetPageBox(2, 0), 10.0);
    QCOMPARE(dpl->GetPageBox(2, 2), 300.0);
    QCOMPARE(dpl->GetPageBox(2, 3), 772.0);
    QCOMPARE(dpl->PageWidth(), 300.0);
    QCOMPARE(dpl->GetPageBox(1, 2), 612.0);
    QCOMPARE(dpl->RemoveDocument(dpl->SelectedDocument()), 1);
}

void TestPdfLibraryDocuments::informationRoundTripsUnicode()
{
    QCOMPARE(dpl->LoadFromFile(sandboxFile("info.pdf", textPdf(1)), QString()), 1);
    const QString author = QString::fromUtf8("Zoë Ångström");
    const QString title = QString::fromUtf8("Отчёт – 報告 ✓ 😀");
    QCOMPARE(dpl->SetInformation(1, author), 1);
    QCOMPARE(dpl->SetInformation(2, title), 1);
    QCOMPARE(dpl->SetInformation(5, "Creator"), 1);
    QCOMPARE(dpl->SetInformation(6, "Producer"), 1);
    QCOMPARE(dpl->GetInformation(2), title);
    QCOMPARE(dpl->SetInformation(9, "x"), 0);
    QCOMPARE(dpl->LastErrorCode(), 202);

    const QString saved = sandboxFile("info-saved.pdf");
    QCOMPARE(dpl->SaveToFile(saved), 1);
    QVERIFY(qpdfCheck(saved));
    const QMap<QString, QString> info = pdfinfo(saved);
    QCOMPARE(info.value("Author"), author);
    QCOMPARE(info.value("Title"), title);
    QCOMPARE(info.value("Creator"), QString("Creator"));
    QCOMPARE(info.value("Producer"), QString("Producer"));
    QCOMPARE(dpl->RemoveDocument(dpl->SelectedDocument()), 1);
}

void TestPdfLibraryDocuments::fontsAndText()
{
    QCOMPARE(dpl->LoadFromFile(sandboxFile("fonts.pdf", formFontPdf()), QString()), 1);
    QCOMPARE(dpl->FindFonts(), 2);
    QCOMPARE(dpl->RemoveDocument(dpl->SelectedDocument()), 1);

    const QString text = sandboxFile("text3.pdf", textPdf(3, 0, "Chapter"));
    QCOMPARE(dpl->LoadFromFile(text, QString()), 1);
    QCOMPARE(dpl->FindFonts(), 1);
    QCOMPARE(dpl->SelectPage(2), 1);
    QCOMPARE(dpl->GetPageText(0).trimmed(), QString("Chapter 2"));
    QVERIFY(pdftotext(text).contains("Chapter 2"));
    QCOMPARE(dpl->RemoveDocument(dpl->SelectedDocument()), 1);

    // A new document has one blank page and no text.
    QVERIFY(dpl->NewDocument() > 0);
    QCOMPARE(dpl->PageCount(), 1);
    QCOMPARE(dpl->GetPageText(0).trimmed(), QString());
    QCOMPARE(dpl->RemoveDocument(dpl->SelectedDocument()), 1);
}

// The calls the binding makes around each call (result lengths, buffers) and the stubs, through
// the raw exports.
void TestPdfLibraryDocuments::infrastructureLeavesErrorAndResultsAlone()
{
    void* handle = dlopen(libraryPath().toUtf8().constData(), RTLD_NOW | RTLD_LOCAL);
    QVERIFY(handle);
#define BIND(name)                                                                  \
    auto name = reinterpret_cast<decltype(&DPL##name)>(dlsym(handle, "DPL" #name)); \
    QVERIFY(name)
    BIND(CreateLibrary);
    BIND(ReleaseLibrary);
    BIND(LoadFromFile);
    BIND(LastErrorCode);
    BIND(GetInformation);
    BIND(SetInformation);
    BIND(StringResultLength);
    BIND(AnsiStringResultLength);
    BIND(CreateBuffer);
    BIND(AddToBuffer);
    BIND(ReleaseBuffer);
    BIND(GetDocumentMetadata);
    BIND(PageCount);
#undef BIND

    const int id = CreateLibrary();
    QVERIFY(id > 0);
    const std::wstring path = sandboxFile("infra.pdf", textPdf(1)).toStdWString();
    QCOMPARE(LoadFromFile(id, path.c_str(), L""), 1);
    QCOMPARE(SetInformation(id, 2, L"Titled"), 1);
    const wchar_t* title = GetInformation(id, 2);
    QCOMPARE(StringResultLength(id), 6);
    QCOMPARE(LoadFromFile(id, L"/no/such/file.pdf", L""), 0);

    char* buffer = CreateBuffer(id, 4);
    QVERIFY(buffer);
    QCOMPARE(AddToBuffer(id, buffer, "a\0b", 3), 1);
    QCOMPARE(AnsiStringResultLength(id), 0);
    QCOMPARE(ReleaseBuffer(id, buffer), 1);
    QCOMPARE(ReleaseBuffer(id, buffer), 0);
    // None of that touched the error code or the latest wide result.
    QCOMPARE(LastErrorCode(id), 411);
    QCOMPARE(StringResultLength(id), 6);
    QCOMPARE(QString::fromWCharArray(title, 6), QString("Titled"));

    // A function the library does not implement fails, says so, and leaves no stale length.
    GetDocumentMetadata(id);
    QCOMPARE(LastErrorCode(id), int(NotImplemented));
    QCOMPARE(StringResultLength(id), 0);

    // Unknown instances give failure values; a released instance is gone.
    QCOMPARE(PageCount(id + 1000), 0);
    QCOMPARE(ReleaseLibrary(id), 1);
    QCOMPARE(ReleaseLibrary(id), 0);
    QCOMPARE(PageCount(id), 0);
    dlclose(handle);
}

QTEST_GUILESS_MAIN(TestPdfLibraryDocuments)
#include "test_pdflibrary_documents.moc"
