#include "platform/registry/RegistryStore.h"
#include "services/metrics/MetricSender.h"
#include "tests/services/FakeSystemInfo.h"
#include "tests/support/LocalHttpServer.h"

#include <QTcpServer>
#include <QThread>
#include <QtTest>

#include <thread>

namespace {

// md5(md5("SER-1" + drive salt) + sender seed), worked out independently of the code under test.
const char expectedDevice[] = "c4326c524cc7ecbde8d8a42d88aeb2a0";

QString sendData()
{
    return RegistryStore(QString::fromLatin1(RegistryKeys::product())).value(QStringLiteral("SendData")).toString();
}

} // namespace

class MetricSenderTest : public QObject
{
    Q_OBJECT

    LocalHttpServer m_server;

    // Items of the requests received so far, without the base query.
    QStringList receivedItems() const
    {
        QStringList items;
        const QString prefix = QStringLiteral("/?pid=2&ver=2.2.6&dev=%1").arg(QLatin1String(expectedDevice));
        for (const QString& target : m_server.targets())
            items << (target.startsWith(prefix) ? target.mid(prefix.size()) : target);
        return items;
    }

    static QString item(const QString& name, int value)
    {
        return QStringLiteral("&m1=%1:%2").arg(name).arg(value);
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Zembrook"));
        QCoreApplication::setApplicationName(QStringLiteral("Zembrook PDF Converter"));
        QCoreApplication::setApplicationVersion(QStringLiteral("2.2.6"));
        setSystemInfoSource(std::make_shared<FakeSystemInfo>());

        // Only a stored 1 switches sending on.
        RegistryStore(QString::fromLatin1(RegistryKeys::product())).setValue(QStringLiteral("SendData"), QStringLiteral("2"));
        QVERIFY(!MetricSender::isEnabled());
        MetricSender::sendMetricNumber(QStringLiteral("off"), 1);
        QVERIFY(MetricSender::pendingItems().isEmpty());
        QVERIFY(m_server.listen());
        MetricSender::setEndpoint(m_server.url());
        MetricSender::setEnabled(true);
        QCOMPARE(sendData(), QStringLiteral("1"));
        MetricSender::init(QStringLiteral("2"), QStringLiteral("2.2.6"));
    }

    void init()
    {
        m_server.setAnswer(LocalHttpServer::Ok);
        m_server.clearRecords();
        MetricSender::setEndpoint(m_server.url());
    }

    void cleanup()
    {
        m_server.release(LocalHttpServer::Ok);
        QTRY_VERIFY_WITH_TIMEOUT(MetricSender::pendingItems().isEmpty(), 10000);
    }

    void requestCarriesBaseQueryAndItem()
    {
        MetricSender::sendMetricNumber(QStringLiteral("set"), 1);
        QTRY_COMPARE(m_server.targets().size(), 1);
        QCOMPARE(m_server.targets().first(),
                 QStringLiteral("/?pid=2&ver=2.2.6&dev=%1&m1=set:1").arg(QLatin1String(expectedDevice)));

        MetricSender::sendMetrics({{QStringLiteral("a"), QStringLiteral("1"), QString()},
                                   {QStringLiteral("b"), QStringLiteral("2"), QStringLiteral("x")},
                                   {QStringLiteral("c"), QStringLiteral("3"), QString()}});
        MetricSender::sendMetrics({});
        QTRY_COMPARE(m_server.targets().size(), 2);
        QCOMPARE(receivedItems().last(), QStringLiteral("&m1=a:1&m2=b:2:x&m3=c:3"));
        QTest::qWait(100);
        QCOMPARE(m_server.targets().size(), 2);
    }

    void percentEncodingReachesTheWireIntact()
    {
        MetricSender::sendMetric(QStringLiteral("err1"), QStringLiteral("a:b c&\u00e9/?#"), QStringLiteral("100%"));
        QTRY_COMPARE(m_server.requestLines().size(), 1);
        const QString line = m_server.requestLines().first();
        QVERIFY2(line.endsWith(QStringLiteral("&m1=err1:a%3Ab%20c%26%C3%A9%2F%3F%23:100%25 HTTP/1.1")), qPrintable(line));
    }

    void oneRequestAtATimeInQueueOrder()
    {
        m_server.setAnswer(LocalHttpServer::Hold);
        for (int i = 1; i <= 3; ++i)
            MetricSender::sendMetricNumber(QStringLiteral("q"), i);
        QTRY_COMPARE(m_server.heldCount(), 1);
        QTest::qWait(300);
        QCOMPARE(m_server.targets().size(), 1);
        QCOMPARE(MetricSender::pendingItems().size(), 3);

        m_server.setAnswer(LocalHttpServer::Ok);
        m_server.release(LocalHttpServer::Ok);
        QTRY_COMPARE(m_server.targets().size(), 3);
        QCOMPARE(receivedItems(), QStringList({item("q", 1), item("q", 2), item("q", 3)}));
    }

