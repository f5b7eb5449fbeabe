#include "app/core/FileSystem.h"

#include "app/core/Logger.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUuid>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace FileSystem {

namespace {

// Makes path a folder of our own with mode 0700. False when something else sits there: a folder
// of another user, a symbolic link or a file.
bool ensurePrivateFolder(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat info;
    if (::lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
        return false;
    if ((info.st_mode & 0777) != 0700)
        ::chmod(native.constData(), 0700);
    return true;
}

} // namespace

QString cachePath()
{
    const QString base = QDir::tempPath() + QStringLiteral("/.") + QCoreApplication::applicationName();
    QString root = base;
    if (!ensurePrivateFolder(root)) {
        root = base + QStringLiteral("-") + QString::number(::geteuid());
        ensurePrivateFolder(root);
    }
    const QString path = root + QStringLiteral("/cache");
    if (!QFileInfo::exists(path))
        QDir().mkpath(path);
    return path;
}

bool createDir(const QString& path)
{
    if (QDir(path).exists())
        return true;
    return QDir(path).mkpath(QStringLiteral("."));
}

bool makeWritableFolder(const QString& path, QString* reason)
{
    auto fail = [reason](int error) {
        if (reason)
            *reason = qt_error_string(error);
        return false;
    };
    if (path.isEmpty())
        return fail(ENOENT);
    if (!createDir(path)) {
        // The first missing folder of the path, made again to learn why it cannot be.
        QString missing = QDir::cleanPath(QDir(path).absolutePath());
        while (!QFileInfo::exists(QFileInfo(missing).absolutePath()))
            missing = QFileInfo(missing).absolutePath();
        if (QFileInfo(missing).exists())
            return fail(ENOTDIR);
        const int made = ::mkdir(QFile::encodeName(missing).constData(), 0777);
        const int error = made == 0 ? 0 : errno;
        if (made != 0 || !createDir(path))
            return fail(error ? error : ENOTDIR);
    }
    // Writing a file is the one test that also knows read-only file systems and access lists.
    errno = 0;
    QTemporaryFile probe(path + QStringLiteral("/.write-test-XXXXXX"));
    if (probe.open())
        return true;
    if (reason)
        *reason = errno ? qt_error_string(errno) : probe.errorString();
    return false;
}

QString desktopFolder()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return QFileInfo(desktop).isDir() ? desktop : QDir::homePath();
}

QString uniqueFilePath(const QString& dir, const QString& fileName)
{
    QString candidate = QDir::toNativeSeparators(dir + QLatin1Char('/') + fileName);
    for (int counter = 1; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++counter) {
        // One pass over the pattern: a "%2" inside dir or fileName stays as it is.
        candidate = QDir::toNativeSeparators(QStringLiteral("%1/(%2)%3").arg(dir, QString::number(counter), fileName));
    }
    return candidate;
}

bool removeDir(const QString& path)
{
    Logger::instance()->log(QStringLiteral("Removing dir: %1").arg(path), Logger::Debug);
    const QFileInfo top(path);
    bool result = true;
    if (top.isSymLink()) {
        // A link given as the folder: remove the link, never the folder it points at.
        result = QFile::remove(path) || ::unlink(QFile::encodeName(path).constData()) == 0;
    } else if (QDir(path).exists(path)) {
        const QFileInfoList entries = QDir(path).entryInfoList(
            QDir::NoDotAndDotDot | QDir::AllDirs | QDir::Files | QDir::Hidden | QDir::System, QDir::DirsFirst);
        for (const QFileInfo& entry : entries) {
            const QString entryPath = entry.absoluteFilePath();
            bool removed;
            if (entry.isSymLink())
                removed = ::unlink(QFile::encodeName(entryPath).constData()) == 0;
            else if (entry.isDir())
                removed = removeDir(entryPath);
            else
                removed = QFile::remove(entryPath);
            if (!removed) {
                Logger::instance()->log(QStringLiteral("Result: false"), Logger::Debug);
                return false;
            }
        }
        result = QDir().rmdir(path);
    }
    Logger::instance()->log(QStringLiteral("Result: %1").arg(result ? QStringLiteral("true") : QStringLiteral("false")),
                            Logger::Debug);
    return result;
}

void removeFiles(const QStringList& paths)
{
    for (const QString& path : paths)
        QFile::remove(path);
}

QString createTempDir()
{
    const QString path =
        QDir::toNativeSeparators(QFileInfo(cachePath() + QLatin1Char('/') + createUniqueId()).absoluteFilePath());
    if (!QFileInfo::exists(path))
        QDir().mkpath(path);
    return path;
}

QString createUniqueId()
{
    return QUuid::createUuid().toString(QUuid::Id128);
}

} // namespace FileSystem
