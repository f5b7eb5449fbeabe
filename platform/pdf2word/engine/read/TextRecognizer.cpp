#include "platform/pdf2word/engine/read/TextRecognizer.h"

#include "platform/mupdf/PageRun.h"
#include "platform/pdf2word/engine/read/ReadTuning.h"

#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <omp.h>

#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace p2w {

namespace {

// Each picture holds the glyphs of one line of text.
const tesseract::PageSegMode kReadingMode = tesseract::PSM_SINGLE_LINE;
const QString kDetection = QStringLiteral("osd");
// Each thread holds its own Tesseract, some 30 MB of models a set of languages: more threads
// than this cost memory and, on a busy machine, gain no time.
const int kMostThreads = 4;

// Several pictures at once keep the cores busy by themselves: each Tesseract then runs on its
// own thread, since on a busy machine OpenMP's threads mostly wait for one another. One picture
// alone may use the threads the machine has to spare.
void shareCores(bool manyAtOnce)
{
    if (manyAtOnce)
        omp_set_max_active_levels(0);
    else
        omp_set_dynamic(1);
}

void setPicture(tesseract::TessBaseAPI* api, const TextRecognizer::Picture& picture)
{
    api->SetImage(reinterpret_cast<const unsigned char*>(picture.pixels.constData()), picture.width, picture.height, 1,
                  picture.width);
    api->SetSourceResolution(picture.dpi);
}

QVector<TextRecognizer::Word> wordsOf(tesseract::TessBaseAPI* api)
{
    QVector<TextRecognizer::Word> words;
    std::unique_ptr<tesseract::ResultIterator> it(api->GetIterator());
    if (!it)
        return words;
    do {
        std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_WORD));
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        if (!text || !it->BoundingBox(tesseract::RIL_WORD, &left, &top, &right, &bottom))
            continue;
        const QString word = QString::fromUtf8(text.get()).trimmed();
        if (!word.isEmpty())
            words.append({word, QRect(QPoint(left, top), QPoint(right - 1, bottom - 1))});
    } while (it->Next(tesseract::RIL_WORD));
    return words;
}

} // namespace

// One Tesseract per thread and set of languages, started on first use; starts one at a time.
class TextRecognizer::Engines
{
public:
    Engines(const QString& tessdata, int threads)
        : m_tessdata(tessdata.toLocal8Bit())
        , m_byThread(size_t(threads))
    {
    }

    ~Engines()
    {
        for (auto& engines : m_byThread) {
            for (auto& engine : engines)
                engine.second->End();
        }
    }

    int threads() const { return int(m_byThread.size()); }

    // Only thread `thread` asks for its own engines.
    tesseract::TessBaseAPI* get(int thread, const QString& languages, QString* error)
    {
        std::unique_ptr<tesseract::TessBaseAPI>& engine = m_byThread[size_t(thread)][languages];
        if (engine)
            return engine.get();
        std::lock_guard<std::mutex> guard(m_startLock);
        const auto failed = m_failed.find(languages);
        if (failed != m_failed.end()) {
            *error = failed->second;
            return nullptr;
        }
        std::unique_ptr<tesseract::TessBaseAPI> started(new tesseract::TessBaseAPI);
        const bool detection = languages == kDetection;
        // Script detection has only the older classifier's data.
        if (started->Init(m_tessdata.constData(), languages.toLocal8Bit().constData(),
                          detection ? tesseract::OEM_DEFAULT : tesseract::OEM_LSTM_ONLY, nullptr, 0, nullptr, nullptr, false)
            != 0) {
            *error = m_failed[languages] = QStringLiteral("Tesseract cannot start with '%1' in '%2'")
                                               .arg(languages, QString::fromLocal8Bit(m_tessdata));
            return nullptr;
        }
        // Tesseract's warnings (a picture's resolution it doubts) are no one's to read.
        started->SetVariable("debug_file", "/dev/null");
        started->SetPageSegMode(detection ? tesseract::PSM_OSD_ONLY : kReadingMode);
        engine = std::move(started);
        return engine.get();
    }

private:
    QByteArray m_tessdata;
    std::vector<std::map<QString, std::unique_ptr<tesseract::TessBaseAPI>>> m_byThread;
    std::mutex m_startLock;
    std::map<QString, QString> m_failed; // why a set of languages did not start; tried once
};

