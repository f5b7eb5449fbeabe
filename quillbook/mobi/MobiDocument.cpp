#include "quillbook/mobi/MobiDocument.h"

#include "quillbook/mobi/PdbFile.h"
#include "quillbook/reader/BookPage.h"

#include "app/core/Logger.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

namespace mobi {

namespace {

const char pageHead[] = "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset = utf-8\"/></head>";

// JPEG has no transparency: transparent parts of a picture are laid on white, as the page shows them.
QImage opaque(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return image;
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    return flat;
}

} // namespace

MobiDocument::MobiDocument(const QString& sourcePath, QObject* parent)
    : BookReader(sourcePath, parent)
    , m_book(new PdbFile(sourcePath))
{
}

MobiDocument::~MobiDocument() = default;

void MobiDocument::convert(const QString& workFolder)
{
    if (m_book->isEncrypted()) {
        m_failure = m_book->isMobiBook() ? BookFailure::Encrypted : BookFailure::NotThisFormat;
        return;
    }
    const QString text = m_book->text();
    if (!m_book->damagedTextRecords().isEmpty()) {
        QStringList records;
        for (int record : m_book->damagedTextRecords())
            records << QString::number(record);
        Logger::instance()->log(QStringLiteral("Damaged text records left out:%1").arg(records.join(QLatin1Char(','))),
                                Logger::Warning);
    }
    if (text.isEmpty() || !showsSomething(text)) {
        // A damaged book or none at all: no empty page that would pass for a conversion.
        m_failure = m_book->isTooLarge()                                        ? BookFailure::TooLarge
                    : !m_book->isMobiBook()                                     ? BookFailure::NotThisFormat
                    : text.isEmpty() || !m_book->damagedTextRecords().isEmpty() ? BookFailure::Damaged
                                                                                : BookFailure::NothingShown;
        return;
    }
    m_pageText = rewriteHtml(text, m_book->isSingleByte());
    const QString pageName = QFileInfo(workFolder).fileName() + QStringLiteral(".html");
    if (!BookPage::write(QDir(workFolder).filePath(pageName), QLatin1String(pageHead) + m_pageText))
        return;
    m_pageList << workFolder << pageName;
    for (int i = 0; i < m_book->imageCount(); ++i) {
        const QImage image = m_book->image(i);
        if (!image.isNull())
            opaque(image).save(QDir(workFolder).filePath(QStringLiteral("pdbrec_%1.jpg").arg(i, 5, 10, QLatin1Char('0'))));
    }
}

} // namespace mobi
