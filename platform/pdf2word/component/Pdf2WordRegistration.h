#pragma once

#include <QString>

// What the component needs of its host, given once when it is registered.
struct Pdf2WordSetup
{
    QString enginePath;  // the conversion engine library
    QString sofficePath; // LibreOffice's soffice, for DOC and RTF
    QString workFolder;  // a private folder for work files
};

// Registers the component under its ProgID in the class table, as installing it would: objects
// created afterwards load the engine library at setup.enginePath. Creation fails with
// CO_E_DLLNOTFOUND when the library is missing.
void registerPdf2WordComponent(const Pdf2WordSetup& setup);
