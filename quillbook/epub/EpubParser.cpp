#include "quillbook/epub/EpubParser.h"

#include "quillbook/epub/EpubArchive.h"
#include "quillbook/epub/EpubDocument.h"
#include "quillbook/epub/ObfuscatedFonts.h"
#include "quillbook/reader/BoundedXml.h"
#include "quillbook/reader/ConfinedPath.h"

#include "app/core/Logger.h"

#include <QDir>
#include <QDirIterator>
#include <QDomDocument>
#include <QFile>
#include <QRegExp>
#include <QRegularExpression>
#include <QUrl>

namespace epub {

namespace {

void log(const QString& text, int level)
{
    Logger::instance()->log(text, level);
}

QByteArray readWhole(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Elements are matched by their local name, so "opf:manifest" and "manifest" are both found.
QString localName(const QDomElement& element)
{
    return element.localName().isEmpty() ? element.tagName() : element.localName();
}

QList<QDomElement> descendants(const QDomElement& root, const QString& name)
{
    QList<QDomElement> found;
    QList<QDomElement> pending{root};
    while (!pending.isEmpty()) {
        const QDomElement element = pending.takeFirst();
        int at = 0;
        for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
            if (localName(child) == name)
                found.append(child);
            pending.insert(at++, child);
        }
    }
    return found;
}

QString attribute(const QDomElement& element, const QString& name)
{
    if (element.hasAttribute(name))
        return element.attribute(name);
    // An attribute written with a namespace prefix (opf:idref) is found by its local name too.
    const QDomNamedNodeMap attributes = element.attributes();
    for (int i = 0; i < attributes.count(); ++i) {
        const QDomAttr attr = attributes.item(i).toAttr();
        if (attr.localName() == name)
            return attr.value();
    }
    return QString();
}

// XHTML and HTML documents print; the media type's letter case and parameters do not matter.
bool isPageType(const QString& mediaType)
{
    const QString type = mediaType.section(QLatin1Char(';'), 0, 0).trimmed();
    return type.compare(QLatin1String("application/xhtml+xml"), Qt::CaseInsensitive) == 0
           || type.compare(QLatin1String("text/html"), Qt::CaseInsensitive) == 0;
}

// An href that is a web address, a file URL or an absolute path names no file of the book.
bool namesPlaceOutsideBook(const QString& href)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    return href.startsWith(QLatin1Char('/')) || href.startsWith(QLatin1Char('\\')) || scheme.match(href).hasMatch();
}

} // namespace

QString decodeHref(const QString& href)
{
    return QUrl::fromPercentEncoding(href.toUtf8());
}

EpubParser::EpubParser(EpubDocument* document, QObject* parent)
    : QObject(parent)
    , m_document(document)
{
}

void EpubParser::fail(BookFailure failure)
{
    m_document->m_failure = failure;
}

const QMap<QString, MetadataKind>& EpubParser::metadataKinds()
{
    static const QMap<QString, MetadataKind> kinds = {
        {"dc:identifier", Identifier},
        {"dc:title", Title},
        {"dc:creator", Creator},
        {"dc:contributor", Contributor},
        {"dc:subject", Subject},
        {"dc:publisher", Publisher},
        {"dc:description", Description},
        {"dc:date", Date},
        {"dc:type", Type},
        {"dc:format", Format},
        {"dc:source", Source},
        {"dc:language", Language},
        {"dc:coverage", Coverage},
        {"dc:rights", Rights},
    };
    return kinds;
}

EpubBook EpubParser::parse(const QString& sourcePath, const QString& workFolder)
{
    m_workFolder = workFolder;
    BookFailure failure = BookFailure::None;
    if (!unzipArchive(sourcePath, workFolder, nullptr, UnpackLimits(), &failure)) {
        log(QStringLiteral("Error unzip epub:%1").arg(sourcePath), Logger::Error);
        fail(failure);
        return EpubBook();
    }
    return parseUnpacked(sourcePath, workFolder);
}

EpubBook EpubParser::parseUnpacked(const QString& sourcePath, const QString& workFolder)
{
    m_workFolder = workFolder;
    const QString containerPath = ConfinedPath::resolve(workFolder, QStringLiteral("META-INF/container.xml"));
    const QString packageName = containerPath.isEmpty() ? QString() : readContainer(readWhole(containerPath));
    const QString packagePath = packageName.isEmpty() ? QString() : ConfinedPath::resolve(workFolder, packageName);
    if (packagePath.isEmpty()) {
        log(QStringLiteral("Invalid epub:%1").arg(sourcePath), Logger::Error);
        fail(BookFailure::NotThisFormat);
        m_book.baseFolder = workFolder;
    } else {
        m_book.baseFolder = QFileInfo(packagePath).absolutePath();
        loadPackage(readWhole(packagePath));
        if (const int restored = restoreObfuscatedFonts(workFolder, m_book))
            log(QStringLiteral("Obfuscated fonts restored:%1").arg(restored), Logger::Info);
    }
    buildPageList();
    m_book.cover = findFileByRegExp(workFolder, QStringLiteral(".*cover.*.(jpg|jpeg|png|svg)"));
    return m_book;
}

