#include "quillbook/reader/ConfinedPath.h"

#include <QDir>
#include <QFileInfo>

namespace ConfinedPath {

namespace {

bool isBelow(const QString& folder, const QString& path)
{
    return path.startsWith(folder + QLatin1Char('/')) && path.size() > folder.size() + 1;
}

// The canonical form of path: its deepest existing ancestor resolved by the file system, the part
// that does not exist yet appended as it is (it holds no "." or ".." after cleaning).
QString canonicalOf(const QString& cleanPath)
{
    QString existing = cleanPath;
    QString rest;
    while (!existing.isEmpty()) {
        const QFileInfo info(existing);
        if (info.exists() || info.isSymLink()) {
            const QString canonical = info.canonicalFilePath();
            if (canonical.isEmpty())
                return QString(); // a dangling link: where it leads is unknown
            return rest.isEmpty() ? canonical : canonical + rest;
        }
        const int slash = existing.lastIndexOf(QLatin1Char('/'));
        if (slash <= 0)
            return QString();
        rest.prepend(existing.mid(slash));
        existing.truncate(slash);
    }
    return QString();
}

} // namespace

bool contains(const QString& root, const QString& path)
{
    const QString canonicalRoot = QFileInfo(root).canonicalFilePath();
    if (canonicalRoot.isEmpty() || !QDir::isAbsolutePath(path))
        return false;
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(path));
    const QString canonical = canonicalOf(clean);
    return !canonical.isEmpty() && isBelow(canonicalRoot, canonical);
}

QString resolve(const QString& root, const QString& relative)
{
    const QString name = QDir::fromNativeSeparators(relative);
    if (name.isEmpty() || QDir::isAbsolutePath(name))
        return QString();
    const QString base = QDir::cleanPath(QFileInfo(root).absoluteFilePath());
    const QString joined = QDir::cleanPath(base + QLatin1Char('/') + name);
    if (!isBelow(base, joined) || !contains(root, joined))
        return QString();
    return joined;
}

} // namespace ConfinedPath
