#pragma once

// Reads the words of pictures with Tesseract: the text of fonts that have no usable Unicode map,
// drawn alone. Each picture is read with the languages it names, on as many threads as the
// machine has cores (at most four); each thread starts its own Tesseract for a set of languages
// on first use and keeps it for the conversion. The calling thread waits, asks the caller whether to go on and ends
// the work at a deadline, so that a stop is answered within a second whatever Tesseract is doing.

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

namespace p2w {

class TextRecognizer
{
public:
    using Clock = std::chrono::steady_clock;

    struct Word
    {
        QString text;
        QRect box; // pixels of the picture
    };

    struct Picture
    {
        // 8-bit grey, black text on white, a row after the other; empty when not drawn.
        QByteArray pixels;
        int width = 0;
        int height = 0;
        int dpi = 300;
        QString languages; // "ara", "eng+deu"
        // What reading found: the words, whether the picture was read to its end, why not.
        QVector<Word> words;
        bool read = false;
        QString error;
        // What script detection found: the script's name ("Arabic"), empty when it cannot tell.
        QString script;
    };

    enum class Outcome {
        Finished,
        OutOfTime, // the deadline passed: the pictures not read to their end are marked so
        Stopped    // keepGoing answered false
    };

    struct Limits
    {
        Clock::time_point deadline = Clock::time_point::max();
        // Asked on the calling thread every half second while the work goes on.
        std::function<bool()> keepGoing;
    };

    // tessdata: Tesseract's language data folder; languages: "eng+deu+ara", the first the one
    // to prefer.
    TextRecognizer(const QString& tessdata, const QString& languages);
    ~TextRecognizer();
    TextRecognizer(const TextRecognizer&) = delete;
    TextRecognizer& operator=(const TextRecognizer&) = delete;

    // The languages given whose data is installed, in the order given.
    const QStringList& languages() const { return m_languages; }
    // Every language whose data is installed (script detection's aside), by name.
    const QStringList& installed() const { return m_installed; }
    // Whether Tesseract's script detection has its data.
    bool detectsScripts() const { return m_detectsScripts; }

    // How many of the words the dictionaries of languages ("eng+deu") hold, in any case; -1 when
    // Tesseract cannot start with them. Not while read or detectScripts runs.
    int dictionaryWords(const QStringList& words, const QString& languages);
    // Reads the pictures with their languages.
    Outcome read(const QVector<Picture*>& pictures, const Limits& limits);
    // Detects the pictures' scripts.
    Outcome detectScripts(const QVector<Picture*>& pictures, const Limits& limits);

private:
    class Engines;
    // Whether the work is to end: the caller stopped it, or the deadline passed.
    struct Stop
    {
        std::atomic<bool> stopped{false};
        Clock::time_point deadline;
        bool now() const { return stopped.load(std::memory_order_relaxed) || Clock::now() >= deadline; }
    };
    using Work = std::function<void(int picture, int worker, const Stop& stop)>;

    // Runs work for pictures 0 to count - 1 on threads; waits as the class comment says.
    Outcome runAll(int count, const Work& work, const Limits& limits);

    QString m_tessdata;
    QStringList m_languages;
    QStringList m_installed;
    bool m_detectsScripts = false;
    std::unique_ptr<Engines> m_engines;
};

} // namespace p2w
