#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

class QTextCodec;

namespace fb2 {

// A FictionBook file read in one pass, block by block: each "binary" element (a child of the root
// in a sound book) is decoded from base64 as it streams in and written as a file of its own, so
// that the pictures, usually most of a book's size, are never held in memory as text. What is
// left (the description and the bodies) is kept as the document's bytes for parsing, unless its
// elements do not close as they opened: such a book fails before it is parsed.
struct FbSplit
{
    enum Status {
        Read,
        Unreadable, // the file cannot be opened or read
        TooLarge,   // the file is larger than a book may be
        Malformed,  // elements are left open (or closed that were never opened): no sound XML
    };

    Status status = Unreadable;
    QByteArray document;             // the file without its binary elements
    QMap<QString, QString> binaries; // id -> the file holding the decoded bytes
};

// Reads path; binaries go to files below folder named by their ids (an id that leads outside the
// folder, or names a folder, is not written). A later binary with the same id replaces the
// earlier one. codec (null: UTF-8) decodes the ids.
FbSplit splitBinaries(const QString& path, const QString& folder, QTextCodec* codec);

} // namespace fb2
