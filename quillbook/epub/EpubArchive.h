#pragma once

#include "quillbook/reader/BookReader.h"
#include "quillbook/reader/ReaderLimits.h"

#include <QString>
#include <QStringList>

namespace epub {

struct UnpackLimits
{
    qint64 bytes = ReaderLimits::unpackedBytes;
    int entries = ReaderLimits::archiveEntries;
};

// Unpacks the archive into targetFolder (created when missing). Entries whose names lead outside
// the folder are skipped; of two entries with one name the first wins. False when the archive
// cannot be read, holds more than the limits allow, or an entry cannot be written completely;
// what was unpacked before stays. The written files are appended to extracted when it is given;
// failure, when given, tells why it failed (not a ZIP archive, damaged, over the limits).
bool unzipArchive(const QString& archivePath, const QString& targetFolder, QStringList* extracted = nullptr,
                  const UnpackLimits& limits = UnpackLimits(), BookFailure* failure = nullptr);

} // namespace epub
