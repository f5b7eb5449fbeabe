#include "frompdf/engine/FromPdfIntake.h"
#include "frompdf/engine/IIntakePrompts.h"
#include "frompdf/engine/InformationWorker.h"
#include "frompdf/engine/InformationWorkerList.h"
#include "pdflib/service/DebenuService.h"
#include "tests/frompdf/TestPdfs.h"
#include "tests/frompdf/engine/RecordingProgress.h"
#include "tests/support/TestFiles.h"

#include <QtTest>

namespace {

class FakePrompts : public IIntakePrompts
{
public:
    IProgress* showAddProgress() override
    {
        calls << QStringLiteral("show");
        return &progress;
    }
    void hideAddProgress() override { calls << QStringLiteral("hide"); }
    bool askPassword(const QString& fileName, QString* password) override
    {
        calls << QStringLiteral("ask ") + fileName;
        if (answers.isEmpty())
            return false;
        *password = answers.takeFirst();
        return true;
    }
    PasswordChoice askPasswordOrSkip(const QString& fileName, QString* password) override
    {
        calls << QStringLiteral("ask or skip ") + fileName;
        if (answers.isEmpty())
            return PasswordChoice::Skip;
        *password = answers.takeFirst();
        return PasswordChoice::Ok;
    }
    void showWrongPassword(const QString& fileName) override { calls << QStringLiteral("wrong ") + fileName; }
    void showUnreadableFiles(const QStringList& fileNames) override
    {
        calls << QStringLiteral("unreadable ") + fileNames.join(QLatin1Char(','));
    }

    RecordingProgress progress;
    QStringList answers;
    QStringList calls;
};

} // namespace

class IntakeTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Zembrook"));
        QCoreApplication::setApplicationName(QStringLiteral("Zembrook PDF Converter"));
        registerFromPdfRecordTypes();
        m_dir = TestFiles::sandbox() + QStringLiteral("/intake");
        QVERIFY(TestPdfs::writeTextPdf(m_dir + "/text.PDF", TestPdfs::numberedPages(3)));
        QVERIFY(TestPdfs::writeScannedPdf(m_dir + "/scan.pdf", {QStringLiteral("Scanned words")}, 150));
        QVERIFY(TestPdfs::writeTextPdf(m_dir + "/blank.pdf", {QString(), QString()}));
        QVERIFY(TestPdfs::encryptPdf(m_dir + "/text.PDF", m_dir + "/locked.pdf", "open-sesame", "owner"));
        QVERIFY(TestPdfs::encryptPdf(m_dir + "/text.PDF", m_dir + "/restricted.pdf", "", "owner"));
        QVERIFY(TestFiles::writeFile(m_dir + "/broken.pdf", "%PDF-1.4\nthis is no PDF at all\n"));
        QVERIFY(TestFiles::writeFile(m_dir + "/other.pdfx", "x"));
        QDir().mkpath(m_dir + "/folder.pdf");
        m_service.reset(new DebenuService);
    }

    // Flags of each kind of PDF; other paths are skipped but still count on the progress.
    void examinesEachPath()
    {
        const QStringList paths = {m_dir + "/text.PDF", m_dir + "/other.pdfx", m_dir + "/scan.pdf",
                                   m_dir + "/folder.pdf", m_dir + "/missing.pdf", m_dir + "/locked.pdf",
                                   m_dir + "/blank.pdf", m_dir + "/restricted.pdf"};
        RecordingProgress progress;
        InformationWorkerList worker(m_service, paths, &progress);
        QSignalSpy finished(&worker, &InformationWorkerList::finished);
        worker.run();

        QCOMPARE(finished.count(), 1);
        QVERIFY(finished.first().at(0).toBool());
        const FromPDFTaskList tasks = worker.tasks();
        QStringList names;
        for (const FromPDFTask& task : tasks)
            names << task.file.fileName();
        QCOMPARE(names, QStringList({"text.PDF", "scan.pdf", "locked.pdf", "blank.pdf", "restricted.pdf"}));

        const FromPDFTask& text = tasks[0];
        QCOMPARE(text.pageCount, 3);
        QVERIFY(!text.scanned && !text.encrypted && !text.passwordRequired);
        QCOMPARE(text.format, QStringLiteral("doc"));

        QCOMPARE(tasks[1].pageCount, 1);
        QVERIFY(tasks[1].scanned);

        const FromPDFTask& locked = tasks[2];
        QVERIFY(locked.passwordRequired && locked.needsPassword());
        QCOMPARE(locked.pageCount, 0);

        QVERIFY(tasks[3].scanned); // fonts-free empty pages give no text

        QVERIFY(tasks[4].encrypted && !tasks[4].passwordRequired);
        QCOMPARE(tasks[4].pageCount, 3);

        const QStringList calls = progress.calls();
        QCOMPARE(calls.mid(0, 5), QStringList({"reset", "min 1", "max 8", "text ", "value 1"}));
        for (int i = 1; i <= paths.size(); ++i)
            QVERIFY2(calls.contains(QStringLiteral("value %1").arg(i)), qPrintable(calls.join('|')));
        QVERIFY(calls.contains(QStringLiteral("text 1 out of 8 files. text.PDF")));
    }

    // A PDF the library cannot read is reported and never becomes a task of 0 pages.
    void unreadablePdfBecomesNoTask()
    {
        FakePrompts prompts;
        FromPdfIntake intake(m_service, &prompts);
        const FromPDFTaskList tasks = intake.addFiles({m_dir + "/broken.pdf", m_dir + "/scan.pdf"});
        QCOMPARE(tasks.size(), 1);
        QCOMPARE(tasks.first().file.fileName(), QStringLiteral("scan.pdf"));
        QCOMPARE(prompts.calls, QStringList({"show", "hide", "unreadable broken.pdf"}));
    }

    // Stopping the "Add files" dialog discards the whole batch, also the files already examined.
    void stopDiscardsTheBatch()
    {
        FakePrompts prompts;
        prompts.progress.onValue = [&](int value) {
            if (value == 2)
                prompts.progress.stop();
        };
        FromPdfIntake intake(m_service, &prompts);
        const FromPDFTaskList tasks =
            intake.addFiles({m_dir + "/text.PDF", m_dir + "/scan.pdf", m_dir + "/blank.pdf", m_dir + "/broken.pdf"});
        QVERIFY(tasks.isEmpty());
        QCOMPARE(prompts.calls, QStringList({"show", "hide"}));
        QVERIFY(!prompts.progress.calls().contains(QStringLiteral("value 3")));

        RecordingProgress stopped;
        InformationWorkerList worker(m_service, {m_dir + "/text.PDF"}, &stopped);
        stopped.onValue = [&](int) { stopped.stop(); };
        QSignalSpy finished(&worker, &InformationWorkerList::finished);
        worker.run();
        QCOMPARE(finished.first().at(0).toBool(), false);
        QVERIFY(finished.first().at(1).value<FromPDFTaskList>().isEmpty());
    }

    void emptyPathListSucceeds()
    {
        InformationWorkerList worker(m_service, {}, nullptr);
        QSignalSpy finished(&worker, &InformationWorkerList::finished);
        worker.run();
        QVERIFY(finished.first().at(0).toBool());
        QVERIFY(worker.tasks().isEmpty());
    }

    void passwordWorker()
    {
        InformationWorker right(m_service, m_dir + "/locked.pdf", QStringLiteral("open-sesame"));
        right.run();
        QVERIFY(right.isDone());
        PdfInformation info = right.information();
        QVERIFY(info.passwordProtected && !info.passwordRequired && info.encrypted);
        QCOMPARE(info.password, QStringLiteral("open-sesame"));
        QCOMPARE(info.pageCount, 3);

        InformationWorker wrong(m_service, m_dir + "/locked.pdf", QStringLiteral("guess"));
        wrong.run();
        info = wrong.information();
        QVERIFY(info.passwordProtected && info.passwordRequired);
        QVERIFY(info.password.isEmpty());
        QCOMPARE(info.pageCount, 0);
    }

    // The tab's password prompt: a wrong password is reported and asked again next time; the
    // right one fills the task; a closed prompt changes nothing.
    void unlockAsksAndFillsTheTask()
    {
        FakePrompts prompts;
        FromPdfIntake intake(m_service, &prompts);
        FromPDFTaskList tasks = intake.addFiles({m_dir + "/locked.pdf"});
        QCOMPARE(tasks.size(), 1);
        FromPDFTask task = tasks.first();

        QVERIFY(!intake.unlock(&task)); // closed without OK
        prompts.answers = QStringList{QStringLiteral("guess"), QStringLiteral(" open-sesame ")};
        QVERIFY(!intake.unlock(&task));
        QVERIFY(task.needsPassword());
        QCOMPARE(task.pageCount, 0);
        QVERIFY(intake.unlock(&task));
        QCOMPARE(task.password, QStringLiteral("open-sesame"));
        QCOMPARE(task.pageCount, 3);
        QVERIFY(task.passwordRequired && task.encrypted && !task.scanned);
        QCOMPARE(prompts.calls.mid(2), QStringList({"ask locked.pdf", "ask locked.pdf", "wrong locked.pdf",
                                                    "ask locked.pdf"}));
        QVERIFY(intake.unlock(&task)); // nothing left to ask
        QCOMPARE(prompts.calls.size(), 6);
    }

private:
    QString m_dir;
    QSharedPointer<DebenuService> m_service;
};

QTEST_MAIN(IntakeTest)
#include "test_intake.moc"
