#pragma once

#include <QString>

#include <functional>
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

    // Asked again and again while a page is recognised; true ends the recognition within a
    // moment, and recognizeFile then returns false with wasCancelled() true.
    using CancelCheck = std::function<bool()>;
    void setCancelCheck(CancelCheck cancelled) { m_cancelled = std::move(cancelled); }

    // Reads, prepares and recognises one image file (the file is left in place). The engine is
    // told the image's resolution, so it need not guess it from the page (a guess that noise
    // throws off, which costs minutes on a speckled scan). False with a reason when the image
    // cannot be read, or when the recognition was cancelled.
    bool recognizeFile(const QString& imagePath, QString* text, QString* reason);
    bool wasCancelled() const { return m_wasCancelled; }

private:
    OcrPageReader(const OcrPageReader&) = delete;
    OcrPageReader& operator=(const OcrPageReader&) = delete;

    std::unique_ptr<tesseract::TessBaseAPI> m_engine;
    CancelCheck m_cancelled;
    bool m_wasCancelled = false;
};
