#include "pdflib/binding/generated/DebenuPDFLibraryDLLQt1212.h"
#include "pdflib/binding/generated/DebenuPDFLibraryDLL1212.h"

DebenuPDFLibraryDLLQt1212::DebenuPDFLibraryDLLQt1212(DebenuPDFLibraryDLL1212* library)
    : QObject(nullptr)
    , library(library)
    , ownsLibrary(false)
{
}

DebenuPDFLibraryDLLQt1212::DebenuPDFLibraryDLLQt1212(const QString& dllPath)
    : QObject(nullptr)
    , library(new DebenuPDFLibraryDLL1212(dllPath.toStdWString()))
    , ownsLibrary(true)
{
}

DebenuPDFLibraryDLLQt1212::~DebenuPDFLibraryDLLQt1212()
{
    if (ownsLibrary)
        delete library;
    library = nullptr;
}

bool DebenuPDFLibraryDLLQt1212::LibraryLoaded()
{
    return library->LibraryLoaded();
}
