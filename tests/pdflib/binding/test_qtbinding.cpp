// The Qt binding class: its meta-object (read against the catalogue the build generated it
// from), its text conversions and the ownership of the plain binding.

#include "pdflib/binding/generated/DebenuPDFLibraryDLL1212.h"
#include "pdflib/binding/generated/DebenuPDFLibraryDLLQt1212.h"
#include "tests/pdflib/binding/RecordingControl.h"

#include <QtTest>

namespace {

struct CatalogueRow
{
    QString name;
    QByteArray result;
    QList<QByteArray> types;
    QList<QByteArray> names;
};

QByteArray qtType(const QString& kind)
{
    if (kind == "wide" || kind == "bytes")
        return "QString";
    if (kind == "hdc")
        return "HDC";
    if (kind == "pointer")
        return "void*";
    return kind.toLatin1();
}

// The forwarded functions of the catalogue, in its order.
QList<CatalogueRow> readCatalogue()
{
    QList<CatalogueRow> rows;
    QFile file(CATALOGUE_PATH);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return rows;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).section('#', 0, 0).trimmed();
        if (line.isEmpty() || line.contains("[infrastructure"))
            continue;
        const QStringList fields = line.split(' ', Qt::SkipEmptyParts);
        CatalogueRow row{fields[0], qtType(fields[1]), {}, {}};
        for (const QString& param : fields.mid(2)) {
            if (param == "-")
                continue;
            row.names << param.section(':', 0, 0).toLatin1();
            row.types << qtType(param.section(':', 1));
        }
        rows << row;
    }
    return rows;
}

QMetaMethod methodNamed(const QMetaObject& meta, const char* name)
{
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        if (meta.method(i).name() == name)
            return meta.method(i);
    }
    return QMetaMethod();
}

} // namespace

class TestQtBinding : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void metaObjectListsEveryLibraryMethodInBindingOrder();
    void tellingRowsKeepTheirParameterNames();
    void invokesByName();
    void textCrossesAsUtf8OrWideText();
    void borrowedBindingOutlivesTheWrapper();
    void missingLibraryOnlyShowsInLibraryLoaded();

private:
    RecordingControl fake{RECORDING_LIBRARY};
};

void TestQtBinding::init()
{
    QVERIFY(fake.isOpen());
    fake.reset();
}

void TestQtBinding::metaObjectListsEveryLibraryMethodInBindingOrder()
{
    const QMetaObject& meta = DebenuPDFLibraryDLLQt1212::staticMetaObject;
    QCOMPARE(meta.className(), "DebenuPDFLibraryDLLQt1212");
    QCOMPARE(meta.methodCount() - meta.methodOffset(), 880);
    QCOMPARE(meta.propertyCount(), meta.propertyOffset());
    QCOMPARE(meta.enumeratorCount(), meta.enumeratorOffset());
    QCOMPARE(meta.constructorCount(), 0);

    const QMetaMethod first = meta.method(meta.methodOffset());
    QCOMPARE(first.methodSignature(), QByteArray("LibraryLoaded()"));
    QCOMPARE(first.typeName(), "bool");

    const QList<CatalogueRow> rows = readCatalogue();
    QCOMPARE(rows.size(), 879);
    QCOMPARE(rows.first().name, QString("SetProgressCallback"));
    for (int i = 0; i < rows.size(); ++i) {
        const QMetaMethod method = meta.method(meta.methodOffset() + 1 + i);
        const CatalogueRow& row = rows[i];
        QCOMPARE(QString(method.name()), row.name);
        QCOMPARE(method.methodType(), QMetaMethod::Method);
        QCOMPARE(method.access(), QMetaMethod::Public);
        QCOMPARE(QByteArray(method.typeName()), row.result);
        QCOMPARE(method.parameterTypes(), row.types);
        QCOMPARE(method.parameterNames(), row.names);
    }
    QCOMPARE(meta.method(meta.methodCount() - 1).name(), QByteArray("UseUnsafeContentStreams"));
}

void TestQtBinding::tellingRowsKeepTheirParameterNames()
{
    const QMetaObject& meta = DebenuPDFLibraryDLLQt1212::staticMetaObject;
    struct Expected
    {
        const char* signature;
        const char* result;
        QList<QByteArray> names;
    };
    const QList<Expected> expected = {
        {"SetProgressCallback(void*,void*)", "int", {"ProgressProc", "UserData"}},
        {"GetCanvasDC(int,int)", "HDC", {"CanvasWidth", "CanvasHeight"}},
        {"RenderPageToDC(double,int,HDC)", "int", {"DPI", "Page", "DC"}},
        {"DARenderPageToDC(int,int,double,HDC)", "int", {"FileHandle", "PageRef", "DPI", "DC"}},
        {"LoadFromString(QString,QString)", "int", {"Source", "Password"}},
        {"SetSignProcessPFXFromString(int,QString,QString)", "int", {"SignProcessID", "Source", "PFXPassword"}},
        {"StoreCustomDataFromString(QString,QString,int,int)", "int", {"Key", "NewValue", "Location", "Options"}},
        {"RetrieveCustomDataToString(QString,int)", "QString", {"Key", "Location"}},
        {"RenderPageToFile(double,int,int,QString)", "int", {"DPI", "Page", "Options", "FileName"}},
        {"ExtractFilePages(QString,QString,QString,QString)", "int", {"InputFileName", "Password", "OutputFileName", "RangeList"}},
        {"FitImage(double,double,double,double,int,int,int)", "int", {"Left", "Top", "Width", "Height", "HAlign", "VAlign", "Rotate"}},
        {"AddPageMatrix(double,double,double,double)", "int", {"xscale", "yscale", "xoffset", "yoffset"}},
        {"SignFile(QString,QString,QString,QString,QString,QString,QString,QString,QString)", "int", {"InputFileName", "OpenPassword", "SignatureFieldName", "OutputFileName", "PFXFileName", "PFXPassword", "Reason", "Location", "ContactInfo"}},
    };
    for (const Expected& e : expected) {
        const int index = meta.indexOfMethod(e.signature);
        QVERIFY2(index >= 0, e.signature);
        QCOMPARE(meta.method(index).typeName(), e.result);
        QCOMPARE(meta.method(index).parameterNames(), e.names);
    }
    QCOMPARE(methodNamed(meta, "AddLinkToEmbeddedFile").parameterNames().last(), QByteArray("Transpareny"));
    QCOMPARE(methodNamed(meta, "AddLinkToFileEx").parameterCount(), 14);
    QCOMPARE(methodNamed(meta, "AddRelativeLinkToFileEx").parameterCount(), 14);
}

