#include "app/core/ToolPaths.h"

#include <QCoreApplication>

namespace ToolPaths {

namespace {

struct Entry
{
    Tool tool;
    const char* relativePath;
    const char* variable;
};

const Entry entries[] = {
    {PdfLibrary, "DebenuPDFLibraryDLL1212.dll", "QUILLPRESS_PDF_LIBRARY"},
    {Soffice, "libreoffice/program/soffice", "QUILLPRESS_SOFFICE"},
    {Convert, "convert", "QUILLPRESS_CONVERT"},
    {QuillWeb, "quillweb", "QUILLPRESS_QUILLWEB"},
    {QuillBook, "quillbook", "QUILLPRESS_QUILLBOOK"},
    {OcrReader, "quillocr", "QUILLPRESS_QUILLOCR"},
    {TessData, "tessdata", "QUILLPRESS_TESSDATA"},
    {Translations, "translations", "QUILLPRESS_TRANSLATIONS"},
    {Pdf2WordEngine, "libquillpdf2wordengine.so", "QUILLPRESS_PDF2WORD_ENGINE"},
};

const Entry& entryFor(Tool tool)
{
    for (const Entry& entry : entries) {
        if (entry.tool == tool)
            return entry;
    }
    return entries[0];
}

} // namespace

QString programFolder()
{
    const QString overridden = qEnvironmentVariable("QUILLPRESS_PROGRAM_DIR");
    return overridden.isEmpty() ? QCoreApplication::applicationDirPath() : overridden;
}

const char* environmentVariable(Tool tool)
{
    return entryFor(tool).variable;
}

QString path(Tool tool)
{
    const Entry& entry = entryFor(tool);
    const QString overridden = qEnvironmentVariable(entry.variable);
    if (!overridden.isEmpty())
        return overridden;
    return programFolder() + QLatin1Char('/') + QLatin1String(entry.relativePath);
}

} // namespace ToolPaths
