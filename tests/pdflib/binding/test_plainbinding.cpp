// The plain binding against the recording fake library: what reaches the library, in which
// order, and what comes back.

#include "pdflib/binding/generated/DebenuPDFLibraryDLL1212.h"
#include "tests/pdflib/binding/RecordingControl.h"

#include <QtTest>

#include <memory>

namespace QTest {
template <> char* toString(const std::string& bytes)
{
    return toString(QByteArray::fromStdString(bytes).toHex(' '));
}
template <> char* toString(const std::wstring& text)
{
    return toString(QString::fromStdWString(text));
}
} // namespace QTest

namespace {

std::wstring widePath(const char* path)
{
    return QString::fromUtf8(path).toStdWString();
}

} // namespace

class TestPlainBinding : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void loadsBindsAndReleasesOneInstance();
    void byteStringArgumentGoesThroughOneBuffer();
    void twoByteStringArgumentsReleaseInArgumentOrder();
    void byteStringResultIsReadAfterTheBuffersAreReleased();
    void wideStringResultLengthIsReadStraightAfterTheCall();
    void emptyByteStringsStillGetABuffer();
    void numbersHandlesAndPointersPassUnchanged();
    void missingLibraryBindsNothingAndFailsEveryCall();
    void missingExportLeavesTheRestWorking();

private:
    RecordingControl fake{RECORDING_LIBRARY};
};

void TestPlainBinding::init()
{
    QVERIFY(fake.isOpen());
    fake.reset();
}

void TestPlainBinding::loadsBindsAndReleasesOneInstance()
{
    {
        DebenuPDFLibraryDLL1212 library(widePath(RECORDING_LIBRARY));
        QVERIFY(library.LibraryLoaded());
        QCOMPARE(fake.log(), QStringList{"CreateLibrary()"});
        fake.scriptInt("PageCount", 12);
        QCOMPARE(library.PageCount(), 12);
    }
    QCOMPARE(fake.log(), (QStringList{"CreateLibrary()", "PageCount(1)", "ReleaseLibrary(1)"}));
}

void TestPlainBinding::byteStringArgumentGoesThroughOneBuffer()
{
    DebenuPDFLibraryDLL1212 library(widePath(RECORDING_LIBRARY));
    fake.reset();
    fake.scriptInt("LoadFromString", 7);

    const std::string source("%PDF\0x", 6);
    QCOMPARE(library.LoadFromString(source, L"pw"), 7);
    QCOMPARE(fake.log(), (QStringList{
                             "CreateBuffer(1, 6)",
                             "AddToBuffer(1, #1, \"%PDF\\x00x\", 6)",
                             "LoadFromString(1, #1=\"%PDF\\x00x\", L\"pw\")",
                             "ReleaseBuffer(1, #1)",
                         }));
}

void TestPlainBinding::twoByteStringArgumentsReleaseInArgumentOrder()
{
    DebenuPDFLibraryDLL1212 library(widePath(RECORDING_LIBRARY));
    fake.reset();
    fake.scriptInt("StoreCustomDataFromString", 1);

    QCOMPARE(library.StoreCustomDataFromString("key", "value", 3, 4), 1);
    QCOMPARE(fake.log(), (QStringList{
                             "CreateBuffer(1, 3)",
                             "AddToBuffer(1, #1, \"key\", 3)",
                             "CreateBuffer(1, 5)",
                             "AddToBuffer(1, #2, \"value\", 5)",
                             "StoreCustomDataFromString(1, #1=\"key\", #2=\"value\", 3, 4)",
                             "ReleaseBuffer(1, #1)",
                             "ReleaseBuffer(1, #2)",
                         }));
}

void TestPlainBinding::byteStringResultIsReadAfterTheBuffersAreReleased()
{
    DebenuPDFLibraryDLL1212 library(widePath(RECORDING_LIBRARY));
    fake.reset();
    const std::string stored("a\0b\xff", 4);
    fake.scriptBytes("RetrieveCustomDataToString", stored);

    QCOMPARE(library.RetrieveCustomDataToString("key", 2), stored);
    QCOMPARE(fake.log(), (QStringList{
                             "CreateBuffer(1, 3)",
                             "AddToBuffer(1, #1, \"key\", 3)",
                             "RetrieveCustomDataToString(1, #1=\"key\", 2)",
                             "ReleaseBuffer(1, #1)",
                             "AnsiStringResultLength(1)",
                         }));

    fake.reset();
    const std::string saved("%PDF-1.7\n\0\0", 11);
    fake.scriptBytes("SaveToString", saved);
    QCOMPARE(library.SaveToString(), saved);
    QCOMPARE(fake.log(), (QStringList{"SaveToString(1)", "AnsiStringResultLength(1)"}));
}

