#include "frompdf/engine/RangeExtraction.h"

#include "app/core/FileSystem.h"
#include "app/core/Logger.h"
#include "pdflib/service/DebenuDocument.h"
#include "pdflib/service/DebenuService.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace RangeExtraction {

namespace {

void logDebug(const QString& text)
{
    Logger::instance()->log(text, Logger::Debug);
}

QString workFile(const QString& suffix)
{
    return QDir::toNativeSeparators(FileSystem::cachePath() + QLatin1Char('/') + FileSystem::createUniqueId() + suffix);
}

bool extractParts(QSharedPointer<DebenuService> service, const QString& working, const PageRangeList& ranges,
                  const QString& output, QStringList& temporary)
{
    QStringList parts;
    for (const PageRange& range : ranges) {
        const QString part = workFile(QStringLiteral(".pdf"));
        temporary << part;
        if (service->extractPages(working, QString(), part, range.first, range.second - range.first + 1) != 1)
            return false;
        parts << part;
    }
    return !parts.isEmpty() && DebenuDocument::merge(parts, output, service);
}

} // namespace

bool extractToFile(QSharedPointer<DebenuService> service, const QString& source, const QString& password,
                   bool encrypted, const PageRangeList& ranges, const QString& output)
{
    logDebug(QStringLiteral("Extract to file [BEGIN]"));
    if (!QFileInfo::exists(source)) {
        logDebug(QStringLiteral("Split. Source file not found:%1").arg(source));
        return false;
    }
    if (ranges.isEmpty())
        return false;

    QStringList temporary;
    QString working = source;
    bool ok = true;
    if (!password.isEmpty() || encrypted) {
        const QString decrypted = workFile(QString());
        const int result = service->decryptFile(source, decrypted, password);
        logDebug(QStringLiteral("Decrypt result:%1").arg(result));
        if (result != 1) {
            logDebug(QStringLiteral("Decrypt [FAILED]"));
            ok = false;
        }
        temporary << decrypted;
        working = decrypted;
    }
    if (ok) {
        ok = service->extractFilePages(working, QString(), output, pageRangeListText(ranges)) == 1;
        if (!ok)
            ok = extractParts(service, working, ranges, output, temporary);
    }
    if (!ok)
        temporary << output; // no half-made output stays behind in the cache
    FileSystem::removeFiles(temporary);
    logDebug(QStringLiteral("Extract to file [COMPLETE]"));
    return ok;
}

} // namespace RangeExtraction
