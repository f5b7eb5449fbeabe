#include "frompdf/word/FromPDFToDoc.h"
#include "platform/pdf2word/com/ComClassTable.h"
#include "tests/frompdf/engine/RecordingProgress.h"
#include "tests/frompdf/word/RecordingPdf2Word.h"
#include "tests/support/TestFiles.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

namespace {

using Options = QList<QPair<int, LONG>>;

Options expectedOptions(LONG mode)
{
    return {{10, 75}, {13, 60000000}, {14, 0}, {17, 0}, {18, -1}, {15, 1}, {16, 1}, {19, mode}, {25, 1}, {20, -1}, {21, -1}, {22, -1}, {23, -1}, {24, 0}, {26, 0}, {27, 0}, {29, 0}, {28, 0}};
}

QString outputPath(const QString& name)
{
    return TestFiles::sandbox() + QLatin1Char('/') + name;
}

} // namespace

class FromPDFToDocTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        RecordingPdf2Word::install();
    }

    void setsOptionsInOrderAndPassesTypedArguments()
    {
        for (int mode : {0, 2}) {
            RecordingPdf2Word::install();
            FromPDFToDoc converter(QStringLiteral("/in/source.pdf"), QString(), outputPath(QStringLiteral("a.docx")), 3, 5, nullptr);
            converter.setMode(mode);
            QSignalSpy finished(&converter, &FromPDFToDoc::finished);
            converter.convert();
            QCOMPARE(converter.status(), 0);
            QCOMPARE(finished.count(), 1);
            const QList<RecordingPdf2Word::Call> calls = RecordingPdf2Word::calls();
            QCOMPARE(calls.size(), 1);
            const RecordingPdf2Word::Call& call = calls.first();
            QCOMPARE(call.options, expectedOptions(mode));
            QCOMPARE(call.source, QStringLiteral("/in/source.pdf"));
            QCOMPARE(call.output, outputPath(QStringLiteral("a.docx")));
            // An empty password is an empty string, not a missing argument.
            QCOMPARE(call.passwordType, VARTYPE(VT_BSTR));
            QCOMPARE(call.password, QString());
            QCOMPARE(call.firstType, VARTYPE(VT_INT));
            QCOMPARE(call.lastType, VARTYPE(VT_INT));
            QCOMPARE(call.first, 3);
            QCOMPARE(call.last, 5);
            QCOMPARE(call.connections, 1);
            // The sink is disconnected and the component released afterwards.
            QCOMPARE(RecordingPdf2Word::alive(), 0);
        }
    }

    void reducesResultsToStatus_data()
    {
        QTest::addColumn<qint64>("result");
        QTest::addColumn<int>("status");
        QTest::newRow("success") << qint64(S_OK) << 0;
        QTest::newRow("layout cannot keep the text") << qint64(0x80050002) << 5;
        QTest::newRow("layout writer failed") << qint64(0x80050003) << 5;
        QTest::newRow("open failed") << qint64(0x80050001) << 4;
        QTest::newRow("general failure") << qint64(E_FAIL) << 4;
    }

    void reducesResultsToStatus()
    {
        QFETCH(qint64, result);
        QFETCH(int, status);
        RecordingPdf2Word::setScript([result](RecordingPdf2Word&, RecordingPdf2Word::Call&) { return HRESULT(result); });
        FromPDFToDoc converter(QStringLiteral("/in/a.pdf"), QStringLiteral("secret"), outputPath(QStringLiteral("b.docx")), 1, 1, nullptr);
        converter.convert();
        QCOMPARE(converter.status(), status);
        QCOMPARE(RecordingPdf2Word::calls().value(0).password, QStringLiteral("secret"));
    }

    void failingOptionStopsBeforeConverting()
    {
        RecordingPdf2Word::failOption(17, E_INVALIDARG);
        FromPDFToDoc converter(QStringLiteral("/in/a.pdf"), QString(), outputPath(QStringLiteral("c.docx")), 1, 1, nullptr);
        converter.convert();
        QCOMPARE(converter.status(), 4);
        QVERIFY(RecordingPdf2Word::calls().isEmpty());
        QCOMPARE(RecordingPdf2Word::alive(), 0);
    }

    void componentThatCannotBeCreatedIsAFailure()
    {
        ComClassTable::revokeClass(QStringLiteral(PDF2WORD_PROGID).toStdWString());
        FromPDFToDoc missing(QStringLiteral("/in/a.pdf"), QString(), outputPath(QStringLiteral("d.docx")), 1, 1, nullptr);
        QSignalSpy finished(&missing, &FromPDFToDoc::finished);
        missing.convert();
        QCOMPARE(missing.status(), 4);
        QCOMPARE(finished.count(), 1);

        ComClassTable::registerClass(QStringLiteral(PDF2WORD_PROGID).toStdWString(),
                                     [](IUnknown*, REFIID, void**) { return HRESULT(E_OUTOFMEMORY); });
        FromPDFToDoc refused(QStringLiteral("/in/a.pdf"), QString(), outputPath(QStringLiteral("d.docx")), 1, 1, nullptr);
        refused.convert();
        QCOMPARE(refused.status(), 4);
    }

    void relaysProgressAndAnswersGoOn()
    {
        RecordingProgress progress;
        FromPDFToDoc converter(QStringLiteral("/in/a.pdf"), QString(), outputPath(QStringLiteral("e.docx")), 4, 6, &progress);
        QSignalSpy relayed(&converter, &FromPDFToDoc::progressChanged);
        converter.convert();
        QCOMPARE(converter.status(), 0);
        QCOMPARE(relayed.count(), 3);
        QCOMPARE(relayed.at(2), (QList<QVariant>{3, 3}));
        QCOMPARE(RecordingPdf2Word::calls().value(0).answers, (QList<LONG>{0, 0, 0}));
    }

    void pauseHoldsTheComponentUntilResumeOrStop()
    {
        RecordingProgress progress;
        progress.pause();
        QElapsedTimer clock;
        clock.start();
        QThread* resumer = QThread::create([&] {
            QThread::msleep(400);
            progress.resume();
        });
        resumer->start();
        FromPDFToDoc converter(QStringLiteral("/in/a.pdf"), QString(), outputPath(QStringLiteral("f.docx")), 1, 1, &progress);
        converter.convert();
        resumer->wait();
        delete resumer;
        QVERIFY(clock.elapsed() >= 350);
        QCOMPARE(converter.status(), 0);
        QCOMPARE(RecordingPdf2Word::calls().value(0).answers, QList<LONG>{0});

        // A stop while paused answers -1 without waiting for a resume.
        RecordingPdf2Word::install();
        progress.pause();
        progress.stop();
        clock.restart();
        FromPDFToDoc stopped(QStringLiteral("/in/a.pdf"), QString(), outputPath(QStringLiteral("g.docx")), 1, 2, &progress);
        stopped.convert();
        QVERIFY(clock.elapsed() < 300);
        QCOMPARE(RecordingPdf2Word::calls().value(0).answers, QList<LONG>{-1});
        QCOMPARE(stopped.status(), 4);
    }

    void stopLeavesAFailureAndNoFile()
    {
        // A component that writes its output and ignores the stop answer.
        RecordingPdf2Word::setScript([](RecordingPdf2Word& component, RecordingPdf2Word::Call& call) {
            TestFiles::writeFile(call.output, "partial");
            component.progress(call, 1, 2);
            return HRESULT(S_OK);
        });
        RecordingProgress progress;
        progress.stop();
        const QString output = outputPath(QStringLiteral("h.docx"));
        FromPDFToDoc converter(QStringLiteral("/in/a.pdf"), QString(), output, 1, 2, &progress);
        converter.convert();
        QCOMPARE(RecordingPdf2Word::calls().value(0).answers, QList<LONG>{-1});
        QCOMPARE(converter.status(), 4);
        QVERIFY(!QFile::exists(output));
    }
};

QTEST_GUILESS_MAIN(FromPDFToDocTest)
#include "test_frompdftodoc.moc"
