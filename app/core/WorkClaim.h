#pragma once

#include <QLockFile>
#include <QRegularExpression>
#include <QString>

// A running program's claim on a work path (a folder or file in a cache folder), so that no
// other run takes it for a leftover: the lock file "<path>.lock", held by this process while the
// claim lives. A claim whose process has ended no longer counts.
class WorkClaim
{
public:
    // Claims path; isHeld() tells whether the claim is ours (another running process may hold it).
    explicit WorkClaim(const QString& path);
    ~WorkClaim();

    WorkClaim(const WorkClaim&) = delete;
    WorkClaim& operator=(const WorkClaim&) = delete;

    bool isHeld() const { return m_held; }

    // Removes from folder what runs that were killed or crashed left there: the entries whose
    // names match pattern and that no running process claims, and their stale lock files. Other
    // entries are never touched. Returns the number of entries removed.
    static int removeLeftovers(const QString& folder, const QRegularExpression& pattern);

private:
    QLockFile m_lock;
    bool m_held = false;
};
