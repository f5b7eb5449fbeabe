#include "services/update/UpdateChecker.h"
#include "services/update/Version.h"
#include "tests/services/FakeSystemInfo.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/TestFiles.h"

#include <QSignalSpy>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QtTest>

namespace {

// md5(device id + seed) and md5("2" + mh + seed) for the fake drive serial "SER-1", worked out
// independently of the code under test.
const char expectedMh[] = "c4326c524cc7ecbde8d8a42d88aeb2a0";
const char expectedH[] = "8f233cc581d7b3bd62bf436a5b20732a";

// Accepts TLS connections on 127.0.0.1 with a certificate it signed itself, and notes whether any
// request arrived through one.
class SelfSignedServer : public QTcpServer
{
public:
    QSslCertificate certificate;
    QSslKey key;
    bool requestArrived = false;

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto* socket = new QSslSocket(this);
        socket->setSocketDescriptor(descriptor);
        socket->setLocalCertificate(certificate);
        socket->setPrivateKey(key);
        connect(socket, &QSslSocket::readyRead, this, [this] { requestArrived = true; });
        socket->startServerEncryption();
    }
};

} // namespace

class UpdateCheckerTest : public QObject
{
    Q_OBJECT

    LocalHttpServer m_server;

    // Runs one check against the local server answering as told; returns the offered versions.
    QStringList check(LocalHttpServer::Answer answer, const QByteArray& body, QString* error = nullptr)
    {
        m_server.clearRecords();
        m_server.setAnswer(answer, body);
        UpdateChecker checker(QStringLiteral("2"), QStringLiteral("2.2.6"));
        QSignalSpy offered(&checker, &UpdateChecker::newVersionAvalible);
        checker.checkUpdates();
        // (A dropped connection is tried a second time by Qt's network access.)
        [&] { QTRY_VERIFY(!m_server.targets().isEmpty()); }();
        // The answer is handled on the event loop; give it time to arrive and be judged.
        QTest::qWait(300);
        if (error)
            *error = checker.errorString();
        QStringList versions;
        for (const QList<QVariant>& arguments : offered)
            versions << arguments.first().toString();
        return versions;
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Zembrook"));
        QCoreApplication::setApplicationName(QStringLiteral("Zembrook PDF Converter"));
        setSystemInfoSource(std::make_shared<FakeSystemInfo>());
        QVERIFY(m_server.listen());
        UpdateChecker::setEndpoint(m_server.url(QStringLiteral("/check.php")));
    }

