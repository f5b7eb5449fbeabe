#pragma once

#include <QString>

// Where the program finds its outside programs and data: in the program folder (the folder of
// the running executable), unless an environment variable names another place. Tests use the
// variables to put fakes in place of the real tools.
namespace ToolPaths {

enum Tool {
    PdfLibrary,     // "DebenuPDFLibraryDLL1212.dll"          QUILLPRESS_PDF_LIBRARY
    Soffice,        // "libreoffice/program/soffice"          QUILLPRESS_SOFFICE
    Convert,        // "convert"                              QUILLPRESS_CONVERT
    QuillWeb,       // "quillweb"                             QUILLPRESS_QUILLWEB
    QuillBook,      // "quillbook"                            QUILLPRESS_QUILLBOOK
    OcrReader,      // "quillocr"                             QUILLPRESS_QUILLOCR
    TessData,       // "tessdata"                             QUILLPRESS_TESSDATA
    Translations,   // "translations"                         QUILLPRESS_TRANSLATIONS
    Pdf2WordEngine, // "libquillpdf2wordengine.so"          QUILLPRESS_PDF2WORD_ENGINE
};

// The folder of the running program, or QUILLPRESS_PROGRAM_DIR when set.
QString programFolder();

// The full path of a tool or data folder.
QString path(Tool tool);

// The name of the environment variable that overrides a tool's path.
const char* environmentVariable(Tool tool);

} // namespace ToolPaths
