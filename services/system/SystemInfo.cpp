#include "services/system/SystemInfo.h"

#include "app/core/Logger.h"
#include "services/system/SystemInfoSource.h"

#include <QCryptographicHash>

namespace {

const char driveSalt[] = "{3D5A0C92-7B1E-4F86-A2C4-91E07B5D63F8}";
const char machineSalt[] = "5idPlumo";
constexpr int fallbackDpi = 96;

QString md5Hex(const QString& text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex());
}

void logDebug(const QString& text)
{
    Logger::instance()->log(text, Logger::Debug);
}

} // namespace

int monitorDpiAt(int x, int y)
{
    const int dpi = systemInfoSource()->screenDpiAt(QPoint(x, y));
    if (dpi <= 0)
        return fallbackDpi;
    logDebug(QStringLiteral("DPI: %1").arg(dpi));
    return dpi;
}

QString deviceId()
{
    const auto source = systemInfoSource();
    const QString location = source->dataLocation();
    int code = -1;
    QString serial;
    if (location.isEmpty()) {
        logDebug(QStringLiteral("Get root path [FAILED]"));
    } else {
        QString devicePath;
        serial = source->driveSerial(location, &code, &devicePath);
        logDebug(QStringLiteral("Get serial number for win v2. Root path:'%1' Drive path:'%2'").arg(location, devicePath));
    }
    if (code != 0) {
        logDebug(QStringLiteral("Get HDD info for OS installed error:%1").arg(code));
        serial.clear();
    } else {
        serial = serial.trimmed();
    }
    logDebug(QStringLiteral("HDD OS ID V3:%1").arg(serial));
    return md5Hex(serial + QLatin1String(driveSalt));
}

QString machineId()
{
    const QString guid = systemInfoSource()->machineGuid();
    if (guid.isEmpty())
        logDebug(QStringLiteral("Could not read registry value"));
    return md5Hex(guid + QLatin1String(machineSalt));
}
