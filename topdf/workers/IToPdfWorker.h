#pragma once

#include "platform/process/ChildProcess.h"
#include "shared/records/ToPDFTask.h"

#include <QSharedPointer>
#include <QString>

class DebenuService;

// What every to-PDF worker is given when it is made: the shared PDF service and the run's stop
// request, which the workers poll while an outside program runs and between pages.
struct ToPdfWorkerContext
{
    QSharedPointer<DebenuService> service;
    ChildProcess::StopRequest stopRequested;

    bool isStopped() const { return stopRequested && stopRequested(); }
};

// Converts one to-PDF task into a PDF file. A worker reports success only when its output file
// exists and opens (with the task's password); on failure it leaves no output file behind.
class IToPdfWorker
{
public:
    virtual ~IToPdfWorker() = default;

    // Converts the task. saveMode and outputFolder choose the output folder (see
    // ToPdfOutput::outputFolderFor). A merge part goes to a temporary file without properties.
    virtual bool execute(const ToPDFTask& task, int saveMode, const QString& outputFolder) = 0;

    // The file the last successful execute() wrote; empty when none.
    virtual QString resultPath() const = 0;
};
