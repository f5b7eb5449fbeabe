#include "platform/crashguard/CrashReportUploader.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#include <csignal>

namespace {

struct Outcome
{
    int status = -1;      // the shell's view: 128 + signal number after a crash
    QString reportFolder; // printed by the probe before it crashes
};

QString probePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/crashguard_probe");
}

// Runs the probe through a shell so the signal that ended it shows in the exit status.
Outcome runProbe(const QString& how, const QString& root)
{
    QByteArray out;
    const QString script = QStringLiteral("ulimit -c 0; \"$0\" \"$1\" \"$2\"; echo status=$?");
    TestFiles::run(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script, probePath(), how, root}, &out);
    Outcome outcome;
    const QStringList lines = QString::fromLocal8Bit(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("status=")))
            outcome.status = line.mid(7).toInt();
        else if (line.startsWith(QLatin1Char('/')))
            outcome.reportFolder = line;
    }
    return outcome;
}

QString freshRoot(const QString& name)
{
    const QString root = TestFiles::sandbox() + QStringLiteral("/crash-") + name;
    QDir(root).removeRecursively();
    TestFiles::writeFile(root + QStringLiteral("/input/log.txt"), QByteArray("line one\nline two\n"));
    TestFiles::writeFile(root + QStringLiteral("/marker.ini"), QByteArray("[General]\nuex=1\n"));
    return root;
}

} // namespace

