#pragma once

#include "topdf/workers/ToPdfWorkerFactory.h"

// Converts the task with the worker createWorker picks, into outputFolder (save mode 2): the
// result path, empty on failure.
inline QString runWorker(const ToPDFTask& task, const ToPdfWorkerContext& context, const QString& outputFolder)
{
    std::unique_ptr<IToPdfWorker> worker = createWorker(task, context);
    if (!worker || !worker->execute(task, 2, outputFolder))
        return QString();
    return worker->resultPath();
}
