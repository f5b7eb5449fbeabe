#pragma once

// The conversion engine library, loaded once per process from the path it is first asked for
// and kept loaded: MuPDF inside it keeps no state between conversions, and unloading a library
// that uses Qt while threads may still call it gains nothing.

#include "platform/pdf2word/engine/Pdf2WordEngine.h"

#include <QString>

namespace EngineLibrary {

// The engine's entry, or nullptr when the library cannot be loaded (then *error says why).
QpPdf2WordConvert load(const QString& path, QString* error);

} // namespace EngineLibrary
