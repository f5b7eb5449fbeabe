#pragma once

#include "frompdf/engine/FromPDFTask.h"

#include <QSharedPointer>
#include <QStringList>

class DebenuService;
class IIntakePrompts;

// Adding PDFs to the "From PDF" side and unlocking protected ones, on the GUI thread. The view
// layer supplies the dialogs through IIntakePrompts.
class FromPdfIntake
{
public:
    // prompts is not owned and must outlive the intake.
    FromPdfIntake(QSharedPointer<DebenuService> service, IIntakePrompts* prompts);

    // Examines the paths under the "Add files" progress dialog and returns the tasks to add, in
    // order: empty when the user stopped the dialog. Files that could not be opened are reported
    // through the prompts and left out.
    FromPDFTaskList addFiles(const QStringList& paths);

    // For a task that still needs a password: asks for it and, when it opens the file, fills the
    // task from the file. A wrong password is reported and leaves the task needing a password.
    // True when the task no longer needs a password.
    bool unlock(FromPDFTask* task);

    enum class UnlockResult {
        Unlocked,
        Skipped,
        SkippedAll
    };
    // Before a conversion, for a task that needs a password: asks until the user gives a working
    // password (the task then gets it with the file's page count and flags, and stays marked as
    // password protected), skips the task, or skips every remaining one. Closing the prompt asks
    // again; a wrong password is reported and asked again. A file that no longer opens at all is
    // reported and skipped.
    UnlockResult unlockOrSkip(FromPDFTask* task);

private:
    QSharedPointer<DebenuService> m_service;
    IIntakePrompts* m_prompts;
};
