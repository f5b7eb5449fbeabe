#include "app/Application.h"
#include "app/ExitMarker.h"
#include "app/core/ProgramVersion.h"
#include "frompdf/check/CheckController.h"
#include "frompdf/checkview/CheckView.h"
#include "platform/registry/RegistryStore.h"
#include "platform/shell/DesktopOpener.h"
#include "services/metrics/MetricSender.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/TestFiles.h"

#include <QCheckBox>
#include <QDir>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

namespace {

class RecordingOpener : public DesktopOpener
{
public:
    QStringList calls;
    bool succeed = true;
    bool openUrl(const QUrl& url) override
    {
        calls << QStringLiteral("open ") + url.toString();
        return succeed;
    }
    bool showInFolder(const QString& path) override
    {
        calls << QStringLiteral("show ") + path;
        return succeed;
    }
};

QString tessdataFolder()
{
    return TestFiles::sandbox() + QStringLiteral("/tessdata");
}

} // namespace

class ApplicationTest : public QObject
{
    Q_OBJECT

private:
    LocalHttpServer m_server;

    // Query strings of the metric requests received so far.
    QStringList metricQueries() const
    {
        QStringList queries;
        for (const QString& target : m_server.targets())
            queries << QUrl::fromPercentEncoding(target.toUtf8());
        return queries;
    }

