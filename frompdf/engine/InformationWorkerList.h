#pragma once

#include "frompdf/engine/FromPDFTask.h"
#include "frompdf/engine/NullProgress.h"

#include <QObject>
#include <QSharedPointer>
#include <QStringList>

class DebenuService;
class IProgress;

// Turns the paths the user added into from-PDF tasks: one task per PDF that opens (or that needs
// a password), in the order given. Runs synchronously on the GUI thread and processes pending
// events after every file; a stop on the progress discards the whole batch.
class InformationWorkerList : public QObject
{
    Q_OBJECT

public:
    // progress may be null; it is not owned.
    InformationWorkerList(QSharedPointer<DebenuService> service, const QStringList& paths, IProgress* progress,
                          QObject* parent = nullptr);

    FromPDFTaskList tasks() const { return m_tasks; }
    // PDF paths of this run that the library could not open: they became no task.
    QStringList unreadableFiles() const { return m_unreadable; }

public slots:
    void run();

signals:
    void finished(bool successed, FromPDFTaskList items);
    void complete();
    void started();

private:
    IProgress* progress();
    bool examine(const QString& path, FromPDFTask* task);

    QSharedPointer<DebenuService> m_service;
    QStringList m_paths;
    IProgress* m_progress;
    NullProgress m_nullProgress;
    FromPDFTaskList m_tasks;
    QStringList m_unreadable;
};
