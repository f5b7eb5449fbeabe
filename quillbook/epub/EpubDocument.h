#pragma once

#include "quillbook/reader/BookReader.h"

namespace epub {

// The EPUB reader: unpacks the book into the work folder and lists the XHTML documents of its
// spine, in spine order, as the pages. The pages are the book's own files.
class EpubDocument : public BookReader
{
    Q_OBJECT
public:
    explicit EpubDocument(const QString& sourcePath, QObject* parent = nullptr);

    void convert(const QString& workFolder) override;

private:
    friend class EpubParser;
};

} // namespace epub
