#include "platform/registry/RegistryStore.h"
#include "services/metrics/SystemInfoMetrics.h"
#include "services/system/SystemInfo.h"
#include "tests/services/FakeSystemInfo.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QtTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

// Worked out independently of the code under test (MD5 of the texts and the fixed salts).
const char serialDigest[] = "023de8822c9c6818a4e3f0ad6dd545fe";      // "SER-1" + drive salt
const char saltOnlyDigest[] = "512a8e581f685dd4692d45d53170272e";    // drive salt alone
const char machineDigest[] = "684ea32a87470d46b40c23b09f7507e5";     // machine id + machine salt
const char machineSaltDigest[] = "9c85558bf2570665b1d72856d243dea7"; // machine salt alone

QStringList names(const MetricList& metrics)
{
    QStringList result;
    for (const Metric& metric : metrics)
        result << metric.name;
    return result;
}

QString valueOf(const MetricList& metrics, const QString& name)
{
    for (const Metric& metric : metrics) {
        if (metric.name == name)
            return metric.value;
    }
    return QStringLiteral("<missing>");
}

bool makeLink(const QString& target, const QString& link)
{
    QDir().mkpath(QFileInfo(link).path());
    return QFile::link(target, link);
}

} // namespace

class SystemInfoTest : public QObject
{
    Q_OBJECT

    std::shared_ptr<FakeSystemInfo> install()
    {
        auto fake = std::make_shared<FakeSystemInfo>();
        setSystemInfoSource(fake);
        return fake;
    }

private slots:
    void cleanup()
    {
        setSystemInfoSource(nullptr);
    }

    void deviceIdFromTheDriveSerial()
    {
        auto fake = install();
        fake->serial = QStringLiteral("  SER-1\n");
        QCOMPARE(deviceId(), QLatin1String(serialDigest));

        fake->serialError = -1;
        QCOMPARE(deviceId(), QLatin1String(saltOnlyDigest));

        fake->serialError = 0;
        fake->location.clear();
        fake->serialReads = 0;
        QCOMPARE(deviceId(), QLatin1String(saltOnlyDigest));
        QCOMPARE(fake->serialReads, 0);
    }

    void machineIdFromTheMachineGuid()
    {
        auto fake = install();
        fake->guid = QStringLiteral("0123456789abcdef0123456789abcdef");
        QCOMPARE(machineId(), QLatin1String(machineDigest));
        fake->guid.clear();
        QCOMPARE(machineId(), QLatin1String(machineSaltDigest));

        // The default source reads the machine id through the registry store.
        setSystemInfoSource(nullptr);
        const QString idFile = TestFiles::sandbox() + QStringLiteral("/machine-id");
        QVERIFY(TestFiles::writeFile(idFile, "0123456789abcdef0123456789abcdef\n"));
        RegistryStore::setMachineIdFile(idFile);
        QCOMPARE(machineId(), QLatin1String(machineDigest));
    }

    void firstRunListFollowsTheScreens()
    {
        auto fake = install();
        fake->type = QStringLiteral("Some OS");
        fake->version = QStringLiteral("1.0");
        MetricList metrics = collectSystemInfoMetrics();
        QCOMPARE(names(metrics), QStringList({"osv", "osk", "dpi", "dis", "osb", "laptop", "tchd", "osid"}));
        QCOMPARE(valueOf(metrics, "osv"), QStringLiteral("Some%20OS1.0"));
        QCOMPARE(valueOf(metrics, "dpi"), QStringLiteral("1"));
        for (const Metric& metric : metrics)
            QVERIFY(metric.information.isEmpty());

        fake->screen = QRect(0, 0, 1920, 1080);
        fake->dpi = 144;
        metrics = collectSystemInfoMetrics();
        QCOMPARE(names(metrics), QStringList({"osv", "osk", "rs", "scl", "dpi", "dis", "osb", "laptop", "tchd", "osid"}));
        QCOMPARE(valueOf(metrics, "rs"), QStringLiteral("1920x1080"));
        QCOMPARE(valueOf(metrics, "scl"), QStringLiteral("144"));

        fake->dpi = 0;
        QCOMPARE(monitorDpiAt(0, 0), 96);
    }

