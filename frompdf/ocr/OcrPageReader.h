#pragma once

#include <QString>

#include <functional>
#include <memory>

class QProcess;

// Recognises the text of page images through the OCR program of the program folder ("quillocr",
// PageRecognizer in a process of its own): Leptonica prepares each image, Tesseract reads it. A
// stop ends the program, and so the page, at once, even while Tesseract analyses the page's
// layout, which it cannot interrupt; the next page starts the program again. Tesseract runs on
// one thread there: OpenMP's threads, on a machine whose cores are busy, spend most of their
// time waiting for one another. One reader belongs to one thread at a time; the program ends
// when the reader is destroyed.
class OcrPageReader
{
public:
    OcrPageReader();
    ~OcrPageReader();

    // Starts the program with the language data "<language>.traineddata" from tessdataPath.
    // False when the program does not start or the data is missing or unreadable, or when a stop
    // came first (wasCancelled() is then true).
    bool init(const QString& tessdataPath, const QString& language);

    // Asked about every 20 ms while the program loads its languages or recognises a page; true
    // ends the program, and recognizeFile then returns false with wasCancelled() true.
    using CancelCheck = std::function<bool()>;
    void setCancelCheck(CancelCheck cancelled) { m_cancelled = std::move(cancelled); }

    // Reads, prepares and recognises one image file (the file is left in place). False with a
    // reason when the image cannot be read, when the program failed (it starts again for the
    // next page), or when the recognition was cancelled.
    bool recognizeFile(const QString& imagePath, QString* text, QString* reason);
    bool wasCancelled() const { return m_wasCancelled; }

    // How often a running program is asked whether to stop, and so about the longest a stop waits.
    static constexpr int kPollMs = 20;

private:
    OcrPageReader(const OcrPageReader&) = delete;
    OcrPageReader& operator=(const OcrPageReader&) = delete;

    enum class Wait {
        Done,
        Cancelled,
        Ended, // the program ended before it answered
    };

    bool startProgram(QString* reason);
    void endProgram();
    // Waits until the program has written what complete() looks for.
    Wait waitFor(const std::function<bool()>& complete);
    // The next answer: its kind and body; false when the program ended or wrote no answer.
    Wait readAnswer(QByteArray* kind, QByteArray* body);

    QString m_tessdataPath;
    QString m_language;
    std::unique_ptr<QProcess> m_program;
    CancelCheck m_cancelled;
    bool m_wasCancelled = false;
};
