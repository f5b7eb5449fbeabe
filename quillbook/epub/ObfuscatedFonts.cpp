#include "quillbook/epub/ObfuscatedFonts.h"

#include "quillbook/reader/ConfinedPath.h"
#include "quillbook/reader/ReaderLimits.h"

#include "app/core/Logger.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

namespace epub {

namespace {

void log(const QString& text, int level)
{
    Logger::instance()->log(text, level);
}

QString withoutWhiteSpace(QString text)
{
    static const QRegularExpression whiteSpace(QStringLiteral("[ \\t\\r\\n]"));
    return text.remove(whiteSpace);
}

QByteArray idpfKey(const EpubBook& book)
{
    const QString identifier = withoutWhiteSpace(book.uniqueIdentifier);
    return identifier.isEmpty() ? QByteArray()
                                : QCryptographicHash::hash(identifier.toUtf8(), QCryptographicHash::Sha1);
}

// The 16 bytes of the UUID that ends identifier ("urn:uuid:0a1b2c3d-..."), empty when it ends in none.
QByteArray uuidBytes(const QString& identifier)
{
    static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{32}$"));
    const QString digits = withoutWhiteSpace(identifier).section(QLatin1Char(':'), -1).remove(QLatin1Char('-'));
    return hex.match(digits).hasMatch() ? QByteArray::fromHex(digits.toLatin1()) : QByteArray();
}

// The unique identifier's UUID, or else that of the first identifier that holds one.
QByteArray adobeKey(const EpubBook& book)
{
    const QStringList identifiers = QStringList(book.uniqueIdentifier) + book.metadata.value(Identifier);
    for (const QString& identifier : identifiers) {
        const QByteArray key = uuidBytes(identifier);
        if (!key.isEmpty())
            return key;
    }
    return QByteArray();
}

const struct Obfuscation
{
    const char* algorithm;
    int length; // the bytes at the file's start that are XORed
    QByteArray (*key)(const EpubBook&);
} obfuscations[] = {
    {"http://www.idpf.org/2008/embedding", 1040, &idpfKey},
    {"http://ns.adobe.com/pdf/enc#RC", 1024, &adobeKey},
};

const Obfuscation* obfuscationOf(const QString& algorithm)
{
    for (const Obfuscation& obfuscation : obfuscations) {
        if (algorithm == QLatin1String(obfuscation.algorithm))
            return &obfuscation;
    }
    return nullptr;
}

struct ListedFile
{
    QString algorithm;
    QString uri; // relative to the book's root, percent-encoded
};

// The files encryption.xml lists, read as a stream; no more than an archive may hold entries.
QVector<ListedFile> listedFiles(const QString& path)
{
    QVector<ListedFile> listed;
    QFile file(path);
    if (file.size() > ReaderLimits::bookFileBytes || !file.open(QIODevice::ReadOnly)) {
        log(QStringLiteral("Encryption list not read:%1").arg(path), Logger::Warning);
        return listed;
    }
    QXmlStreamReader xml(&file);
    ListedFile current;
    while (!xml.atEnd() && listed.size() < ReaderLimits::archiveEntries) {
        xml.readNext();
        // The first method and reference of an entry count (its key information may hold more).
        if (xml.isStartElement() && xml.name() == QLatin1String("EncryptedData"))
            current = ListedFile();
        else if (xml.isStartElement() && xml.name() == QLatin1String("EncryptionMethod") && current.algorithm.isEmpty())
            current.algorithm = xml.attributes().value(QLatin1String("Algorithm")).toString().trimmed();
        else if (xml.isStartElement() && xml.name() == QLatin1String("CipherReference") && current.uri.isEmpty())
            current.uri = xml.attributes().value(QLatin1String("URI")).toString().trimmed();
        else if (xml.isEndElement() && xml.name() == QLatin1String("EncryptedData") && !current.uri.isEmpty())
            listed.append(current);
    }
    if (xml.hasError())
        log(QStringLiteral("Encryption list damaged:%1").arg(xml.errorString()), Logger::Warning);
    return listed;
}

// The media types of the manifest's items by their absolute clean paths.
QHash<QString, QString> mediaTypesByPath(const EpubBook& book)
{
    QHash<QString, QString> types;
    for (const ManifestItem& item : book.manifest)
        types.insert(QDir::cleanPath(book.baseFolder + QLatin1Char('/') + item.href),
                     item.mediaType.section(QLatin1Char(';'), 0, 0).trimmed().toLower());
    return types;
}

// Only fonts are obfuscated: an item of another media type listed under a font obfuscation (a
// chapter, a picture) is not, and XORing it would destroy it. A file the manifest does not type
// (or types only as bytes) counts as a font by its suffix.
bool isFont(const QString& mediaType, const QString& path)
{
    static const QStringList fontTypes = {QStringLiteral("font/"), QStringLiteral("application/font-"),
                                          QStringLiteral("application/x-font"),
                                          QStringLiteral("application/vnd.ms-opentype")};
    for (const QString& type : fontTypes) {
        if (mediaType.startsWith(type))
            return true;
    }
    static const QRegularExpression fontSuffix(QStringLiteral("\\.(ttf|otf|woff2?)$"),
                                               QRegularExpression::CaseInsensitiveOption);
    return (mediaType.isEmpty() || mediaType == QLatin1String("application/octet-stream"))
           && fontSuffix.match(path).hasMatch();
}

// XORs the first length bytes of the file (all of a shorter one) with key, repeated.
bool unmask(const QString& path, const QByteArray& key, int length)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    QByteArray head = file.read(length);
    for (int i = 0; i < head.size(); ++i)
        head[i] = char(head.at(i) ^ key.at(i % key.size()));
    return file.seek(0) && file.write(head) == head.size();
}

} // namespace

int restoreObfuscatedFonts(const QString& workFolder, const EpubBook& book)
{
    const QString listPath = ConfinedPath::resolve(workFolder, QStringLiteral("META-INF/encryption.xml"));
    if (listPath.isEmpty() || !QFileInfo(listPath).isFile())
        return 0;
    int restored = 0;
    const QHash<QString, QString> mediaTypes = mediaTypesByPath(book);
    QSet<QString> seen; // a file listed twice is restored once
    for (const ListedFile& listed : listedFiles(listPath)) {
        const QString path = ConfinedPath::resolve(workFolder, decodeHref(listed.uri));
        if (path.isEmpty() || !QFileInfo(path).isFile()) {
            log(QStringLiteral("Encrypted file not in the book:%1").arg(listed.uri), Logger::Warning);
            continue;
        }
        if (seen.contains(path))
            continue;
        seen.insert(path);
        const Obfuscation* obfuscation = obfuscationOf(listed.algorithm);
        const QByteArray key = obfuscation ? obfuscation->key(book) : QByteArray();
        const QString mediaType = mediaTypes.value(QDir::cleanPath(path));
        if (!obfuscation)
            log(QStringLiteral("Encrypted file left as it is:%1 (%2)").arg(listed.uri, listed.algorithm), Logger::Warning);
        else if (!isFont(mediaType, path))
            log(QStringLiteral("Obfuscated file that is no font left as it is:%1 (%2)").arg(listed.uri, mediaType),
                Logger::Warning);
        else if (key.isEmpty())
            log(QStringLiteral("Obfuscated file left as it is, the book has no identifier for its key:%1").arg(listed.uri),
                Logger::Warning);
        else if (!unmask(path, key, obfuscation->length))
            log(QStringLiteral("Obfuscated file could not be restored:%1").arg(listed.uri), Logger::Warning);
        else
            ++restored;
    }
    return restored;
}

} // namespace epub
