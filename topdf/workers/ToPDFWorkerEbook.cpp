#include "topdf/workers/ToPDFWorkerEbook.h"

#include "app/core/EbookFormats.h"
#include "app/core/FileSystem.h"
#include "app/core/Logger.h"
#include "app/core/ToolPaths.h"
#include "platform/process/ChildProcess.h"
#include "topdf/workers/ToPdfOutput.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>

namespace {

// How much of quillbook's output a failed run logs: its last lines, where the reason stands.
constexpr int keptOutputBytes = 16 * 1024;

void log(const QString& text, int level = Logger::Debug)
{
    Logger::instance()->log(text, level);
}

QString pageSizeName(int pageSize)
{
    switch (pageSize) {
    case LayoutSettingsData::Letter:
        return QStringLiteral("Letter");
    case LayoutSettingsData::A3:
        return QStringLiteral("A3");
    case LayoutSettingsData::A5:
        return QStringLiteral("A5");
    case LayoutSettingsData::B5:
        return QStringLiteral("B5");
    default:
        // "FitImage" means nothing for a book.
        return QStringLiteral("A4");
    }
}

} // namespace

ToPDFWorkerEbook::ToPDFWorkerEbook(ToPdfWorkerContext context)
    : m_context(std::move(context))
{
}

QJsonObject ToPDFWorkerEbook::request(const ToPDFTask& task)
{
    // A merge part gets no properties: the run gives them to the merged file (a password here
    // would lock the part against merging).
    const FileSettingsData file = task.mergePart ? FileSettingsData() : task.fileSettings;
    const LayoutSettingsData& layout = task.layoutSettings;
    QJsonObject object;
    object.insert(QStringLiteral("file_id"), FileSystem::createUniqueId());
    object.insert(QStringLiteral("format"), task.file.suffix());
    object.insert(QStringLiteral("property_author"), file.publisher);
    object.insert(QStringLiteral("property_creator"), ToPdfOutput::productName());
    object.insert(QStringLiteral("property_producer"), file.publisher);
    object.insert(QStringLiteral("property_password"), file.password);
    object.insert(QStringLiteral("property_title"), file.title);
    object.insert(QStringLiteral("page_size"), pageSizeName(layout.pageSize));
    object.insert(QStringLiteral("margin"), LayoutSettingsData::marginMillimetres(layout.margin));
    object.insert(QStringLiteral("page_orientation"), layout.orientation == LayoutSettingsData::Landscape
                                                          ? QStringLiteral("landscape")
                                                          : QStringLiteral("portrait"));
    return object;
}

bool ToPDFWorkerEbook::writeRequest(const ToPDFTask& task, const QString& path)
{
    const QByteArray bytes = QJsonDocument(request(task)).toJson(QJsonDocument::Indented);
    QSaveFile file(path);
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes);
    return file.commit();
}

bool ToPDFWorkerEbook::execute(const ToPDFTask& task, int saveMode, const QString& outputFolder)
{
    m_resultPath.clear();
    const QString source = task.file.filePath();
    ToPdfOutput::logTaskBegin(QStringLiteral("Convert ebook to pdf. Begin"), source);
    if (!ToPdfOutput::hasSuffix(source, EbookFormats::suffixes()))
        return false;

    // quillbook takes a relative path as one inside its own program folder: every path is absolute.
    QString target = ToPdfOutput::targetPath(task, saveMode, outputFolder);
    if (!target.isEmpty())
        target = QDir::toNativeSeparators(QFileInfo(target).absoluteFilePath());
    // The request holds the PDF's password: it goes, with quillbook's response, when the task ends.
    const ToPdfOutput::WorkFolder work;
    const QString requestPath = QDir::toNativeSeparators(
        QFileInfo(QStringLiteral("%1/%2.req").arg(work.path, FileSystem::createUniqueId())).absoluteFilePath());
    if (target.isEmpty() || !writeRequest(task, requestPath)) {
        log(QStringLiteral("Write request [FAILED] %1").arg(requestPath), Logger::Error);
        return false;
    }

    const QStringList arguments = {QStringLiteral("--o"), requestPath, QStringLiteral("--s"), task.file.absoluteFilePath(),
                                   QStringLiteral("--t"), target};
    log(QStringLiteral("Ebook to PDF. Args:'%1'").arg(arguments.join(QLatin1Char(' '))));
    const ChildProcess::Result run = ChildProcess::run(ToolPaths::path(ToolPaths::QuillBook), arguments,
                                                       ToPdfOutput::timeoutFor(source, 10, 1), m_context.stopRequested,
                                                       keptOutputBytes);
    // Only a clean exit with a target that opens is a conversion; whatever else is left at the
    // target (a fresh name of ours) goes.
    const QString password = task.mergePart ? QString() : task.fileSettings.password;
    if (run.succeeded() && ToPdfOutput::opensAsPdf(m_context.service, target, password)) {
        m_resultPath = target;
    } else {
        log(QStringLiteral("quillbook [FAILED] (%1, exit code %2)").arg(int(run.outcome)).arg(run.exitCode), Logger::Error);
        // quillbook writes every line of its log to its error output, the reason of a failure included.
        log(QStringLiteral("quillbook output:\n%1").arg(QString::fromLocal8Bit(run.output).trimmed()));
        QFile::remove(target);
    }
    ToPdfOutput::logTaskEnd(m_resultPath);
    return !m_resultPath.isEmpty();
}
