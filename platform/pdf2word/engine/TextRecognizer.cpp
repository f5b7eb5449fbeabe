#include "platform/pdf2word/engine/TextRecognizer.h"

#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <omp.h>

namespace p2w {

namespace {

// Tesseract asks this while it works; true ends the reading.
bool cancelled(void* keepGoing, int)
{
    return !(*static_cast<const std::function<bool()>*>(keepGoing))();
}

} // namespace

TextRecognizer::TextRecognizer(const QString& tessdata, const QString& languages)
    : m_tessdata(tessdata)
    , m_languages(languages.isEmpty() ? QStringLiteral("eng") : languages)
{
}

TextRecognizer::~TextRecognizer()
{
    if (m_api)
        m_api->End();
}

bool TextRecognizer::start(QString* error)
{
    if (m_started)
        return true;
    if (!m_startError.isEmpty()) {
        *error = m_startError;
        return false;
    }
    m_api.reset(new tesseract::TessBaseAPI);
    const QByteArray folder = m_tessdata.toLocal8Bit();
    const QByteArray languages = m_languages.toLocal8Bit();
    if (m_tessdata.isEmpty()
        || m_api->Init(folder.constData(), languages.constData(), tesseract::OEM_LSTM_ONLY, nullptr, 0, nullptr, nullptr,
                       false)
               != 0) {
        m_api.reset();
        m_startError = QStringLiteral("Tesseract has no data for '%1' in '%2'").arg(m_languages, m_tessdata);
        *error = m_startError;
        return false;
    }
    // The pictures hold glyphs drawn alone: text in any arrangement, no page to find.
    m_api->SetPageSegMode(tesseract::PSM_SPARSE_TEXT);
    m_started = true;
    return true;
}

bool TextRecognizer::read(const unsigned char* pixels, int width, int height, int stride, int dpi,
                          const std::function<bool()>& keepGoing, QVector<Word>* words, QString* error)
{
    // Starting takes a while and cannot be cut short: a stop asked meanwhile ends it here.
    if (!start(error))
        return false;
    if (!keepGoing()) {
        *error = QStringLiteral("the recognition was ended");
        return false;
    }
    // Tesseract's threads as many as the machine has to spare: on a busy machine their waiting
    // for one another costs more than they gain.
    omp_set_dynamic(1);
    m_api->SetImage(pixels, width, height, 1, stride);
    m_api->SetSourceResolution(dpi);
    tesseract::ETEXT_DESC monitor;
    monitor.cancel = &cancelled;
    monitor.cancel_this = const_cast<std::function<bool()>*>(&keepGoing);
    if (m_api->Recognize(&monitor) != 0 || !keepGoing()) {
        m_api->Clear();
        *error = QStringLiteral("the recognition was ended");
        return false;
    }
    std::unique_ptr<tesseract::ResultIterator> it(m_api->GetIterator());
    if (it) {
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
                words->append({word, QRect(QPoint(left, top), QPoint(right - 1, bottom - 1))});
        } while (it->Next(tesseract::RIL_WORD));
    }
    m_api->Clear();
    return true;
}

} // namespace p2w