    bool waitForMetric(const QString& fragment)
    {
        for (int i = 0; i < 500; ++i) {
            for (const QString& query : metricQueries()) {
                if (query.contains(fragment))
                    return true;
            }
            QTest::qWait(10);
        }
        qWarning() << "metrics received:" << metricQueries();
        return false;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_server.listen());
        MetricSender::setEndpoint(m_server.url());
        QVERIFY(MetricSender::isEnabled());
    }

    void identityAndStoredValues()
    {
        Application* app = Application::instance();
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Zembrook PDF Converter"));
        QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Zembrook"));
        QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral(QUILLPRESS_VERSION));
        QCOMPARE(app->productId(), QStringLiteral("2"));
        QCOMPARE(app->productName(), QStringLiteral("Zembrook PDF Converter"));
        QCOMPARE(app->defaultPublisher(), QStringLiteral("Zembrook PDF Converter"));
        QVERIFY(app->debenuService());
        QVERIFY(app->userContext());
        QCOMPARE(app->checkController()->parent(), app);
        QVERIFY(QMetaType::type("FromPDFTask") != QMetaType::UnknownType);
        QVERIFY(QMetaType::type("FromPDFTaskList") != QMetaType::UnknownType);
        QVERIFY(QMetaType::type("PageRangeList") != QMetaType::UnknownType);

        const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        QCOMPARE(app->configFilePath(QStringLiteral("settings.ini")), config + QStringLiteral("/settings.ini"));
        const auto first = app->settings();
        const auto second = app->settings();
        QVERIFY(first != second);
        QCOMPARE(first->fileName(), second->fileName());
        QCOMPARE(first->format(), QSettings::IniFormat);

        RegistryStore product(QLatin1String(RegistryKeys::product()));
        product.remove(QStringLiteral("DisplayVersion"));
        product.remove(QStringLiteral("CurrentVersion"));
        QCOMPARE(app->displayVersion(), QStringLiteral(QUILLPRESS_VERSION));
        QCOMPARE(app->currentVersion(), QStringLiteral(QUILLPRESS_VERSION));
        product.setValue(QStringLiteral("DisplayVersion"), QStringLiteral("2.2.7"));
        QCOMPARE(app->currentVersion(), QStringLiteral("2.2.7"));
        product.setValue(QStringLiteral("CurrentVersion"), QStringLiteral("2.2.5"));
        QCOMPARE(app->currentVersion(), QStringLiteral("2.2.5"));
        product.remove(QStringLiteral("DisplayVersion"));
        product.remove(QStringLiteral("CurrentVersion"));
    }

    void ocrLanguagesComeFromTheProgramsTessdata()
    {
        Application* app = Application::instance();
        QCOMPARE(app->ocrLanguages(), QStringList({"CHI_SIM", "DE", "DEU-FRAK", "EN", "OSD"}));
        QCOMPARE(app->tesseractLanguage(QStringLiteral("DE")), QStringLiteral("deu"));
        QCOMPARE(app->tesseractLanguage(QStringLiteral("OSD")), QStringLiteral("osd"));
        QVERIFY(!app->canBuildParagraphs(QStringLiteral("CHI_SIM")));

        app->settings()->setValue(QStringLiteral("Language"), QStringLiteral("de"));
        QCOMPARE(app->defaultOcrLanguage(), QStringLiteral("DE"));
        app->settings()->setValue(QStringLiteral("Language"), QStringLiteral("fr"));
        QCOMPARE(app->defaultOcrLanguage(), QStringLiteral("EN"));
        app->settings()->remove(QStringLiteral("Language"));
    }

    void languageSwitchRetranslatesOpenWidgets()
    {
        Application* app = Application::instance();
        CheckView view(nullptr);
        auto* box = view.findChild<QCheckBox*>(QStringLiteral("checkBoxOcr"));

        app->settings()->setValue(QStringLiteral("Language"), QStringLiteral("de"));
        app->loadTranslator();
        QCoreApplication::processEvents();
        QCOMPARE(box->text(), QStringLiteral("Für alle übernehmen"));

        // No translation file: the built-in texts come back and "err11" names the code.
        app->setLanguage(QStringLiteral("xx"));
        QCoreApplication::processEvents();
        QCOMPARE(box->text(), QStringLiteral("Apply for all"));
        QVERIFY(waitForMetric(QStringLiteral("&m1=err11:xx")));

        // A code that is not a language code names no file, even one that exists elsewhere.
        app->setLanguage(QStringLiteral("../translations/quillpress_de"));
        QCoreApplication::processEvents();
        QCOMPARE(box->text(), QStringLiteral("Apply for all"));

        app->setLanguage(QStringLiteral("de"));
        QCoreApplication::processEvents();
        QCOMPARE(box->text(), QStringLiteral("Für alle übernehmen"));
        app->setLanguage(QStringLiteral("en"));
        QCoreApplication::processEvents();
        QCOMPARE(box->text(), QStringLiteral("Apply for all"));
        app->settings()->remove(QStringLiteral("Language"));
    }

    void openHelpersGoThroughTheDesktopOpener()
    {
        Application* app = Application::instance();
        RecordingOpener opener;
        DesktopOpener::setInstance(&opener);
        const QString folder = TestFiles::sandbox() + QStringLiteral("/out");
        const QString file = folder + QStringLiteral("/result.docx");
        QVERIFY(TestFiles::writeFile(file, "x"));

        QVERIFY(!app->openLinkInExplorer(QString()));
        QVERIFY(!app->openLinkInExplorer(folder + QStringLiteral("/missing.docx")));
        QVERIFY(opener.calls.isEmpty());
        QVERIFY(app->openLinkInExplorer(folder));
        QVERIFY(app->openLinkInExplorer(file));
        QVERIFY(app->openLink(QStringLiteral("https://example.org/help")));
        QCOMPARE(opener.calls, QStringList({QStringLiteral("open ") + QUrl::fromLocalFile(folder).toString(),
                                            QStringLiteral("show ") + file, "open https://example.org/help"}));

        opener.succeed = false;
        QVERIFY(!app->openLinkInExplorer(file));
        QVERIFY(waitForMetric(QStringLiteral("&m1=err0:0")));
        QVERIFY(!app->openLocalFile(file));
        QVERIFY(waitForMetric(QStringLiteral("&m1=err0:1")));
        DesktopOpener::setInstance(nullptr);
    }

    void startRecordsTheRunAndSendsItsBatch()
    {
        Application* app = Application::instance();
        const QString language = QLocale::system().name().left(2);
        QCOMPARE(readUnexpectedExitFlag(), -1);
        QVERIFY(!app->settings()->contains(QStringLiteral("first_run")));

        app->start();
        QCOMPARE(readUnexpectedExitFlag(), 1);
        QCOMPARE(app->settings()->value(QStringLiteral("first_run")), QVariant(QStringLiteral("false")));
        QVERIFY(waitForMetric(QStringLiteral("&m1=osv:")));
        QString firstRun;
        for (const QString& query : metricQueries()) {
            if (query.contains(QLatin1String("&m1=osv:")))
                firstRun = query;
        }
        QVERIFY2(firstRun.contains(QStringLiteral(":%1:%2&m").arg(language, QLocale::system().name()).prepend(QLatin1String("=frun"))),
                 qPrintable(firstRun));
        QVERIFY2(firstRun.endsWith(QLatin1String("=rinst:0")), qPrintable(firstRun));
        QVERIFY(!firstRun.contains(QLatin1String("=uex:")));

        // The next start is a later run and reports how the previous one ended.
        writeUnexpectedExitFlag(2);
        app->start();
        QVERIFY(waitForMetric(QStringLiteral("&m1=run:1&m2=lang:%1&m3=uex:2&m4=rinst:0").arg(language)));
        QCOMPARE(readUnexpectedExitFlag(), 1);
    }
};

int main(int argc, char* argv[])
{
    // What the application finds when it is constructed: OCR data, and sending allowed.
    for (const char* name : {"eng", "deu", "chi_sim", "deu-frak", "osd"})
        TestFiles::writeFile(tessdataFolder() + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".traineddata"), "x");
    qputenv("QUILLPRESS_TESSDATA", tessdataFolder().toLocal8Bit());
    RegistryStore(QLatin1String(RegistryKeys::product())).setValue(QStringLiteral("SendData"), 1);
    qputenv("QUILLPRESS_METRICS_URL", "http://127.0.0.1:9/");

    Application app(argc, argv);
    ApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_application.moc"
