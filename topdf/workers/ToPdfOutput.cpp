#include "topdf/workers/ToPdfOutput.h"

#include "app/core/FileSystem.h"
#include "app/core/Logger.h"
#include "app/core/SaveMode.h"
#include "pdflib/service/DebenuDocument.h"
#include "platform/process/ChildProcess.h"

#include <QCoreApplication>
#include <QDir>

namespace ToPdfOutput {

QString outputFolderFor(const ToPDFTask& task, int saveMode, const QString& folder)
{
    const QString result = SaveMode::folderFor(saveMode, task.file, folder);
    if (!result.isEmpty() && !QDir(result).exists())
        QDir(result).mkpath(QStringLiteral("."));
    return result;
}

QString temporaryPdfPath()
{
    return QStringLiteral("%1/%2.pdf").arg(FileSystem::cachePath(), FileSystem::createUniqueId());
}

QString outputFileName(const ToPDFTask& task)
{
    QString name = task.fileSettings.fileName;
    if (name.trimmed().isEmpty())
        name = task.file.completeBaseName();
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return name + QStringLiteral(".pdf");
}

QString finalPath(const ToPDFTask& task, int saveMode, const QString& folder)
{
    const QString outputFolder = outputFolderFor(task, saveMode, folder);
    if (outputFolder.isEmpty())
        return QString();
    return FileSystem::uniqueFilePath(outputFolder, outputFileName(task));
}

QString targetPath(const ToPDFTask& task, int saveMode, const QString& folder)
{
    return task.mergePart ? temporaryPdfPath() : finalPath(task, saveMode, folder);
}

bool opensAsPdf(const QSharedPointer<DebenuService>& service, const QString& path, const QString& password)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    DebenuDocument document(service, path, password.trimmed());
    return document.isLoaded() && !document.isPasswordRequired() && document.pageCount() > 0;
}

DocumentProperties propertiesFor(const FileSettingsData& settings, const QString& creator)
{
    DocumentProperties properties;
    properties.author = settings.publisher;
    properties.title = settings.title;
    properties.password = settings.password;
    properties.creator = creator;
    properties.producer = settings.publisher;
    return properties;
}

QString productName()
{
    return QCoreApplication::applicationName();
}

int timeoutFor(const QString& input, int baseMinutes, int megabytesPerMinute)
{
    return ChildProcess::timeoutFor(input, baseMinutes, megabytesPerMinute, 120);
}

namespace {

const QString blankLine(29, QLatin1Char(' '));
const QString ruleLine(29, QLatin1Char('-'));

void debug(const QString& text)
{
    Logger::instance()->log(text, Logger::Debug);
}

} // namespace

void logTaskBegin(const QString& heading, const QString& source)
{
    debug(blankLine);
    debug(ruleLine);
    debug(heading);
    debug(QStringLiteral("File path:%1").arg(source));
}

void logTaskEnd(const QString& result)
{
    debug(QStringLiteral("Conversion complete. Result file path:%1").arg(result));
    debug(ruleLine);
    debug(blankLine);
}

bool hasSuffix(const QString& source, const QStringList& suffixes)
{
    for (const QString& suffix : suffixes) {
        if (source.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive))
            return true;
    }
    Logger::instance()->log(QStringLiteral("File format is not supported. File path:%1").arg(source), Logger::Error);
    return false;
}

} // namespace ToPdfOutput
