#include "app/core/FileSystem.h"
#include "app/core/ToolPaths.h"
#include "pdflib/service/DebenuService.h"
#include "tests/support/TestFiles.h"
#include "tests/topdf/support/PdfChecks.h"
#include "tests/topdf/workers/RunWorker.h"

#include <QImage>
#include <QtTest>

namespace {

const char* const kDocument =
    "<html><body><h1>Harbour Report</h1><p>Seven zebras and eleven owls crossed the river.</p>"
    "<table border=\"1\"><tr><td>Lantern</td><td>42</td></tr><tr><td>Keeper</td><td>17</td></tr></table>"
    "</body></html>";

QString folder(const QString& name)
{
    const QString path = TestFiles::sandbox() + QLatin1Char('/') + name;
    QDir().mkpath(path);
    return path;
}

} // namespace

class ToPdfOfficeWorkersTest : public QObject
{
    Q_OBJECT

    QSharedPointer<DebenuService> m_service;

    QString convert(const QString& path, const FileSettingsData& settings, const QString& outputFolder)
    {
        ToPDFTask task;
        task.file = QFileInfo(path);
        task.fileSettings = settings;
        return runWorker(task, {m_service, {}}, outputFolder);
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Zembrook PDF Converter"));
        m_service = QSharedPointer<DebenuService>::create();
    }

    // DOCX, ODT and XLSX written by LibreOffice, converted back through the office worker with a
    // title, a publisher and a password.
    void officeDocumentsBecomePdf()
    {
        const QString in = folder(QStringLiteral("office/in"));
        const QString out = folder(QStringLiteral("office/out"));
        TestFiles::writeFile(in + "/report.html", kDocument);
        TestFiles::writeFile(in + "/sheet.csv", "Item,Count\nLantern,42\nKeeper,17\n");
        PdfChecks::makeWithLibreOffice({in + "/report.html"}, QStringLiteral("docx:MS Word 2007 XML"), in);
        PdfChecks::makeWithLibreOffice({in + "/report.html"}, QStringLiteral("odt:writer8"), in);
        PdfChecks::makeWithLibreOffice({in + "/sheet.csv"}, QStringLiteral("xlsx:Calc MS Excel 2007 XML"), in);

        const FileSettingsData settings{QStringLiteral("report"), QStringLiteral("Harbour"), QStringLiteral("Quill House"),
                                        QStringLiteral("secret")};
        const QString docx = convert(in + "/report.docx", settings, out);
        QCOMPARE(docx, QDir::toNativeSeparators(out + "/report.pdf"));
        QCOMPARE(PdfChecks::pageCount(docx), -1); // locked without the password
        const QMap<QString, QString> info = PdfChecks::info(docx, QStringLiteral("secret"));
        QCOMPARE(info.value("Title"), QStringLiteral("Harbour"));
        QCOMPARE(info.value("Author"), QStringLiteral("Quill House"));
        QCOMPARE(info.value("Creator"), QStringLiteral("Zembrook PDF Converter"));

        // The same name again gets a counter in front.
        const QString odt = convert(in + "/report.odt", {QStringLiteral("report"), {}, {}, {}}, out);
        QCOMPARE(odt, QDir::toNativeSeparators(out + "/(1)report.pdf"));
        QVERIFY(PdfChecks::text(odt).contains(QStringLiteral("Seven zebras and eleven owls crossed the river")));
        QVERIFY(PdfChecks::text(odt).contains(QStringLiteral("Lantern 42")));
        const QString xlsx = convert(in + "/sheet.xlsx", {QStringLiteral("sheet"), {}, {}, {}}, out);
        QVERIFY(PdfChecks::text(xlsx).contains(QStringLiteral("Keeper 17")));
        // The intermediate PDFs are gone.
        QCOMPARE(TestFiles::entries(FileSystem::cachePath()).filter(QStringLiteral(".pdf")), QStringList());
    }

    // A web page with a local picture through the program folder's HTML-to-PDF tool; an existing
    // PDF of the same name is kept.
    void webPageBecomesPdf()
    {
        const QString in = folder(QStringLiteral("web/in"));
        const QString out = folder(QStringLiteral("web/out"));
        QImage picture(120, 80, QImage::Format_RGB32);
        picture.fill(QColor(200, 30, 30));
        picture.save(in + "/picture.png");
        TestFiles::writeFile(in + "/page.html",
                             "<html><body><h2>Lighthouse Notes</h2><p>The keeper lit the lamp at dusk.</p>"
                             "<img src=\"picture.png\"></body></html>");
        TestFiles::writeFile(out + "/page.pdf", "the user's own file");

        const QString pdf = convert(in + "/page.html", {QStringLiteral("page"), QStringLiteral("Notes"), {}, {}}, out);
        QCOMPARE(pdf, QDir::toNativeSeparators(out + "/(1)page.pdf"));
        QCOMPARE(TestFiles::readFile(out + "/page.pdf"), QByteArray("the user's own file"));
        QVERIFY(PdfChecks::text(pdf).contains(QStringLiteral("The keeper lit the lamp at dusk.")));
        QCOMPARE(PdfChecks::info(pdf).value("Title"), QStringLiteral("Notes"));
        QByteArray images;
        TestFiles::run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}, &images);
        QVERIFY2(images.count('\n') >= 3, images.constData()); // two heading lines, then the picture
        QCOMPARE(TestFiles::entries(FileSystem::cachePath()).filter(QStringLiteral(".pdf")), QStringList());
    }
};

QTEST_GUILESS_MAIN(ToPdfOfficeWorkersTest)
#include "test_topdfofficeworkers.moc"