TextRecognizer::TextRecognizer(const QString& tessdata, const QString& languages)
    : m_tessdata(tessdata)
    , m_engines(new Engines(tessdata, std::max(1, std::min(kMostThreads, QThread::idealThreadCount()))))
{
    auto installed = [&tessdata](const QString& language) {
        return !tessdata.isEmpty() && QFileInfo::exists(tessdata + QLatin1Char('/') + language + QStringLiteral(".traineddata"));
    };
    for (const QString& language : languages.split(QLatin1Char('+'), Qt::SkipEmptyParts)) {
        if (language != kDetection && installed(language) && !m_languages.contains(language))
            m_languages << language;
    }
    m_detectsScripts = installed(kDetection);
    if (tessdata.isEmpty())
        return;
    const QString suffix = QStringLiteral(".traineddata");
    for (const QString& file : QDir(tessdata).entryList({QLatin1Char('*') + suffix}, QDir::Files, QDir::Name)) {
        const QString language = file.chopped(suffix.size());
        if (language != kDetection && language != QLatin1String("equ"))
            m_installed << language;
    }
}

TextRecognizer::~TextRecognizer() = default;

int TextRecognizer::dictionaryWords(const QStringList& words, const QString& languages)
{
    // The first worker's engines are idle outside read and detectScripts, and keep what they
    // loaded for its reading.
    QString error;
    tesseract::TessBaseAPI* engine = m_engines->get(0, languages, &error);
    if (!engine)
        return -1;
    int known = 0;
    for (const QString& word : words)
        known += engine->IsValidWord(word.toUtf8().constData()) ? 1 : 0;
    return known;
}

TextRecognizer::Outcome TextRecognizer::runAll(int count, const Work& work, const Limits& limits)
{
    Stop stop;
    stop.deadline = limits.deadline;
    const int threads = std::min(count, m_engines->threads());
    std::atomic<int> next{0};
    int running = threads;
    std::mutex lock;
    std::condition_variable ended;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t, threads] {
            shareCores(threads > 1);
            for (int picture = next++; picture < count && !stop.now(); picture = next++)
                work(picture, t, stop);
            std::lock_guard<std::mutex> guard(lock);
            --running;
            ended.notify_all();
        });
    }
    std::unique_lock<std::mutex> guard(lock);
    Clock::time_point nextAsk = Clock::now() + qpmupdf::keepGoingInterval;
    while (running > 0 && !stop.now()) {
        ended.wait_until(guard, std::min(nextAsk, limits.deadline));
        if (running == 0 || Clock::now() < nextAsk)
            continue;
        // The caller may wait in keepGoing (a pause): the workers must not wait for the lock.
        guard.unlock();
        const bool goOn = !limits.keepGoing || limits.keepGoing();
        guard.lock();
        nextAsk = Clock::now() + qpmupdf::keepGoingInterval;
        stop.stopped = !goOn;
    }
    guard.unlock();
    for (std::thread& worker : workers)
        worker.join();
    if (stop.stopped)
        return Outcome::Stopped;
    return Clock::now() >= limits.deadline ? Outcome::OutOfTime : Outcome::Finished;
}

TextRecognizer::Outcome TextRecognizer::read(const QVector<Picture*>& pictures, const Limits& limits)
{
    return runAll(
        pictures.size(),
        [this, &pictures](int index, int thread, const Stop& stop) {
            Picture& picture = *pictures[index];
            tesseract::TessBaseAPI* api = m_engines->get(thread, picture.languages, &picture.error);
            if (!api)
                return;
            setPicture(api, picture);
            tesseract::ETEXT_DESC monitor;
            // Tesseract asks this while it works; true ends the reading.
            monitor.cancel = [](void* stop, int) { return static_cast<const Stop*>(stop)->now(); };
            monitor.cancel_this = const_cast<Stop*>(&stop);
            if (api->Recognize(&monitor) == 0 && !stop.stopped.load()) {
                picture.words = wordsOf(api);
                picture.read = true;
            }
            api->Clear();
        },
        limits);
}

TextRecognizer::Outcome TextRecognizer::detectScripts(const QVector<Picture*>& pictures, const Limits& limits)
{
    return runAll(
        pictures.size(),
        [this, &pictures](int index, int thread, const Stop&) {
            Picture& picture = *pictures[index];
            tesseract::TessBaseAPI* api = m_engines->get(thread, kDetection, &picture.error);
            if (!api)
                return;
            setPicture(api, picture);
            int degrees = 0;
            float turnConfidence = 0;
            const char* name = nullptr;
            float confidence = 0;
            if (api->DetectOrientationScript(&degrees, &turnConfidence, &name, &confidence) && name
                && confidence >= readTuning().ocr.leastScriptConfidence)
                picture.script = QString::fromLatin1(name);
            picture.read = true;
            api->Clear();
        },
        limits);
}

} // namespace p2w
