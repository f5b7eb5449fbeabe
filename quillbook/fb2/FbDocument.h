#pragma once

#include "BookReader.h"

namespace fb2 {

// The FictionBook 2 reader: writes one HTML page for each body and for each section without
// subsections, and saves the book's pictures beside them.
class FbDocument : public BookReader
{
    Q_OBJECT
public:
    explicit FbDocument(const QString& sourcePath, QObject* parent = nullptr);

    void convert(const QString& workFolder) override;
};

} // namespace fb2