    void defaultSourceUsesTheQtScreens()
    {
        const MetricList metrics = collectSystemInfoMetrics();
        QVERIFY(QGuiApplication::primaryScreen());
        QCOMPARE(metrics.size(), 10);
        const QRect geometry = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(valueOf(metrics, "rs"), QStringLiteral("%1x%2").arg(geometry.width()).arg(geometry.height()));
        QVERIFY(valueOf(metrics, "scl").toInt() > 0);
        QCOMPARE(valueOf(metrics, "dis"), QString::number(QGuiApplication::screens().size()));
        QVERIFY(QStringList({"-1", "0", "1"}).contains(valueOf(metrics, "laptop")));
        // Far outside every screen the nearest one answers.
        QCOMPARE(monitorDpiAt(-100000, -100000), valueOf(metrics, "scl").toInt());
    }

    void batteryFromThePowerSupplyList()
    {
        const QString root = TestFiles::sandbox() + QStringLiteral("/power");
        const SystemInfoSource source(root);
        QCOMPARE(source.batteryState(), -1);

        const QString supplies = root + QStringLiteral("/sys/class/power_supply");
        QVERIFY(TestFiles::writeFile(supplies + QStringLiteral("/AC/type"), "Mains\n"));
        QVERIFY(TestFiles::writeFile(supplies + QStringLiteral("/hid-mouse/type"), "Battery\n"));
        QVERIFY(TestFiles::writeFile(supplies + QStringLiteral("/hid-mouse/scope"), "Device\n"));
        QCOMPARE(source.batteryState(), 0);

        QVERIFY(TestFiles::writeFile(supplies + QStringLiteral("/BAT0/type"), "Battery\n"));
        QCOMPARE(source.batteryState(), 1);
    }

    // A made-up /sys and /dev laid out as Linux lays them out, keyed by the real device number of
    // the sandbox folder.
    void driveSerialOfTheDataFolder()
    {
        const QString root = TestFiles::sandbox() + QStringLiteral("/root");
        const QString dataFolder = TestFiles::sandbox() + QStringLiteral("/home/.local/share/not-yet-made");
        struct stat status;
        QCOMPARE(::stat(QFile::encodeName(TestFiles::sandbox()).constData(), &status), 0);
        const QString number = QStringLiteral("%1:%2").arg(major(status.st_dev)).arg(minor(status.st_dev));
        const SystemInfoSource source(root);
        int code = 0;
        QString device;
        QVERIFY(source.driveSerial(dataFolder, &code, &device).isEmpty());
        QCOMPARE(code, -1);

        // The data folder sits on a partition of an encrypted volume on disk sda.
        const QString devices = root + QStringLiteral("/sys/devices/pci0/block");
        QVERIFY(TestFiles::writeFile(devices + QStringLiteral("/dm-0/dm/name"), "crypt\n"));
        QVERIFY(TestFiles::writeFile(devices + QStringLiteral("/dm-0/dm-0p1/partition"), "1\n"));
        QVERIFY(TestFiles::writeFile(devices + QStringLiteral("/sda/sda2/partition"), "2\n"));
        QVERIFY(makeLink(devices + QStringLiteral("/sda/sda2"), devices + QStringLiteral("/dm-0/slaves/sda2")));
        QVERIFY(makeLink(devices + QStringLiteral("/dm-0/dm-0p1"), root + QStringLiteral("/sys/dev/block/") + number));
        QVERIFY(source.driveSerial(dataFolder, &code, &device).isEmpty());
        QCOMPARE(device, QStringLiteral("/dev/sda"));

        QVERIFY(makeLink(QStringLiteral("../../sda"), root + QStringLiteral("/dev/disk/by-id/ata-Some_Disk_WD-456")));
        QVERIFY(makeLink(QStringLiteral("../../sda2"), root + QStringLiteral("/dev/disk/by-id/ata-Some_Disk_WD-456-part2")));
        QVERIFY(makeLink(QStringLiteral("../../sda"), root + QStringLiteral("/dev/disk/by-id/wwn-0x5000")));
        QVERIFY(makeLink(QStringLiteral("../../sdb"), root + QStringLiteral("/dev/disk/by-id/ata-Other_Disk_XX-1")));
        QCOMPARE(source.driveSerial(dataFolder, &code, &device), QStringLiteral("WD-456"));
        QCOMPARE(code, 0);

        QVERIFY(TestFiles::writeFile(devices + QStringLiteral("/sda/device/serial"), "  S3Z9NB0K  \n"));
        QCOMPARE(source.driveSerial(dataFolder, &code, &device), QStringLiteral("S3Z9NB0K"));
    }
};

QTEST_MAIN(SystemInfoTest)
#include "test_systeminfo.moc"
