#pragma once

#include "frompdf/engine/PageRange.h"

#include <QFileInfo>
#include <QList>
#include <QMetaType>
#include <QString>

// One PDF on its way through the "From PDF" side: the source, what to convert and how, and what
// the intake learned about the file.
struct FromPDFTask
{
    QFileInfo file;
    PageRangeList ranges;      // empty: the whole document
    bool rangesChosen = false; // the user committed ranges in the page-range panel
    QString format = QStringLiteral("doc");
    QString ocrLanguage;           // empty for formats without OCR
    bool passwordRequired = false; // the file opens only with a password
    QString password;              // the working password, once given
    bool split = false;            // one output per range (documents) or per page (images)
    int pageCount = 0;
    bool securityInfo5Is6 = true;
    bool scanned = false; // no fonts, or fonts but no page with text
    bool encrypted = false;

    // Stores the format and keeps split and the OCR language consistent with it: document
    // formats and "txt" clear split; other formats lose the OCR language; image formats split.
    void setFormat(const QString& newFormat);
    // Stores the language for document formats and "txt", empties it for every other format.
    void setOcrLanguage(const QString& language);
    // A password is required and none has been given yet.
    bool needsPassword() const;

    // The kinds of OutputFormats, without regard to case.
    static bool isDocumentFormat(const QString& format);
    static bool isImageFormat(const QString& format);
    static bool isTextFormat(const QString& format);
    // Page images always written one file per page ("eps" and "wmf").
    static bool isAlwaysSplitFormat(const QString& format);
};

using FromPDFTaskList = QList<FromPDFTask>;

Q_DECLARE_METATYPE(FromPDFTask)

// Registers "FromPDFTask", "FromPDFTaskList", "PageRange" and "PageRangeList" with the meta-type
// system so they travel through queued connections. The application calls it once at start-up;
// calling it again does no harm.
void registerFromPdfRecordTypes();
