#include "frompdf/check/CheckController.h"
#include "frompdf/checkview/CheckView.h"
#include "ui/kit/WindowBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QtTest>

namespace {

// Plays the GUI side of the question as the "From PDF" tab does: shows a CheckView for the
// controller's file and stores the answers. What the user does in the dialog is scripted.
class Answerer : public QObject
{
    Q_OBJECT
public:
    enum Action {
        UseOcr,
        WithoutOcr,
        CloseWindow
    };

    Answerer(CheckController* controller, QWidget* window)
        : m_controller(controller)
        , m_window(window)
    {
    }

    Action action = WithoutOcr;
    bool tickApplyToAll = false;
    int answerStateAfterMs = 0; // > 0: the state goes back to 0 only that long after the answers
    QString titleSeen;
    bool answersClearedWhenAsked = false;
    bool askedOnGuiThread = false;

public slots:
    void onCheckScanned()
    {
        askedOnGuiThread = QThread::currentThread() == qApp->thread();
        answersClearedWhenAsked = !m_controller->useOcr() && !m_controller->applyToAll();
        CheckView view(m_window);
        view.setTitle(m_controller->fileName());
        view.setText(QStringLiteral("This file appears to be a scanned PDF."));
        view.setUseOcrText(QStringLiteral("UCE OCR"));
        view.setWithoutOcrText(QStringLiteral("WITHOUT OCR"));
        QTimer::singleShot(0, &view, [this, &view] {
            titleSeen = view.windowBar()->title();
            view.findChild<QCheckBox*>(QStringLiteral("checkBoxOcr"))->setChecked(tickApplyToAll);
            if (action == CloseWindow)
                emit view.windowBar()->closeWindow();
            else
                view.findChild<QPushButton*>(action == UseOcr ? QStringLiteral("checkocrview__button_use_ocr")
                                                              : QStringLiteral("checkocrview__button_without_ocr"))
                    ->click();
        });
        view.exec();
        m_controller->setUseOcr(view.resultCode() == 1);
        m_controller->setApplyToAll(view.isApplyToAllChecked());
        if (answerStateAfterMs > 0)
            QTimer::singleShot(answerStateAfterMs, m_controller, [this] { m_controller->setState(0); });
        else
            m_controller->setState(0);
    }

private:
    CheckController* m_controller;
    QWidget* m_window;
};

// Asks from a worker thread, as the conversion run does, and waits for the answer.
CheckController::Answer askFromWorker(CheckController& controller, const QString& fileName, qint64* elapsedMs = nullptr)
{
    CheckController::Answer answer;
    QElapsedTimer timer;
    QThread* worker = QThread::create([&] {
        timer.start();
        answer = controller.ask(fileName);
        if (elapsedMs)
            *elapsedMs = timer.elapsed();
    });
    worker->start();
    while (!worker->wait(5))
        QCoreApplication::processEvents();
    delete worker;
    return answer;
}

} // namespace

class ScannedQuestionTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_window = new QWidget;
        m_window->resize(600, 400);
        m_window->show();
        m_controller = new CheckController;
        m_answerer = new Answerer(m_controller, m_window);
        connect(m_controller, SIGNAL(requestForScanned()), m_answerer, SLOT(onCheckScanned()), Qt::BlockingQueuedConnection);
    }

    void cleanup()
    {
        delete m_answerer;
        delete m_controller;
        delete m_window;
    }

    void answersTravelBackToTheWorker_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<bool>("tick");
        QTest::addColumn<bool>("useOcr");
        QTest::addColumn<bool>("applyToAll");
        QTest::newRow("use OCR for all") << int(Answerer::UseOcr) << true << true << true;
        QTest::newRow("without OCR") << int(Answerer::WithoutOcr) << false << false << false;
        QTest::newRow("closing means without OCR") << int(Answerer::CloseWindow) << true << false << true;
    }

    void answersTravelBackToTheWorker()
    {
        QFETCH(int, action);
        QFETCH(bool, tick);
        QFETCH(bool, useOcr);
        QFETCH(bool, applyToAll);
        m_answerer->action = Answerer::Action(action);
        m_answerer->tickApplyToAll = tick;

        const CheckController::Answer answer = askFromWorker(*m_controller, QStringLiteral("scan.pdf"));
        QVERIFY(m_answerer->askedOnGuiThread);
        QCOMPARE(m_answerer->titleSeen, QStringLiteral("scan.pdf"));
        QCOMPARE(answer.useOcr, useOcr);
        QCOMPARE(answer.applyToAll, applyToAll);
        QCOMPARE(m_controller->state(), 0);
    }

    void eachQuestionStartsWithClearedAnswers()
    {
        m_answerer->action = Answerer::UseOcr;
        m_answerer->tickApplyToAll = true;
        QVERIFY(askFromWorker(*m_controller, QStringLiteral("a.pdf")).useOcr);
        QVERIFY(m_controller->useOcr());

        m_answerer->action = Answerer::WithoutOcr;
        m_answerer->tickApplyToAll = false;
        const CheckController::Answer second = askFromWorker(*m_controller, QStringLiteral("b.pdf"));
        QVERIFY(m_answerer->answersClearedWhenAsked);
        QVERIFY(!second.useOcr);
        QVERIFY(!second.applyToAll);
    }

    void workerWaitsUntilTheStateIsBackToZero()
    {
        m_answerer->action = Answerer::UseOcr;
        m_answerer->answerStateAfterMs = 150;
        qint64 elapsed = 0;
        const CheckController::Answer answer = askFromWorker(*m_controller, QStringLiteral("slow.pdf"), &elapsed);
        QVERIFY2(elapsed >= 150, qPrintable(QString::number(elapsed)));
        QVERIFY(answer.useOcr);
    }

    void dialogLayout()
    {
        CheckView view(m_window);
        view.show();
        QVERIFY(view.minimumSize() == QSize(380, 190));
        auto* withoutOcr = view.findChild<QPushButton*>(QStringLiteral("checkocrview__button_without_ocr"));
        auto* useOcr = view.findChild<QPushButton*>(QStringLiteral("checkocrview__button_use_ocr"));
        QVERIFY(withoutOcr->isDefault());
        QCOMPARE(withoutOcr->height(), 42);
        QVERIFY(withoutOcr->x() < useOcr->x());
        QCOMPARE(view.findChild<QCheckBox*>(QStringLiteral("checkBoxOcr"))->text(), QStringLiteral("Apply for all"));
        QCOMPARE(view.resultCode(), 0);
    }

private:
    QWidget* m_window = nullptr;
    CheckController* m_controller = nullptr;
    Answerer* m_answerer = nullptr;
};

QTEST_MAIN(ScannedQuestionTest)
#include "test_scannedquestion.moc"
