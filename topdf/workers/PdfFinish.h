#pragma once

#include "FileSettingsData.h"
#include "ToPDFTask.h"

#include <QSharedPointer>
#include <QString>

class DebenuService;

// The last step of the workers whose PDF another program made: open that intermediate PDF, give
// it the task's properties and save it as the target. True only when the target then opens with
// the task's password; the intermediate is removed then. On failure no target is left; an
// intermediate that opened is kept where it is (it is the only converted copy, and its path is
// logged), one that did not open is removed.
bool finishPdf(const QSharedPointer<DebenuService>& service, const QString& intermediate, const QString& target,
               const FileSettingsData& settings);

// Hands on the intermediate PDF that another program wrote for a task: a merge part stays where
// it is (it must open), any other task is finished into its final path. The delivered file's
// path, or an empty text on failure.
QString deliverPdf(const QSharedPointer<DebenuService>& service, const QString& intermediate, const ToPDFTask& task,
                   int saveMode, const QString& outputFolder);
