// Runs the quillpress program itself: single instance, the exit marker "uex" through a clean, a
// killed and a crashed run, the start-up metric batches, the crash report and the removal of
// leftover work files at the next start, all against a local HTTP server.
#include "app/core/ProgramVersion.h"
#include "platform/registry/RegistryStore.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/TestFiles.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

#include <csignal>

namespace {

const char crashPath[] = "/act/crashfix/index.php/crashReport/uploadExternal";

int exitMarker()
{
    return RegistryStore(QLatin1String(RegistryKeys::ebookReader())).value(QStringLiteral("uex"), -1).toInt();
}

QString reportsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/crashreports");
}

} // namespace

class QuillpressTest : public QObject
{
    Q_OBJECT

private:
    LocalHttpServer m_server;

    QString program() const { return QCoreApplication::applicationDirPath() + QStringLiteral("/quillpress"); }

    void prepare(QProcess& process)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QUILLPRESS_METRICS_URL"), m_server.url());
        environment.insert(QStringLiteral("QUILLPRESS_CRASH_REPORT_URL"), m_server.url(QLatin1String(crashPath)));
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }

    // Starts the program and waits until it has recorded its run and sent its start-up batch;
    // returns that batch (percent-decoded).
    QString startRunning(QProcess& process)
    {
        m_server.clearRecords();
        prepare(process);
        process.start(program(), QStringList());
        if (!process.waitForStarted(10000))
            return QString();
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 30000 && process.state() == QProcess::Running) {
            QTest::qWait(20);
            for (const QString& target : m_server.targets()) {
                const QString query = QUrl::fromPercentEncoding(target.toUtf8());
                if (query.contains(QLatin1String("=rinst:")) && exitMarker() == 1)
                    return query;
            }
        }
        return QString();
    }

    bool endWith(QProcess& process, int signalNumber)
    {
        ::kill(pid_t(process.processId()), signalNumber);
        return process.waitForFinished(30000);
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Zembrook"));
        QCoreApplication::setApplicationName(QStringLiteral("Zembrook PDF Converter"));
        QVERIFY(m_server.listen());
        RegistryStore(QLatin1String(RegistryKeys::product())).setValue(QStringLiteral("SendData"), 1);
    }

    void cleanRunAndSecondStart()
    {
        QCOMPARE(exitMarker(), -1);
        QProcess first;
        const QString batch = startRunning(first);
        QVERIFY2(batch.contains(QLatin1String("=frun:")), qPrintable(batch));
        QVERIFY(!batch.contains(QLatin1String("=uex:")));

        // A second start hands over to the first and leaves without touching the marker.
        QProcess second;
        prepare(second);
        second.start(program(), {QStringLiteral("--inst")});
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        QCOMPARE(exitMarker(), 1);

        QVERIFY(endWith(first, SIGTERM));
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(exitMarker(), 0);

        QSettings settings(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/settings.ini"),
                           QSettings::IniFormat);
        QCOMPARE(settings.value(QStringLiteral("first_run")).toString(), QStringLiteral("false"));
        const QByteArray log = TestFiles::readFile(QDir::homePath() + QStringLiteral("/.Zembrook PDF Converter/log/log_")
                                                   + QDate::currentDate().toString(QStringLiteral("yyyy_MM_dd")) + QStringLiteral(".txt"));
        QVERIFY(log.contains("DEBUG: Run from installer:0"));
        QVERIFY(log.contains("DEBUG: is frun:1"));
    }

    void killedRunStaysMarkedRunning()
    {
        QProcess process;
        const QString batch = startRunning(process);
        QVERIFY2(batch.contains(QLatin1String("&m1=run:1&m2=lang:")), qPrintable(batch));
        QVERIFY2(batch.contains(QLatin1String("&m3=uex:0&m4=rinst:0")), qPrintable(batch));
        QVERIFY(endWith(process, SIGKILL));
        QCOMPARE(exitMarker(), 1);
    }

    void crashedRunLeavesAReport()
    {
        QProcess process;
        const QString batch = startRunning(process);
        QVERIFY2(batch.contains(QLatin1String("&m3=uex:1&")), qPrintable(batch));
        QVERIFY(endWith(process, SIGSEGV));
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);
        QCOMPARE(exitMarker(), 2);

        const QStringList reports = TestFiles::entries(reportsFolder());
        QCOMPARE(reports.size(), 1);
        const QString folder = reportsFolder() + QLatin1Char('/') + reports.first();
        const QStringList files = TestFiles::entries(folder);
        for (const char* name : {"crash.txt", "backtrace.txt", "log.txt", "settings.ini", "properties.txt"})
            QVERIFY2(files.contains(QLatin1String(name)), qPrintable(files.join(QLatin1Char(' '))));
        QVERIFY(TestFiles::readFile(folder + QStringLiteral("/crash.txt")).contains("Application=PDF Converter\nVersion=" QUILLPRESS_VERSION "\n"));
        QVERIFY(TestFiles::readFile(folder + QStringLiteral("/log.txt")).contains("is frun:0"));
        QVERIFY(TestFiles::readFile(folder + QStringLiteral("/settings.ini")).contains("first_run=false"));
        QVERIFY(TestFiles::readFile(folder + QStringLiteral("/properties.txt")).startsWith("Screen count=1\nScreen 0="));
    }

    // The start after a crash also removes the work files that the crashed run left in the cache
    // folders; other files there stay.
    void nextStartReportsTheCrashAndSendsTheReport()
    {
        const QString cache = QDir::tempPath() + QStringLiteral("/.Zembrook PDF Converter/cache");
        const QString joined = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
        const QString id = QStringLiteral("0123456789abcdef0123456789abcdef");
        // Each leftover file, and the entry of the cache folder that must go with it.
        const QList<QPair<QString, QString>> leftovers = {
            {cache + "/" + id + "/page-0.png", cache + "/" + id},
            {cache + "/" + id + ".pdf", cache + "/" + id + ".pdf"},
            {cache + "/office-profile-Ab12Cd/user/registrymodifications.xcu", cache + "/office-profile-Ab12Cd"},
            {joined + "/" + id + ".pdf", joined + "/" + id + ".pdf"}};
        const QStringList kept = {cache + "/notes.txt", cache + "/" + id + "0/page.png", joined + "/" + id + ".txt"};
        QStringList planted = kept;
        for (const auto& leftover : leftovers)
            planted << leftover.first;
        for (const QString& file : planted) {
            QDir().mkpath(QFileInfo(file).absolutePath());
            TestFiles::writeFile(file, "x");
        }

        QProcess process;
        const QString batch = startRunning(process);
        for (const auto& leftover : leftovers)
            QVERIFY2(!QFileInfo::exists(leftover.second), qPrintable(leftover.second));
        for (const QString& file : kept)
            QVERIFY2(QFileInfo::exists(file), qPrintable(file));
        QVERIFY2(batch.contains(QLatin1String("&m3=uex:2&")), qPrintable(batch));
        QTRY_VERIFY_WITH_TIMEOUT(m_server.requestLines().contains(QStringLiteral("POST %1 HTTP/1.1").arg(QLatin1String(crashPath))), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(TestFiles::entries(reportsFolder()).isEmpty(), 10000);
        QVERIFY(endWith(process, SIGTERM));
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(exitMarker(), 0);
    }
};

QTEST_GUILESS_MAIN(QuillpressTest)
#include "test_quillpress.moc"
