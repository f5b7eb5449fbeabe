#include "frompdf/engine/InformationWorkerList.h"

#include "app/core/Logger.h"
#include "frompdf/engine/PdfFacts.h"
#include "pdflib/service/DebenuDocument.h"

#include <QCoreApplication>
#include <QFileInfo>

InformationWorkerList::InformationWorkerList(QSharedPointer<DebenuService> service, const QStringList& paths,
                                             IProgress* progress, QObject* parent)
    : QObject(parent)
    , m_service(std::move(service))
    , m_paths(paths)
    , m_progress(progress)
{
}

IProgress* InformationWorkerList::progress()
{
    return m_progress ? m_progress : &m_nullProgress;
}

void InformationWorkerList::run()
{
    emit started();
    Logger* logger = Logger::instance();
    logger->log(QStringLiteral("Add worker running..."), Logger::Debug);

    const int count = m_paths.size();
    progress()->reset();
    progress()->setMinimum(1);
    progress()->setMaximum(count);
    progress()->setText(QString());
    progress()->setValue(1);
    logger->log(QStringLiteral("Total files:%1").arg(count), Logger::Debug);

    m_tasks.clear();
    m_unreadable.clear();
    if (!progress()->isStopped()) {
        for (int i = 1; i <= count; ++i) {
            const QString& path = m_paths.at(i - 1);
            const QFileInfo info(path);
            if (info.isFile() && path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
                progress()->setText(tr("%1 out of %2 files. %3").arg(QString::number(i), QString::number(count), info.fileName()));
                FromPDFTask task;
                if (examine(path, &task)) {
                    m_tasks << task;
                } else {
                    // A file the library cannot read would become a task of 0 pages that converts
                    // to nothing: it is reported instead.
                    logger->log(QStringLiteral("Open file [FAILED] '%1'").arg(path), Logger::Warning);
                    m_unreadable << path;
                }
            }
            progress()->setValue(i);
            QCoreApplication::processEvents();
            if (progress()->isStopped())
                break;
        }
    }

    bool successed = true;
    if (progress()->isStopped()) {
        m_tasks.clear();
        m_unreadable.clear();
        successed = false;
    }
    emit finished(successed, m_tasks);
    emit complete();
}

bool InformationWorkerList::examine(const QString& path, FromPDFTask* task)
{
    DebenuDocument document(m_service, path, QString(), false);
    task->file = QFileInfo(path);
    if (!document.isLoaded())
        return false;
    if (document.isPasswordRequired()) {
        task->passwordRequired = true;
        return true;
    }
    task->format = QStringLiteral("doc");
    task->passwordRequired = false;
    task->pageCount = document.pageCount();
    task->securityInfo5Is6 = document.securityInfo5Is6();
    task->encrypted = document.isEncrypted();
    task->scanned = PdfFacts::looksScanned(document);
    return task->pageCount > 0;
}
