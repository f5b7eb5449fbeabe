#pragma once

#include <QJsonObject>
#include <QString>

// One conversion as the request file describes it. The defaults are those of a request that
// names only its id and format.
struct EbookRequest
{
    QString fileId;
    QString format;
    bool mayAddNotes = true;
    bool mayAssemble = false;
    bool mayChange = true;
    bool mayCopy = true;
    bool mayCopyForAccessibility = false;
    bool mayFillFields = true;
    bool mayPrint = true;
    bool mayPrintFullQuality = true;
    QString author;
    QString creator;
    QString password;
    QString producer = QStringLiteral("Kestrova"); // never taken from the request
    QString title;
    QString pageSize = QStringLiteral("A4");
    int margin = 10; // millimetres
    QString pageOrientation = QStringLiteral("portrait");
};

// The program's exit codes, also written as the response's "error_code".
enum ExitCode {
    Converted = 0,
    RequestUnreadable = 2,   // the request file is missing, unreadable, not JSON or not an object
    RequestInvalid = 5,      // a key of the request has the wrong type or value
    NotConverted = 6,        // the work folder or the source book is missing
    NoPages = 7,             // the book gave no page to print
    NotWritten = 8,          // the pages could not be merged, labelled or saved into the target
    ResponseUnwritable = 10, // in place of 6, 7 or 8 when the response file cannot be written
};

// Fills request from the request object. False at the first key of the wrong JSON type or with a
// value outside its list; request then holds the keys read so far. A "margin" that is not a whole
// JSON number is taken as 10.
bool parseEbookRequest(EbookRequest& request, const QJsonObject& object);

// The response path of a request file: its absolute folder and its name up to the first ".",
// followed by ".resp".
QString ebookResponsePath(const QString& requestPath);

// Writes the response: "error_code", and "outputs" with the output file when it is not empty.
// Returns errorCode, or ResponseUnwritable when the file cannot be written.
int writeEbookResponse(const QString& responsePath, const QString& outputFile, int errorCode);
