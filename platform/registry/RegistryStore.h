#pragma once

#include <QString>
#include <QVariant>

// Per-user stand-in for the registry values the program keeps outside "settings.ini".
//
// A key path such as "HKEY_CURRENT_USER\Software\Zembrook\Zembrook PDF Converter" maps to one
// INI file below the user's configuration folder ("<config>/Zembrook/registry/HKEY_CURRENT_USER/
// Software/Zembrook/Zembrook PDF Converter.ini"); values live in its general section. Every access
// opens the file anew and releases it at once, as registry access does, so nothing is cached.
//
// Machine-wide keys (HKEY_LOCAL_MACHINE) are read-only; the one value the program reads there,
// "MachineGuid" under "SOFTWARE\Microsoft\Cryptography", comes from the system's machine id.
class RegistryStore
{
public:
    explicit RegistryStore(const QString& keyPath);

    QVariant value(const QString& name, const QVariant& defaultValue = QVariant()) const;
    bool contains(const QString& name) const;
    // Writes are ignored for machine-wide keys.
    void setValue(const QString& name, const QVariant& value);
    void remove(const QString& name);

    // The INI file behind a per-user key; empty for machine-wide keys.
    QString filePath() const;

    // Folder that holds the per-user key files.
    static QString rootFolder();
    // File read for "MachineGuid"; tests may point it elsewhere.
    static void setMachineIdFile(const QString& path);

private:
    bool isMachineKey() const;
    QVariant machineValue(const QString& name) const;

    QString m_keyPath;
};

// The key paths the program uses.
namespace RegistryKeys {
inline const char* product() { return "HKEY_CURRENT_USER\\Software\\Zembrook\\Zembrook PDF Converter"; }
inline const char* ebookReader() { return "HKEY_CURRENT_USER\\Software\\Zembrook\\Zembrook Ebook Reader"; }
inline const char* cryptography() { return "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Cryptography"; }
} // namespace RegistryKeys
