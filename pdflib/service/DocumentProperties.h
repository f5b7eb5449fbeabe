#pragma once

#include <QString>

// The document information that the to-PDF side writes into a PDF: author, title, creator and
// producer go into the document information (keys 1, 2, 5 and 6); a password (after trimming)
// encrypts the document with it as owner and user password.
struct DocumentProperties
{
    QString author;
    QString title;
    QString password;
    QString creator;
    QString producer;
};
