#include "frompdf/engine/FromPDFTask.h"

#include <QtTest>

namespace {

class Relay : public QObject
{
    Q_OBJECT
signals:
    void tasks(FromPDFTaskList tasks);
    void ranges(PageRangeList ranges);
};

class Receiver : public QObject
{
    Q_OBJECT
public slots:
    void onTasks(FromPDFTaskList tasks) { received = tasks; }
    void onRanges(PageRangeList ranges) { receivedRanges = ranges; }

public:
    FromPDFTaskList received;
    PageRangeList receivedRanges;
};

} // namespace

class FromPdfTaskTest : public QObject
{
    Q_OBJECT

private slots:
    // Format changes keep split and the OCR language consistent with the format.
    void formatRules()
    {
        FromPDFTask task;
        task.setFormat(QStringLiteral("tiff"));
        QVERIFY(task.split);
        task.setFormat(QStringLiteral("docx"));
        QVERIFY(!task.split);
        task.setOcrLanguage(QStringLiteral("DE"));
        QCOMPARE(task.ocrLanguage, QStringLiteral("DE"));
        task.setFormat(QStringLiteral("TXT"));
        QVERIFY(!task.split);
        QCOMPARE(task.ocrLanguage, QStringLiteral("DE"));
        task.setFormat(QStringLiteral("png"));
        QVERIFY(task.split);
        QVERIFY(task.ocrLanguage.isEmpty());
        task.setOcrLanguage(QStringLiteral("EN"));
        QVERIFY(task.ocrLanguage.isEmpty());
        task.setFormat(QStringLiteral("xyz"));
        QVERIFY(task.split); // neither class: split stays as it was

        QVERIFY(FromPDFTask::isAlwaysSplitFormat(QStringLiteral("WMF")));
        QVERIFY(!FromPDFTask::isAlwaysSplitFormat(QStringLiteral("png")));

        // Each format is of one kind (any case); "ods" converts although the pop-up does not offer
        // it, and the library's "emf" is no format of a conversion.
        QStringList kinds;
        for (const char* format : {"DOC", "docx", "rtf", "odt", "html", "ods", "JPG", "png", "bmp", "tiff", "gif", "eps",
                                   "wmf", "Txt", "emf", "pdf"}) {
            const QString name = QString::fromLatin1(format);
            const int document = FromPDFTask::isDocumentFormat(name);
            const int image = FromPDFTask::isImageFormat(name);
            kinds << QStringLiteral("%1%2%3").arg(document).arg(image).arg(int(FromPDFTask::isTextFormat(name)));
        }
        QCOMPARE(kinds.join(' '), QStringLiteral("100 100 100 100 100 100 010 010 010 010 010 010 010 001 000 000"));

        task.passwordRequired = true;
        QVERIFY(task.needsPassword());
        task.password = QStringLiteral("secret");
        QVERIFY(!task.needsPassword());
    }

    // Registered types cross threads through queued connections intact.
    void travelsThroughQueuedConnections()
    {
        registerFromPdfRecordTypes();
        registerFromPdfRecordTypes();
        QVERIFY(QMetaType::type("FromPDFTask") != QMetaType::UnknownType);
        QVERIFY(QMetaType::type("FromPDFTaskList") != QMetaType::UnknownType);
        QVERIFY(QMetaType::type("PageRangeList") != QMetaType::UnknownType);

        FromPDFTask task;
        task.file = QFileInfo(QStringLiteral("/in/report.pdf"));
        task.ranges = {{2, 4}, {7, 7}};
        task.password = QStringLiteral("pw");
        task.pageCount = 9;

        Relay relay;
        Receiver receiver;
        QThread thread;
        receiver.moveToThread(&thread);
        connect(&relay, SIGNAL(tasks(FromPDFTaskList)), &receiver, SLOT(onTasks(FromPDFTaskList)),
                Qt::BlockingQueuedConnection);
        connect(&relay, SIGNAL(ranges(PageRangeList)), &receiver, SLOT(onRanges(PageRangeList)),
                Qt::BlockingQueuedConnection);
        thread.start();
        emit relay.tasks({task});
        emit relay.ranges(task.ranges);
        thread.quit();
        thread.wait();

        QCOMPARE(receiver.received.size(), 1);
        QCOMPARE(receiver.received.first().file.filePath(), QStringLiteral("/in/report.pdf"));
        QCOMPARE(receiver.received.first().ranges, task.ranges);
        QCOMPARE(receiver.received.first().password, QStringLiteral("pw"));
        QCOMPARE(receiver.receivedRanges, task.ranges);
    }
};

QTEST_GUILESS_MAIN(FromPdfTaskTest)
#include "test_frompdftask.moc"
