#pragma once

#include "platform/pdf2word/com/ComRuntime.h"
#include "platform/pdf2word/com/DispEventSink.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>

// One conversion through the PDF-to-Word component's interface, as its callers make it (the
// component must be registered).
namespace Pdf2WordCall {

struct Outcome
{
    HRESULT result = E_FAIL;
    QString description; // the error description the call left
};

// Registers the component as the application does (the program folder's engine library,
// LibreOffice and Tesseract's data, the user's cache folder); enginePath, when given, names
// another engine library; log, when given, receives what the conversions report; languages are
// the OCR languages given (English unless said).
void registerComponent(const QString& enginePath = QString(), const std::function<void(const QString&)>& log = {},
                       const QString& languages = QStringLiteral("eng"));

// The OCR languages the application gives the component: English first, then every language
// whose data is installed ("eng+ara+deu").
QString installedLanguages();

// mode: the road (0 layout, 2 plain); events, when given, is advised for the call.
Outcome convert(const QString& source, const QString& output, int first, int last, int mode = 0,
                DispEventSink* events = nullptr, const QString& password = QString());

// Events that answer the first progress event with a stop, and note when.
class Stopper : public DispEventSink
{
public:
    Stopper();
    ~Stopper();

    QElapsedTimer clock; // started at the stop
};

} // namespace Pdf2WordCall
