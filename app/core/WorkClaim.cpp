#include "app/core/WorkClaim.h"

#include "app/core/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace {

const QString lockSuffix = QStringLiteral(".lock");

} // namespace

WorkClaim::WorkClaim(const QString& path)
    : m_lock(path + lockSuffix)
{
    // A claim lasts as long as its process, however long that is.
    m_lock.setStaleLockTime(0);
    m_held = m_lock.tryLock(0);
}

WorkClaim::~WorkClaim()
{
    if (m_held)
        m_lock.unlock();
}

int WorkClaim::removeLeftovers(const QString& folder, const QRegularExpression& pattern)
{
    int removed = 0;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        if (name.endsWith(lockSuffix)) {
            // A lock whose path has gone: taking it over removes it when the claim ends.
            const QString claimed = entry.absolutePath() + QLatin1Char('/') + name.chopped(lockSuffix.size());
            if (pattern.match(name.chopped(lockSuffix.size())).hasMatch() && !QFileInfo(claimed).exists()
                && !QFileInfo(claimed).isSymLink())
                WorkClaim stale(claimed);
            continue;
        }
        if (!pattern.match(name).hasMatch())
            continue;
        const WorkClaim claim(entry.absoluteFilePath());
        if (!claim.isHeld())
            continue;
        const bool gone = entry.isDir() && !entry.isSymLink()
                              ? FileSystem::removeDir(entry.absoluteFilePath())
                              : ::unlink(QFile::encodeName(entry.absoluteFilePath()).constData()) == 0;
        if (gone)
            ++removed;
    }
    return removed;
}
