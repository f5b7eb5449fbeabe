#pragma once

#include "platform/pdf2word/com/DispEventSink.h"
#include "platform/pdf2word/com/Pdf2WordLib.h"

// The sink of the PDF-to-Word component's events: event 1 (current, total, text) answered with
// an int, event 2 (one int) without an answer. Whoever derives from it handles both.
class CPDF2WordWrapper : public DispEventSink
{
public:
    CPDF2WordWrapper();

    // Connects to / disconnects from the component's event interface.
    HRESULT DispEventAdvise(IUnknown* source) { return advise(source); }
    HRESULT DispEventUnadvise() { return unadvise(); }

    // Event 1; the answer goes back to the component (-1 stops the conversion).
    virtual int onConvertProgress(int current, int total, BSTR text) = 0;
    // Event 2.
    virtual void onConvertFinished(int pages) = 0;

protected:
    ~CPDF2WordWrapper() = default;
};
