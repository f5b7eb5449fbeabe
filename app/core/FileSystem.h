#pragma once

#include <QString>
#include <QStringList>

// File-system helpers of the conversions: the private cache folder, work folders, output names
// that never overwrite an existing file, and clean-up.
namespace FileSystem {

// "<temp>/.<application name>/cache" (forward slashes), created when missing. The folder below
// the temporary folder belongs to the current user alone (mode 0700); when a folder of that name
// exists but is not the user's own (another owner, or a link), a user-specific name is used instead.
QString cachePath();

// True when the folder exists afterwards; creates missing parents.
bool createDir(const QString& path);

// True when path is a folder that files can be written into; a missing folder is created (with
// its parents) first. Otherwise reason, when given, gets why not in the system's words ("Not a
// directory", "Permission denied", "Read-only file system", ...).
bool makeWritableFolder(const QString& path, QString* reason = nullptr);

// A native path in dir that does not exist yet: "dir/fileName", else "dir/(1)fileName",
// "dir/(2)fileName", ... Nothing is created.
QString uniqueFilePath(const QString& dir, const QString& fileName);

// Deletes the folder with everything in it. Symbolic links inside are removed as links; what
// they point at is never touched. True when the folder is gone or never existed; false at the
// first entry that cannot be removed.
bool removeDir(const QString& path);

// Deletes each file; failures are ignored.
void removeFiles(const QStringList& paths);

// A new empty work folder below cachePath(), absolute and native.
QString createTempDir();

// 32 hexadecimal digits from a new random UUID.
QString createUniqueId();

// The folder dialogs open in and outputs go to by default: the user's desktop folder (XDG) when
// it exists, else the home folder (a desktop folder need not exist on Linux).
QString desktopFolder();

} // namespace FileSystem
