#include "services/system/SystemInfoSource.h"

#include "platform/registry/RegistryStore.h"
#include "services/system/BlockDeviceSerial.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMutex>
#include <QScreen>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTouchDevice>

#include <limits>

SystemInfoSource::SystemInfoSource(const QString& root)
    : m_root(root)
{
}

SystemInfoSource::~SystemInfoSource() = default;

QString SystemInfoSource::systemPath(const QString& path) const
{
    return m_root + QLatin1Char('/') + path;
}

QString SystemInfoSource::productType() const
{
    return QSysInfo::productType();
}

QString SystemInfoSource::productVersion() const
{
    return QSysInfo::productVersion();
}

QString SystemInfoSource::kernelVersion() const
{
    return QSysInfo::kernelVersion();
}

std::optional<QRect> SystemInfoSource::primaryScreenGeometry() const
{
    if (!qGuiApp || !QGuiApplication::primaryScreen())
        return std::nullopt;
    return QGuiApplication::primaryScreen()->geometry();
}

int SystemInfoSource::screenDpiAt(const QPoint& point) const
{
    if (!qGuiApp)
        return 0;
    QScreen* nearest = QGuiApplication::screenAt(point);
    if (!nearest) {
        // Outside every screen: take the screen whose area comes closest to the point.
        int best = std::numeric_limits<int>::max();
        for (QScreen* screen : QGuiApplication::screens()) {
            const QRect area = screen->geometry();
            const int dx = qMax(qMax(area.left() - point.x(), point.x() - area.right()), 0);
            const int dy = qMax(qMax(area.top() - point.y(), point.y() - area.bottom()), 0);
            if (dx + dy < best) {
                best = dx + dy;
                nearest = screen;
            }
        }
    }
    return nearest ? qRound(nearest->logicalDotsPerInchX()) : 0;
}

qreal SystemInfoSource::devicePixelRatio() const
{
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

int SystemInfoSource::screenCount() const
{
    return qGuiApp ? QGuiApplication::screens().size() : 0;
}

int SystemInfoSource::runsAs32BitOn64Bit() const
{
    return (QSysInfo::WordSize == 32 && QSysInfo::currentCpuArchitecture().contains(QLatin1String("64"))) ? 1 : 0;
}

int SystemInfoSource::batteryState() const
{
    const QDir supplies(systemPath(QStringLiteral("sys/class/power_supply")));
    if (!supplies.exists())
        return -1;
    const auto read = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readLine(64)).trimmed() : QString();
    };
    for (const QString& name : supplies.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString folder = supplies.filePath(name);
        // Batteries of mice and keyboards report the scope "Device"; they do not make a laptop.
        if (read(folder + QStringLiteral("/type")) == QLatin1String("Battery")
            && read(folder + QStringLiteral("/scope")) != QLatin1String("Device"))
            return 1;
    }
    return 0;
}

bool SystemInfoSource::hasTouchScreen() const
{
    for (const QTouchDevice* device : QTouchDevice::devices()) {
        if (device->type() == QTouchDevice::TouchScreen)
            return true;
    }
    return false;
}

QString SystemInfoSource::machineGuid() const
{
    return RegistryStore(QString::fromLatin1(RegistryKeys::cryptography())).value(QStringLiteral("MachineGuid")).toString();
}

QString SystemInfoSource::dataLocation() const
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString SystemInfoSource::driveSerial(const QString& folder, int* errorCode, QString* devicePath) const
{
    const QString serial = blockDeviceSerial(m_root, folder, devicePath);
    if (errorCode)
        *errorCode = serial.isEmpty() ? -1 : 0;
    return serial;
}

namespace {

QMutex& sourceLock()
{
    static QMutex mutex;
    return mutex;
}

std::shared_ptr<const SystemInfoSource>& installedSource()
{
    static std::shared_ptr<const SystemInfoSource> source;
    return source;
}

} // namespace

std::shared_ptr<const SystemInfoSource> systemInfoSource()
{
    QMutexLocker locker(&sourceLock());
    if (!installedSource())
        installedSource() = std::make_shared<SystemInfoSource>();
    return installedSource();
}

void setSystemInfoSource(std::shared_ptr<const SystemInfoSource> source)
{
    QMutexLocker locker(&sourceLock());
    installedSource() = std::move(source);
}
