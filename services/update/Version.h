#pragma once

#include <QMap>
#include <QString>

// A dotted program version (major.minor.patch) as the update endpoint and the registry give it.
// Missing parts read as 0, and a text whose first part is not a number reads as 0.0.0, so a
// malformed answer is never newer than the installed program.
class Version
{
public:
    enum Part {
        Major = 0,
        Minor = 1,
        Patch = 2
    };

    Version(int major = 0, int minor = 0, int patch = 0);

    static Version fromString(const QString& text);

    // Splits text at "." and stores the leading parts that convert to integers under their index
    // (0 major, 1 minor, 2 patch), stopping at the first one that does not. False when the first
    // part is not a number.
    static bool parseUrl(const QString& text, QMap<int, int>& parts);

    // 1 when first is the newer version, 0 when both are equal, -1 when first is older.
    static int compareVersion(const QString& first, const QString& second);

    int major() const { return m_parts.value(Major); }
    int minor() const { return m_parts.value(Minor); }
    int patch() const { return m_parts.value(Patch); }

    // "major.minor.patch"
    QString toString() const;

private:
    QMap<int, int> m_parts;
};
