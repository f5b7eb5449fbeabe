#pragma once

#include <QString>

#include <memory>

namespace tesseract {
class TessBaseAPI;
}

// Recognises the text of page images: Leptonica prepares each image, Tesseract reads it.
// One reader belongs to one thread at a time; the engine is initialised once and ended when the
// reader is destroyed.
class OcrPageReader
{
public:
    OcrPageReader();
    ~OcrPageReader();

    // Loads the language data "<language>.traineddata" from tessdataPath. False when the data
    // is missing or unreadable.
    bool init(const QString& tessdataPath, const QString& language);

    // Reads, prepares and recognises one image file (the file is left in place). False with a
    // reason when the image cannot be read.
    bool recognizeFile(const QString& imagePath, QString* text, QString* reason);

private:
    OcrPageReader(const OcrPageReader&) = delete;
    OcrPageReader& operator=(const OcrPageReader&) = delete;

    std::unique_ptr<tesseract::TessBaseAPI> m_engine;
};
