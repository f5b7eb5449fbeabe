#pragma once

#include "pdflib/binding/generated/DebenuPDFLibraryDLLQt1212.h"

#include <QStringList>

struct EbookRequest;

// One instance of the PDF library, loaded from the program folder. Diagnostics go to the debug
// and critical message channels.
class Document : public DebenuPDFLibraryDLLQt1212
{
    Q_OBJECT
public:
    explicit Document(QObject* parent = nullptr);
    ~Document() override;

    // Merges the input PDFs, in list order, into output with a library instance of its own.
    // False when the list or the output name is empty or the library cannot merge.
    static bool merge(const QString& output, const QStringList& files);

    // Loads source, writes the request's author, title and creator and the producer into the
    // document information, protects it with the request's password and permissions when the
    // password is not blank, and saves it to target. False at the first step that fails.
    bool label(const QString& source, const QString& target, const EbookRequest& request);

    // The library's message for an error code, "Unknown error" for codes it does not list.
    static QString errorText(int code);
};
