#include "platform/process/ChildProcess.h"
#include "tests/support/TestFiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include <csignal>

namespace {

// A shell script that starts a long-lived helper of its own (as LibreOffice's launcher does),
// notes the helper's process id, then waits.
QString writeLauncher(const QString& folder)
{
    const QString path = folder + QStringLiteral("/launcher");
    TestFiles::writeFile(path, QStringLiteral("#!/bin/sh\nsleep 60 &\necho $! > '%1/helper.pid'\nsleep 60\n")
                                   .arg(folder)
                                   .toUtf8());
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    return path;
}

bool processAlive(const QString& pidFile)
{
    const qint64 pid = TestFiles::readFile(pidFile).trimmed().toLongLong();
    return pid > 0 && ::kill(pid_t(pid), 0) == 0;
}

// True while the process runs; a zombie that nobody has reaped yet has ended.
bool processRunning(const QString& pidFile)
{
    const QByteArray pid = TestFiles::readFile(pidFile).trimmed();
    const QByteArray stat = TestFiles::readFile(QStringLiteral("/proc/%1/stat").arg(QString::fromLatin1(pid)));
    const int end = stat.lastIndexOf(')');
    return !pid.isEmpty() && end > 0 && stat.mid(end + 2, 1) != "Z";
}

} // namespace

class ChildProcessTest : public QObject
{
    Q_OBJECT

private slots:
    void exitCodesAndMissingPrograms()
    {
        QCOMPARE(ChildProcess::run(QStringLiteral("/bin/sh"), {"-c", "exit 3"}, 0).exitCode, 3);
        QVERIFY(ChildProcess::run(QStringLiteral("/bin/true"), {}, 0).succeeded());
        QCOMPARE(ChildProcess::run(QStringLiteral("/nowhere/program"), {}, 0).outcome,
                 ChildProcess::Outcome::FailedToStart);
        // Kept output: both channels, only their end.
        QCOMPARE(ChildProcess::run(QStringLiteral("/bin/sh"), {"-c", "echo start; echo middle >&2; echo end"}, 0, {}, 11).output,
                 QByteArray("middle\nend\n"));
    }

    // A stop ends the program and the helper it started within a second; so does the time-out.
    void stopAndTimeOutEndTheWholeGroup_data()
    {
        QTest::addColumn<bool>("byStop");
        QTest::newRow("stop") << true;
        QTest::newRow("time-out") << false;
    }

    void stopAndTimeOutEndTheWholeGroup()
    {
        QFETCH(bool, byStop);
        const QString folder = TestFiles::sandbox() + (byStop ? "/stop" : "/timeout");
        QDir().mkpath(folder);
        const QString launcher = writeLauncher(folder);
        QElapsedTimer clock;
        clock.start();
        const auto stop = [&] { return byStop && clock.elapsed() > 500; };
        const ChildProcess::Result result = ChildProcess::run(launcher, {}, byStop ? 0 : 500, stop);
        QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(result.outcome, byStop ? ChildProcess::Outcome::Stopped : ChildProcess::Outcome::TimedOut);
        QVERIFY(!result.succeeded());
        QTRY_VERIFY_WITH_TIMEOUT(!processAlive(folder + "/helper.pid"), 2000);
    }

    // When the program that started the child is killed or crashes, the child and the helper it
    // started end with it, within a second (they would otherwise run on, orphaned).
    void childrenEndWithTheirParent_data()
    {
        QTest::addColumn<bool>("crashes");
        QTest::newRow("killed") << false;
        QTest::newRow("crashed") << true;
    }

    void childrenEndWithTheirParent()
    {
        QFETCH(bool, crashes);
        const QString folder = TestFiles::sandbox() + (crashes ? "/crashed" : "/killed");
        QDir().mkpath(folder);
        const QString launcher = folder + QStringLiteral("/launcher");
        TestFiles::writeFile(launcher, QStringLiteral("#!/bin/sh\necho $$ > '%1/launcher.pid'\nsleep 60 &\n"
                                                      "echo $! > '%1/helper.pid'\nwait\n")
                                           .arg(folder)
                                           .toUtf8());
        QFile::setPermissions(launcher, QFile::permissions(launcher) | QFileDevice::ExeOwner);
        QProcess parent;
        parent.start(QCoreApplication::applicationDirPath() + QStringLiteral("/childprocess_parent"),
                     {crashes ? "1500" : "0", launcher});
        QTRY_VERIFY_WITH_TIMEOUT(processRunning(folder + "/launcher.pid") && processRunning(folder + "/helper.pid"), 5000);
        if (!crashes)
            ::kill(pid_t(parent.processId()), SIGKILL);
        QVERIFY(parent.waitForFinished(5000));
        QCOMPARE(parent.exitStatus(), QProcess::CrashExit);
        QElapsedTimer clock;
        clock.start();
        QTRY_VERIFY_WITH_TIMEOUT(!processRunning(folder + "/launcher.pid") && !processRunning(folder + "/helper.pid"), 1000);
        qInfo("child and helper ended %lld ms after their parent", clock.elapsed());
    }
};

QTEST_GUILESS_MAIN(ChildProcessTest)
#include "test_childprocess.moc"
