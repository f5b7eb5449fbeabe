#include "platform/pdf2word/component/Pdf2WordComponent.h"

#include "platform/libreoffice/LibreOfficeRunner.h"
#include "platform/pdf2word/com/ComRuntime.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cstring>

namespace {

QString fromBstr(BSTR text)
{
    return text ? QString::fromWCharArray(text, int(SysStringLen(text))) : QString();
}

// The engine's format for an output suffix; 0 for DOC and RTF, which go through DOCX; -1 for a
// suffix this component does not write.
int engineFormat(const QString& suffix)
{
    if (suffix == QLatin1String("docx") || suffix == QLatin1String("doc") || suffix == QLatin1String("rtf"))
        return QP_PDF2WORD_DOCX;
    if (suffix == QLatin1String("odt"))
        return QP_PDF2WORD_ODT;
    if (suffix == QLatin1String("html") || suffix == QLatin1String("htm"))
        return QP_PDF2WORD_HTML;
    if (suffix == QLatin1String("txt"))
        return QP_PDF2WORD_TXT;
    return -1;
}

} // namespace

Pdf2WordComponent::Pdf2WordComponent(QpPdf2WordConvert engine, const Pdf2WordSetup& setup)
    : m_engine(engine)
    , m_setup(setup)
{
}

HRESULT Pdf2WordComponent::resultFor(int engineResult)
{
    switch (engineResult) {
    case QP_PDF2WORD_OK:
        return S_OK;
    case QP_PDF2WORD_STOPPED:
        return E_ABORT;
    case QP_PDF2WORD_OPEN_FAILED:
        return PDF2WORD_E_OPEN;
    case QP_PDF2WORD_RANGE_INVALID:
        return PDF2WORD_E_RANGE;
    case QP_PDF2WORD_LAYOUT_LOST_TEXT:
        return PDF2WORD_E_LAYOUT_TEXT;
    case QP_PDF2WORD_LAYOUT_FAILED:
        return PDF2WORD_E_LAYOUT_WRITER;
    case QP_PDF2WORD_OUTPUT_FAILED:
        return PDF2WORD_E_OUTPUT;
    default:
        return E_INVALIDARG;
    }
}

HRESULT Pdf2WordComponent::failure(HRESULT result, const QString& description)
{
    SetErrorDescription(description.toStdWString().c_str());
    return result;
}

int Pdf2WordComponent::onEngineProgress(void* context, int current, int total)
{
    auto* component = static_cast<Pdf2WordComponent*>(context);
    const std::wstring text = QStringLiteral("Page %1 of %2").arg(current).arg(total).toStdWString();
    return component->fireProgress(current, total, text) == -1 ? -1 : 0;
}

void Pdf2WordComponent::onEngineNote(void* context, const char* text)
{
    auto* component = static_cast<Pdf2WordComponent*>(context);
    if (component->m_setup.log)
        component->m_setup.log(QString::fromUtf8(text));
}

HRESULT Pdf2WordComponent::ConvertToWord(BSTR source, BSTR output, VARIANT password, VARIANT firstPage,
                                         VARIANT lastPage)
{
    const QString sourcePath = fromBstr(source);
    const QString outputPath = fromBstr(output);
    LONG first = 0;
    LONG last = 0;
    if (sourcePath.isEmpty() || outputPath.isEmpty())
        return failure(E_INVALIDARG, QStringLiteral("No source or output file given"));
    if (password.vt != VT_BSTR && password.vt != VT_EMPTY)
        return failure(E_INVALIDARG, QStringLiteral("The password is not a string"));
    if (!VariantToInt32(firstPage, &first) || !VariantToInt32(lastPage, &last))
        return failure(E_INVALIDARG, QStringLiteral("The page range is not given as numbers"));
    const QString suffix = QFileInfo(outputPath).suffix().toLower();
    const int format = engineFormat(suffix);
    if (format < 0)
        return failure(PDF2WORD_E_FORMAT, QStringLiteral("No output format for the suffix '%1'").arg(suffix));

    // DOC and RTF: the DOCX goes to a private work file first.
    const bool throughOffice = suffix == QLatin1String("doc") || suffix == QLatin1String("rtf");
    if (throughOffice)
        QDir().mkpath(m_setup.workFolder);
    const QString enginePath = throughOffice ? QStringLiteral("%1/%2.docx").arg(m_setup.workFolder, QUuid::createUuid().toString(QUuid::Id128))
                                             : outputPath;

    const QByteArray sourceText = sourcePath.toUtf8();
    const QByteArray passwordText = (password.vt == VT_BSTR ? fromBstr(password.bstrVal) : QString()).toUtf8();
    const QByteArray outputText = enginePath.toUtf8();
    const QByteArray tessdataText = m_setup.tessdataPath.toUtf8();
    const QByteArray languagesText = m_setup.ocrLanguages.toUtf8();
    QpPdf2WordJob job;
    std::memset(&job, 0, sizeof(job));
    job.source = sourceText.constData();
    job.password = passwordText.constData();
    job.output = outputText.constData();
    job.format = format;
    job.firstPage = first;
    job.lastPage = last;
    job.mode = option(Pdf2WordModeSlot);
    job.progress = &Pdf2WordComponent::onEngineProgress;
    job.progressContext = this;
    job.tessdata = tessdataText.constData();
    job.languages = languagesText.constData();
    job.note = &Pdf2WordComponent::onEngineNote;

    const int engineResult = m_engine(&job);
    HRESULT result = resultFor(engineResult);
    if (FAILED(result)) {
        failure(result, QString::fromUtf8(job.message));
    } else if (throughOffice) {
        const LibreOfficeRunner office(m_setup.sofficePath, m_setup.workFolder);
        if (!office.saveAs(enginePath, outputPath))
            result = failure(PDF2WORD_E_OUTPUT, QStringLiteral("LibreOffice did not write '%1'").arg(outputPath));
    }
    if (throughOffice)
        QFile::remove(enginePath);
    fireFinished(SUCCEEDED(result) ? job.pagesDone : 0);
    return result;
}
