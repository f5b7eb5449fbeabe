#pragma once

#include "app/core/FileSystem.h"
#include "pdflib/service/DocumentProperties.h"
#include "shared/records/FileSettingsData.h"
#include "shared/records/ToPDFTask.h"

#include <QSharedPointer>
#include <QString>
#include <QStringList>

class DebenuService;

// Where the to-PDF workers put their files, what they write into them and how they check them.
namespace ToPdfOutput {

// The folder of a task's output under a SaveMode mode (folder for ChosenFolder), an empty text
// for a number of no mode. A missing folder is created.
QString outputFolderFor(const ToPDFTask& task, int saveMode, const QString& folder);

// A fresh "<cache>/<32 hex digits>.pdf" for intermediate and merge-part files.
QString temporaryPdfPath();

// A fresh work folder in the cache folder for a task's own files, removed with everything in it
// when the task ends.
struct WorkFolder
{
    const QString path = FileSystem::createTempDir();
    WorkFolder() = default;
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    ~WorkFolder() { FileSystem::removeDir(path); }
};

// "<fileName>.pdf" of the task's file settings; the source's complete base name when the name is
// empty. A "/" cannot lead out of the output folder: it becomes "_".
QString outputFileName(const ToPDFTask& task);

// The final output path of a task: outputFileName in its output folder, with a counter in front
// when that name exists ("(1)name.pdf"). Empty when the save mode gives no folder.
QString finalPath(const ToPDFTask& task, int saveMode, const QString& folder);

// Where a worker writes: a temporary file for a merge part, else the final path.
QString targetPath(const ToPDFTask& task, int saveMode, const QString& folder);

// True when the file exists and opens as a PDF with at least one page (with the password).
bool opensAsPdf(const QSharedPointer<DebenuService>& service, const QString& path, const QString& password);

// Author and producer are the publisher; title and password as set.
DocumentProperties propertiesFor(const FileSettingsData& settings, const QString& creator);

// The program's product name, written as the creator of the PDFs it makes.
QString productName();

// A time-out for an outside program that no sound run reaches: baseMinutes, plus one minute per
// megabytesPerMinute of input, at most two hours.
int timeoutFor(const QString& input, int baseMinutes, int megabytesPerMinute);

// The debug lines that open a worker's task: a blank line, a rule, the heading and
// "File path:<source>".
void logTaskBegin(const QString& heading, const QString& source);
// "Conversion complete. Result file path:<result>", a rule and a blank line.
void logTaskEnd(const QString& result);
// True when the source's path ends in "." and one of the suffixes (any case); otherwise logs that
// the format is not supported.
bool hasSuffix(const QString& source, const QStringList& suffixes);

} // namespace ToPdfOutput
