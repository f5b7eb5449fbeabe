#pragma once

#include <QString>

// What InformationWorker learned about one PDF opened with a password the user typed.
struct PdfInformation
{
    QString path;
    QString title;
    bool passwordProtected = false; // the file needs a password (and one was given or asked for)
    bool encrypted = false;
    QString password; // the password that opened it
    int pageCount = 0;
    bool passwordRequired = false; // the library refused the password given
    bool securityInfo5Is6 = false;
    bool scanned = false;
};
