#include "tests/support/TestFiles.h"
#include "topdf/model/ToPDFModel.h"
#include "topdf/model/ToPdfFiles.h"

#include <QImage>
#include <QMimeData>
#include <QSignalSpy>
#include <QtTest>

namespace {

ToPDFTask makeTask(const QString& path)
{
    ToPDFTask task;
    task.file = QFileInfo(path);
    task.fileSettings.fileName = task.file.completeBaseName();
    return task;
}

QStringList fileNames(const ToPDFModel& model)
{
    QStringList names;
    for (const ToPDFTask& task : model.tasks())
        names << task.file.fileName();
    return names;
}

// Five rows 0.docx ... 4.docx.
void fillFive(ToPDFModel* model)
{
    QList<ToPDFTask> tasks;
    for (int i = 0; i < 5; ++i)
        tasks << makeTask(QStringLiteral("/docs/%1.docx").arg(i));
    model->addTasks(tasks);
}

QMimeData* rowDrag(const QString& text)
{
    auto* data = new QMimeData;
    data->setData(QLatin1String(ToPDFModel::rowListMimeType()), text.toUtf8());
    return data;
}

// A drag of row source (all five cells, as the table starts it) dropped onto row target.
bool dropRow(ToPDFModel* model, int source, int target)
{
    QModelIndexList cells;
    for (int column = 0; column < ToPDFModel::ColumnCount; ++column)
        cells << model->index(source, column);
    QScopedPointer<QMimeData> data(model->mimeData(cells));
    return model->dropMimeData(data.data(), Qt::MoveAction, -1, -1, model->index(target, 0));
}

} // namespace

class ToPdfModelTest : public QObject
{
    Q_OBJECT

private slots:
    // New tasks: named after the file, the default publisher and layout; a path that is no
    // (longer a) file is set aside and the others are kept.
    void makesTasksAndSetsMissingFilesAside()
    {
        const QString folder = TestFiles::sandbox() + QStringLiteral("/new");
        QVERIFY(TestFiles::writeFile(folder + "/report.final.docx", "x") && TestFiles::writeFile(folder + "/b.png", "x"));
        const ToPdfFiles::NewTasks added = ToPdfFiles::newTasks(
            {folder + "/report.final.docx", folder + "/gone.png", folder, folder + "/b.png"}, QStringLiteral("Quill House"));
        QCOMPARE(added.missing, QStringList({folder + "/gone.png", folder}));
        QCOMPARE(added.tasks.size(), 2);
        const ToPDFTask& task = added.tasks.first();
        QCOMPARE(task.file.filePath(), folder + "/report.final.docx");
        QCOMPARE(task.fileSettings.fileName, QStringLiteral("report.final"));
        QCOMPARE(task.fileSettings.publisher, QStringLiteral("Quill House"));
        QVERIFY(task.fileSettings.title.isEmpty() && task.fileSettings.password.isEmpty());
        QVERIFY(task.fileSettingsEnabled && !task.mergePart);
        const LayoutSettingsData& layout = task.layoutSettings;
        QCOMPARE(QList<int>({layout.imageSize, layout.pageSize, layout.margin, layout.position, layout.rotate, layout.orientation}),
                 QList<int>({1, 2, 1, 4, 0, 0}));

        QVERIFY(ToPdfFiles::isImage("/a/B.TIF") && ToPdfFiles::isImage("/a/b.jpeg") && !ToPdfFiles::isImage("/a/b.epub"));
        QVERIFY(ToPdfFiles::hasPixelSize("/a/b.BMP") && !ToPdfFiles::hasPixelSize("/a/b.tiff"));
    }

