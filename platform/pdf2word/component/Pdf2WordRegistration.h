#pragma once

#include <QString>

// Registers the component under its ProgID in the class table, as installing it would: objects
// created afterwards load the engine library at enginePath (default: the program folder's, see
// ToolPaths::Pdf2WordEngine). Creation fails with CO_E_DLLNOTFOUND when the library is missing.
void registerPdf2WordComponent(const QString& enginePath = QString());
