#include "quillbook/Document.h"

#include "app/core/Logger.h"
#include "quillbook/EbookRequest.h"

#include "app/core/FileSystem.h"
#include "app/core/ToolPaths.h"

#include <QDebug>
#include <QMap>

namespace {

enum InformationKey {
    Author = 1,
    Title = 2,
    Creator = 5,
    Producer = 6
};
const int aes128 = 1;

void reportFailure(Document& document, const char* step)
{
    const int code = document.LastErrorCode();
    qCritical() << step << "Error code:" << code << "Error message" << Document::errorText(code);
}

} // namespace

Document::Document(QObject* parent)
    : DebenuPDFLibraryDLLQt1212(ToolPaths::path(ToolPaths::PdfLibrary))
{
    setParent(parent);
    Logger::instance()->log(QStringLiteral("Ctor Document"), Logger::Debug);
}

Document::~Document()
{
    Logger::instance()->log(QStringLiteral("Dector document"), Logger::Debug);
}

bool Document::merge(const QString& output, const QStringList& files)
{
    if (files.isEmpty()) {
        qCritical() << "Merge file list is empty";
        return false;
    }
    if (output.isEmpty()) {
        qCritical() << "Out file name is null";
        return false;
    }
    Document document;
    const QString listName = FileSystem::createUniqueId();
    // The steps of a merge that went well are routine (debug lines); only a failed one is an error.
    for (const QString& file : files) {
        const int result = document.AddToFileList(listName, file);
        (result > 0 ? qDebug() : qCritical()) << "Add file to merge list:" << listName << "File:" << file
                                              << "Result:" << result;
    }
    const int result = document.MergeFileList(listName, output);
    (result != 0 ? qDebug() : qCritical()) << "Merge result:" << result;
    if (result == 0)
        reportFailure(document, "Merge error");
    return result != 0;
}

bool Document::label(const QString& source, const QString& target, const EbookRequest& request)
{
    if (LoadFromFile(source, QString()) != 1) {
        reportFailure(*this, "Load error");
        return false;
    }
    SetInformation(Author, request.author);
    SetInformation(Title, request.title);
    SetInformation(Creator, request.creator);
    SetInformation(Producer, request.producer);

    const QString password = request.password.trimmed();
    if (!password.isEmpty()) {
        const int permissions = EncodePermissions(request.mayPrint, request.mayCopy, request.mayChange,
                                                  request.mayAddNotes, request.mayFillFields,
                                                  request.mayCopyForAccessibility, request.mayAssemble,
                                                  request.mayPrintFullQuality);
        // The password opens the file; a random owner password keeps the permissions binding on
        // everyone who opens it with that password.
        if (Encrypt(FileSystem::createUniqueId(), password, aes128, permissions) == 0) {
            reportFailure(*this, "Encrypt error");
            return false;
        }
    }
    if (SaveToFile(target) != 1) {
        reportFailure(*this, "Save error");
        return false;
    }
    return true;
}

QString Document::errorText(int code)
{
    static const QMap<int, QString> errorMessages = {
        {101, QStringLiteral("The Strength parameter passed to the Encrypt function was invalid")},
        {102, QStringLiteral("The Permissions parameter passed to the Encrypt function was invalid. Use the "
                             "EncodePermissions function to construct a value for this parameter")},
        {103, QStringLiteral("The Encrypt function was used on a document that was already encrypted")},
        {104, QStringLiteral("The Encrypt function failed for an unknown reason")},
        {201, QStringLiteral("The SetInformation function failed because the document is encrypted")},
        {202, QStringLiteral("The Key parameter passed to the SetInformation function was out of range")},
        {301, QStringLiteral("An invalid combination of barcode and option was sent to the DrawBarcode function")},
        {302, QStringLiteral("Non-numeric characters were sent to DrawBarcode using EAN-13")},
        {303, QStringLiteral("The EAN-13 barcode has an invalid checksum character")},
        {401, QStringLiteral("Could not open input file")},
        {402, QStringLiteral("Output file already exists and could not be deleted")},
        {403, QStringLiteral("Could not open output file")},
        {404, QStringLiteral("Invalid password")},
        {405, QStringLiteral("Document is not encrypted")},
        {406, QStringLiteral("Document is already encrypted")},
        {407, QStringLiteral("Invalid encryption strength")},
        {408, QStringLiteral("Invalid permissions")},
        {409, QStringLiteral("Invalid file structure, file is damaged")},
        {410, QStringLiteral("One of the input files is encrypted")},
        {411, QStringLiteral("File not found")},
        {412, QStringLiteral("Invalid page range list")},
        {501, QStringLiteral("The specified FileHandle was invalid")},
    };
    return errorMessages.value(code, QStringLiteral("Unknown error"));
}
