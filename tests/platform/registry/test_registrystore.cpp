#include "platform/registry/RegistryStore.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QtTest>

class RegistryStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void roundTripLeavesNothingInTheCurrentFolder()
    {
        const QString cwd = TestFiles::sandbox() + QStringLiteral("/cwd");
        QVERIFY(QDir().mkpath(cwd));
        QVERIFY(QDir::setCurrent(cwd));

        RegistryStore product(QString::fromLatin1(RegistryKeys::product()));
        QVERIFY(!product.contains(QStringLiteral("SendData")));
        QCOMPARE(product.value(QStringLiteral("SendData"), -1).toInt(), -1);
        product.setValue(QStringLiteral("SendData"), 1);
        product.setValue(QStringLiteral("DisplayVersion"), QStringLiteral("2.2.7"));

        // A new object on the same key sees the values; another key does not.
        RegistryStore again(QString::fromLatin1(RegistryKeys::product()));
        QCOMPARE(again.value(QStringLiteral("SendData")).toInt(), 1);
        QCOMPARE(again.value(QStringLiteral("DisplayVersion")).toString(), QStringLiteral("2.2.7"));
        RegistryStore reader(QString::fromLatin1(RegistryKeys::ebookReader()));
        QVERIFY(!reader.contains(QStringLiteral("SendData")));
        reader.setValue(QStringLiteral("uex"), 2);
        QCOMPARE(RegistryStore(QString::fromLatin1(RegistryKeys::ebookReader())).value(QStringLiteral("uex"), -1).toInt(), 2);

        again.remove(QStringLiteral("SendData"));
        QVERIFY(!product.contains(QStringLiteral("SendData")));

        QVERIFY(product.filePath().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME") + QLatin1Char('/')));
        QVERIFY(product.filePath().endsWith(QStringLiteral("/HKEY_CURRENT_USER/Software/Zembrook/Zembrook PDF Converter.ini")));
        QVERIFY2(TestFiles::entries(cwd).isEmpty(), qPrintable(TestFiles::entries(cwd).join(QLatin1Char(','))));
    }

    void keyPathsCannotLeaveTheStore()
    {
        RegistryStore sneaky(QStringLiteral("HKEY_CURRENT_USER\\..\\..\\..\\escape"));
        QVERIFY(sneaky.filePath().startsWith(RegistryStore::rootFolder() + QLatin1Char('/')));
        QVERIFY(!sneaky.filePath().contains(QStringLiteral("..")));
    }

    void machineGuidComesFromTheMachineId()
    {
        const QString idFile = TestFiles::sandbox() + QStringLiteral("/machine-id");
        QVERIFY(TestFiles::writeFile(idFile, "0123456789abcdef0123456789abcdef\n"));
        RegistryStore::setMachineIdFile(idFile);
        RegistryStore crypto(QString::fromLatin1(RegistryKeys::cryptography()));
        QCOMPARE(crypto.value(QStringLiteral("MachineGuid")).toString(), QStringLiteral("0123456789abcdef0123456789abcdef"));
        crypto.setValue(QStringLiteral("MachineGuid"), QStringLiteral("changed"));
        QCOMPARE(crypto.value(QStringLiteral("MachineGuid")).toString(), QStringLiteral("0123456789abcdef0123456789abcdef"));
        QVERIFY(crypto.filePath().isEmpty());

        RegistryStore::setMachineIdFile(TestFiles::sandbox() + QStringLiteral("/missing"));
        QCOMPARE(crypto.value(QStringLiteral("MachineGuid"), QStringLiteral("none")).toString(), QStringLiteral("none"));
    }
};

QTEST_GUILESS_MAIN(RegistryStoreTest)
#include "test_registrystore.moc"