    void failedItemIsRetriedFirst()
    {
        m_server.setAnswer(LocalHttpServer::ServerError);
        MetricSender::sendMetricNumber(QStringLiteral("r"), 1);
        QTRY_COMPARE(m_server.targets().size(), 1);
        QTRY_VERIFY(MetricSender::pendingItems() == QStringList{item("r", 1)});

        m_server.setAnswer(LocalHttpServer::Ok);
        MetricSender::sendMetricNumber(QStringLiteral("r"), 2);
        QTRY_COMPARE(m_server.targets().size(), 3);
        QCOMPARE(receivedItems(), QStringList({item("r", 1), item("r", 1), item("r", 2)}));

        // A dropped connection keeps the item too; the 5-second tick sends it again.
        m_server.clearRecords();
        m_server.setAnswer(LocalHttpServer::Drop);
        MetricSender::sendMetricNumber(QStringLiteral("d"), 1);
        QTRY_VERIFY(!m_server.targets().isEmpty());
        QTRY_VERIFY(MetricSender::pendingItems() == QStringList{item("d", 1)});
        m_server.setAnswer(LocalHttpServer::NotFound);
        const int before = m_server.targets().size();
        QTRY_VERIFY_WITH_TIMEOUT(m_server.targets().size() > before, 8000);
        QTRY_VERIFY(MetricSender::pendingItems() == QStringList{item("d", 1)});
        m_server.setAnswer(LocalHttpServer::Ok);
        QTRY_VERIFY_WITH_TIMEOUT(MetricSender::pendingItems().isEmpty(), 8000);
        QCOMPARE(receivedItems().last(), item("d", 1));
    }

    void trimmingKeepsTheItemInFlight()
    {
        m_server.setAnswer(LocalHttpServer::Hold);
        MetricSender::sendMetricNumber(QStringLiteral("keep"), 0);
        QTRY_COMPARE(m_server.heldCount(), 1);
        for (int i = 1; i <= 40; ++i)
            MetricSender::sendMetricNumber(QStringLiteral("n"), i);

        QStringList expected{item("keep", 0)};
        for (int i = 11; i <= 40; ++i)
            expected << item("n", i);
        QCOMPARE(MetricSender::pendingItems(), expected);

        // The answer to the held request removes that request's item, not an unsent one.
        m_server.setAnswer(LocalHttpServer::Ok);
        m_server.release(LocalHttpServer::Ok);
        QTRY_VERIFY_WITH_TIMEOUT(MetricSender::pendingItems().isEmpty(), 10000);
        QCOMPARE(receivedItems(), expected);
    }

    void deadServerKeepsTheNewest31UntilSwitchedOff()
    {
        // A port that was just free and is closed again refuses every connection.
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        MetricSender::setEndpoint(QStringLiteral("http://127.0.0.1:%1/").arg(closed.serverPort()));
        closed.close();

        for (int i = 1; i <= 40; ++i)
            MetricSender::sendMetricNumber(QStringLiteral("n"), i);
        QStringList newest;
        for (int i = 10; i <= 40; ++i)
            newest << item("n", i);
        QCOMPARE(MetricSender::pendingItems(), newest);
        QTest::qWait(500);
        QCOMPARE(MetricSender::pendingItems(), newest);

        // Switched off: new metrics are dropped and the next send attempt empties the queue.
        MetricSender::setEnabled(false);
        QCOMPARE(sendData(), QStringLiteral("0"));
        MetricSender::sendMetricNumber(QStringLiteral("late"), 1);
        QCOMPARE(MetricSender::pendingItems(), newest);
        QTRY_VERIFY_WITH_TIMEOUT(MetricSender::pendingItems().isEmpty(), 8000);
        MetricSender::setEnabled(true);
        QVERIFY(m_server.targets().isEmpty());
    }

    void workerThreadsQueueMetrics()
    {
        QThread* thread = QThread::create([] { MetricSender::sendMetricNumber(QStringLiteral("qthread"), 1); });
        thread->start();
        QVERIFY(thread->wait(5000));
        delete thread;
        // A plain thread has no event loop of its own.
        std::thread plain([] { MetricSender::sendMetric(QStringLiteral("plain"), QStringLiteral("1")); });
        plain.join();
        QTRY_COMPARE(m_server.targets().size(), 2);
        QCOMPARE(receivedItems(), QStringList({item("qthread", 1), item("plain", 1)}));
    }
};

QTEST_GUILESS_MAIN(MetricSenderTest)
#include "test_metricsender.moc"
