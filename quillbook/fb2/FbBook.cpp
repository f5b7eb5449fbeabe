#include "quillbook/fb2/FbBook.h"

#include "quillbook/fb2/FbBinaries.h"
#include "quillbook/fb2/FbMarkup.h"
#include "quillbook/reader/BoundedXml.h"

#include <QDomDocument>
#include <QFile>
#include <QRegularExpression>
#include <QTextCodec>
#include <QUuid>

namespace fb2 {

namespace {

QDate readDate(const QDomElement& element)
{
    return QDate::fromString(element.attribute(QStringLiteral("value")), Qt::ISODate);
}

void readAuthor(const QDomElement& element, FbAuthor& author)
{
    const struct
    {
        const char* name;
        QString FbAuthor::*field;
    } fields[] = {{"first-name", &FbAuthor::firstName}, {"middle-name", &FbAuthor::middleName}, {"last-name", &FbAuthor::lastName}, {"nickname", &FbAuthor::nickname}, {"email", &FbAuthor::email}};
    for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
        for (const auto& field : fields) {
            if (child.tagName() == QLatin1String(field.name))
                author.*field.field = readText(child);
        }
    }
}

void readTitleInfo(const QDomElement& element, FbTitleInfo& info)
{
    for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
        const QString name = child.tagName();
        if (name == QLatin1String("genre")) {
            const QString genre = readText(child);
            if (!genre.isEmpty())
                info.genres.append(genre);
        } else if (name == QLatin1String("author")) {
            readAuthor(child, info.author);
        } else if (name == QLatin1String("book-title")) {
            info.bookTitle = readText(child);
        } else if (name == QLatin1String("annotation")) {
            info.annotation = child.text();
        } else if (name == QLatin1String("keywords")) {
            info.keywords = readText(child).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        } else if (name == QLatin1String("date")) {
            info.date = readDate(child);
        } else if (name == QLatin1String("coverpage")) {
            for (QDomElement image = child.firstChildElement(QStringLiteral("image")); !image.isNull();
                 image = image.nextSiblingElement(QStringLiteral("image")))
                info.coverImage = readImage(image);
        } else if (name == QLatin1String("lang")) {
            info.language = readText(child);
        } else if (name == QLatin1String("src-lang")) {
            info.sourceLanguage = readText(child);
        } else if (name == QLatin1String("translator")) {
            FbAuthor translator;
            readAuthor(child, translator);
            info.translators.append(translator);
        }
    }
}

void readDocumentInfo(const QDomElement& element, FbDocumentInfo& info)
{
    for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
        const QString name = child.tagName();
        if (name == QLatin1String("author"))
            readAuthor(child, info.author);
        else if (name == QLatin1String("program-used"))
            info.program = readText(child);
        else if (name == QLatin1String("date"))
            info.date = readDate(child);
        else if (name == QLatin1String("id"))
            info.id = readText(child);
        else if (name == QLatin1String("version"))
            info.version = readText(child);
    }
}

void readPublishInfo(const QDomElement& element, FbPublishInfo& info)
{
    const struct
    {
        const char* name;
        QString FbPublishInfo::*field;
    } fields[] = {{"book-name", &FbPublishInfo::bookName}, {"publisher", &FbPublishInfo::publisher}, {"city", &FbPublishInfo::city}, {"year", &FbPublishInfo::year}};
    for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
        for (const auto& field : fields) {
            if (child.tagName() == QLatin1String(field.name))
                info.*field.field = readText(child);
        }
    }
}

} // namespace

QString FbAnchor::id()
{
    if (m_id.isEmpty())
        m_id = QUuid::createUuid().toString();
    return m_id;
}

QString detectEncoding(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    const QString firstLine = QString::fromUtf8(file.readLine(4096));
    static const QRegularExpression declaration(QStringLiteral("encoding\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)')"),
                                                QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = declaration.match(firstLine);
    const QString name = match.captured(1) + match.captured(2);
    return name.isEmpty() ? QStringLiteral("UTF-8") : name;
}

bool FbBook::load(const QString& path, const QString& imageFolder)
{
    QTextCodec* declared = QTextCodec::codecForName(detectEncoding(path).toLatin1());
    FbSplit split = splitBinaries(path, imageFolder, declared);
    if (split.status != FbSplit::Read) {
        const bool fictionBook = split.document.contains("<FictionBook");
        failure = split.status == FbSplit::TooLarge                    ? BookFailure::TooLarge
                  : split.status == FbSplit::Malformed && !fictionBook ? BookFailure::NotThisFormat
                                                                       : BookFailure::Damaged;
        return false;
    }
    images = split.binaries;
    // A byte-order mark outweighs the declaration, as it does for XML parsers.
    QTextCodec* codec = QTextCodec::codecForUtfText(split.document.left(4), declared ? declared : QTextCodec::codecForMib(106));
    QString text = codec->toUnicode(split.document);
    split.document.clear();
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QDomDocument document;
    bool parsed = BoundedXml::setContentKeepingSpace(document, text, 0, &leftOut);
    if (!parsed) {
        // Entities the document type declares may expand past what the parser allows (nested
        // expansion, "billion laughs"): the book is read again without those declarations, its
        // references to them reading as nothing.
        const QString bare = BoundedXml::withoutInternalSubset(text);
        declarationsLeftOut = bare.size() != text.size();
        parsed = declarationsLeftOut && BoundedXml::setContentKeepingSpace(document, bare, 0, &leftOut);
    }
    if (!parsed) {
        failure = text.contains(QLatin1String("<FictionBook")) ? BookFailure::Damaged : BookFailure::NotThisFormat;
        return false;
    }
    text.clear();
    if (!parse(document.documentElement())) {
        failure = BookFailure::NotThisFormat;
        return false;
    }
    return true;
}

bool FbBook::parse(const QDomElement& root)
{
    if (root.tagName() != QLatin1String("FictionBook"))
        return false;
    for (QDomElement child = root.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
        if (child.tagName() == QLatin1String("description"))
            readDescription(child);
        else if (child.tagName() == QLatin1String("body"))
            readBody(child);
    }
    return true;
}

void FbBook::readDescription(const QDomElement& element)
{
    for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
        if (child.tagName() == QLatin1String("title-info"))
            readTitleInfo(child, titleInfo);
        else if (child.tagName() == QLatin1String("document-info"))
            readDocumentInfo(child, documentInfo);
        else if (child.tagName() == QLatin1String("publish-info"))
            readPublishInfo(child, publishInfo);
    }
}

void FbBook::readBody(const QDomElement& element)
{
    FbBody body;
    for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
        const QString name = child.tagName();
        if (name == QLatin1String("section")) {
            FbSection section;
            readSection(child, section);
            body.sections.append(section);
        } else if (name == QLatin1String("image")) {
            body.image = readImage(child);
        } else if (name == QLatin1String("title")) {
            readTitle(child, body.title);
        } else if (name == QLatin1String("epigraph")) {
            QString epigraph;
            readEpigraph(child, epigraph);
            body.epigraphs.append(epigraph);
        }
    }
    bodies.append(body);
}

} // namespace fb2
