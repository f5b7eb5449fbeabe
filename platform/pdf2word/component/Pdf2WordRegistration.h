#pragma once

#include <QString>

#include <functional>

// What the component needs of its host, given once when it is registered.
struct Pdf2WordSetup
{
    QString enginePath;  // the conversion engine library
    QString sofficePath; // LibreOffice's soffice, for DOC and RTF
    QString workFolder;  // a private folder for work files
    // Text in fonts without a usable Unicode map is recognised with Tesseract: its language data
    // folder and the languages to read ("eng+deu"); empty: such text is left out.
    QString tessdataPath;
    QString ocrLanguages;
    std::function<void(const QString&)> log; // what the conversion reports on its way; may be empty
};

// Registers the component under its ProgID in the class table, as installing it would: objects
// created afterwards load the engine library at setup.enginePath. Creation fails with
// CO_E_DLLNOTFOUND when the library is missing.
void registerPdf2WordComponent(const Pdf2WordSetup& setup);
