#pragma once

#include <QByteArray>
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
    QString image; // the picture that leads the section, before any text
    QString title; // markup
    QStringList epigraphs;
    QList<FbSection> sections;
    QString content; // markup of the body elements in document order
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

// The book model of a FictionBook 2 file. Pictures are kept as their encoded bytes and decoded
// only when they are saved, one at a time.
struct FbBook
{
    QMap<QString, QByteArray> images; // by "id"
    FbTitleInfo titleInfo;
    FbPublishInfo publishInfo;
    FbDocumentInfo documentInfo;
    QList<FbBody> bodies;

    // Reads the file: false when it cannot be opened, is larger than a book may be, nests deeper
    // than the bound, is not well-formed XML, or its root is not "FictionBook".
    bool load(const QString& path);
    bool parse(const QDomElement& root);
    void readBinary(const QDomElement& element);
    void readDescription(const QDomElement& element);
    void readBody(const QDomElement& element);
};

// The text codec name the file declares on its first line, "UTF-8" when it declares none, empty
// when the file cannot be opened.
QString detectEncoding(const QString& path);

} // namespace fb2
