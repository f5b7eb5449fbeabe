#include "ToPdfMerge.h"

#include "DebenuDocument.h"
#include "FileSystem.h"
#include "Logger.h"
#include "ToPdfOutput.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The cache folder may sit on another file system than the output folder: copy then.
bool moveFile(const QString& from, const QString& to)
{
    if (QFile::rename(from, to))
        return true;
    return QFile::copy(from, to) && QFile::remove(from);
}

} // namespace

ToPdfMerge::ToPdfMerge(QSharedPointer<DebenuService> service)
    : m_service(std::move(service))
{
}

bool ToPdfMerge::merge(const QList<Part>& parts, const QString& folder, const QString& fileName,
                       const DocumentProperties& properties)
{
    m_mergedPath.clear();
    m_keptPaths.clear();
    QList<Part> existing;
    QStringList files;
    for (const Part& part : parts) {
        if (QFileInfo(part.path).isFile()) {
            existing << part;
            files << part.path;
        }
    }
    if (existing.isEmpty())
        return false;

    FileSystem::createDir(folder);
    const QString target = FileSystem::uniqueFilePath(folder, fileName);
    if (write(files, target, properties)) {
        FileSystem::removeFiles(files);
        m_mergedPath = target;
        return true;
    }
    QFile::remove(target);
    keep(existing, folder);
    return false;
}

bool ToPdfMerge::write(const QStringList& files, const QString& target, const DocumentProperties& properties)
{
    Logger* logger = Logger::instance();
    QString source = files.first();
    const QString temporary = ToPdfOutput::temporaryPdfPath();
    if (files.size() > 1) {
        if (!DebenuDocument::merge(files, temporary, m_service)) {
            logger->log(QStringLiteral("Error merge files (count %1) to %2").arg(QString::number(files.size()), temporary),
                        Logger::Error);
            QFile::remove(temporary);
            return false;
        }
        source = temporary;
    }

    bool written = false;
    {
        DebenuDocument document(m_service, source, QString(), false);
        written = document.isLoaded() && !document.isPasswordRequired() && document.setProperties(properties)
                  && document.save(target);
    }
    written = written && ToPdfOutput::opensAsPdf(m_service, target, properties.password);
    if (!written)
        logger->log(QStringLiteral("Error save file:'%1' to '%2'").arg(source, target), Logger::Error);
    QFile::remove(temporary);
    return written;
}

void ToPdfMerge::keep(const QList<Part>& parts, const QString& folder)
{
    for (const Part& part : parts) {
        const QString kept = FileSystem::uniqueFilePath(folder, part.name);
        if (moveFile(part.path, kept)) {
            m_keptPaths << kept;
        } else {
            Logger::instance()->log(QStringLiteral("Keep part [FAILED] %1").arg(part.path), Logger::Error);
        }
    }
}
