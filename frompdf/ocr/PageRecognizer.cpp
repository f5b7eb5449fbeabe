#include "frompdf/ocr/PageRecognizer.h"

#include "frompdf/ocr/OcrImage.h"

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>

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

} // namespace

PageRecognizer::PageRecognizer()
    : m_engine(new tesseract::TessBaseAPI)
{
}

PageRecognizer::~PageRecognizer()
{
    m_engine->End();
}

bool PageRecognizer::init(const QString& tessdataPath, const QString& language)
{
    const QByteArray path = tessdataPath.toLocal8Bit();
    const QByteArray name = language.toLocal8Bit();
    return m_engine->Init(path.constData(), name.constData(), tesseract::OEM_DEFAULT, nullptr, 0, nullptr, nullptr,
                          false)
           == 0;
}

bool PageRecognizer::recognizeFile(const QString& imagePath, QString* text, QString* reason)
{
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

    const bool recognisedPage = m_engine->Recognize(nullptr) == 0;
    char* recognised = recognisedPage ? m_engine->GetUTF8Text() : nullptr;
    *text = recognised ? QString::fromUtf8(recognised) : QString();
    delete[] recognised;
    pixDestroy(&prepared);
    m_engine->Clear();
    return true;
}
