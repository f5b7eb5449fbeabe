#pragma once

#include <QString>

class BookReader;

// The reader for a request's book format (one of EbookFormats, compared without regard to case),
// built with the source path and no parent; null for any other format.
BookReader* createReader(const QString& format, const QString& sourcePath);