    void showsNumberNameSuffixAndPixelSize()
    {
        const QString folder = TestFiles::sandbox() + QStringLiteral("/rows");
        QDir().mkpath(folder);
        QImage(1920, 1080, QImage::Format_RGB32).save(folder + "/photo.png");
        QImage(40, 30, QImage::Format_RGB32).save(folder + "/scan.tiff");
        QVERIFY(TestFiles::writeFile(folder + "/broken.jpg", "no picture"));
        ToPDFModel model;
        model.addTasks({makeTask("/docs/Report.final.DOCX"), makeTask(folder + "/photo.png"),
                        makeTask(folder + "/scan.tiff"), makeTask(folder + "/broken.jpg")});

        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(model.columnCount(), 5);
        QCOMPARE(model.data(model.index(0, 0)).toInt(), 1);
        QCOMPARE(model.data(model.index(0, 1)).toString(), QStringLiteral("Report.final"));
        QCOMPARE(model.data(model.index(0, 2)).toString(), QStringLiteral("DOCX"));
        QVERIFY(!model.data(model.index(0, 3)).isValid());
        QCOMPARE(model.data(model.index(1, 1), ToPDFModel::ImageSizeRole).toString(), QStringLiteral("1920x1080"));
        // TIFF files, other files and pictures whose header does not read show no size.
        for (int row : {0, 2, 3})
            QVERIFY(!model.data(model.index(row, 1), ToPDFModel::ImageSizeRole).isValid());
        QVERIFY(!model.data(model.index(9, 1)).isValid());

        QStringList headers;
        for (int column = 0; column < 5; ++column)
            headers << model.headerData(column, Qt::Horizontal).toString();
        QCOMPARE(headers, QStringList({"#", "Filename", "From", "", ""}));
    }

