#pragma once

#include <QString>

#include <memory>

namespace tesseract {
class TessBaseAPI;
}

// Recognises the text of page images in this process: Leptonica prepares each image, Tesseract
// reads it. The OCR program (reader/) runs one; the conversion reaches it through OcrPageReader,
// which can end the program at any moment. The engine is initialised once and ended with the
// recogniser.
class PageRecognizer
{
public:
    PageRecognizer();
    ~PageRecognizer();

    // Loads the language data "<language>.traineddata" (or several, "eng+deu") from
    // tessdataPath. False when the data is missing or unreadable.
    bool init(const QString& tessdataPath, const QString& language);

    // Reads, prepares and recognises one image file (the file is left in place). The engine is
    // told the image's resolution, so it need not guess it from the page (a guess that noise
    // throws off, which costs minutes on a speckled scan). False with a reason when the image
    // cannot be read; a page on which Tesseract finds nothing gives an empty text.
    bool recognizeFile(const QString& imagePath, QString* text, QString* reason);

private:
    PageRecognizer(const PageRecognizer&) = delete;
    PageRecognizer& operator=(const PageRecognizer&) = delete;

    std::unique_ptr<tesseract::TessBaseAPI> m_engine;
};
