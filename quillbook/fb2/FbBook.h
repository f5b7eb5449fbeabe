#pragma once

#include "quillbook/reader/BookReader.h"
#include "quillbook/reader/BoundedXml.h"

#include <QDate>
#include <QDomElement>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace fb2 {

struct FbAuthor
{
    QString firstName;
    QString middleName;
    QString lastName;
    QString nickname;
    QString email;
};

struct FbTitleInfo
{
    QStringList genres;
    FbAuthor author; // a later "author" element overwrites the fields it names
    QString bookTitle;
    QString annotation;
    QStringList keywords;
    QDate date;
    QString coverImage;
    QString language;
    QString sourceLanguage;
    QList<FbAuthor> translators;
};

struct FbDocumentInfo
{
    FbAuthor author;
    QString program;
    QDate date;
    QString id;
    QString version;
};

struct FbPublishInfo
{
    QString bookName;
    QString publisher;
    QString city;
    QString year;
};

// Gives a fresh anchor id on first use and keeps it for the life of the record.
class FbAnchor
{
public:
    QString id();

private:
    QString m_id;
};

struct FbSection
{
    QString id;    // the book's own "id" of the section, a link target
    QString image; // the picture that leads the section, before any text
    QString title; // markup
    QStringList epigraphs;
    QList<FbSection> sections;
    QString content;       // markup of the body elements in document order
    QList<int> sectionsAt; // for each subsection, how much of content comes before it
    FbAnchor anchor;
};

struct FbBody
{
    QString image;
    QString title;
    QStringList epigraphs;
    QList<FbSection> sections;
    FbAnchor anchor;
};

// The book model of a FictionBook 2 file. Pictures are written to files as the file is read
// (see FbBinaries.h); the model keeps where.
struct FbBook
{
    QMap<QString, QString> images; // "id" -> the file holding the picture's bytes
    FbTitleInfo titleInfo;
    FbPublishInfo publishInfo;
    FbDocumentInfo documentInfo;
    QList<FbBody> bodies;
    BookFailure failure = BookFailure::None; // why load() failed
    // What load() left out: elements nested deeper than the bound (flattened into their text),
    // references to entities the book does not declare, and the book's own entity declarations
    // when its entities expand past what the parser allows.
    BoundedXml::LeftOut leftOut;
    bool declarationsLeftOut = false;

    // Reads the file, writing its pictures below imageFolder: false when it cannot be opened, is
    // larger than a book may be, is not well-formed XML, or its root is not "FictionBook".
    bool load(const QString& path, const QString& imageFolder);
    bool parse(const QDomElement& root);
    void readDescription(const QDomElement& element);
    void readBody(const QDomElement& element);
};

// The text codec name the file's XML declaration names on its first line (in double or single
// quotes), "UTF-8" when it names none, empty when the file cannot be opened.
QString detectEncoding(const QString& path);

} // namespace fb2
