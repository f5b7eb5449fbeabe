#pragma once

// What every object behind IPdf2Word shares, whatever converts: reference counting, the
// interfaces it answers (IUnknown, IDispatch, IPdf2Word, IConnectionPointContainer), the option
// store filled by the option setters, the reserved slots and the event source. The component
// and the tests' fakes derive from it and implement ConvertToWord.

#include "platform/pdf2word/com/DispatchWithoutTypeInfo.h"
#include "platform/pdf2word/com/EventSource.h"
#include "platform/pdf2word/com/Pdf2WordLib.h"

#include <atomic>
#include <string>

class Pdf2WordObject : public DispatchWithoutTypeInfo<IPdf2Word>
{
public:
    Pdf2WordObject();
    virtual ~Pdf2WordObject();
    Pdf2WordObject(const Pdf2WordObject&) = delete;
    Pdf2WordObject& operator=(const Pdf2WordObject&) = delete;

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    // Callers bind to the operation table, not to names.
    HRESULT Invoke(DISPID member, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                   void* exceptionInfo, UINT* argumentError) override;

    HRESULT Reserved7() override { return E_NOTIMPL; }
    HRESULT Reserved9() override { return E_NOTIMPL; }
    HRESULT Reserved11() override { return E_NOTIMPL; }
    HRESULT Reserved12() override { return E_NOTIMPL; }

    HRESULT put_Option10(LONG value) override { return setOption(10, value); }
#define PDF2WORD_OBJECT_OPTION(slot) \
    HRESULT put_Option##slot(LONG value) override { return setOption(slot, value); }
    PDF2WORD_OPTION_SLOTS_13_TO_29(PDF2WORD_OBJECT_OPTION)
#undef PDF2WORD_OBJECT_OPTION

    // The value last set in an option slot; 0 before any.
    LONG option(int slot) const;

protected:
    // Every option setter ends here; stores the value. Fakes override it to record the call.
    virtual HRESULT setOption(int slot, LONG value);

    // Event 1 to the connected sinks; the answer of the sink (0 without one).
    LONG fireProgress(LONG current, LONG total, const std::wstring& text);
    // Event 2 to the connected sinks.
    void fireFinished(LONG pages);
    size_t connectionCount() const { return m_events.connectionCount(); }

private:
    std::atomic<ULONG> m_references{1};
    std::atomic<LONG> m_options[30];
    EventSource m_events;
};
