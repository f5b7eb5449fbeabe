#pragma once

#include "quillbook/epub/EpubBook.h"
#include "quillbook/reader/BookReader.h"

#include <QDomElement>
#include <QObject>

namespace epub {

class EpubDocument;

// Unpacks an EPUB, reads "META-INF/container.xml" and the package document it names, and gives
// its document the page list: the package's folder, then the XHTML documents of the spine.
class EpubParser : public QObject
{
    Q_OBJECT
public:
    explicit EpubParser(EpubDocument* document, QObject* parent = nullptr);

    EpubBook parse(const QString& sourcePath, const QString& workFolder);

    // The package path that the container names, empty when it names none.
    QString readContainer(const QByteArray& content);
    void loadPackage(const QByteArray& content);
    void parseMetadata(const QDomElement& element);
    void parseManifest(const QDomElement& element);
    void parseSpine(const QDomElement& element);
    void buildPageList();

    static const QMap<QString, MetadataKind>& metadataKinds();

private:
    // Reads a book that is already unpacked into workFolder.
    EpubBook parseUnpacked(const QString& sourcePath, const QString& workFolder);
    void fail(BookFailure failure);

    EpubDocument* m_document;
    EpubBook m_book;
    QString m_workFolder;
};

// The first path below folder (sub-folders included) that contains a match of pattern, in an
// order that ignores case; empty when none matches.
QString findFileByRegExp(const QString& folder, const QString& pattern);

} // namespace epub
