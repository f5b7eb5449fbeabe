#include "frompdf/engine/FromPdfIntake.h"

#include "app/core/Logger.h"
#include "frompdf/engine/IIntakePrompts.h"
#include "frompdf/engine/InformationWorker.h"
#include "frompdf/engine/InformationWorkerList.h"

#include <QFileInfo>

FromPdfIntake::FromPdfIntake(QSharedPointer<DebenuService> service, IIntakePrompts* prompts)
    : m_service(std::move(service))
    , m_prompts(prompts)
{
}

FromPDFTaskList FromPdfIntake::addFiles(const QStringList& paths)
{
    IProgress* progress = m_prompts->showAddProgress();
    InformationWorkerList worker(m_service, paths, progress);
    bool successed = false;
    FromPDFTaskList tasks;
    QObject::connect(&worker, &InformationWorkerList::finished, [&](bool ok, const FromPDFTaskList& items) {
        successed = ok;
        tasks = items;
    });
    worker.run();
    Logger::instance()->log(QStringLiteral("Add complete"), Logger::Debug);
    m_prompts->hideAddProgress();
    if (!successed)
        return FromPDFTaskList();

    QStringList unreadable;
    for (const QString& path : worker.unreadableFiles())
        unreadable << QFileInfo(path).fileName();
    if (!unreadable.isEmpty())
        m_prompts->showUnreadableFiles(unreadable);
    return tasks;
}

bool FromPdfIntake::unlock(FromPDFTask* task)
{
    const QString path = task->file.filePath();
    if (!task->needsPassword() || path.isEmpty())
        return !task->needsPassword();

    const QString fileName = task->file.fileName();
    QString typed;
    if (!m_prompts->askPassword(fileName, &typed) || typed.trimmed().isEmpty())
        return false;

    InformationWorker worker(m_service, path, typed.trimmed());
    worker.run();
    if (!worker.isDone())
        return false;
    const PdfInformation information = worker.information();
    if (!worker.isLoaded()) {
        // The file went away or broke since it was added: keep the task as it was.
        m_prompts->showUnreadableFiles({fileName});
        return false;
    }
    task->passwordRequired = information.passwordProtected;
    task->password = information.password;
    task->pageCount = information.pageCount;
    task->securityInfo5Is6 = information.securityInfo5Is6;
    task->encrypted = information.encrypted;
    task->scanned = information.scanned;
    if (information.passwordProtected && information.password.isEmpty())
        m_prompts->showWrongPassword(fileName);
    return !task->needsPassword();
}

FromPdfIntake::UnlockResult FromPdfIntake::unlockOrSkip(FromPDFTask* task)
{
    const QString name = task->file.baseName();
    for (;;) {
        QString typed;
        switch (m_prompts->askPasswordOrSkip(name, &typed)) {
        case IIntakePrompts::PasswordChoice::Closed:
            continue;
        case IIntakePrompts::PasswordChoice::Skip:
            return UnlockResult::Skipped;
        case IIntakePrompts::PasswordChoice::SkipAll:
            return UnlockResult::SkippedAll;
        case IIntakePrompts::PasswordChoice::Ok:
            break;
        }
        InformationWorker worker(m_service, task->file.filePath(), typed);
        worker.run();
        if (!worker.isLoaded()) {
            // Gone or broken since it was added: asking again could never succeed.
            m_prompts->showUnreadableFiles({task->file.fileName()});
            return UnlockResult::Skipped;
        }
        const PdfInformation information = worker.information();
        if (information.passwordRequired) {
            m_prompts->showWrongPassword(name);
            continue;
        }
        task->password = typed;
        task->pageCount = information.pageCount;
        task->scanned = information.scanned;
        task->encrypted = information.encrypted;
        task->passwordRequired = true;
        return UnlockResult::Unlocked;
    }
}
