#include "topdf/engine/ToPdfMerge.h"

#include "app/core/FileSystem.h"
#include "app/core/Logger.h"
#include "pdflib/service/DebenuDocument.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The cache folder may sit on another file system than the output folder: copy then.
bool moveFile(const QString& from, const QString& to)
{
    if (QFile::rename(from, to))
        return true;
    if (!QFile::copy(from, to))
        return false;
    QFile::remove(from);
    return true;
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
    bool written = false;
    {
        // The parts are appended to the first one and the whole is saved once, with its
        // properties: no merged copy without them passes through the disk.
        DebenuDocument merged(m_service, files.first(), QString(), false);
        bool joined = merged.isLoaded() && !merged.isPasswordRequired();
        for (int i = 1; joined && i < files.size(); ++i) {
            const DebenuDocument part(m_service, files[i], QString(), false);
            joined = m_service->mergeDocument(merged.id(), part.id()) == 1;
        }
        if (!joined) {
            logger->log(QStringLiteral("Error merge files (count %1) to %2").arg(QString::number(files.size()), target),
                        Logger::Error);
            return false;
        }
        // The library writes the file whole or not at all. Opening it again to check would read
        // all of it into memory once more, which for a merge of many photos costs more than the
        // merge itself.
        written = merged.setProperties(properties) && merged.save(target);
    }
    if (!written)
        logger->log(QStringLiteral("Error save file:'%1' to '%2'").arg(files.first(), target), Logger::Error);
    return written;
}

void ToPdfMerge::keep(const QList<Part>& parts, const QString& folder)
{
    for (const Part& part : parts) {
        const QString kept = FileSystem::uniqueFilePath(folder, part.name);
        if (moveFile(part.path, kept)) {
            m_keptPaths << kept;
        } else {
            Logger::instance()->log(QStringLiteral("Keep part [FAILED] %1").arg(kept), Logger::Error);
            QFile::remove(part.path);
        }
    }
}
