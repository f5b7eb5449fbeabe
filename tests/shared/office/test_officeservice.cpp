#include "app/core/FileSystem.h"
#include "app/core/ToolPaths.h"
#include "shared/office/OfficeService.h"
#include "tests/support/TestFiles.h"
#include "tests/topdf/support/PdfChecks.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <QtTest>

namespace {

const char* const kHtml =
    "<html><body><b>Quarterly Heading</b><p>Seven zebras &amp; eleven owls crossed the river.</p>"
    "<br><p>Another paragraph about lanterns.</p></body></html>";

// Text of office files through LibreOffice itself, all in one run: name -> text.
QMap<QString, QString> textsOf(const QStringList& files, const QString& folder)
{
    QDir().mkpath(folder);
    QStringList arguments = {QStringLiteral("--headless"),
                             QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(folder + "/profile").toString(QUrl::FullyEncoded),
                             QStringLiteral("--convert-to"), QStringLiteral("txt:Text (encoded):UTF8"),
                             QStringLiteral("--outdir"), folder};
    arguments += files;
    TestFiles::run(ToolPaths::path(ToolPaths::Soffice), arguments, nullptr, nullptr, 300000);
    QMap<QString, QString> texts;
    for (const QString& file : files) {
        const QString txt = folder + QLatin1Char('/') + QFileInfo(file).completeBaseName() + QStringLiteral(".txt");
        texts.insert(QFileInfo(file).fileName(), QString::fromUtf8(TestFiles::readFile(txt)));
    }
    return texts;
}

QString writeFakeSoffice(const QString& folder, const QString& body)
{
    return PdfChecks::writeScript(folder + QStringLiteral("/soffice"), body);
}

// A conversion by a fake LibreOffice in folder that runs body: the page to convert and a
// destination (destinationName) that holds an earlier result.
struct FakeRun
{
    QString html;
    QString destination;
};

FakeRun prepareFakeRun(const QString& folder, const QString& body, const QString& destinationName)
{
    qputenv(ToolPaths::environmentVariable(ToolPaths::Soffice), writeFakeSoffice(folder, body).toUtf8());
    const FakeRun run{folder + QStringLiteral("/page.html"), folder + QLatin1Char('/') + destinationName};
    TestFiles::writeFile(run.html, kHtml);
    TestFiles::writeFile(run.destination, "earlier result");
    return run;
}

} // namespace

class OfficeServiceTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Zembrook"));
        QCoreApplication::setApplicationName(QStringLiteral("Zembrook PDF Converter"));
        m_root = TestFiles::sandbox() + QStringLiteral("/office");
        QDir().mkpath(m_root);
    }

    void cleanup()
    {
        qunsetenv(ToolPaths::environmentVariable(ToolPaths::Soffice));
    }

    void filtersFollowTheSuffixes()
    {
        QCOMPARE(OfficeService::convertFilter("a.html", "/o/x.DOCX"), QStringLiteral("docx:MS Word 2007 XML:UTF8"));
        QCOMPARE(OfficeService::convertFilter("a.html", "/o/x.txt"), QStringLiteral("doc:MS Word 97:UTF8"));
        QCOMPARE(OfficeService::convertFilter("/in/sheet.xlsx", "/o/x.pdf"), QStringLiteral("pdf:calc_pdf_Export"));
        QCOMPARE(OfficeService::convertFilter("/in/SHEET.XLSX", "/o/x.pdf"), QStringLiteral("pdf:writer_pdf_Export"));
    }

    // One HTML page to each office format, then the DOCX to PDF; LibreOffice and pdftotext read
    // the results back independently.
    void convertsHtmlToOfficeFormatsAndDocxToPdf()
    {
        const QString html = m_root + QStringLiteral("/in/page.html");
        QVERIFY(TestFiles::writeFile(html, kHtml));
        const QString out = m_root + QStringLiteral("/out");
        QDir().mkpath(out);
        const QStringList suffixes = {"doc", "docx", "rtf", "odt"};
        QStringList written;
        for (const QString& suffix : suffixes) {
            const QString destination = out + QStringLiteral("/result_%1.%1").arg(suffix);
            QVERIFY2(OfficeService::instance().saveDocAs(html, destination), qPrintable(suffix));
            written << destination;
        }
        QVERIFY(TestFiles::readFile(written[0]).startsWith("\xD0\xCF\x11\xE0")); // OLE compound file
        QVERIFY(TestFiles::readFile(written[1]).startsWith("PK"));
        QVERIFY(TestFiles::readFile(written[2]).startsWith("{\\rtf"));
        QVERIFY(TestFiles::readFile(written[3]).contains("application/vnd.oasis.opendocument.text"));
        const QMap<QString, QString> texts = textsOf(written, m_root + QStringLiteral("/check"));
        for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
            QVERIFY2(it.value().contains(QStringLiteral("Seven zebras & eleven owls")), qPrintable(it.key()));
            QVERIFY2(it.value().contains(QStringLiteral("Quarterly Heading")), qPrintable(it.key()));
        }

        const QString pdf = out + QStringLiteral("/from docx.pdf");
        QVERIFY(OfficeService::instance().saveDocAs(written[1], pdf));
        QByteArray text;
        QCOMPARE(TestFiles::run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}, &text), 0);
        QVERIFY(QString::fromUtf8(text).contains(QStringLiteral("another paragraph about lanterns"), Qt::CaseInsensitive));

        // Nothing is left in the work folders: neither the profile nor the output folder.
        QVERIFY(!TestFiles::entries(FileSystem::cachePath()).join(',').contains(QStringLiteral("office-profile")));
    }

    // Two worker threads at once: both conversions arrive, each at its own destination.
    void workerThreadsConvertInTurn()
    {
        const QString html = m_root + QStringLiteral("/threads/page.html");
        QVERIFY(TestFiles::writeFile(html, kHtml));
        const QString a = m_root + QStringLiteral("/threads/a.odt");
        const QString b = m_root + QStringLiteral("/threads/b.rtf");
        bool okA = false;
        bool okB = false;
        QThread* first = QThread::create([&] { okA = OfficeService::instance().saveDocAs(html, a); });
        QThread* second = QThread::create([&] { okB = OfficeService::instance().saveDocAs(html, b); });
        first->start();
        second->start();
        QVERIFY(first->wait(300000) && second->wait(300000));
        delete first;
        delete second;
        QVERIFY(okA && okB);
        QVERIFY(QFileInfo(a).size() > 0 && QFileInfo(b).size() > 0);
    }

    // A LibreOffice that writes nothing: false, and an existing destination keeps its content.
    void failedConversionKeepsTheDestination()
    {
        const FakeRun run = prepareFakeRun(m_root + QStringLiteral("/fake"), QStringLiteral("exit 0"), "keep.docx");
        QVERIFY(!OfficeService::instance().saveDocAs(run.html, run.destination));
        QCOMPARE(TestFiles::readFile(run.destination), QByteArray("earlier result"));
    }

    // A failure tells why, with what LibreOffice printed, to the thread that asked only; a
    // success clears it.
    void failureTellsWhy()
    {
        OfficeService& office = OfficeService::instance();
        const FakeRun run = prepareFakeRun(m_root + QStringLiteral("/why"),
                                           QStringLiteral("echo 'Error: source file could not be loaded'; exit 0"), "why.docx");
        QVERIFY(!office.saveDocAs(run.html, run.destination));
        QCOMPARE(office.errorMessage(),
                 QStringLiteral("LibreOffice wrote no page.docx (exit code 0; it printed \"Error: source file could not be loaded\")"));
        QCOMPARE(office.errorCode(), 0);

        const FakeRun refused = prepareFakeRun(m_root + QStringLiteral("/refused"), QStringLiteral("exit 81"), "keep.odt");
        QVERIFY(!office.saveDocAs(refused.html, refused.destination));
        QCOMPARE(office.errorMessage(), QStringLiteral("LibreOffice failed (exit code 81)"));
        QCOMPARE(office.errorCode(), 81);

        // Another thread's failure is its own.
        qputenv(ToolPaths::environmentVariable(ToolPaths::Soffice), QByteArray("/nonexistent/soffice"));
        bool otherSaved = true;
        QString otherMessage;
        int otherCode = 0;
        QThread* other = QThread::create([&] {
            otherSaved = office.saveDocAs(run.html, run.destination);
            otherMessage = office.errorMessage();
            otherCode = office.errorCode();
        });
        other->start();
        QVERIFY(other->wait(60000));
        delete other;
        QVERIFY(!otherSaved);
        QCOMPARE(otherMessage, QStringLiteral("LibreOffice could not be started: /nonexistent/soffice"));
        QCOMPARE(otherCode, -1);
        QCOMPARE(office.errorCode(), 81);

        const QString folder = m_root + QStringLiteral("/cleared");
        qputenv(ToolPaths::environmentVariable(ToolPaths::Soffice),
                writeFakeSoffice(folder, QStringLiteral("eval out=\\${$#}\necho converted > \"$out/page.docx\"")).toUtf8());
        QVERIFY(office.saveDocAs(run.html, run.destination));
        QVERIFY(office.errorMessage().isEmpty());
        QCOMPARE(office.errorCode(), 0);
    }

    // A LibreOffice that never ends: a stop ends it within a second, and nothing is replaced.
    void stopEndsAHangingConversion()
    {
        const FakeRun run = prepareFakeRun(m_root + QStringLiteral("/hang"), QStringLiteral("sleep 120"), "keep.pdf");
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!OfficeService::instance().saveDocAs(run.html, run.destination, [&] { return clock.elapsed() > 300; }));
        QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(TestFiles::readFile(run.destination), QByteArray("earlier result"));
    }

    // The profile argument names a private folder inside the user's cache folder.
    void profileIsPrivateAndThrownAway()
    {
        const QString folder = m_root + QStringLiteral("/args");
        const QString fake = writeFakeSoffice(
            folder, QStringLiteral("for a in \"$@\"; do echo \"$a\"; done > '%1/args.txt'\n"
                                   "p=$(echo \"$2\" | sed 's|^-env:UserInstallation=file://||; s|%20| |g')\n"
                                   "stat -c %a \"$p\" > '%1/mode.txt'\n"
                                   "eval out=\\${$#}\n"
                                   "echo converted > \"$out/page.docx\"")
                        .arg(folder));
        qputenv(ToolPaths::environmentVariable(ToolPaths::Soffice), fake.toUtf8());
        const QString html = folder + QStringLiteral("/page.html");
        TestFiles::writeFile(html, kHtml);
        const QString destination = folder + QStringLiteral("/x.docx");
        TestFiles::writeFile(destination, "old");
        QVERIFY(OfficeService::instance().saveDocAs(html, destination));
        QCOMPARE(TestFiles::readFile(destination), QByteArray("converted\n"));

        const QStringList args = QString::fromUtf8(TestFiles::readFile(folder + "/args.txt")).split('\n');
        QCOMPARE(args.value(0), QStringLiteral("--headless"));
        const QString profileUrl = args.value(1).mid(QStringLiteral("-env:UserInstallation=").size());
        const QString profile = QUrl(profileUrl).toLocalFile();
        QVERIFY2(profile.startsWith(FileSystem::cachePath() + QLatin1Char('/')), qPrintable(profileUrl));
        QCOMPARE(TestFiles::readFile(folder + "/mode.txt").trimmed(), QByteArray("700"));
        QVERIFY(!QFileInfo::exists(profile));
        QCOMPARE(args.mid(2, 3), QStringList({"--convert-to", "docx:MS Word 2007 XML:UTF8", html}));
        QCOMPARE(args.value(5), QStringLiteral("--outdir"));
        QVERIFY(!QFileInfo::exists(args.value(6)));
    }

private:
    QString m_root;
};

QTEST_GUILESS_MAIN(OfficeServiceTest)
#include "test_officeservice.moc"
