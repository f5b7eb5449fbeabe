#pragma once

#include "platform/pdf2word/com/Pdf2WordObject.h"

#include <QAtomicInt>
#include <QList>
#include <QMutex>
#include <QPair>
#include <QString>

#include <functional>

// A fake PDF-to-Word component for tests, registered under the component's ProgID: it records
// the options set and the conversion calls, and converts as the test's script says (by default:
// one progress event per page, then a small file at the output path holding its arguments).
class RecordingPdf2Word : public Pdf2WordObject
{
public:
    struct Call
    {
        QString source;
        QString output;
        QString password;
        VARTYPE passwordType = VT_EMPTY;
        VARTYPE firstType = VT_EMPTY;
        VARTYPE lastType = VT_EMPTY;
        int first = 0;
        int last = 0;
        QList<QPair<int, LONG>> options; // in the order they were set
        int mode = 0;
        int connections = 0; // event sinks connected during the call
        QList<LONG> answers; // answers to the progress events
    };
    using Script = std::function<HRESULT(RecordingPdf2Word& component, Call& call)>;

    // Registers the fake with the default script; resets the record.
    static void install();
    static void setScript(Script script);
    // Makes option setter `slot` fail with result.
    static void failOption(int slot, HRESULT result);
    static QList<Call> calls();
    static int alive();

    // For scripts: event 1, recorded in call.answers; the default conversion.
    LONG progress(Call& call, int current, int total);
    static HRESULT convertPages(RecordingPdf2Word& component, Call& call);

    HRESULT ConvertToWord(BSTR source, BSTR output, VARIANT password, VARIANT firstPage, VARIANT lastPage) override;
    ~RecordingPdf2Word() override;

protected:
    HRESULT setOption(int slot, LONG value) override;

private:
    RecordingPdf2Word();
    QList<QPair<int, LONG>> m_options;
};
