#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

#include <memory>
#include <optional>

// The facts about this computer that the first-run metrics and the device identifier are made
// of, behind one seam. This class reads them from Qt and from the Linux system folders below a
// root folder ("/" in the program); tests subclass it with fixed answers, or give it a root folder
// with a made-up /sys and /dev, and install it with setSystemInfoSource().
class SystemInfoSource
{
public:
    explicit SystemInfoSource(const QString& root = QStringLiteral("/"));
    virtual ~SystemInfoSource();

    // Operating-system names as QSysInfo reports them ("debian", "12", "6.1.0-18-amd64").
    virtual QString productType() const;
    virtual QString productVersion() const;
    virtual QString kernelVersion() const;

    // Geometry of the primary screen; none without a GUI application or screen.
    virtual std::optional<QRect> primaryScreenGeometry() const;
    // Logical horizontal DPI of the screen nearest to a point; 0 when there is no screen.
    virtual int screenDpiAt(const QPoint& point) const;
    // 1.0 without a GUI application.
    virtual qreal devicePixelRatio() const;
    virtual int screenCount() const;

    // 1 when a 32-bit build runs on a 64-bit system, else 0.
    virtual int runsAs32BitOn64Bit() const;
    // 1 when a system battery is present, 0 when the power-supply list has none, -1 when unknown.
    virtual int batteryState() const;
    // True when a touch screen (not a touch pad) is registered.
    virtual bool hasTouchScreen() const;

    // The machine id ("MachineGuid" of the registry store, read from /etc/machine-id); empty
    // when it cannot be read.
    virtual QString machineGuid() const;

    // The application's writable data folder, whose drive the device identifier describes.
    virtual QString dataLocation() const;
    // The serial number of the block device that holds folder (a disk, also behind a partition
    // or a device-mapper layer). errorCode is 0 when found, else non-zero with an empty result.
    // devicePath receives the device looked at ("/dev/sda"), empty when none.
    virtual QString driveSerial(const QString& folder, int* errorCode, QString* devicePath) const;

protected:
    // path below the root folder ("sys/class/power_supply" -> "<root>/sys/class/power_supply").
    QString systemPath(const QString& path) const;

private:
    QString m_root;
};

// The source the metrics read; a default-constructed SystemInfoSource unless one was installed.
std::shared_ptr<const SystemInfoSource> systemInfoSource();
// Installs source for later reads; nullptr restores the default.
void setSystemInfoSource(std::shared_ptr<const SystemInfoSource> source);
