#include "quillbook/epub/EpubArchive.h"

#include "quillbook/reader/ConfinedPath.h"

#include "app/core/Logger.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace epub {

namespace {

void logError(const QString& text, int code)
{
    Logger::instance()->log(text.arg(code), Logger::Error);
}

// Copies the current entry into a new file at path; false when the entry cannot be read whole or
// the file cannot be written whole, or when budget (the bytes the archive may still unpack) runs out.
bool copyEntry(QuaZip& zip, const QString& path, qint64& budget)
{
    QuaZipFile entry(&zip);
    if (!entry.open(QIODevice::ReadOnly)) {
        logError(QStringLiteral("Open zip-file. Error:%1"), zip.getZipError());
        return false;
    }
    QFile output(path);
    bool complete = output.open(QIODevice::WriteOnly | QIODevice::NewOnly);
    char buffer[65536];
    while (complete) {
        const qint64 count = entry.read(buffer, sizeof buffer);
        if (count <= 0) {
            complete = count == 0;
            break;
        }
        budget -= count;
        complete = budget >= 0 && output.write(buffer, count) == count;
    }
    complete = complete && entry.getZipError() == UNZ_OK && entry.atEnd();
    entry.close();
    complete = complete && entry.getZipError() == UNZ_OK;
    if (output.isOpen()) {
        complete = output.flush() && complete;
        output.close();
    }
    if (!complete) {
        output.remove();
        logError(budget < 0 ? QStringLiteral("Unzip file. The archive unpacks to more than the limit. Error:%1")
                            : QStringLiteral("Unzip file. Error:%1"),
                 zip.getZipError());
    }
    return complete;
}

} // namespace

bool unzipArchive(const QString& archivePath, const QString& targetFolder, QStringList* extracted,
                  const UnpackLimits& limits, BookFailure* failure)
{
    BookFailure ignored;
    BookFailure& why = failure ? *failure : ignored;
    why = BookFailure::Damaged;
    QuaZip zip(archivePath);
    zip.setFileNameCodec("IBM866");
    if (!zip.open(QuaZip::mdUnzip)) {
        logError(QStringLiteral("Extract archive. Error:%1"), zip.getZipError());
        QFile file(archivePath);
        if (!file.open(QIODevice::ReadOnly) || !file.read(2).startsWith("PK"))
            why = BookFailure::NotThisFormat;
        return false;
    }
    QDir().mkpath(targetFolder);
    if (zip.getEntriesCount() > limits.entries) {
        logError(QStringLiteral("Unzip file. The archive holds more entries than the limit. Error:%1"),
                 zip.getZipError());
        why = BookFailure::TooLarge;
        return false;
    }
    qint64 budget = limits.bytes;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFileInfo64 info;
        if (!zip.getCurrentFileInfo(&info)) {
            logError(QStringLiteral("Get zip-file info error:%1"), zip.getZipError());
            return false;
        }
        if (info.uncompressedSize > quint64(budget)) {
            logError(QStringLiteral("Unzip file. The archive unpacks to more than the limit. Error:%1"),
                     zip.getZipError());
            why = BookFailure::TooLarge;
            return false;
        }
        const QString path = ConfinedPath::resolve(targetFolder, info.name);
        if (path.isEmpty()) {
            Logger::instance()->log(QStringLiteral("Entry outside the folder skipped:%1").arg(info.name),
                                    Logger::Warning);
            continue;
        }
        // A link names a file elsewhere, inside the book or out of it: it is no part of the book.
        // It is not written, not even as the file of its target's name that it would become.
        if (info.isSymbolicLink()) {
            Logger::instance()->log(QStringLiteral("Symbolic link entry left out:%1").arg(info.name), Logger::Warning);
            continue;
        }
        if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
            continue;
        if (info.name.endsWith(QLatin1Char('/'))) {
            QDir().mkpath(path);
            continue;
        }
        Logger::instance()->log(QStringLiteral("File info: %1").arg(path), Logger::Debug);
        if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !copyEntry(zip, path, budget)) {
            if (budget < 0)
                why = BookFailure::TooLarge;
            return false;
        }
        if (extracted)
            extracted->append(path);
    }
    const int error = zip.getZipError();
    zip.close();
    if (error != UNZ_OK || zip.getZipError() != UNZ_OK) {
        logError(QStringLiteral("Unzip file. Error:%1"), error != UNZ_OK ? error : zip.getZipError());
        return false;
    }
    Logger::instance()->log(QStringLiteral("Unzip complete. filename:%1").arg(archivePath), Logger::Info);
    why = BookFailure::None;
    return true;
}

} // namespace epub
