#pragma once

#include "BookReader.h"
#include "FbBook.h"

namespace fb2 {

// The FictionBook 2 reader: saves the book's pictures into the work folder and writes one HTML
// page for each body and for each section without subsections (a section with subsections gives
// only a page for its leading picture). The pages lie in the work folder itself.
class FbDocument : public BookReader
{
    Q_OBJECT
public:
    explicit FbDocument(const QString& sourcePath, QObject* parent = nullptr);

    void convert(const QString& workFolder) override;

    const FbBook& book() const { return m_book; }

private:
    void saveImages();
    void writeSection(FbSection& section);
    void writePage(const QString& markup);

    FbBook m_book;
    QString m_workFolder;
    QString m_pagePrefix;
    int m_pageNumber = 1;
};

} // namespace fb2
