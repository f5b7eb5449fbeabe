#pragma once

#include "services/system/SystemInfoSource.h"

// A computer with fixed answers, so tests do not depend on the machine they run on.
class FakeSystemInfo : public SystemInfoSource
{
public:
    QString type = QStringLiteral("debian");
    QString version = QStringLiteral("12");
    QString kernel = QStringLiteral("6.1.0-18-amd64");
    std::optional<QRect> screen;
    int dpi = 0;
    QString guid;
    QString location = QStringLiteral("/data");
    QString serial = QStringLiteral("SER-1");
    int serialError = 0;
    mutable int serialReads = 0;

    QString productType() const override { return type; }
    QString productVersion() const override { return version; }
    QString kernelVersion() const override { return kernel; }
    std::optional<QRect> primaryScreenGeometry() const override { return screen; }
    int screenDpiAt(const QPoint&) const override { return dpi; }
    qreal devicePixelRatio() const override { return 1.5; }
    int screenCount() const override { return screen ? 1 : 0; }
    int runsAs32BitOn64Bit() const override { return 0; }
    int batteryState() const override { return 1; }
    bool hasTouchScreen() const override { return false; }
    QString machineGuid() const override { return guid; }
    QString dataLocation() const override { return location; }
    QString driveSerial(const QString&, int* errorCode, QString* devicePath) const override
    {
        ++serialReads;
        *errorCode = serialError;
        *devicePath = QStringLiteral("/dev/fake");
        return serialError == 0 ? serial : QString();
    }
};
