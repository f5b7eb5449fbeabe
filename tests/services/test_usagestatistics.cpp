#include "services/metrics/MetricSender.h"
#include "services/metrics/UsageStatistics.h"
#include "services/metrics/WorkflowCounter.h"
#include "tests/support/LocalHttpServer.h"

#include <QThread>
#include <QtTest>

// Requests reach the local server without a base query (init() is never called here), so each
// target is "/?" followed by the one queue item.
class UsageStatisticsTest : public QObject
{
    Q_OBJECT

    LocalHttpServer m_server;

    QStringList receivedItems() const
    {
        QStringList items;
        for (const QString& target : m_server.targets())
            items << target.mid(2);
        return items;
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Zembrook"));
        QCoreApplication::setApplicationName(QStringLiteral("Zembrook PDF Converter"));
        QVERIFY(m_server.listen());
        // The sender is first used by a worker thread that ends at once: it must still send, from
        // the main thread.
        const QString address = m_server.url();
        QThread* first = QThread::create([address] {
            MetricSender::setEndpoint(address);
            MetricSender::setEnabled(true);
        });
        first->start();
        QVERIFY(first->wait(5000));
        delete first;
    }

    void init()
    {
        clearUsageStatistics();
        m_server.clearRecords();
    }

    void workflowCounterText_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QStringList() << QString();
        QTest::newRow("one key counted thrice") << QStringList({"todocx", "todocx", "todocx"}) << "todocx";
        QTest::newRow("counts beside other keys") << QStringList({"tortf", "todocx", "todocx"}) << "todocx_2,tortf";
        QTest::newRow("sorted by key") << QStringList({"frompng", "fromdoc", "fromepub"}) << "fromdoc,fromepub,frompng";
    }

    void workflowCounterText()
    {
        QFETCH(QStringList, keys);
        WorkflowCounter counter;
        for (const QString& key : keys)
            counter.add(key);
        QTEST(counter.toString(), "text");
    }

    void startMetricsSendWhatIsStored()
    {
        sendStartMetrics();
        QTest::qWait(200);
        QVERIFY(m_server.targets().isEmpty());

        setStartFilesCount(3);
        sendStartMetrics();
        QTRY_COMPARE(receivedItems(), QStringList{QStringLiteral("&m1=start:3")});

        WorkflowCounter counter;
        counter.add(QStringLiteral("todocx"));
        counter.add(QStringLiteral("todocx"));
        counter.add(QStringLiteral("tortf"));
        setStartWorkflow(counter.toString());
        setStartWorkflow(QString());
        setStartAvgPages(7);
        setFromPdfOutFolder(5);
        setStartPageRangesWorkflow(QStringLiteral("todocx"));
        sendStartMetrics();
        QTRY_COMPARE(receivedItems().size(), 2);
        QCOMPARE(receivedItems().last(),
                 QStringLiteral("&m1=start:3:todocx_2%2Ctortf&m2=fpnum:7:todocx_2%2Ctortf&m3=fold:5&m4=pages:todocx"));
        QCOMPARE(startWorkflow(), QStringLiteral("todocx_2,tortf"));

        clearUsageStatistics();
        QVERIFY(startWorkflow().isEmpty());
        setFromPdfOutFolder(1);
        sendStartMetrics();
        QTRY_COMPARE(receivedItems().size(), 3);
        QCOMPARE(receivedItems().last(), QStringLiteral("&m1=start:&m2=fold:1"));
    }

    void addIsSentOncePerProcess()
    {
        setAddSource(2);
        sendAddMetric(4);
        QTRY_COMPARE(receivedItems(), QStringList{QStringLiteral("&m1=add:4:2")});
        QCOMPARE(UsageStatistics::instance().value(QLatin1String(UsageStatistics::addSourceKey())), QStringLiteral("0"));

        setAddSource(1);
        sendAddMetric(9);
        QTest::qWait(300);
        QCOMPARE(m_server.targets().size(), 1);
    }
};

QTEST_GUILESS_MAIN(UsageStatisticsTest)
#include "test_usagestatistics.moc"