    void dragsMoveOneRow_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("target");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("0 onto 1") << 0 << 1 << QStringList({"1.docx", "0.docx", "2.docx", "3.docx", "4.docx"});
        QTest::newRow("0 onto 3") << 0 << 3 << QStringList({"1.docx", "2.docx", "3.docx", "0.docx", "4.docx"});
        QTest::newRow("4 onto 1") << 4 << 1 << QStringList({"0.docx", "4.docx", "1.docx", "2.docx", "3.docx"});
        QTest::newRow("2 onto 1") << 2 << 1 << QStringList({"0.docx", "2.docx", "1.docx", "3.docx", "4.docx"});
    }

    // No row is lost or doubled, and the views hear of the move.
    void dragsMoveOneRow()
    {
        QFETCH(int, source);
        QFETCH(int, target);
        QFETCH(QStringList, order);
        ToPDFModel model;
        fillFive(&model);
        QSignalSpy moved(&model, &QAbstractItemModel::rowsMoved);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QVERIFY(dropRow(&model, source, target));
        QCOMPARE(fileNames(model), order);
        QCOMPARE(moved.count() + (changed.count() > 0 ? 1 : 0), 1);
        QCOMPARE(model.data(model.index(target, 0)).toInt(), target + 1);
    }

    // Drags that name no row of this table, come from elsewhere, land nowhere or started before
    // rows went away change nothing.
    void refusesDragsItCannotPlace()
    {
        ToPDFModel model;
        fillFive(&model);
        const QStringList before = fileNames(model);

        QScopedPointer<QMimeData> data(model.mimeData({model.index(2, 0), model.index(2, 4)}));
        QCOMPARE(QString::fromUtf8(data->data(QLatin1String(ToPDFModel::rowListMimeType()))), QStringLiteral("2|2|"));
        for (const QString& text : {QStringLiteral("7|"), QStringLiteral("-1|"), QStringLiteral("x|"), QString()}) {
            QScopedPointer<QMimeData> foreign(rowDrag(text));
            QVERIFY2(!model.dropMimeData(foreign.data(), Qt::MoveAction, -1, -1, model.index(1, 0)), qPrintable(text));
        }
        QScopedPointer<QMimeData> one(rowDrag(QStringLiteral("1|")));
        QVERIFY(!model.dropMimeData(one.data(), Qt::MoveAction, -1, -1, QModelIndex()));
        QVERIFY(!model.dropMimeData(one.data(), Qt::MoveAction, -1, -1, model.index(1, 0)));
        QVERIFY(model.dropMimeData(one.data(), Qt::IgnoreAction, -1, -1, model.index(3, 0)));
        QMimeData urls;
        urls.setUrls({QUrl::fromLocalFile("/docs/new.docx")});
        QVERIFY(!model.dropMimeData(&urls, Qt::MoveAction, -1, -1, model.index(1, 0)));

        QScopedPointer<QMimeData> stale(model.mimeData({model.index(4, 0)}));
        QVERIFY(model.removeRows(3, 2));
        QVERIFY(!model.dropMimeData(stale.data(), Qt::MoveAction, -1, -1, model.index(0, 0)));
        QCOMPARE(fileNames(model), before.mid(0, 3));
        QVERIFY(!model.removeRows(3, 1));
    }

    void movesAndSorts()
    {
        ToPDFModel model;
        model.addTasks({makeTask("/x/b.doc"), makeTask("/y/A.pdf"), makeTask("/a/c.doc")});
        QVERIFY(!model.moveUp(0));
        QVERIFY(!model.moveDown(2));
        QVERIFY(model.moveDown(0));
        QCOMPARE(fileNames(model), QStringList({"A.pdf", "b.doc", "c.doc"}));
        QVERIFY(model.moveUp(2));
        QCOMPARE(fileNames(model), QStringList({"A.pdf", "c.doc", "b.doc"}));

        model.sort(2, Qt::DescendingOrder);
        QCOMPARE(fileNames(model), QStringList({"A.pdf", "c.doc", "b.doc"}));
        model.sort(1, Qt::AscendingOrder);
        QCOMPARE(fileNames(model), QStringList({"A.pdf", "b.doc", "c.doc"}));
        model.sort(1, Qt::DescendingOrder);
        QCOMPARE(fileNames(model), QStringList({"c.doc", "b.doc", "A.pdf"}));
        model.clear();
        QVERIFY(model.isEmpty());
    }

    // "For all" keeps each task's name and title; a row's own settings replace all of its own.
    void settersForOneAndForAll()
    {
        ToPDFModel model;
        model.addTasks({makeTask("/d/a.png"), makeTask("/d/b.docx")});
        model.setFileSettingsForAll({QStringLiteral("x"), QStringLiteral("T"), QStringLiteral("Pub"), QStringLiteral("pw")});
        for (const ToPDFTask& task : model.tasks()) {
            QCOMPARE(task.fileSettings.fileName, task.file.completeBaseName());
            QVERIFY(task.fileSettings.title.isEmpty());
            QCOMPARE(task.fileSettings.publisher + task.fileSettings.password, QStringLiteral("Pubpw"));
        }
        model.setFileSettings(1, {QStringLiteral("name"), QStringLiteral("T"), QString(), QString()});
        QCOMPARE(model.task(1).fileSettings.fileName + model.task(1).fileSettings.title, QStringLiteral("nameT"));
        QVERIFY(model.task(1).fileSettings.publisher.isEmpty());

        LayoutSettingsData layout;
        layout.pageSize = LayoutSettingsData::A5;
        layout.rotate = 270;
        model.setLayoutSettingsForAll(layout);
        QCOMPARE(model.task(0).layoutSettings.rotate + model.task(1).layoutSettings.rotate, 540);
        layout.position = LayoutSettingsData::BottomRight;
        model.setLayoutSettings(0, layout);
        QCOMPARE(model.task(0).layoutSettings.position, 8);
        QCOMPARE(model.task(1).layoutSettings.position, 4);

        model.setFileSettingsEnabled(false);
        QVERIFY(!model.task(0).fileSettingsEnabled && !model.task(1).fileSettingsEnabled);
        model.setFileSettings(7, {});
        QCOMPARE(model.rowCount(), 2);
    }
};

QTEST_GUILESS_MAIN(ToPdfModelTest)
#include "test_topdfmodel.moc"
