// The progress control as the bridge between a worker thread and the GUI, its time keeping on
// a fake clock, and the progress dialog's ways of stopping the work.
#include "ui/kit/Style.h"
#include "ui/kit/WindowBar.h"
#include "ui/widgets/ProgressControl.h"
#include "ui/widgets/ProgressDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QtTest>

#include <atomic>

namespace {
QString elapsedText(ProgressControl& control)
{
    for (QLabel* label : control.findChildren<QLabel*>(QStringLiteral("progressLabel")))
        if (label->text().startsWith(QLatin1String("Time Elapsed")))
            return label->text();
    return QString();
}

QProgressBar* bar(ProgressControl& control)
{
    return control.findChild<QProgressBar*>();
}
} // namespace

class TestProgress : public QObject
{
    Q_OBJECT

private slots:
    void formatsTime()
    {
        QCOMPARE(ProgressControl::formatTime(0), QStringLiteral("--:--:--"));
        QCOMPARE(ProgressControl::formatTime(999), QStringLiteral("00:00:00"));
        QCOMPARE(ProgressControl::formatTime(3723000), QStringLiteral("01:02:03"));
        QCOMPARE(ProgressControl::formatTime(360000000), QStringLiteral("100:00:00"));
    }

    void elapsedTimeSkipsPauses()
    {
        qint64 now = 1000;
        ProgressControl control;
        control.setClock([&] { return now; });
        control.reset();
        QCoreApplication::processEvents(); // the queued restart of the run clock
        now += 10000;
        control.pause();
        now += 60000; // paused time does not count
        control.onUpdateViewTimer();
        QCOMPARE(elapsedText(control), QStringLiteral("Time Elapsed: 00:00:10"));
        control.resume();
        now += 5000;
        control.pause();
        control.pause(); // a repeated pause banks nothing twice
        control.onUpdateViewTimer();
        QCOMPARE(elapsedText(control), QStringLiteral("Time Elapsed: 00:00:15"));
        QVERIFY(control.isPaused());

        // Stopped before any pause: only banked time, none.
        control.reset();
        QCoreApplication::processEvents();
        now += 7000;
        control.stop();
        control.onUpdateViewTimer();
        QCOMPARE(elapsedText(control), QStringLiteral("Time Elapsed: --:--:--"));
        QVERIFY(control.isStopped());
        control.reset();
        QVERIFY(!control.isStopped() && !control.isPaused());
    }

    void resetRestoresPauseLook()
    {
        loadStyleSheet();
        ProgressControl control;
        control.show();
        auto* pause = control.findChild<QPushButton*>(QStringLiteral("buttonPause"));
        const QImage pauseLook = pause->grab().toImage();
        pause->click();
        QVERIFY(control.isPaused());
        QCOMPARE(pause->property("thePaused").toBool(), true);
        QVERIFY(pause->grab().toImage() != pauseLook);
        control.reset();
        QCOMPARE(pause->property("thePaused").toBool(), false);
        QCOMPARE(pause->grab().toImage(), pauseLook);
        // The remaining-time label never shows.
        int visibleLabels = 0;
        for (QLabel* label : control.findChildren<QLabel*>(QStringLiteral("progressLabel")))
            visibleLabels += label->isVisible() ? 1 : 0;
        QCOMPARE(visibleLabels, 2);
        qApp->setStyleSheet(QString());
    }

    void setterOrderSurvivesTheThreadHop()
    {
        ProgressControl control;
        control.reset();
        QThread worker;
        QObject job;
        job.moveToThread(&worker);
        worker.start();
        QMetaObject::invokeMethod(
            &job, [&] {
                control.setMaximum(500);
                control.setValue(400);
                control.setText(QStringLiteral("Reading 3 of 5"));
            },
            Qt::BlockingQueuedConnection);
        worker.quit();
        worker.wait();
        QCoreApplication::processEvents();
        QCOMPARE(bar(control)->maximum(), 500);
        QCOMPARE(bar(control)->value(), 400);
        QVERIFY(control.findChildren<QLabel*>(QStringLiteral("progressLabel")).at(0)->text().startsWith("Reading"));
    }

    // A worker hammers the setters and polls while the GUI pauses, resumes and finally stops.
    void workerSeesPauseAndStop()
    {
        ProgressControl control;
        control.reset();
        control.show();
        std::atomic<int> steps{0}, pausedPolls{0};
        std::atomic<bool> done{false};
        QThread* worker = QThread::create([&] {
            IProgress* progress = qobject_cast<IProgress*>(&control);
            progress->setMinimum(0);
            progress->setMaximum(1000000);
            while (!progress->isStopped()) {
                if (progress->isPaused()) {
                    ++pausedPolls;
                    QThread::usleep(100);
                    continue;
                }
                const int step = ++steps;
                progress->setValue(step);
                progress->setText(QStringLiteral("step %1").arg(step));
                // Each update posts an event to the GUI thread; a loop without a pause posts them
                // faster than a loaded machine's GUI thread takes them, and the test's event
                // processing never returns. Real workers report once per page.
                QThread::usleep(20);
            }
            done = true;
        });
        worker->start();
        auto* pause = control.findChild<QPushButton*>(QStringLiteral("buttonPause"));
        QTRY_VERIFY(steps > 1000);
        pause->click();
        QVERIFY(control.isPaused());
        QTRY_VERIFY(pausedPolls > 10);
        const int frozen = steps;
        QTest::qWait(20);
        QCOMPARE(int(steps), frozen);
        pause->click();
        QTRY_VERIFY(steps > frozen + 1000);
        control.findChild<QPushButton*>(QStringLiteral("buttonStop"))->click();
        QVERIFY(worker->wait(5000));
        QVERIFY(done);
        delete worker;
        QCoreApplication::processEvents();
        QVERIFY(bar(control)->value() > 0);
        QVERIFY(control.isStopped());
    }

    void dialogEscapeAndCloseStopTheWork()
    {
        ProgressDialog dialog;
        QVERIFY(dialog.progress());
        dialog.show();
        QVERIFY(!dialog.findChild<QPushButton*>(QStringLiteral("buttonPause"))->isVisible());
        QVERIFY(dialog.findChild<QPushButton*>(QStringLiteral("buttonStop"))->isVisible());

        auto* close = dialog.findChild<WindowBar*>()->findChild<QPushButton*>(QStringLiteral("windowClose"));
        close->click();
        QVERIFY(dialog.progress()->isStopped());
        QVERIFY(dialog.isVisible());

        dialog.progress()->reset();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(dialog.progress()->isStopped());
        QVERIFY(!dialog.isVisible());
    }

    void dialogTitleComesBackOnLanguageChange()
    {
        ProgressDialog dialog;
        QCOMPARE(dialog.findChild<WindowBar*>()->title(), QStringLiteral("Add files"));
        dialog.setTitle(QString());
        QEvent change(QEvent::LanguageChange);
        QApplication::sendEvent(&dialog, &change);
        QCOMPARE(dialog.findChild<WindowBar*>()->title(), QStringLiteral("Add files"));
    }
};

QTEST_MAIN(TestProgress)
#include "test_progress.moc"
