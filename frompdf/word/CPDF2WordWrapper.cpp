#include "frompdf/word/CPDF2WordWrapper.h"

CPDF2WordWrapper::CPDF2WordWrapper()
    : DispEventSink(DIID_IPdf2WordEvents)
{
    addEntry({Pdf2WordEventProgress, VT_I4, {VT_I4, VT_I4, VT_BSTR}, [this](const std::vector<VARIANT>& arguments) {
                  return LONG(onConvertProgress(arguments[0].lVal, arguments[1].lVal, arguments[2].bstrVal));
              }});
    addEntry({Pdf2WordEventFinished, VT_EMPTY, {VT_I4}, [this](const std::vector<VARIANT>& arguments) {
                  onConvertFinished(arguments[0].lVal);
                  return LONG(0);
              }});
}
