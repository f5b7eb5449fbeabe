#include "app/ExitMarker.h"

#include "platform/crashguard/PreparedFile.h"
#include "platform/registry/RegistryStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

namespace {

const char markerName[] = "uex";

PreparedFile& crashedMarker()
{
    static PreparedFile file;
    return file;
}

} // namespace

int readUnexpectedExitFlag()
{
    return RegistryStore(QLatin1String(RegistryKeys::ebookReader())).value(QLatin1String(markerName), -1).toInt();
}

void writeUnexpectedExitFlag(int value)
{
    RegistryStore(QLatin1String(RegistryKeys::ebookReader())).setValue(QLatin1String(markerName), value);
}

void prepareCrashedExitFlag()
{
    const QString path = RegistryStore(QLatin1String(RegistryKeys::ebookReader())).filePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    // The store as it is now, with the marker at 2, written the way the store writes itself.
    QTemporaryDir scratch;
    const QString copy = scratch.path() + QStringLiteral("/marker.ini");
    QFile::copy(path, copy);
    {
        QSettings store(copy, QSettings::IniFormat);
        store.setValue(QLatin1String(markerName), 2);
    }
    QFile file(copy);
    file.open(QIODevice::ReadOnly);
    crashedMarker().prepare(path, file.readAll());
}

bool writeCrashedExitFlag()
{
    return crashedMarker().write();
}
