#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace epub {

struct ManifestItem
{
    QString id;
    QString href; // percent-decoded
    QString mediaType;
};

enum MetadataKind {
    Identifier = 0,
    Title = 1,
    Creator = 2,
    Contributor = 3,
    Subject = 4,
    Publisher = 5,
    Description = 6,
    Date = 7,
    Type = 8,
    Format = 9,
    Source = 10,
    Language = 11,
    Coverage = 13,
    Rights = 14,
};

// What the package document says about the book.
struct EpubBook
{
    QMap<QString, ManifestItem> manifest; // by item id
    QStringList spine;                    // idrefs in reading order
    QString baseFolder;                   // the package document's folder inside the work folder
    QString cover;                        // the path of the cover picture, empty when none is found
    QString uniqueIdentifier;             // the dc:identifier that the package's unique-identifier names
    QMap<MetadataKind, QStringList> metadata;
};

// The href attribute with its percent-escapes decoded as UTF-8 ("%20" becomes a blank).
QString decodeHref(const QString& href);

} // namespace epub
