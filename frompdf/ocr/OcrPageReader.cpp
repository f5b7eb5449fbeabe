#include "frompdf/ocr/OcrPageReader.h"

#include "frompdf/ocr/OcrImage.h"

#include <QFile>

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>

namespace {

// Tuning of the preparation: 200-pixel tiles for background normalisation and Otsu's threshold.
const int kTileWidth = 200;
const int kTileHeight = 200;
const int kThreshold = 100;
const int kMinCount = 50;
const int kBackgroundValue = 255;
const int kSmoothX = 0;
const int kSmoothY = 0;
const float kScoreFraction = 0.09f;

// Resolutions the engine takes as given; outside them it estimates its own.
const int kLeastResolution = 70;
const int kMostResolution = 2400;

bool askCancel(void* check, int /*words*/)
{
    return (*static_cast<const OcrPageReader::CancelCheck*>(check))();
}

} // namespace

OcrPageReader::OcrPageReader()
    : m_engine(new tesseract::TessBaseAPI)
{
}

OcrPageReader::~OcrPageReader()
{
    m_engine->End();
}

bool OcrPageReader::init(const QString& tessdataPath, const QString& language)
{
    const QByteArray path = tessdataPath.toLocal8Bit();
    const QByteArray name = language.toLocal8Bit();
    return m_engine->Init(path.constData(), name.constData(), tesseract::OEM_DEFAULT, nullptr, 0, nullptr, nullptr,
                          false)
           == 0;
}

bool OcrPageReader::recognizeFile(const QString& imagePath, QString* text, QString* reason)
{
    m_wasCancelled = false;
    const QByteArray path = imagePath.toLocal8Bit();
    Pix* image = pixRead(path.constData());
    if (!image) {
        *reason = QStringLiteral("leptonica: can not read image");
        return false;
    }
    Pix* prepared = prepareOcrImage(image, kTileWidth, kTileHeight, kThreshold, kMinCount, kBackgroundValue,
                                    kSmoothX, kSmoothY, kScoreFraction);
    m_engine->SetPageSegMode(tesseract::PSM_AUTO);
    m_engine->SetImage(prepared);
    const int resolution = int(pixGetYRes(prepared));
    if (resolution >= kLeastResolution && resolution <= kMostResolution)
        m_engine->SetSourceResolution(resolution);

    tesseract::ETEXT_DESC monitor;
    if (m_cancelled) {
        monitor.cancel = &askCancel;
        monitor.cancel_this = &m_cancelled;
    }
    const bool recognisedPage = m_engine->Recognize(&monitor) == 0;
    m_wasCancelled = m_cancelled && m_cancelled();
    char* recognised = recognisedPage && !m_wasCancelled ? m_engine->GetUTF8Text() : nullptr;
    *text = recognised ? QString::fromUtf8(recognised) : QString();
    delete[] recognised;
    pixDestroy(&prepared);
    m_engine->Clear();
    if (m_wasCancelled) {
        *reason = QStringLiteral("cancelled");
        return false;
    }
    return true;
}
