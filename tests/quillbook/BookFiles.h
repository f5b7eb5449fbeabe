#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// Books for the quillbook tests, made at test time.
namespace BookFiles {

struct ZipEntry
{
    QString name;
    QByteArray data;
    qint64 zeroBytes = 0;      // when > 0: the entry holds this many zero bytes instead of data, deflated
    bool symbolicLink = false; // a link (to the path data holds), as zip -y stores one
};

// Writes a ZIP archive with the entries in order, names stored exactly as given.
bool writeZip(const QString& path, const QList<ZipEntry>& entries);

// The entries of an EPUB whose package lies at OEBPS/content.opf and whose spine lists the
// chapters (file name relative to OEBPS, XHTML body) in order. With a prefix, the package writes
// its elements and attributes with that namespace prefix ("opf:manifest").
QList<ZipEntry> epub(const QList<QPair<QString, QString>>& chapters, const QString& prefix = QString());

// A FictionBook 2 document around the given body and binary elements.
QByteArray fb2(const QString& bodies, const QString& binaries = QString());

// A PNG of one colour, encoded row by row (large sizes cost little memory).
QByteArray png(int width, int height);

} // namespace BookFiles