    void compareVersion_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<int>("result");
        QTest::newRow("patch newer") << "2.2.7"
                                     << "2.2.6" << 1;
        QTest::newRow("minor beats patch") << "2.3"
                                           << "2.2.9" << 1;
        QTest::newRow("equal") << "2.2.6"
                               << "2.2.6" << 0;
        QTest::newRow("missing part is 0") << "2.2"
                                           << "2.2.0" << 0;
        QTest::newRow("major older") << "1.9.9"
                                     << "2.0.0" << -1;
        QTest::newRow("numbers, not text") << "2.10.0"
                                           << "2.9.0" << 1;
        QTest::newRow("garbage is 0.0.0") << "abc"
                                          << "0.0.1" << -1;
    }

    void compareVersion()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(int, result);
        QCOMPARE(Version::compareVersion(first, second), result);
        QCOMPARE(Version::compareVersion(second, first), -result);
    }

    void fromString_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("version");
        QTest::newRow("major only") << "3"
                                    << "3.0.0";
        QTest::newRow("stops at a bad minor") << "2.x.5"
                                              << "2.0.0";
        QTest::newRow("not a number") << "abc"
                                      << "0.0.0";
        QTest::newRow("empty") << ""
                               << "0.0.0";
        QTest::newRow("empty major") << ".2.3"
                                     << "0.0.0";
        QTest::newRow("line break") << "2.2.7\n"
                                    << "2.2.7";
    }

    void fromString()
    {
        QFETCH(QString, text);
        QFETCH(QString, version);
        QCOMPARE(Version::fromString(text).toString(), version);
    }

    void requestCarriesVersionProductAndHashes()
    {
        check(LocalHttpServer::Ok, "2.2.6");
        QCOMPARE(m_server.targets().first(), QStringLiteral("/check.php?ver=2.2.6&pid=2&mh=%1&h=%2")
                                                 .arg(QLatin1String(expectedMh), QLatin1String(expectedH)));
    }

    void newerVersionIsOfferedOnce()
    {
        QCOMPARE(check(LocalHttpServer::Ok, "2.2.7"), QStringList{"2.2.7"});
        // A line break around the version is dropped, not offered along.
        QCOMPARE(check(LocalHttpServer::Ok, "2.3\r\n"), QStringList{"2.3"});
    }

    void sameOrOlderOrFailedAnswersOfferNothing()
    {
        QCOMPARE(check(LocalHttpServer::Ok, "2.2.6"), QStringList());
        QCOMPARE(check(LocalHttpServer::Ok, "1.0"), QStringList());
        QCOMPARE(check(LocalHttpServer::Ok, ""), QStringList());

        QString error;
        QCOMPARE(check(LocalHttpServer::NotFound, "9.9.9", &error), QStringList());
        QVERIFY(!error.isEmpty());
        QCOMPARE(check(LocalHttpServer::ServerError, "9.9.9"), QStringList());
        QCOMPARE(check(LocalHttpServer::Drop, QByteArray(), &error), QStringList());
        QVERIFY(!error.isEmpty());
    }

    // The machine's hashes go over HTTPS only to a server the system trusts.
    void asksOverHttpsAndTrustsNoUnknownCertificate()
    {
        UpdateChecker::setEndpoint(QString());
        qunsetenv("QUILLPRESS_UPDATE_URL");
        QVERIFY(UpdateChecker::endpoint().startsWith(QLatin1String("https://")));

        const QString folder = TestFiles::sandbox();
        QCOMPARE(TestFiles::run(QStringLiteral("openssl"),
                                {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj", "/CN=127.0.0.1",
                                 "-keyout", folder + "/key.pem", "-out", folder + "/certificate.pem"}),
                 0);
        SelfSignedServer server;
        server.certificate = QSslCertificate(TestFiles::readFile(folder + "/certificate.pem"));
        server.key = QSslKey(TestFiles::readFile(folder + "/key.pem"), QSsl::Rsa);
        QVERIFY(!server.certificate.isNull() && !server.key.isNull());
        QVERIFY(server.listen(QHostAddress::LocalHost));
        UpdateChecker::setEndpoint(QStringLiteral("https://127.0.0.1:%1/check.php").arg(server.serverPort()));

        UpdateChecker checker(QStringLiteral("2"), QStringLiteral("2.2.6"));
        QSignalSpy offered(&checker, &UpdateChecker::newVersionAvalible);
        checker.checkUpdates();
        QTRY_VERIFY(!checker.errorString().isEmpty());
        QVERIFY(!server.requestArrived);
        QCOMPARE(offered.count(), 0);
        UpdateChecker::setEndpoint(m_server.url(QStringLiteral("/check.php")));
    }

    void hostileAnswersAreRefused_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("markup") << QByteArray("9.9.9<img src=x onerror=alert(1)>");
        QTest::newRow("second line") << QByteArray("9.9.9\nSet-Cookie: a=b");
        QTest::newRow("letters") << QByteArray("9.9.9-beta");
        QTest::newRow("huge number") << QByteArray("99999999999.0");
        QTest::newRow("long body") << QByteArray("9.9.9") + QByteArray(200000, ' ');
        QTest::newRow("nul") << QByteArray("9.9.9\0x", 7);
    }

    void hostileAnswersAreRefused()
    {
        QFETCH(QByteArray, body);
        QCOMPARE(check(LocalHttpServer::Ok, body), QStringList());
    }
};

QTEST_GUILESS_MAIN(UpdateCheckerTest)
#include "test_updatechecker.moc"
