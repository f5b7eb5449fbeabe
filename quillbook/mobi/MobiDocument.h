#pragma once

#include "quillbook/reader/BookReader.h"

#include <memory>

namespace mobi {

class PdbFile;

// The MOBI reader: writes the book's text as one HTML page named after the work folder and saves
// its pictures beside it as pdbrec_00000.jpg, pdbrec_00001.jpg, ... An encrypted book, or one
// that shows neither text nor pictures, gives no page.
class MobiDocument : public BookReader
{
    Q_OBJECT
public:
    explicit MobiDocument(const QString& sourcePath, QObject* parent = nullptr);
    ~MobiDocument() override;

    void convert(const QString& workFolder) override;

    // The page markup for a book's text. singleByte tells that the text came one character per
    // byte, so that the byte positions its links name are character positions.
    static QString rewriteHtml(const QString& text, bool singleByte);
    // True when the book's text shows something: text other than white space, or a picture.
    // Markup alone shows nothing.
    static bool showsSomething(const QString& text);

private:
    std::unique_ptr<PdbFile> m_book;
    QString m_pageText;
};

} // namespace mobi
