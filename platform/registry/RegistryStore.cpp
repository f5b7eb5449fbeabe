#include "platform/registry/RegistryStore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

namespace {

QString& machineIdFile()
{
    static QString path = QStringLiteral("/etc/machine-id");
    return path;
}

// "HKEY_CURRENT_USER\A\B" -> "HKEY_CURRENT_USER/A/B"; empty and ".." parts are dropped so a
// key path can never name a file outside the registry folder.
QString relativeKeyFile(const QString& keyPath)
{
    QStringList parts;
    const QStringList raw = QString(keyPath).replace(QLatin1Char('/'), QLatin1Char('\\')).split(QLatin1Char('\\'));
    for (const QString& part : raw) {
        const QString trimmed = part.trimmed();
        if (trimmed.isEmpty() || trimmed == QLatin1String(".") || trimmed == QLatin1String(".."))
            continue;
        parts << trimmed;
    }
    return parts.join(QLatin1Char('/')) + QStringLiteral(".ini");
}

} // namespace

RegistryStore::RegistryStore(const QString& keyPath)
    : m_keyPath(keyPath)
{
}

QString RegistryStore::rootFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Zembrook/registry");
}

void RegistryStore::setMachineIdFile(const QString& path)
{
    machineIdFile() = path;
}

bool RegistryStore::isMachineKey() const
{
    return m_keyPath.startsWith(QLatin1String("HKEY_LOCAL_MACHINE"), Qt::CaseInsensitive);
}

QString RegistryStore::filePath() const
{
    if (isMachineKey())
        return QString();
    return rootFolder() + QLatin1Char('/') + relativeKeyFile(m_keyPath);
}

QVariant RegistryStore::machineValue(const QString& name) const
{
    if (name.compare(QLatin1String("MachineGuid"), Qt::CaseInsensitive) != 0
        || !m_keyPath.endsWith(QLatin1String("Cryptography"), Qt::CaseInsensitive))
        return QVariant();
    QFile file(machineIdFile());
    if (!file.open(QIODevice::ReadOnly))
        return QVariant();
    const QString id = QString::fromLatin1(file.readLine(256)).trimmed();
    return id.isEmpty() ? QVariant() : QVariant(id);
}

QVariant RegistryStore::value(const QString& name, const QVariant& defaultValue) const
{
    if (isMachineKey()) {
        const QVariant v = machineValue(name);
        return v.isValid() ? v : defaultValue;
    }
    QSettings settings(filePath(), QSettings::IniFormat);
    return settings.value(name, defaultValue);
}

bool RegistryStore::contains(const QString& name) const
{
    if (isMachineKey())
        return machineValue(name).isValid();
    QSettings settings(filePath(), QSettings::IniFormat);
    return settings.contains(name);
}

void RegistryStore::setValue(const QString& name, const QVariant& value)
{
    if (isMachineKey())
        return;
    QSettings settings(filePath(), QSettings::IniFormat);
    settings.setValue(name, value);
}

void RegistryStore::remove(const QString& name)
{
    if (isMachineKey())
        return;
    QSettings settings(filePath(), QSettings::IniFormat);
    settings.remove(name);
}
