#include "shared/office/OfficeService.h"

#include "app/core/FileSystem.h"
#include "app/core/Logger.h"
#include "app/core/ToolPaths.h"
#include "platform/libreoffice/LibreOfficeRunner.h"

#include <QMutexLocker>

namespace {

struct Failure
{
    QString message;
    int code = 0;
};

// The last failure of each calling thread.
thread_local Failure lastFailure;

} // namespace

OfficeService& OfficeService::instance()
{
    static OfficeService service;
    return service;
}

QString OfficeService::pdfFilterName(const QString& sourceSuffix)
{
    return LibreOfficeRunner::pdfFilterName(sourceSuffix);
}

QString OfficeService::convertFilter(const QString& source, const QString& destination)
{
    return LibreOfficeRunner::convertFilter(source, destination);
}

bool OfficeService::saveDocAs(const QString& source, const QString& destination,
                              const ChildProcess::StopRequest& stopRequested)
{
    // One LibreOffice at a time: each run is heavy, and callers on several worker threads then
    // simply wait for their turn.
    QMutexLocker lock(&m_mutex);
    // The profile and output folders live in the user's private cache folder (mode 0700).
    const LibreOfficeRunner runner(ToolPaths::path(ToolPaths::Soffice), FileSystem::cachePath());
    const bool saved = runner.saveAs(source, destination, stopRequested);
    lastFailure = Failure();
    if (!saved) {
        const ChildProcess::Result run = runner.lastRun();
        lastFailure.message = runner.lastError();
        lastFailure.code = run.outcome == ChildProcess::Outcome::Finished ? run.exitCode : -1;
        Logger::instance()->log(QStringLiteral("Save file [FAILED]"), Logger::Debug);
    }
    return saved;
}

int OfficeService::errorCode() const
{
    return lastFailure.code;
}

QString OfficeService::errorMessage() const
{
    return lastFailure.message;
}
