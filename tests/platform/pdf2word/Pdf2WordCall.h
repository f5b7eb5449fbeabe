#pragma once

#include "ComRuntime.h"

#include <QString>

class DispEventSink;

// One conversion through the PDF-to-Word component's interface, as its callers make it (the
// component must be registered).
namespace Pdf2WordCall {

struct Outcome
{
    HRESULT result = E_FAIL;
    QString description; // the error description the call left
};

// Registers the component as the application does (the program folder's engine library and
// LibreOffice, the user's cache folder); enginePath, when given, names another engine library.
void registerComponent(const QString& enginePath = QString());

// mode: the road (0 layout, 2 plain); events, when given, is advised for the call.
Outcome convert(const QString& source, const QString& output, int first, int last, int mode = 0,
                DispEventSink* events = nullptr, const QString& password = QString());

} // namespace Pdf2WordCall
