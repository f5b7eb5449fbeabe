#pragma once

#include "FromPDFTask.h"

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

private:
    QSharedPointer<DebenuService> m_service;
    IIntakePrompts* m_prompts;
};
