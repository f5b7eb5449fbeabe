#include "FbDocument.h"

#include "BookPage.h"
#include "ConfinedPath.h"
#include "FbMarkup.h"
#include "ReaderLimits.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

namespace fb2 {

namespace {

// Decodes a picture only when its header declares a size within the bound.
QImage decodeBounded(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > ReaderLimits::imagePixels)
        return QImage();
    return reader.read();
}

// The opening of a body or section page: the title as a heading of the given level that carries
// the record's anchor, the epigraphs and the leading picture.
QString openingMarkup(int level, FbAnchor& anchor, const QString& title, const QStringList& epigraphs,
                      const QString& image)
{
    QString markup;
    if (!title.isEmpty())
        markup += QStringLiteral("<h%1 id=\"%2\">%3</h%1>").arg(QString::number(level), anchor.id(), title);
    for (const QString& epigraph : epigraphs)
        markup += QStringLiteral("<p>%1</p>").arg(epigraph);
    if (!image.isEmpty())
        markup += imageMarkup(image);
    return markup;
}

} // namespace

FbDocument::FbDocument(const QString& sourcePath, QObject* parent)
    : BookReader(sourcePath, parent)
{
}

void FbDocument::convert(const QString& workFolder)
{
    m_workFolder = workFolder;
    m_pagePrefix = QFileInfo(workFolder).fileName();
    m_book.load(sourcePath());
    saveImages();
    m_pageList.append(workFolder);
    for (int i = 0; i < m_book.bodies.size(); ++i) {
        FbBody& body = m_book.bodies[i];
        // The first body shows the book's cover when it has no picture of its own.
        const bool cover = body.image.isEmpty() && i == 0 && QFileInfo::exists(workFolder + QStringLiteral("/cover.png"));
        writePage(openingMarkup(2, body.anchor, body.title, body.epigraphs, cover ? QStringLiteral("cover.png") : body.image));
        for (FbSection& section : body.sections)
            writeSection(section);
    }
}

void FbDocument::saveImages()
{
    for (auto image = m_book.images.cbegin(); image != m_book.images.cend(); ++image) {
        // Ids name files inside the work folder only; one that leads elsewhere is not saved.
        const QString path = ConfinedPath::resolve(m_workFolder, image.key());
        if (path.isEmpty() || QFileInfo(path).isDir() || !QDir().mkpath(QFileInfo(path).absolutePath()))
            continue;
        decodeBounded(image.value()).save(path);
    }
}

void FbDocument::writeSection(FbSection& section)
{
    if (section.sections.isEmpty()) {
        writePage(openingMarkup(4, section.anchor, section.title, section.epigraphs, section.image) + section.content);
        return;
    }
    if (!section.image.isEmpty())
        writePage(imageMarkup(section.image));
    for (FbSection& subsection : section.sections)
        writeSection(subsection);
}

void FbDocument::writePage(const QString& markup)
{
    const QString name = QStringLiteral("%1_%2.html").arg(m_pagePrefix, QString::number(m_pageNumber));
    const QString text = QLatin1String(BookPage::head) + markup + QLatin1String(BookPage::tail);
    if (!BookPage::write(m_workFolder + QLatin1Char('/') + name, text))
        return;
    ++m_pageNumber;
    m_pageList.append(name);
}

} // namespace fb2
