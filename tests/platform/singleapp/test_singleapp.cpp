#include "tests/support/TestFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QtTest>

namespace {

QString probePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/singleapp_probe");
}

// Starts the probe in a running mode and waits for it to listen.
bool startRunning(QProcess& process, const QString& mode, const QString& program = probePath())
{
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(program, {mode});
    if (!process.waitForStarted(10000))
        return false;
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(10000))
            return false;
    }
    return process.readLine().trimmed() == "ready";
}

int runSecondary(const QString& message, const QString& program = probePath(), qint64* elapsedMs = nullptr)
{
    QElapsedTimer timer;
    timer.start();
    const int code = TestFiles::run(program, {QStringLiteral("secondary"), message}, nullptr, nullptr, 20000);
    if (elapsedMs)
        *elapsedMs = timer.elapsed();
    return code;
}

} // namespace

class SingleAppTest : public QObject
{
    Q_OBJECT

private slots:
    void secondStartHandsOverAndActivatesTheFirst()
    {
        QProcess first;
        QVERIFY(startRunning(first, QStringLiteral("primary")));
        QCOMPARE(runSecondary(QStringLiteral("hello")), 0);
        QVERIFY(first.waitForFinished(10000));
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(first.readAllStandardOutput().trimmed(), QByteArray("message:hello minimized:0 active:1"));
    }

    void withoutRunningInstanceTheSendFailsAtOnce()
    {
        qint64 elapsed = 0;
        QCOMPARE(runSecondary(QString(), probePath(), &elapsed), 1);
        QVERIFY2(elapsed < 4000, qPrintable(QString::number(elapsed)));
    }

    void killedInstanceDoesNotBlockTheNextStart()
    {
        QProcess killed;
        QVERIFY(startRunning(killed, QStringLiteral("hold")));
        killed.kill();
        QVERIFY(killed.waitForFinished(10000));

        QProcess next;
        QVERIFY(startRunning(next, QStringLiteral("primary")));
        QCOMPARE(runSecondary(QStringLiteral("again")), 0);
        QVERIFY(next.waitForFinished(10000));
        QVERIFY(next.readAllStandardOutput().startsWith("message:again"));
    }

    void programInAnotherFolderIsAnotherInstance()
    {
        const QString copy = TestFiles::sandbox() + QStringLiteral("/other/singleapp_probe");
        QVERIFY(TestFiles::writeFile(copy, TestFiles::readFile(probePath())));
        QVERIFY(QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

        QProcess other;
        QVERIFY(startRunning(other, QStringLiteral("hold"), copy));
        QCOMPARE(runSecondary(QStringLiteral("x")), 1);
        QCOMPARE(runSecondary(QStringLiteral("x"), copy), 0);
        other.kill();
        other.waitForFinished(10000);
    }
};

QTEST_GUILESS_MAIN(SingleAppTest)
#include "test_singleapp.moc"
