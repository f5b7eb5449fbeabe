#pragma once

// The PDF-to-Word component as its callers see it: the ProgID, the identifiers of its type
// library, its interface and event interface, the interface's operation slots, the events and
// the results it reports.

#include "platform/pdf2word/com/ComTypes.h"

#define PDF2WORD_PROGID "EasyConverter.PDF2Word.4"

extern const IID LIBID_Pdf2WordLib;    // type library, version 4.0
extern const IID IID_IPdf2Word;        // the component's interface
extern const IID DIID_IPdf2WordEvents; // its event interface

// Events (DISPIDs of the event interface).
enum Pdf2WordEvent : DISPID {
    // One page of the range is converted: (LONG current, LONG total, BSTR text) -> LONG answer.
    // current counts the pages done from the range's start (1 .. total); the answer 0 goes on,
    // -1 stops the conversion.
    Pdf2WordEventProgress = 1,
    // The conversion has ended: (LONG pages converted); no answer.
    Pdf2WordEventFinished = 2,
};

// Failures of the conversion beyond the common ones (E_INVALIDARG, E_ABORT after a stop).
#define PDF2WORD_E_OPEN ((HRESULT)0x80050001)          // the PDF did not open: missing, damaged or wrong password
#define PDF2WORD_E_LAYOUT_TEXT ((HRESULT)0x80050002)   // the layout road cannot keep the page text; mode 2 can
#define PDF2WORD_E_LAYOUT_WRITER ((HRESULT)0x80050003) // the layout writer failed; mode 2 can
#define PDF2WORD_E_RANGE ((HRESULT)0x80050004)         // the page range is outside the document
#define PDF2WORD_E_OUTPUT ((HRESULT)0x80050005)        // the output file could not be written
#define PDF2WORD_E_FORMAT ((HRESULT)0x80050006)        // the output's suffix names no format written here

// The option slot that chooses the conversion road: 0 the layout road, 2 the plain road.
enum {
    Pdf2WordModeSlot = 19
};

// The option setters' slots 13 to 29, one table for the interface and everything that
// implements or calls it.
#define PDF2WORD_OPTION_SLOTS_13_TO_29(X) \
    X(13)                                 \
    X(14)                                 \
    X(15)                                 \
    X(16)                                 \
    X(17)                                 \
    X(18)                                 \
    X(19)                                 \
    X(20)                                 \
    X(21)                                 \
    X(22)                                 \
    X(23)                                 \
    X(24)                                 \
    X(25)                                 \
    X(26)                                 \
    X(27)                                 \
    X(28)                                 \
    X(29)

// The component's interface. The order of the virtual functions is the order of the operation
// table: IUnknown takes slots 0 to 2, IDispatch 3 to 6. Options are known by their slot number;
// each takes one 32-bit value. The reserved slots keep the numbering and are not used.
class IPdf2Word : public IDispatch
{
public:
    virtual HRESULT Reserved7() = 0;
    // Slot 8: converts pages firstPage..lastPage (1-based, VT_INT or VT_I4) of source into
    // output, whose suffix names the format (docx, doc, rtf, odt, html, htm, txt). password is a
    // VT_BSTR, empty for none. Fires the events on the calling thread.
    virtual HRESULT ConvertToWord(BSTR source, BSTR output, VARIANT password, VARIANT firstPage,
                                  VARIANT lastPage) = 0;
    virtual HRESULT Reserved9() = 0;
    virtual HRESULT put_Option10(LONG value) = 0;
    virtual HRESULT Reserved11() = 0;
    virtual HRESULT Reserved12() = 0;
#define PDF2WORD_DECLARE_OPTION(slot) virtual HRESULT put_Option##slot(LONG value) = 0;
    PDF2WORD_OPTION_SLOTS_13_TO_29(PDF2WORD_DECLARE_OPTION)
#undef PDF2WORD_DECLARE_OPTION

protected:
    ~IPdf2Word() = default;
};

using Pdf2WordOptionSetter = HRESULT (IPdf2Word::*)(LONG);

// The setter in an option slot (10 or 13 to 29); nullptr for any other slot.
Pdf2WordOptionSetter pdf2WordOptionSetter(int slot);
// True for the slots that hold an option setter.
bool isPdf2WordOptionSlot(int slot);
