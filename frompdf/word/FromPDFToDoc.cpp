#include "frompdf/word/FromPDFToDoc.h"

#include "app/core/IProgress.h"
#include "app/core/Logger.h"
#include "platform/pdf2word/com/ComClassTable.h"
#include "platform/pdf2word/com/ComRuntime.h"

#include <QFile>
#include <QThread>

namespace {

struct OptionCall
{
    int slot;
    LONG value; // the mode slot takes the converter's mode instead
};

// The options in the order they are set.
const OptionCall kOptions[] = {
    {10, 75},
    {13, 60000000},
    {14, 0},
    {17, 0},
    {18, -1},
    {15, 1},
    {16, 1},
    {Pdf2WordModeSlot, 0},
    {25, 1},
    {20, -1},
    {21, -1},
    {22, -1},
    {23, -1},
    {24, 0},
    {26, 0},
    {27, 0},
    {29, 0},
    {28, 0},
};

void logDebug(const QString& text)
{
    Logger::instance()->log(text, Logger::Debug);
}

BSTR toBstr(const QString& text)
{
    const std::wstring wide = text.toStdWString();
    return SysAllocStringLen(wide.data(), UINT(wide.size()));
}

} // namespace

FromPDFToDoc::FromPDFToDoc(const QString& sourcePath, const QString& password, const QString& outputPath,
                           int firstPage, int lastPage, IProgress* progress, QObject* parent)
    : QObject(parent)
    , m_sourcePath(sourcePath)
    , m_password(password)
    , m_firstPage(firstPage)
    , m_lastPage(lastPage)
    , m_outputPath(outputPath)
    , m_progress(progress)
{
}

void FromPDFToDoc::convert()
{
    logDebug(QStringLiteral("From PDF to DOC. BCL [STARTED]"));
    CoInitialize(nullptr);
    m_stopAnswered = false;
    // A description left by an earlier call on this thread must not explain this one's failure.
    SysFreeString(TakeErrorDescription());

    IPdf2Word* component = nullptr;
    const std::wstring progId = QString::fromLocal8Bit(PDF2WORD_PROGID).toStdWString();
    const HRESULT created = CoCreateInstanceFromProgID(progId.c_str(), nullptr, CLSCTX_ALL, IID_IPdf2Word,
                                                       reinterpret_cast<void**>(&component));
    bool connected = false;
    if (FAILED(created) || !component) {
        logDebug(QStringLiteral("From PDF to DOC. BCL [FAILED]. Cannot create object"));
        SysFreeString(TakeErrorDescription());
        // Nothing was converted: that is a failure, not a success with a missing file.
        m_status = Failed;
    } else {
        HRESULT result = setOptions(component);
        if (SUCCEEDED(result))
            result = runConversion(component, &connected);
        if (FAILED(result))
            onComError(result);
        else
            logDebug(QStringLiteral("From PDF to DOC. BCL [OK]"));
    }

    if (connected)
        DispEventUnadvise();
    if (component)
        component->Release();
    CoUninitialize();

    if (m_stopAnswered) {
        // The user stopped: whatever the component made of it, there is no output.
        m_status = Failed;
        QFile::remove(m_outputPath);
    }
    emit finished();
}

HRESULT FromPDFToDoc::setOptions(IPdf2Word* component)
{
    for (const OptionCall& call : kOptions) {
        const LONG value = call.slot == Pdf2WordModeSlot ? LONG(m_mode) : call.value;
        const HRESULT result = (component->*pdf2WordOptionSetter(call.slot))(value);
        if (FAILED(result))
            return result;
    }
    return S_OK;
}

HRESULT FromPDFToDoc::runConversion(IPdf2Word* component, bool* connected)
{
    BSTR source = toBstr(m_sourcePath);
    BSTR password = toBstr(m_password);
    BSTR output = toBstr(m_outputPath);
    HRESULT result = DispEventAdvise(component);
    *connected = SUCCEEDED(result);
    if (SUCCEEDED(result)) {
        VARIANT passwordValue;
        VARIANT firstValue;
        VARIANT lastValue;
        VariantInit(&passwordValue);
        VariantInit(&firstValue);
        VariantInit(&lastValue);
        // An empty password is an empty string, never a missing argument.
        passwordValue.vt = VT_BSTR;
        passwordValue.bstrVal = SysAllocStringLen(password, SysStringLen(password));
        firstValue.vt = VT_INT;
        firstValue.intVal = m_firstPage;
        lastValue.vt = VT_INT;
        lastValue.intVal = m_lastPage;
        result = component->ConvertToWord(source, output, passwordValue, firstValue, lastValue);
        VariantClear(&passwordValue);
        VariantClear(&firstValue);
        VariantClear(&lastValue);
    }
    SysFreeString(source);
    SysFreeString(password);
    SysFreeString(output);
    return result;
}

void FromPDFToDoc::onComError(HRESULT result)
{
    BSTR description = TakeErrorDescription();
    QString text = description ? QString::fromWCharArray(description, int(SysStringLen(description)))
                               : QStringLiteral("Error 0x%1").arg(quint32(result), 8, 16, QLatin1Char('0'));
    SysFreeString(description);
    logDebug(QStringLiteral("From PDF to DOC [FAILED]. Error:'%1' File:'%2' ").arg(text, m_sourcePath));
    m_status = (result == PDF2WORD_E_LAYOUT_TEXT || result == PDF2WORD_E_LAYOUT_WRITER) ? RetryInMode2 : Failed;
}

int FromPDFToDoc::onConvertProgress(int current, int total, BSTR)
{
    emit progressChanged(current, total);
    if (!m_progress)
        return 0;
    while (m_progress->isPaused()) {
        if (m_progress->isStopped())
            break;
        QThread::msleep(100);
    }
    if (m_progress->isStopped()) {
        m_stopAnswered = true;
        return -1;
    }
    return 0;
}

void FromPDFToDoc::onConvertFinished(int)
{
}
