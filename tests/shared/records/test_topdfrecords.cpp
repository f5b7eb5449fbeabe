#include "shared/records/FileSettings.h"
#include "shared/records/LayoutSettings.h"
#include "shared/records/ToPDFTask.h"
#include "shared/records/ToPdfRecords.h"

#include <QSignalSpy>
#include <QThread>
#include <QtTest>

namespace {

QVector<int> fields(const LayoutSettingsData& d)
{
    return {d.imageSize, d.pageSize, d.margin, d.position, d.rotate, d.orientation};
}

// Emits a task through a queued connection so the meta-type registration is exercised.
class Relay : public QObject
{
    Q_OBJECT
signals:
    void task(ToPDFTask task);
};

} // namespace

class ToPdfRecordsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        registerToPdfRecordTypes();
    }

    void defaultTask()
    {
        const ToPDFTask task;
        QVERIFY(task.file.filePath().isEmpty());
        QVERIFY(task.fileSettings.fileName.isEmpty() && task.fileSettings.password.isEmpty());
        QVERIFY(task.fileSettingsEnabled);
        QVERIFY(!task.mergePart);
        QCOMPARE(fields(task.layoutSettings), QVector<int>({1, 2, 1, 4, 0, 0}));
    }

    void copiesAreIndependent()
    {
        ToPDFTask first;
        first.file = QFileInfo(QStringLiteral("/in/a.png"));
        ToPDFTask second = first;
        second.layoutSettings.rotate = 90;
        second.fileSettings.title = QStringLiteral("changed");
        second.mergePart = true;
        second.fileSettingsEnabled = false;
        QCOMPARE(first.layoutSettings.rotate, 0);
        QVERIFY(first.fileSettings.title.isEmpty());
        QVERIFY(!first.mergePart && first.fileSettingsEnabled);
        QCOMPARE(second.file.filePath(), QStringLiteral("/in/a.png"));
    }

    void registeredTypesCrossThreads()
    {
        for (const char* name : {"FileSettingsData", "LayoutSettingsData", "ToPDFTask", "LayoutSettingsData::ImageSize",
                                 "LayoutSettingsData::PageSize", "LayoutSettingsData::Position",
                                 "LayoutSettingsData::Margin", "LayoutSettingsData::Orientation"})
            QVERIFY2(QMetaType::type(name) != QMetaType::UnknownType, name);

        ToPDFTask task;
        task.layoutSettings.position = LayoutSettingsData::BottomRight;
        task.fileSettings.password = QStringLiteral("pw");
        const QVariant v = QVariant::fromValue(task);
        QCOMPARE(v.value<ToPDFTask>().layoutSettings.position, 8);

        Relay relay;
        QThread thread;
        QObject receiver;
        receiver.moveToThread(&thread);
        ToPDFTask received;
        QObject::connect(
            &relay, &Relay::task, &receiver, [&received](ToPDFTask t) { received = t; }, Qt::BlockingQueuedConnection);
        thread.start();
        emit relay.task(task);
        thread.quit();
        thread.wait();
        QCOMPARE(received.fileSettings.password, QStringLiteral("pw"));
        QCOMPARE(received.layoutSettings.position, 8);
    }

    void workerNumbers()
    {
        QCOMPARE(LayoutSettingsData::marginMillimetres(LayoutSettingsData::NoMargin), 0);
        QCOMPARE(LayoutSettingsData::marginMillimetres(LayoutSettingsData::Small), 10);
        QCOMPARE(LayoutSettingsData::marginMillimetres(LayoutSettingsData::Big), 20);
        QCOMPARE(LayoutSettingsData::marginMillimetres(7), 0);
        const QVector<int> horizontal = {0, 1, 2, 0, 1, 2, 0, 1, 2};
        const QVector<int> vertical = {0, 0, 0, 1, 1, 1, 2, 2, 2};
        for (int p = 0; p < 9; ++p) {
            QCOMPARE(LayoutSettingsData::horizontalAlignment(p), horizontal[p]);
            QCOMPARE(LayoutSettingsData::verticalAlignment(p), vertical[p]);
        }
        QCOMPARE(LayoutSettingsData::horizontalAlignment(42), 1);
        QCOMPARE(LayoutSettingsData::verticalAlignment(-1), 1);
    }

    void fileSettingsBuffer()
    {
        FileSettings buffer;
        QSignalSpy spy(&buffer, &FileSettings::changed);
        buffer.load({QStringLiteral("name"), QStringLiteral("title"), QStringLiteral("pub"), QString()});
        QVERIFY(!buffer.isModified());
        QCOMPARE(spy.count(), 0);

        buffer.setTitle(QStringLiteral("title")); // same text still counts as an edit
        QVERIFY(buffer.isModified());
        QCOMPARE(spy.count(), 1);
        buffer.setPassword(QStringLiteral("secret"));
        buffer.revert();
        QVERIFY(!buffer.isModified());
        QCOMPARE(spy.count(), 3);
        QVERIFY(buffer.data().password.isEmpty());
        QCOMPARE(buffer.data().fileName, QStringLiteral("name"));

        buffer.setFileName(QStringLiteral("other"));
        buffer.save();
        buffer.revert();
        QCOMPARE(buffer.data().fileName, QStringLiteral("other"));
        QCOMPARE(spy.count(), 6);

        const FileSettings fromData({QStringLiteral("n"), QString(), QString(), QString()});
        QCOMPARE(fromData.data().fileName, QStringLiteral("n"));
        QVERIFY(!fromData.isModified());
    }

    void layoutSettingsBuffer()
    {
        LayoutSettings buffer;
        QCOMPARE(fields(buffer.data()), QVector<int>({1, 2, 1, 4, 0, 0}));
        QSignalSpy spy(&buffer, &LayoutSettings::changed);
        LayoutSettingsData loaded;
        loaded.pageSize = LayoutSettingsData::Letter;
        loaded.reserved = 77;
        buffer.load(loaded);
        QCOMPARE(spy.count(), 0);
        QCOMPARE(buffer.data().reserved, 77);

        buffer.setRotate(180);
        buffer.setOrientation(1);
        buffer.setPosition(12); // no range check
        QCOMPARE(spy.count(), 3);
        QCOMPARE(buffer.data().position, 12);
        buffer.revert();
        QCOMPARE(fields(buffer.data()), fields(loaded));
        QVERIFY(!buffer.isModified());

        buffer.setMargin(LayoutSettingsData::Big);
        buffer.save();
        buffer.revert();
        QCOMPARE(buffer.data().margin, int(LayoutSettingsData::Big));
    }
};

QTEST_GUILESS_MAIN(ToPdfRecordsTest)
#include "test_topdfrecords.moc"
