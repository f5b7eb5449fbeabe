#include "app/core/StoredValues.h"
#include "frompdf/engine/FromPdfIntake.h"
#include "frompdf/engine/IIntakePrompts.h"
#include "frompdf/model/FromPDFModel.h"
#include "pdflib/service/DebenuService.h"
#include "tests/frompdf/TestPdfs.h"
#include "tests/support/TestFiles.h"

#include <QMimeData>
#include <QSettings>
#include <QtTest>

namespace {

// Answers the password prompts from a script: "close", "skip", "skipall" or "ok <password>".
class ScriptedPrompts : public IIntakePrompts
{
public:
    IProgress* showAddProgress() override { return nullptr; }
    void hideAddProgress() override {}
    bool askPassword(const QString&, QString*) override { return false; }
    PasswordChoice askPasswordOrSkip(const QString& fileName, QString* password) override
    {
        calls << QStringLiteral("ask ") + fileName;
        const QString answer = answers.isEmpty() ? QStringLiteral("skip") : answers.takeFirst();
        if (answer == QLatin1String("close"))
            return PasswordChoice::Closed;
        if (answer == QLatin1String("skipall"))
            return PasswordChoice::SkipAll;
        if (answer.startsWith(QLatin1String("ok "))) {
            *password = answer.mid(3);
            return PasswordChoice::Ok;
        }
        return PasswordChoice::Skip;
    }
    void showWrongPassword(const QString& fileName) override { calls << QStringLiteral("wrong ") + fileName; }
    void showUnreadableFiles(const QStringList& fileNames) override
    {
        calls << QStringLiteral("unreadable ") + fileNames.join(QLatin1Char(','));
    }

    QStringList answers;
    QStringList calls;
};

FromPDFTask makeTask(const QString& path, int pages = 3, const QString& format = QStringLiteral("doc"))
{
    FromPDFTask task;
    task.file = QFileInfo(path);
    task.pageCount = pages;
    task.format = format;
    return task;
}

FromPDFTask lockedTask(const QString& path)
{
    FromPDFTask task = makeTask(path, 0);
    task.passwordRequired = true;
    return task;
}

QStringList fileNames(const FromPDFModel& model)
{
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row)
        names << model.task(row).file.fileName();
    return names;
}

QStringList fileNames(const FromPDFTaskList& tasks)
{
    QStringList names;
    for (const FromPDFTask& task : tasks)
        names << task.file.fileName();
    return names;
}

QMimeData* rowDrag(const QString& text)
{
    auto* data = new QMimeData;
    data->setData(QLatin1String(FromPDFModel::rowListMimeType()), text.toUtf8());
    return data;
}

} // namespace

class FromPDFModelTest : public QObject
{
    Q_OBJECT

private:
    QString m_dir;
    QSharedPointer<DebenuService> m_service;

    // Four tasks 0.pdf .. 3.pdf.
    void fillFour(FromPDFModel* model)
    {
        FromPDFTaskList tasks;
        for (int i = 0; i < 4; ++i)
            tasks << makeTask(QStringLiteral("/docs/%1.pdf").arg(i));
        model->add(tasks);
    }

    bool dropRow(FromPDFModel* model, int source, int target)
    {
        QScopedPointer<QMimeData> data(model->mimeData({model->index(source, 0), model->index(source, 4)}));
        return model->dropMimeData(data.data(), Qt::MoveAction, -1, -1, model->index(target, 0));
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Zembrook"));
        QCoreApplication::setApplicationName(QStringLiteral("Zembrook PDF Converter"));
        registerFromPdfRecordTypes();
        m_dir = TestFiles::sandbox() + QStringLiteral("/model");
        QVERIFY(TestPdfs::writeTextPdf(m_dir + "/plain.pdf", TestPdfs::numberedPages(4)));
        for (const char* name : {"first", "second", "third"})
            QVERIFY(TestPdfs::encryptPdf(m_dir + "/plain.pdf", m_dir + "/" + name + ".pdf", "secret", "owner"));
        m_service.reset(new DebenuService);
    }

