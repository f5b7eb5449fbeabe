#include "platform/process/ChildProcess.h"
#include "tests/support/TestFiles.h"

#include <QElapsedTimer>
#include <QFile>
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
};

QTEST_GUILESS_MAIN(ChildProcessTest)
#include "test_childprocess.moc"