void TestQtBinding::invokesByName()
{
    DebenuPDFLibraryDLLQt1212 library(QString(RECORDING_LIBRARY));
    bool loaded = false;
    QVERIFY(QMetaObject::invokeMethod(&library, "LibraryLoaded", Qt::DirectConnection, Q_RETURN_ARG(bool, loaded)));
    QCOMPARE(loaded, library.LibraryLoaded());
    QVERIFY(loaded);

    // Without a place for the result the call is still made.
    fake.reset();
    fake.scriptWide("GetInformation", L"A title");
    QVERIFY(QMetaObject::invokeMethod(&library, "GetInformation", Qt::DirectConnection, Q_ARG(int, 2)));
    QString title;
    QVERIFY(QMetaObject::invokeMethod(&library, "GetInformation", Qt::DirectConnection, Q_RETURN_ARG(QString, title),
                                      Q_ARG(int, 2)));
    QCOMPARE(title, QString("A title"));
    QCOMPARE(fake.log(), (QStringList{"GetInformation(1, 2)", "StringResultLength(1)", "GetInformation(1, 2)",
                                      "StringResultLength(1)"}));
}

void TestQtBinding::textCrossesAsUtf8OrWideText()
{
    DebenuPDFLibraryDLLQt1212 library(QString(RECORDING_LIBRARY));
    fake.reset();
    const QString eAcute(QChar(0x00E9));

    // A byte parameter gets UTF-8, a wide one the character itself; a null text is an empty
    // string, never a null pointer.
    library.LoadFromString(eAcute, eAcute);
    library.SetInformation(2, QString());
    QCOMPARE(fake.log().mid(2, 1), QStringList{"LoadFromString(1, #1=\"\\xc3\\xa9\", L\"\\u00e9\")"});
    QCOMPARE(fake.log().last(), QString("SetInformation(1, 2, L\"\")"));

    // Byte results decode as UTF-8: NUL stays inside, invalid bytes become U+FFFD.
    fake.scriptBytes("SaveToString", std::string("\xc3\xa9\0z\xff", 5));
    const QString decoded = library.SaveToString();
    QCOMPARE(decoded, QString(eAcute + QChar(0) + "z" + QChar(0xFFFD)));

    // Wide results keep their full length; a character beyond the BMP becomes a surrogate pair.
    fake.scriptWide("GetPageText", std::wstring(L"a\0\U0001F600", 3));
    const QString text = library.GetPageText(0);
    QCOMPARE(text.size(), 4);
    QCOMPARE(text, QString("a") + QChar(0) + QString::fromUcs4(U"\U0001F600"));
    library.SetPageSize(QString::fromUcs4(U"A4\U0001F600"));
    QCOMPARE(fake.log().last(), QString("SetPageSize(1, L\"A4\\U0001f600\")"));
}

void TestQtBinding::borrowedBindingOutlivesTheWrapper()
{
    DebenuPDFLibraryDLL1212 plain(QString(RECORDING_LIBRARY).toStdWString());
    {
        DebenuPDFLibraryDLLQt1212 wrapper(&plain);
        QVERIFY(wrapper.LibraryLoaded());
        fake.scriptInt("PageCount", 3);
        QCOMPARE(wrapper.PageCount(), 3);
    }
    QCOMPARE(plain.PageCount(), 3);
    QCOMPARE(fake.log(), (QStringList{"CreateLibrary()", "PageCount(1)", "PageCount(1)"}));
}

void TestQtBinding::missingLibraryOnlyShowsInLibraryLoaded()
{
    DebenuPDFLibraryDLLQt1212 library(QDir::temp().filePath("absent/DebenuPDFLibraryDLL1212.dll"));
    QVERIFY(!library.LibraryLoaded());
    QCOMPARE(library.LoadFromFile("a.pdf", ""), 0);
    QCOMPARE(library.GetInformation(2), QString());
    QCOMPARE(library.SaveToString(), QString());
    QCOMPARE(library.GetPageBox(2, 2), 0.0);
}

QTEST_GUILESS_MAIN(TestQtBinding)
#include "test_qtbinding.moc"
