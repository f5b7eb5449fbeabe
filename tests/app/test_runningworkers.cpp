#include "app/RunningWorkers.h"
#include "frompdf/check/CheckController.h"
#include "tests/app/FakeProgress.h"

#include <QAtomicInt>
#include <QElapsedTimer>
#include <QPointer>
#include <QThread>
#include <QtTest>

namespace {

// A GUI-thread object the question reaches through a blocking queued connection; it never
// answers, as when the window is already gone.
class SilentView : public QObject
{
    Q_OBJECT
public slots:
    void onCheckScanned() { ++asked; }

public:
    int asked = 0;
};

} // namespace

class RunningWorkersTest : public QObject
{
    Q_OBJECT

private slots:
    void stoppingEndsPollingAndPausedWorkers()
    {
        FakeProgress polling;
        FakeProgress paused;
        paused.pause();
        QThread* first = QThread::create([&] {
            while (!polling.isStopped())
                QThread::msleep(5);
        });
        QThread* second = QThread::create([&] {
            while (paused.isPaused())
                QThread::msleep(5);
        });
        RunningWorkers workers;
        workers.add(first, &polling);
        workers.add(second, &paused);
        first->start();
        second->start();
        QCOMPARE(workers.count(), 2);

        const QPointer<QThread> firstLeft(first);
        const QPointer<QThread> secondLeft(second);
        QVERIFY(workers.stopAll(nullptr, 10000));
        // Stopped threads are deleted: the queued deleteLater() they would use is dropped.
        QVERIFY(!firstLeft && !secondLeft);
        QCOMPARE(workers.count(), 0);
    }

    void workerWaitingForTheScannedQuestionIsReleased()
    {
        CheckController controller;
        SilentView view;
        connect(&controller, SIGNAL(requestForScanned()), &view, SLOT(onCheckScanned()), Qt::BlockingQueuedConnection);
        FakeProgress progress;
        QAtomicInt asked;
        CheckController::Answer answer{true, true};
        QThread* thread = QThread::create([&] {
            answer = controller.ask(QStringLiteral("scan.pdf"));
            asked = 1;
        });
        RunningWorkers workers;
        workers.add(thread, &progress);
        thread->start();
        // The question is on its way to the GUI thread, which does not process it.
        for (int i = 0; i < 500 && !controller.isWaiting(); ++i)
            QThread::msleep(10);
        QVERIFY(controller.isWaiting());
        QThread::msleep(50);
        QVERIFY(!thread->isFinished());

        QVERIFY(workers.stopAll(&controller, 10000));
        QCOMPARE(asked.loadAcquire(), 1);
        QVERIFY(!answer.useOcr);
        QCOMPARE(view.asked, 0);

        // A closed controller answers "without OCR" at once and asks nobody.
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!controller.ask(QStringLiteral("next.pdf")).useOcr);
        QVERIFY(timer.elapsed() < 1000);
        QCoreApplication::processEvents();
        QCOMPARE(view.asked, 0);
    }

    // Wired as the conversion tabs wire a run: the worker object lives on the thread, the thread
    // object on the GUI thread, so the worker's end asks the thread to quit through the GUI
    // thread's queue, which is not served while the application waits at shutdown.
    void stopsAThreadWhoseQuitGoesThroughTheGuiThread()
    {
        FakeProgress progress;
        QObject worker;
        QThread* thread = new QThread;
        worker.moveToThread(thread);
        QAtomicInt running;
        connect(thread, &QThread::started, &worker, [&] {
            running = 1;
            while (!progress.isStopped())
                QThread::msleep(5);
            QMetaObject::invokeMethod(thread, "quit", Qt::QueuedConnection);
        });
        RunningWorkers workers;
        workers.add(thread, &progress);
        thread->start();
        QTRY_VERIFY(running.loadAcquire());
        const QPointer<QThread> left(thread);
        QVERIFY(workers.stopAll(nullptr, 5000));
        QVERIFY(!left);
    }

    void workerThatDoesNotStopRunsOutTheTime()
    {
        FakeProgress ignored;
        QAtomicInt release;
        QThread* thread = QThread::create([&] {
            while (!release.loadAcquire())
                QThread::msleep(5);
        });
        RunningWorkers workers;
        workers.add(thread, &ignored);
        thread->start();
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!workers.stopAll(nullptr, 200));
        QVERIFY(timer.elapsed() >= 200);
        release = 1;
        QVERIFY(thread->wait(5000));
        delete thread;
    }
};

QTEST_GUILESS_MAIN(RunningWorkersTest)
#include "test_runningworkers.moc"
