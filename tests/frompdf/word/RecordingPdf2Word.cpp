#include "tests/frompdf/word/RecordingPdf2Word.h"

#include "platform/pdf2word/com/ComClassTable.h"
#include "platform/pdf2word/com/ComRuntime.h"
#include "platform/pdf2word/com/Pdf2WordLib.h"

#include <QFile>
#include <QMap>
#include <QMutexLocker>

namespace {

struct Record
{
    QMutex mutex;
    QList<RecordingPdf2Word::Call> calls;
    RecordingPdf2Word::Script script;
    QMap<int, HRESULT> failingOptions;
    QAtomicInt alive;
};

Record& record()
{
    static Record instance;
    return instance;
}

QString fromBstr(BSTR text)
{
    return QString::fromWCharArray(text, int(SysStringLen(text)));
}

} // namespace

RecordingPdf2Word::RecordingPdf2Word()
{
    record().alive.ref();
}

RecordingPdf2Word::~RecordingPdf2Word()
{
    record().alive.deref();
}

void RecordingPdf2Word::install()
{
    {
        QMutexLocker lock(&record().mutex);
        record().calls.clear();
        record().script = &RecordingPdf2Word::convertPages;
        record().failingOptions.clear();
    }
    ComClassTable::registerClass(QStringLiteral(PDF2WORD_PROGID).toStdWString(), [](IUnknown*, REFIID iid, void** object) {
        RecordingPdf2Word* component = new RecordingPdf2Word;
        const HRESULT result = component->QueryInterface(iid, object);
        component->Release();
        return result;
    });
}

void RecordingPdf2Word::setScript(Script script)
{
    QMutexLocker lock(&record().mutex);
    record().script = std::move(script);
}

void RecordingPdf2Word::failOption(int slot, HRESULT result)
{
    QMutexLocker lock(&record().mutex);
    record().failingOptions.insert(slot, result);
}

QList<RecordingPdf2Word::Call> RecordingPdf2Word::calls()
{
    QMutexLocker lock(&record().mutex);
    return record().calls;
}

int RecordingPdf2Word::alive()
{
    return record().alive.loadRelaxed();
}

HRESULT RecordingPdf2Word::setOption(int slot, LONG value)
{
    m_options.append({slot, value});
    {
        QMutexLocker lock(&record().mutex);
        if (record().failingOptions.contains(slot))
            return record().failingOptions.value(slot);
    }
    return Pdf2WordObject::setOption(slot, value);
}

LONG RecordingPdf2Word::progress(Call& call, int current, int total)
{
    const LONG answer = fireProgress(current, total, L"page");
    call.answers << answer;
    return answer;
}

HRESULT RecordingPdf2Word::convertPages(RecordingPdf2Word& component, Call& call)
{
    const int total = call.last - call.first + 1;
    for (int page = 1; page <= total; ++page) {
        if (component.progress(call, page, total) == -1)
            return E_ABORT;
    }
    QFile file(call.output);
    if (!file.open(QIODevice::WriteOnly))
        return PDF2WORD_E_OUTPUT;
    file.write(QStringLiteral("%1|%2|%3|%4").arg(call.source).arg(call.first).arg(call.last).arg(call.mode).toUtf8());
    return S_OK;
}

HRESULT RecordingPdf2Word::ConvertToWord(BSTR source, BSTR output, VARIANT password, VARIANT firstPage, VARIANT lastPage)
{
    Call call;
    call.source = fromBstr(source);
    call.output = fromBstr(output);
    call.passwordType = password.vt;
    if (password.vt == VT_BSTR)
        call.password = fromBstr(password.bstrVal);
    call.firstType = firstPage.vt;
    call.lastType = lastPage.vt;
    LONG first = 0;
    LONG last = 0;
    VariantToInt32(firstPage, &first);
    VariantToInt32(lastPage, &last);
    call.first = first;
    call.last = last;
    call.options = m_options;
    call.mode = option(Pdf2WordModeSlot);
    call.connections = int(connectionCount());
    Script script;
    {
        QMutexLocker lock(&record().mutex);
        script = record().script;
    }
    const HRESULT result = script(*this, call);
    QMutexLocker lock(&record().mutex);
    record().calls.append(call);
    return result;
}
