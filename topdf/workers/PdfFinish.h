#pragma once

#include "shared/records/FileSettingsData.h"
#include "shared/records/ToPDFTask.h"

#include <QSharedPointer>
#include <QString>

class DebenuService;

// The last step of the workers whose PDF another program made: open that intermediate PDF, give
// it the task's properties and save it as the target. True only when the target then opens with
// the task's password. The intermediate is removed in every case: on failure no file is left,
// neither the target nor the intermediate in the cache folder.
bool finishPdf(const QSharedPointer<DebenuService>& service, const QString& intermediate, const QString& target,
               const FileSettingsData& settings);

// Hands on the intermediate PDF that another program wrote for a task: a merge part stays where
// it is (it must open), any other task is finished into its final path. The delivered file's
// path, or an empty text on failure.
QString deliverPdf(const QSharedPointer<DebenuService>& service, const QString& intermediate, const ToPDFTask& task,
                   int saveMode, const QString& outputFolder);
