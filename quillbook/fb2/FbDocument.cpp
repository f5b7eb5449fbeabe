#include "quillbook/fb2/FbDocument.h"

#include "quillbook/fb2/FbMarkup.h"
#include "quillbook/reader/BookPage.h"
#include "quillbook/reader/ReaderLimits.h"

#include "app/core/Logger.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QRegularExpression>
#include <QUrl>

#include <cmath>

namespace fb2 {

namespace {

// A picture file is kept when its header names a picture within the bound of decoded pixels.
// One with more pixels than a printed page shows is scaled down (JPEG stays JPEG, other kinds
// become PNG; the page finds a picture by its content, not its name).
bool preparePicture(const QString& path)
{
    QImage image;
    QByteArray format;
    {
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        const QSize size = reader.size();
        const qint64 pixels = qint64(size.width()) * size.height();
        if (!size.isValid() || pixels > ReaderLimits::imagePixels)
            return false;
        if (pixels <= ReaderLimits::printedPixels)
            return true;
        const qreal scale = std::sqrt(qreal(ReaderLimits::printedPixels) / pixels);
        const QSize scaled = QSize(int(size.width() * scale), int(size.height() * scale)).expandedTo(QSize(1, 1));
        format = reader.format();
        reader.setScaledSize(scaled);
        image = reader.read();
        if (image.isNull())
            return false;
    }
    const bool jpeg = format == "jpeg";
    QImageWriter writer(path, jpeg ? "jpeg" : "png");
    if (jpeg)
        writer.setQuality(90);
    return writer.write(image);
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

// The cover picture alone on its page, centred and no wider than the page (the printing view
// keeps pictures within a page's height).
QString coverMarkup(const QString& image)
{
    return QStringLiteral("<div style=\"text-align: center\">%1</div>")
        .arg(imageMarkup(image).replace(QLatin1String(" />"), QLatin1String(" style=\"max-width: 100%\" />")));
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
    m_pageList.append(workFolder);
    if (!m_book.load(sourcePath(), workFolder)) {
        m_failure = m_book.failure;
        return;
    }
    logLeftOut();
    preparePictures();

    const QString cover = m_book.titleInfo.coverImage;
    const bool coverShown = m_book.images.contains(cover);
    if (coverShown)
        addPage(coverMarkup(cover));
    for (int i = 0; i < m_book.bodies.size(); ++i) {
        FbBody& body = m_book.bodies[i];
        QString image = body.image == cover && coverShown ? QString() : body.image;
        // The first body shows a picture named cover.png when the book names no cover and the
        // body has no picture of its own.
        if (body.image.isEmpty() && i == 0 && !coverShown && m_book.images.contains(QStringLiteral("cover.png")))
            image = QStringLiteral("cover.png");
        QString pending = openingMarkup(2, body.anchor, body.title, body.epigraphs, image);
        for (FbSection& section : body.sections)
            writeSection(section, pending);
        addPage(pending);
    }

    // Pages are named once all are known, so that links can name the page of their target.
    QMap<QString, QString> pageOfId;
    static const QRegularExpression idPattern(QStringLiteral(" id=\"([^\"]*)\""));
    QStringList names;
    for (int n = 0; n < m_pages.size(); ++n) {
        names.append(QStringLiteral("%1_%2.html").arg(m_pagePrefix, QString::number(n + 1)));
        QRegularExpressionMatchIterator ids = idPattern.globalMatch(m_pages.at(n));
        while (ids.hasNext()) {
            const QString id = ids.next().captured(1);
            if (!pageOfId.contains(id))
                pageOfId.insert(id, names.last());
        }
    }
    for (int n = 0; n < m_pages.size(); ++n) {
        const QString text =
            QLatin1String(BookPage::head) + finishMarkup(m_pages.at(n), pageOfId) + QLatin1String(BookPage::tail);
        if (BookPage::write(m_workFolder + QLatin1Char('/') + names.at(n), text))
            m_pageList.append(names.at(n));
    }
    m_pages.clear();
}

void FbDocument::logLeftOut() const
{
    const auto warn = [](const QString& text) { Logger::instance()->log(text, Logger::Warning); };
    if (m_book.leftOut.elements > 0)
        warn(QStringLiteral("Elements nested deeper than %1 levels left out, their text kept: %2")
                 .arg(ReaderLimits::xmlDepth)
                 .arg(m_book.leftOut.elements));
    if (m_book.declarationsLeftOut)
        warn(QStringLiteral("Entity declarations left out: their entities expand past the parser's bound"));
    if (m_book.leftOut.entities > 0)
        warn(QStringLiteral("References to undeclared entities left out: %1").arg(m_book.leftOut.entities));
}

void FbDocument::preparePictures()
{
    for (auto image = m_book.images.begin(); image != m_book.images.end();) {
        if (preparePicture(image.value())) {
            ++image;
        } else {
            QFile::remove(image.value());
            image = m_book.images.erase(image);
        }
    }
}

void FbDocument::writeSection(FbSection& section, QString& pending)
{
    if (!section.id.isEmpty())
        pending += anchorMarkup(section.id);
    pending += openingMarkup(section.sections.isEmpty() ? 4 : 3, section.anchor, section.title, section.epigraphs,
                             section.image);
    int from = 0;
    for (int i = 0; i < section.sections.size(); ++i) {
        const int at = section.sectionsAt.value(i, section.content.size());
        pending += section.content.midRef(from, at - from);
        from = at;
        writeSection(section.sections[i], pending);
    }
    pending += section.content.midRef(from);
    if (section.sections.isEmpty()) {
        addPage(pending);
        pending.clear();
    }
}

void FbDocument::addPage(const QString& markup)
{
    // A body or section without anything to show gives no page.
    if (!markup.isEmpty())
        m_pages.append(markup);
}

// Links to places in the book point at the page that holds them, links to places the book lacks
// become plain text; pictures the book does not hold (or that were not kept) are left out.
QString FbDocument::finishMarkup(const QString& markup, const QMap<QString, QString>& pageOfId) const
{
    static const QRegularExpression pattern(QStringLiteral("<a href=\"#([^\"]*)\">|<img src=\"([^\"]*)\" />"));
    QString out;
    int copied = 0;
    QRegularExpressionMatchIterator matches = pattern.globalMatch(markup);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        out += markup.midRef(copied, match.capturedStart() - copied);
        copied = match.capturedEnd();
        if (match.capturedLength(1) > 0) {
            const QString page = pageOfId.value(match.captured(1));
            out += page.isEmpty() ? QStringLiteral("<a>")
                                  : QStringLiteral("<a href=\"%1#%2\">").arg(page, match.captured(1));
        } else if (m_book.images.contains(QUrl::fromPercentEncoding(match.captured(2).toLatin1()))) {
            out += match.captured(0);
        }
    }
    out += markup.midRef(copied);
    return out;
}

} // namespace fb2
