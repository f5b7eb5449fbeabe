#pragma once

#include "quillbook/fb2/FbBook.h"
#include "quillbook/reader/BookReader.h"

namespace fb2 {

// The FictionBook 2 reader: saves the book's pictures into the work folder as the file is read
// and writes one HTML page for the cover and one for each section without subsections; the
// title, epigraphs and text of a body or of a section that holds subsections open the page of
// the section that follows them. The pages lie in the work folder itself.
class FbDocument : public BookReader
{
    Q_OBJECT
public:
    explicit FbDocument(const QString& sourcePath, QObject* parent = nullptr);

    void convert(const QString& workFolder) override;

private:
    // Logs what the book held that was left out of it.
    void logLeftOut() const;
    void preparePictures();
    void writeSection(FbSection& section, QString& pending);
    void addPage(const QString& markup);
    QString finishMarkup(const QString& markup, const QMap<QString, QString>& pageOfId) const;

    FbBook m_book;
    QString m_workFolder;
    QString m_pagePrefix;
    QStringList m_pages; // the markup of each page, in order
};

} // namespace fb2