QString EpubParser::readContainer(const QByteArray& content)
{
    QDomDocument document;
    if (!BoundedXml::setContent(document, content)) {
        log(QStringLiteral("Can not set content for xml-doc"), Logger::Error);
        return QString();
    }
    QString packagePath;
    for (const QDomElement& rootfile : descendants(document.documentElement(), QStringLiteral("rootfile"))) {
        if (attribute(rootfile, QStringLiteral("media-type"))
                .compare(QLatin1String("application/oebps-package+xml"), Qt::CaseInsensitive)
            == 0) {
            packagePath = attribute(rootfile, QStringLiteral("full-path"));
            break;
        }
    }
    log(QStringLiteral("OPF path:%1").arg(packagePath), Logger::Debug);
    return packagePath;
}

void EpubParser::loadPackage(const QByteArray& content)
{
    log(QStringLiteral("Load meta data. Begin"), Logger::Info);
    QDomDocument document;
    if (!BoundedXml::setContent(document, content)) {
        log(QStringLiteral("Load meta data. Error loading opf content."), Logger::Error);
        fail(BookFailure::Damaged);
        return;
    }
    const QDomElement root = document.documentElement();
    const struct
    {
        const char* element;
        const char* name;
        void (EpubParser::*parse)(const QDomElement&);
    } sections[] = {{"metadata", "meta data", &EpubParser::parseMetadata},
                    {"manifest", "manifest data", &EpubParser::parseManifest},
                    {"spine", "spine data", &EpubParser::parseSpine}};
    for (const auto& section : sections) {
        const QString name = QLatin1String(section.name);
        log(QStringLiteral("Parse %1. Begin").arg(name), Logger::Info);
        QList<QDomElement> elements = descendants(root, QLatin1String(section.element));
        if (localName(root) == QLatin1String(section.element))
            elements.prepend(root);
        for (const QDomElement& element : elements)
            (this->*section.parse)(element);
        log(QStringLiteral("Parse %1. Complete").arg(name), Logger::Info);
    }
    const QString uniqueId = attribute(root, QStringLiteral("unique-identifier"));
    for (const QDomElement& identifier : descendants(root, QStringLiteral("identifier"))) {
        if (!uniqueId.isEmpty() && attribute(identifier, QStringLiteral("id")) == uniqueId
            && identifier.namespaceURI().contains(QLatin1String("purl.org/dc"))) {
            m_book.uniqueIdentifier = identifier.text();
            break;
        }
    }
    log(QStringLiteral("Load meta data. Complete"), Logger::Info);
}

void EpubParser::parseMetadata(const QDomElement& element)
{
    for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
        const auto kind = metadataKinds().constFind(QStringLiteral("dc:") + localName(child));
        if (kind != metadataKinds().constEnd() && child.namespaceURI().contains(QLatin1String("purl.org/dc")))
            m_book.metadata[kind.value()].append(child.text());
    }
}

void EpubParser::parseManifest(const QDomElement& element)
{
    for (const QDomElement& itemElement : descendants(element, QStringLiteral("item"))) {
        ManifestItem item;
        item.href = decodeHref(attribute(itemElement, QStringLiteral("href")));
        item.id = attribute(itemElement, QStringLiteral("id"));
        item.mediaType = attribute(itemElement, QStringLiteral("media-type"));
        m_book.manifest.insert(item.id, item);
        if (item.id.compare(QLatin1String("cover"), Qt::CaseInsensitive) == 0)
            Logger::instance()->log(QStringLiteral("Cover: %1").arg(item.href), Logger::Debug);
        if (item.mediaType.compare(QLatin1String("application/xhtml+xml"), Qt::CaseInsensitive) == 0)
            log(QStringLiteral("Href:%1").arg(item.href), Logger::Debug);
    }
}

void EpubParser::parseSpine(const QDomElement& element)
{
    for (const QDomElement& itemref : descendants(element, QStringLiteral("itemref")))
        m_book.spine.append(attribute(itemref, QStringLiteral("idref")));
}

void EpubParser::buildPageList()
{
    QStringList& pages = m_document->m_pageList;
    pages.clear();
    pages.append(m_book.baseFolder);
    for (const QString& idref : qAsConst(m_book.spine)) {
        const ManifestItem item = m_book.manifest.value(idref);
        if (!isPageType(item.mediaType))
            continue;
        if (namesPlaceOutsideBook(item.href))
            log(QStringLiteral("Item outside the book skipped:%1").arg(item.href), Logger::Warning);
        else
            pages.append(item.href);
    }
}

QString findFileByRegExp(const QString& folder, const QString& pattern)
{
    const QRegExp expression(pattern);
    QStringList found;
    QDirIterator iterator(folder, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (iterator.hasNext()) {
        const QString path = QDir::toNativeSeparators(iterator.next());
        if (expression.indexIn(path) >= 0)
            found.append(path);
    }
    if (found.isEmpty())
        return QString();
    std::sort(found.begin(), found.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return found.first();
}

} // namespace epub
