#include "services/system/BlockDeviceSerial.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

// Stacked devices (a partition on an encrypted volume on a RAID) are followed this deep at most.
constexpr int maxLayers = 4;

// The device number of the file system that holds path; for a folder that does not exist yet,
// the one of its nearest existing parent.
bool deviceNumberOf(QString path, dev_t* device)
{
    struct stat status;
    while (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        const QString parent = QFileInfo(path).path();
        if (parent == path || parent.isEmpty())
            return false;
        path = parent;
    }
    *device = status.st_dev;
    return true;
}

QString readTrimmed(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.read(4096)).trimmed();
}

// A partition's sysfs folder lies inside its disk's folder.
QString wholeDisk(const QString& blockFolder)
{
    return QFile::exists(blockFolder + QStringLiteral("/partition")) ? QFileInfo(blockFolder).path() : blockFolder;
}

// "ata-Model_Name_SERIAL" -> "SERIAL" for the by-id link that names the disk itself.
QString serialFromDiskIds(const QString& root, const QString& diskName)
{
    const QDir byId(root + QStringLiteral("/dev/disk/by-id"));
    const QFileInfoList links = byId.entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& link : links) {
        const QString name = link.fileName();
        if (!link.isSymLink() || name.contains(QLatin1String("-part")) || name.startsWith(QLatin1String("wwn-"))
            || name.startsWith(QLatin1String("nvme-eui.")) || name.startsWith(QLatin1String("dm-"))
            || name.startsWith(QLatin1String("lvm-")) || name.startsWith(QLatin1String("md-")))
            continue;
        if (QFileInfo(link.symLinkTarget()).fileName() != diskName)
            continue;
        const int underscore = name.lastIndexOf(QLatin1Char('_'));
        if (underscore >= 0 && underscore + 1 < name.size())
            return name.mid(underscore + 1);
    }
    return QString();
}

} // namespace

QString blockDeviceSerial(const QString& root, const QString& folder, QString* diskPath)
{
    if (diskPath)
        diskPath->clear();
    dev_t device = 0;
    if (folder.isEmpty() || !deviceNumberOf(folder, &device))
        return QString();

    const QString numbered = root + QStringLiteral("/sys/dev/block/%1:%2").arg(major(device)).arg(minor(device));
    QString disk = QFileInfo(numbered).canonicalFilePath();
    if (disk.isEmpty())
        return QString();
    disk = wholeDisk(disk);
    for (int layer = 0; layer < maxLayers; ++layer) {
        const QStringList below = QDir(disk + QStringLiteral("/slaves")).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        if (below.isEmpty())
            break;
        const QString next = QFileInfo(disk + QStringLiteral("/slaves/") + below.first()).canonicalFilePath();
        if (next.isEmpty())
            break;
        disk = wholeDisk(next);
    }

    const QString diskName = QFileInfo(disk).fileName();
    if (diskPath)
        *diskPath = QStringLiteral("/dev/") + diskName;
    for (const char* file : {"/device/serial", "/serial"}) {
        const QString serial = readTrimmed(disk + QLatin1String(file));
        if (!serial.isEmpty())
            return serial;
    }
    return serialFromDiskIds(root, diskName);
}