void TestPlainBinding::wideStringResultLengthIsReadStraightAfterTheCall()
{
    DebenuPDFLibraryDLL1212 library(widePath(RECORDING_LIBRARY));
    fake.reset();
    // The length the library reports counts, not a terminating NUL; UTF-32 keeps a character
    // outside the Basic Multilingual Plane as one unit.
    const std::wstring text(L"a\0b\U0001F600", 4);
    fake.scriptWide("GetPageText", text);

    QCOMPARE(library.GetPageText(0), text);
    QCOMPARE(fake.log(), (QStringList{"GetPageText(1, 0)", "StringResultLength(1)"}));

    fake.reset();
    fake.scriptWide("GetInformation", L"Title");
    QCOMPARE(library.GetInformation(2), std::wstring(L"Title"));
    QCOMPARE(fake.log(), (QStringList{"GetInformation(1, 2)", "StringResultLength(1)"}));
}

void TestPlainBinding::emptyByteStringsStillGetABuffer()
{
    DebenuPDFLibraryDLL1212 library(widePath(RECORDING_LIBRARY));
    fake.reset();

    QCOMPARE(library.LoadFromString(std::string(), std::wstring()), 0);
    QCOMPARE(fake.log(), (QStringList{
                             "CreateBuffer(1, 0)",
                             "AddToBuffer(1, #1, \"\", 0)",
                             "LoadFromString(1, #1=\"\", L\"\")",
                             "ReleaseBuffer(1, #1)",
                         }));
    // Empty results of both string kinds.
    QCOMPARE(library.SaveToString(), std::string());
    QCOMPARE(library.LibraryVersion(), std::wstring());
}

void TestPlainBinding::numbersHandlesAndPointersPassUnchanged()
{
    DebenuPDFLibraryDLL1212 library(widePath(RECORDING_LIBRARY));
    fake.reset();
    QpCanvas canvas{};
    fake.scriptDouble("GetPageBox", 595.5);
    fake.scriptPointer("GetCanvasDC", &canvas);
    fake.scriptInt("RenderPageToDC", 1);

    QCOMPARE(library.GetPageBox(2, 3), 595.5);
    QCOMPARE(library.GetCanvasDC(100, 200), &canvas);
    QCOMPARE(library.RenderPageToDC(72.5, 3, nullptr), 1);
    QCOMPARE(library.SetProgressCallback(nullptr, nullptr), 0);
    QCOMPARE(library.RenderPageToFile(150, 2, 1, L"/tmp/page 2.jpg"), 0);
    QCOMPARE(fake.log(), (QStringList{
                             "GetPageBox(1, 2, 3)",
                             "GetCanvasDC(1, 100, 200)",
                             "RenderPageToDC(1, 72.5, 3, null)",
                             "SetProgressCallback(1, null, null)",
                             "RenderPageToFile(1, 150, 2, 1, L\"/tmp/page 2.jpg\")",
                         }));
}

void TestPlainBinding::missingLibraryBindsNothingAndFailsEveryCall()
{
    const QString missing = QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation))
                                .filePath("no such folder/DebenuPDFLibraryDLL1212.dll");
    auto library = std::make_unique<DebenuPDFLibraryDLL1212>(missing.toStdWString());
    QVERIFY(!library->LibraryLoaded());
    // Every kind of result gives its failure value without touching any library.
    QCOMPARE(library->PageCount(), 0);
    QCOMPARE(library->PageWidth(), 0.0);
    QCOMPARE(library->GetCanvasDC(10, 10), HDC(nullptr));
    QCOMPARE(library->GetPageText(0), std::wstring());
    QCOMPARE(library->SaveToString(), std::string());
    QCOMPARE(library->LoadFromString("bytes", L"pw"), 0);
    QCOMPARE(library->RetrieveCustomDataToString("key", 1), std::string());
    library.reset();
    QCOMPARE(fake.log(), QStringList());
}

void TestPlainBinding::missingExportLeavesTheRestWorking()
{
    RecordingControl missingOne(RECORDING_LIBRARY_MISSING_ONE);
    QVERIFY(missingOne.isOpen());
    missingOne.reset();
    {
        DebenuPDFLibraryDLL1212 library(widePath(RECORDING_LIBRARY_MISSING_ONE));
        QVERIFY(!library.LibraryLoaded());
        QCOMPARE(missingOne.log(), QStringList{"CreateLibrary()"});

        // The unbound function makes no call; every other one works.
        QCOMPARE(library.UseUnsafeContentStreams(1), 0);
        missingOne.scriptInt("UseKerning", 1);
        QCOMPARE(library.UseKerning(1), 1);
        missingOne.scriptWide("GetPageText", L"text");
        QCOMPARE(library.GetPageText(3), std::wstring(L"text"));
    }
    QCOMPARE(missingOne.log(), (QStringList{
                                   "CreateLibrary()",
                                   "UseKerning(1, 1)",
                                   "GetPageText(1, 3)",
                                   "StringResultLength(1)",
                                   "ReleaseLibrary(1)",
                               }));
}

QTEST_GUILESS_MAIN(TestPlainBinding)
#include "test_plainbinding.moc"
