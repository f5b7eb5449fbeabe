#pragma once

// Reads the words of a picture with Tesseract: the text of fonts that have no usable Unicode map,
// drawn alone. Tesseract starts on first use, with the languages given; one recognizer serves one
// conversion, one page at a time.

#include <QRect>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>

namespace tesseract {
class TessBaseAPI;
}

namespace p2w {

class TextRecognizer
{
public:
    struct Word
    {
        QString text;
        QRect box; // pixels of the picture
    };

    // tessdata: Tesseract's language data folder; languages: "eng", "eng+deu".
    TextRecognizer(const QString& tessdata, const QString& languages);
    ~TextRecognizer();
    TextRecognizer(const TextRecognizer&) = delete;
    TextRecognizer& operator=(const TextRecognizer&) = delete;

    // Reads an 8-bit grey picture drawn at dpi. keepGoing is asked while Tesseract works; false
    // ends the reading. False, with the reason, when Tesseract cannot start or was ended.
    bool read(const unsigned char* pixels, int width, int height, int stride, int dpi,
              const std::function<bool()>& keepGoing, QVector<Word>* words, QString* error);

private:
    bool start(QString* error);

    QString m_tessdata;
    QString m_languages;
    std::unique_ptr<tesseract::TessBaseAPI> m_api;
    bool m_started = false;
    QString m_startError; // why Tesseract did not start; tried once
};

} // namespace p2w
