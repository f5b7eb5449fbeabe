#include "tests/platform/pdf2word/Pdf2WordCall.h"

#include "app/core/FileSystem.h"
#include "app/core/ToolPaths.h"
#include "platform/pdf2word/com/ComClassTable.h"
#include "platform/pdf2word/com/DispEventSink.h"
#include "platform/pdf2word/com/Pdf2WordLib.h"
#include "platform/pdf2word/component/Pdf2WordRegistration.h"

#include <QDir>

namespace Pdf2WordCall {

namespace {

VARIANT intValue(int value)
{
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_INT;
    variant.intVal = value;
    return variant;
}

} // namespace

void registerComponent(const QString& enginePath, const std::function<void(const QString&)>& log, const QString& languages)
{
    registerPdf2WordComponent({enginePath.isEmpty() ? ToolPaths::path(ToolPaths::Pdf2WordEngine) : enginePath,
                               ToolPaths::path(ToolPaths::Soffice), FileSystem::cachePath(),
                               ToolPaths::path(ToolPaths::TessData), languages, log});
}

QString installedLanguages()
{
    QStringList languages = {QStringLiteral("eng")};
    const QDir tessdata(ToolPaths::path(ToolPaths::TessData));
    for (const QFileInfo& file : tessdata.entryInfoList({QStringLiteral("*.traineddata")}, QDir::Files, QDir::Name)) {
        const QString name = file.completeBaseName();
        if (!languages.contains(name) && name != QLatin1String("osd") && name != QLatin1String("equ"))
            languages << name;
    }
    return languages.join(QLatin1Char('+'));
}

Outcome convert(const QString& source, const QString& output, int first, int last, int mode, DispEventSink* events,
                const QString& password)
{
    Outcome outcome;
    IPdf2Word* component = nullptr;
    outcome.result = CoCreateInstanceFromProgID(QStringLiteral(PDF2WORD_PROGID).toStdWString().c_str(), nullptr,
                                                CLSCTX_ALL, IID_IPdf2Word, reinterpret_cast<void**>(&component));
    if (SUCCEEDED(outcome.result)) {
        component->put_Option19(mode);
        if (events)
            events->advise(component);
        BSTR sourceText = SysAllocString(source.toStdWString().c_str());
        BSTR outputText = SysAllocString(output.toStdWString().c_str());
        VARIANT passwordValue;
        VariantInit(&passwordValue);
        passwordValue.vt = VT_BSTR;
        passwordValue.bstrVal = SysAllocString(password.toStdWString().c_str());
        outcome.result = component->ConvertToWord(sourceText, outputText, passwordValue, intValue(first), intValue(last));
        VariantClear(&passwordValue);
        SysFreeString(sourceText);
        SysFreeString(outputText);
        if (events)
            events->unadvise();
        component->Release();
    }
    if (BSTR description = TakeErrorDescription()) {
        outcome.description = QString::fromWCharArray(description);
        SysFreeString(description);
    }
    return outcome;
}

Stopper::Stopper()
    : DispEventSink(DIID_IPdf2WordEvents)
{
    addEntry({Pdf2WordEventProgress, VT_I4, {VT_I4, VT_I4, VT_BSTR}, [this](const std::vector<VARIANT>&) {
                  if (!clock.isValid())
                      clock.start();
                  return -1;
              }});
    addEntry({Pdf2WordEventFinished, VT_EMPTY, {VT_I4}, [](const std::vector<VARIANT>&) { return 0; }});
}

Stopper::~Stopper()
{
    unadvise();
}

} // namespace Pdf2WordCall