class CrashGuardTest : public QObject
{
    Q_OBJECT

private slots:
    void crashWritesReportAndStillEndsByTheSignal_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("segv") << QStringLiteral("segv") << int(SIGSEGV);
        QTest::newRow("abort") << QStringLiteral("abort") << int(SIGABRT);
        QTest::newRow("fpe") << QStringLiteral("fpe") << int(SIGFPE);
        QTest::newRow("stack overflow") << QStringLiteral("overflow") << int(SIGSEGV);
        QTest::newRow("worker thread") << QStringLiteral("thread") << int(SIGSEGV);
        QTest::newRow("two threads at once") << QStringLiteral("two threads") << int(SIGSEGV);
    }

    void crashWritesReportAndStillEndsByTheSignal()
    {
        QFETCH(QString, how);
        QFETCH(int, signalNumber);
        const QString root = freshRoot(how);
        const Outcome outcome = runProbe(how, root);

        QCOMPARE(outcome.status, 128 + signalNumber);
        QVERIFY(outcome.reportFolder.startsWith(root + QStringLiteral("/reports/")));
        QCOMPARE(TestFiles::readFile(root + QStringLiteral("/marker.ini")), QByteArray("[General]\nuex=2\n"));

        const QString folder = outcome.reportFolder;
        QCOMPARE(TestFiles::entries(folder),
                 QStringList({"backtrace.txt", "crash.txt", "log.txt", "properties.txt", "screenshot.jpg"}));
        const QString crashInfo = QString::fromUtf8(TestFiles::readFile(folder + QStringLiteral("/crash.txt")));
        QVERIFY2(crashInfo.startsWith(QStringLiteral("Application=Probe\nVersion=1.2.3\nProcess=")), qPrintable(crashInfo));
        QVERIFY2(crashInfo.contains(QStringLiteral("\nSignal=%1\nTime=").arg(signalNumber)), qPrintable(crashInfo));
        QCOMPARE(TestFiles::readFile(folder + QStringLiteral("/log.txt")), QByteArray("line one\nline two\n"));
        QCOMPARE(TestFiles::readFile(folder + QStringLiteral("/screenshot.jpg")), QByteArray("jpeg bytes"));
        QCOMPARE(TestFiles::readFile(folder + QStringLiteral("/properties.txt")),
                 QByteArray("Screen count=2\nScreen 0=1920x1080\nScreen 1=1280x1024\n"));
        QVERIFY(!TestFiles::readFile(folder + QStringLiteral("/backtrace.txt")).isEmpty());
    }

    void signalSentFromOutsideIsReportedToo()
    {
        const QString root = freshRoot(QStringLiteral("external"));
        QProcess probe;
        probe.start(probePath(), {QStringLiteral("external"), root});
        QVERIFY(probe.waitForStarted());
        QByteArray out;
        while (!out.contains("waiting")) {
            QVERIFY(probe.waitForReadyRead(10000));
            out += probe.readAllStandardOutput();
        }
        ::kill(pid_t(probe.processId()), SIGBUS);
        QVERIFY(probe.waitForFinished(10000));
        QCOMPARE(probe.exitStatus(), QProcess::CrashExit);
        const QString folder = QString::fromLocal8Bit(out.split('\n').first());
        QVERIFY(TestFiles::readFile(folder + QStringLiteral("/crash.txt")).contains("Signal=" + QByteArray::number(SIGBUS)));
    }

    void uninstalledGuardLeavesNoReport()
    {
        const QString root = freshRoot(QStringLiteral("uninstalled"));
        const Outcome outcome = runProbe(QStringLiteral("uninstalled"), root);
        QCOMPARE(outcome.status, 128 + SIGSEGV);
        QVERIFY(!QFileInfo::exists(outcome.reportFolder));
        QCOMPARE(TestFiles::readFile(root + QStringLiteral("/marker.ini")), QByteArray("[General]\nuex=1\n"));
    }

    void reportsOfEarlierRunsAreSentAndAcceptedOnesDeleted()
    {
        const QString reports = TestFiles::sandbox() + QStringLiteral("/upload");
        const QString older = reports + QStringLiteral("/20240101-100000-11");
        const QString newer = reports + QStringLiteral("/20240102-100000-12");
        const QString running = reports + QStringLiteral("/20240103-100000-13");
        QVERIFY(TestFiles::writeFile(older + QStringLiteral("/crash.txt"), "Signal=11\n"));
        QVERIFY(TestFiles::writeFile(older + QStringLiteral("/log.txt"), "old log\n"));
        QVERIFY(TestFiles::writeFile(newer + QStringLiteral("/crash.txt"), "Signal=6\n"));
        QVERIFY(TestFiles::writeFile(running + QStringLiteral("/crash.txt"), "not sent\n"));

        LocalHttpServer server;
        QVERIFY(server.listen());
        const QUrl address(server.url(QStringLiteral("/act/crashfix/index.php/crashReport/uploadExternal")));

        // A server that refuses keeps every report for the next start.
        server.setAnswer(LocalHttpServer::ServerError);
        CrashReportUploader uploader;
        QSignalSpy finished(&uploader, &CrashReportUploader::finished);
        uploader.upload(reports, address, running);
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.takeFirst(), QVariantList({0, 2}));
        QCOMPARE(TestFiles::entries(reports).size(), 3);

        server.clearRecords();
        server.setAnswer(LocalHttpServer::Ok);
        uploader.upload(reports, address, running);
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.takeFirst(), QVariantList({2, 0}));
        QCOMPARE(server.requestLines(),
                 QStringList({"POST /act/crashfix/index.php/crashReport/uploadExternal HTTP/1.1",
                              "POST /act/crashfix/index.php/crashReport/uploadExternal HTTP/1.1"}));
        const QByteArray first = server.bodies().value(0);
        QVERIFY(first.contains("20240101-100000-11"));
        QVERIFY(first.contains("filename=\"log.txt\""));
        QVERIFY(first.contains("old log\n"));
        QVERIFY(server.bodies().value(1).contains("Signal=6\n"));
        QCOMPARE(TestFiles::entries(reports), QStringList{"20240103-100000-13"});
    }

    void pruningKeepsTheNewestReports()
    {
        const QString reports = TestFiles::sandbox() + QStringLiteral("/prune");
        for (int day = 1; day <= 4; ++day)
            TestFiles::writeFile(reports + QStringLiteral("/2024010%1-120000-1/crash.txt").arg(day), "x");
        CrashReportUploader::prune(reports, 2);
        QCOMPARE(TestFiles::entries(reports), QStringList({"20240103-120000-1", "20240104-120000-1"}));
    }
};

QTEST_GUILESS_MAIN(CrashGuardTest)
#include "test_crashguard.moc"