    void showsEachTaskAsOneRow()
    {
        FromPDFModel model;
        FromPDFTask ranged = makeTask(QStringLiteral("/docs/report.final.pdf"), 12);
        ranged.ranges = {{1, 3}, {5, 5}, {8, 9}};
        FromPDFTask unknown = lockedTask(QStringLiteral("/docs/locked.pdf"));
        FromPDFTask wmf = makeTask(QStringLiteral("/docs/pictures.pdf"), 12, QStringLiteral("wmf"));
        model.add({ranged, makeTask(QStringLiteral("/docs/whole.pdf"), 12), unknown, wmf});

        QCOMPARE(model.columnCount(), 8);
        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(model.data(model.index(0, 0)).toInt(), 1);
        QCOMPARE(model.data(model.index(3, 0)).toInt(), 4);
        QCOMPARE(model.data(model.index(0, 1)).toString(), QStringLiteral("report.final"));
        QCOMPARE(model.data(model.index(0, 3)).toString(), QStringLiteral("1-3, 5, 8-9"));
        QCOMPARE(model.data(model.index(1, 3)).toString(), QStringLiteral("All (12)"));
        QCOMPARE(model.data(model.index(2, 3)).toString(), QStringLiteral("All (?)"));
        QCOMPARE(model.data(model.index(0, 4), Qt::EditRole).toString(), QStringLiteral("doc"));
        QVERIFY(!model.data(model.index(0, 2)).isValid());
        QVERIFY(!model.data(model.index(0, 6)).isValid());
        QVERIFY(!model.data(model.index(4, 1)).isValid());

        // A forced split format shows split whatever the task holds.
        QCOMPARE(model.data(model.index(3, 5)).toBool(), true);
        QCOMPARE(model.data(model.index(3, 1), FromPDFModel::ForcedSplitRole).toBool(), true);
        QCOMPARE(model.data(model.index(1, 5)).toBool(), false);

        QCOMPARE(model.data(model.index(2, 7), FromPDFModel::NeedsPasswordRole).toBool(), true);
        QCOMPARE(model.data(model.index(1, 7), FromPDFModel::NeedsPasswordRole).toBool(), false);
        QCOMPARE(model.data(model.index(2, 0), FromPDFModel::FilePathRole).toString(), QStringLiteral("/docs/locked.pdf"));
        QCOMPARE(model.data(model.index(0, 0), FromPDFModel::OcrLanguageAppliesRole).toBool(), true);
        QCOMPARE(model.data(model.index(3, 0), FromPDFModel::OcrLanguageAppliesRole).toBool(), false);

        QCOMPARE(model.data(model.index(0, 0), Qt::TextAlignmentRole).toInt(), 132);
        QVERIFY(!model.data(model.index(0, 1), Qt::TextAlignmentRole).isValid());
        QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).toInt(), 129);

        QStringList headers;
        for (int column = 0; column < 8; ++column)
            headers << model.headerData(column, Qt::Horizontal).toString();
        QCOMPARE(headers, QStringList({"#", "Filename", "", "Pages", "To", "Split", "Password", ""}));
        QVERIFY(!model.headerData(0, Qt::Vertical).isValid());
    }

    void sortsByFileNameOnly()
    {
        FromPDFModel model;
        model.add({makeTask("/x/b.pdf"), makeTask("/y/A.pdf"), makeTask("/a/c.pdf")});
        model.sort(3, Qt::AscendingOrder);
        QCOMPARE(fileNames(model), QStringList({"b.pdf", "A.pdf", "c.pdf"}));
        model.sort(1, Qt::AscendingOrder);
        QCOMPARE(fileNames(model), QStringList({"A.pdf", "b.pdf", "c.pdf"}));
        model.sort(1, Qt::DescendingOrder);
        QCOMPARE(fileNames(model), QStringList({"c.pdf", "b.pdf", "A.pdf"}));
    }

    void dragsMoveOneRow_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("target");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("0 onto 1") << 0 << 1 << QStringList({"1.pdf", "0.pdf", "2.pdf", "3.pdf"});
        QTest::newRow("3 onto 0") << 3 << 0 << QStringList({"3.pdf", "0.pdf", "1.pdf", "2.pdf"});
        QTest::newRow("0 onto 3") << 0 << 3 << QStringList({"1.pdf", "2.pdf", "3.pdf", "0.pdf"});
        QTest::newRow("2 onto 1") << 2 << 1 << QStringList({"0.pdf", "2.pdf", "1.pdf", "3.pdf"});
    }

    void dragsMoveOneRow()
    {
        QFETCH(int, source);
        QFETCH(int, target);
        QFETCH(QStringList, order);
        FromPDFModel model;
        fillFour(&model);
        QSignalSpy moved(&model, &FromPDFModel::rowMoved);
        QVERIFY(dropRow(&model, source, target));
        QCOMPARE(fileNames(model), order);
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.first().first().toInt(), target);
        // Column 0 numbers the rows in their new order.
        QCOMPARE(model.data(model.index(target, 0)).toInt(), target + 1);
    }

    // Drags that name no row of this table, come from elsewhere or land nowhere change nothing.
    void refusesDragsItCannotPlace()
    {
        FromPDFModel model;
        fillFour(&model);
        const QStringList before = fileNames(model);
        QSignalSpy moved(&model, &FromPDFModel::rowMoved);

        QScopedPointer<QMimeData> data(model.mimeData({model.index(2, 0), model.index(2, 7)}));
        QCOMPARE(QString::fromUtf8(data->data(QLatin1String(FromPDFModel::rowListMimeType()))), QStringLiteral("2|2|"));

        for (const QString& text : {QStringLiteral("7|7|"), QStringLiteral("-1|"), QStringLiteral("abc|"),
                                    QStringLiteral("|"), QString()}) {
            QScopedPointer<QMimeData> foreign(rowDrag(text));
            QVERIFY2(!model.dropMimeData(foreign.data(), Qt::MoveAction, -1, -1, model.index(1, 0)), qPrintable(text));
        }
        QScopedPointer<QMimeData> valid(rowDrag(QStringLiteral("1|")));
        QVERIFY(!model.dropMimeData(valid.data(), Qt::MoveAction, -1, -1, QModelIndex()));
        QVERIFY(!model.dropMimeData(valid.data(), Qt::MoveAction, -1, -1, model.index(1, 0)));
        QMimeData urls;
        urls.setUrls({QUrl::fromLocalFile("/docs/new.pdf")});
        QVERIFY(!model.dropMimeData(&urls, Qt::MoveAction, -1, -1, model.index(1, 0)));
        QVERIFY(model.dropMimeData(valid.data(), Qt::IgnoreAction, -1, -1, model.index(3, 0)));

        // A drag started before rows were removed names a row that is gone.
        QScopedPointer<QMimeData> stale(model.mimeData({model.index(3, 0)}));
        model.removeRows(2, 2);
        QVERIFY(!model.dropMimeData(stale.data(), Qt::MoveAction, -1, -1, model.index(0, 0)));

        QCOMPARE(fileNames(model), before.mid(0, 2));
        QCOMPARE(moved.count(), 0);
    }

    void formatDecidesSplitAndOcrLanguage()
    {
        FromPDFModel model;
        model.setDefaultOcrLanguage([] { return QStringLiteral("DE"); });
        FromPDFTask tiff = makeTask("/docs/t.pdf", 3, QStringLiteral("tiff"));
        tiff.split = true;
        model.add({tiff, makeTask("/docs/e.pdf", 3, QStringLiteral("eps")), makeTask("/docs/w.pdf", 3, QStringLiteral("wmf"))});

        model.setFormat(0, QStringLiteral("docx"));
        QCOMPARE(model.task(0).split, false);
        QCOMPARE(model.task(0).ocrLanguage, QStringLiteral("DE"));
        model.setFormat(0, QStringLiteral("png"));
        QCOMPARE(model.task(0).split, true);
        QVERIFY(model.task(0).ocrLanguage.isEmpty());
        model.setFormat(0, QStringLiteral("txt"));
        QCOMPARE(model.task(0).split, false);
        QCOMPARE(model.task(0).ocrLanguage, QStringLiteral("DE"));

        model.setSplitForAll(false);
        QCOMPARE(model.data(model.index(1, 5)).toBool(), true);
        QCOMPARE(model.data(model.index(2, 5)).toBool(), true);
        model.setSplitForAll(true);
        QCOMPARE(model.task(0).split, true);
        model.toggleSplit(0);
        QCOMPARE(model.task(0).split, false);

        model.setFormatForAll(QStringLiteral("rtf"));
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(model.task(row).format, QStringLiteral("rtf"));
            QCOMPARE(model.task(row).split, false);
            QCOMPARE(model.task(row).ocrLanguage, QStringLiteral("DE"));
        }

        // Rows outside the list are ignored.
        model.setFormat(7, QStringLiteral("png"));
        model.toggleSplit(-1);
        model.setPageRanges(3, {{1, 1}});
        QCOMPARE(model.rowCount(), 3);
    }

    void tasksCarryRangesAndTheOcrSetting()
    {
        QSettings file(StoredValues::configFilePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
        file.setValue(QLatin1String(StoredValues::Keys::ocrLanguage()), QStringLiteral("fra"));
        file.sync();
        FromPDFModel model;
        FromPDFTask ranged = makeTask("/docs/r.pdf", 12, QStringLiteral("docx"));
        model.add({makeTask("/docs/w.pdf", 12, QStringLiteral("docx")), ranged, makeTask("/docs/p.pdf", 5, QStringLiteral("png"))});
        model.setPageRanges(1, {{2, 2}, {5, 7}});

        const FromPDFTaskList tasks = model.tasks();
        QCOMPARE(tasks.size(), 3);
        QCOMPARE(tasks.at(0).ranges, PageRangeList({{1, 12}}));
        QCOMPARE(tasks.at(0).rangesChosen, false);
        QCOMPARE(tasks.at(1).ranges, PageRangeList({{2, 2}, {5, 7}}));
        QCOMPARE(tasks.at(1).rangesChosen, true);
        QCOMPARE(tasks.at(0).ocrLanguage, QStringLiteral("fra"));
        QVERIFY(tasks.at(2).ocrLanguage.isEmpty());
        // The rows themselves keep "the whole document".
        QVERIFY(model.task(0).ranges.isEmpty());
        QCOMPARE(model.data(model.index(0, 3)).toString(), QStringLiteral("All (12)"));
        file.remove(QLatin1String(StoredValues::Keys::ocrLanguage()));
    }

    void asksForMissingPasswordsBeforeConverting()
    {
        ScriptedPrompts prompts;
        FromPdfIntake intake(m_service, &prompts);
        FromPDFModel model;
        model.setIntake(&intake);
        FromPDFTask known = lockedTask(m_dir + "/second.pdf");
        known.password = QStringLiteral("secret");
        known.pageCount = 4;
        model.add({lockedTask(m_dir + "/first.pdf"), known, lockedTask(m_dir + "/third.pdf")});

        // Closing asks again, a wrong password is reported and asked again, SKIP leaves the task out.
        prompts.answers = QStringList{"close", "ok wrong", "ok secret", "skip"};
        FromPDFTaskList tasks = model.tasks();
        QCOMPARE(prompts.calls, QStringList({"ask first", "ask first", "wrong first", "ask first", "ask third"}));
        QCOMPARE(fileNames(tasks), QStringList({"first.pdf", "second.pdf"}));
        QCOMPARE(tasks.at(0).password, QStringLiteral("secret"));
        QCOMPARE(tasks.at(0).pageCount, 4);
        QCOMPARE(tasks.at(0).ranges, PageRangeList({{1, 4}}));
        QVERIFY(tasks.at(0).passwordRequired);
        QVERIFY(tasks.at(0).encrypted);
        // The row keeps the working password: the next conversion does not ask for it.
        QCOMPARE(model.task(0).password, QStringLiteral("secret"));
        QCOMPARE(model.data(model.index(0, 3)).toString(), QStringLiteral("All (4)"));

        prompts.calls.clear();
        prompts.answers = QStringList{"skip"};
        tasks = model.tasks();
        QCOMPARE(prompts.calls, QStringList({"ask third"}));
        QCOMPARE(fileNames(tasks), QStringList({"first.pdf", "second.pdf"}));
    }

    void skipAllLeavesOutEveryRemainingProtectedTask()
    {
        ScriptedPrompts prompts;
        FromPdfIntake intake(m_service, &prompts);
        FromPDFModel model;
        model.setIntake(&intake);
        model.add({lockedTask(m_dir + "/first.pdf"), makeTask(m_dir + "/plain.pdf", 4), lockedTask(m_dir + "/second.pdf"),
                   lockedTask(m_dir + "/third.pdf")});
        prompts.answers = QStringList{"skipall"};
        const FromPDFTaskList tasks = model.tasks();
        QCOMPARE(prompts.calls, QStringList({"ask first"}));
        QCOMPARE(fileNames(tasks), QStringList({"plain.pdf"}));
    }

    // A protected file that vanished since it was added cannot be opened with any password.
    void skipsAProtectedFileThatIsGone()
    {
        QVERIFY(QFile::copy(m_dir + "/first.pdf", m_dir + "/gone.pdf"));
        ScriptedPrompts prompts;
        FromPdfIntake intake(m_service, &prompts);
        FromPDFModel model;
        model.setIntake(&intake);
        model.add({lockedTask(m_dir + "/gone.pdf")});
        QVERIFY(QFile::remove(m_dir + "/gone.pdf"));
        prompts.answers = QStringList{"ok secret"};
        QVERIFY(model.tasks().isEmpty());
        QCOMPARE(prompts.calls, QStringList({"ask gone", "unreadable gone.pdf"}));
    }
};

QTEST_MAIN(FromPDFModelTest)
#include "test_frompdfmodel.moc"
