#include "bench/pdf2word/StructureGallery.h"

#include "tests/platform/pdf2word/DocumentPdfs.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

namespace {

const int kPageDpi = 50;
const int kDocumentDpi = 60;
const int kCaption = 22;
const int kGap = 12;

QImage page(const QString& pdf, int number, const QString& folder)
{
    if (pdf.isEmpty() || number > DocumentPdfs::pageCount(pdf))
        return QImage();
    const QString prefix = folder + QStringLiteral("/page");
    TestFiles::run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(kPageDpi), QStringLiteral("-f"), QString::number(number),
                                                QStringLiteral("-l"), QString::number(number), QStringLiteral("-singlefile"),
                                                QStringLiteral("-png"), pdf, prefix});
    QImage image(prefix + QStringLiteral(".png"));
    QFile::remove(prefix + QStringLiteral(".png"));
    return image;
}

// Pages first to last of a PDF in one run of pdftoppm (fewer where it has fewer).
QList<QImage> pages(const QString& pdf, int first, int last, int dpi, const QString& folder)
{
    QList<QImage> images;
    if (pdf.isEmpty() || last < first)
        return images;
    const QString prefix = folder + QStringLiteral("/range");
    TestFiles::run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"), QString::number(first),
                                                QStringLiteral("-l"), QString::number(last), QStringLiteral("-png"), pdf, prefix});
    // pdftoppm numbers the files with as many digits as the document's last page needs.
    const QStringList files = QDir(folder).entryList({QStringLiteral("range-*.png")}, QDir::Files, QDir::Name);
    for (const QString& file : files) {
        images.append(QImage(folder + QLatin1Char('/') + file));
        QFile::remove(folder + QLatin1Char('/') + file);
    }
    return images;
}

// The original's page (left, leftWidth wide at least) beside the printed one (right) under a
// caption; either may be missing.
QImage pair(const QImage& left, const QImage& right, const QString& caption, int leftWidth = 300)
{
    leftWidth = qMax(left.width(), leftWidth);
    const int width = leftWidth + kGap + qMax(right.width(), 300);
    const int height = kCaption + qMax(qMax(left.height(), right.height()), 200);
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(QColor(120, 120, 120));
    QPainter painter(&sheet);
    painter.setPen(Qt::white);
    painter.drawText(QRect(4, 0, width - 8, kCaption), Qt::AlignVCenter | Qt::AlignLeft, caption);
    if (!left.isNull())
        painter.drawImage(0, kCaption, left);
    if (!right.isNull())
        painter.drawImage(leftWidth + kGap, kCaption, right);
    return sheet;
}

} // namespace

int writeSideBySide(const QString& original, const QString& printed, const QString& name, const QString& folder)
{
    QTemporaryDir work;
    QDir().mkpath(folder);
    const int pages = qMax(DocumentPdfs::pageCount(original), printed.isEmpty() ? 0 : DocumentPdfs::pageCount(printed));
    int written = 0;
    for (int number = 1; number <= pages; ++number) {
        const QImage sheet = pair(page(original, number, work.path()), page(printed, number, work.path()),
                                  QStringLiteral("%1, page %2: the original | the DOCX printed by LibreOffice").arg(name).arg(number));
        if (sheet.save(QStringLiteral("%1/%2-p%3.png").arg(folder, name).arg(number, 2, 10, QLatin1Char('0'))))
            ++written;
    }
    return written;
}

bool writeDocumentSideBySide(const QString& original, int firstPage, int lastPage, const QString& printed, const QString& name,
                             const QString& folder)
{
    QTemporaryDir work;
    QDir().mkpath(folder);
    const QList<QImage> originals = pages(original, firstPage, lastPage, kDocumentDpi, work.path());
    const QList<QImage> prints = printed.isEmpty() ? QList<QImage>() : pages(printed, 1, DocumentPdfs::pageCount(printed), kDocumentDpi, work.path());
    const int rows = qMax(lastPage - firstPage + 1, prints.size());
    int leftWidth = 300;
    for (const QImage& image : originals)
        leftWidth = qMax(leftWidth, image.width());
    QList<QImage> sheets;
    int width = 0;
    int height = 0;
    for (int row = 0; row < rows; ++row) {
        const QString caption = QStringLiteral("%1: the original's page %2 | page %3 of the DOCX printed by LibreOffice")
                                    .arg(name, row < originals.size() ? QString::number(firstPage + row) : QStringLiteral("-"),
                                         row < prints.size() ? QString::number(row + 1) : QStringLiteral("-"));
        sheets.append(pair(originals.value(row), prints.value(row), caption, leftWidth));
        width = qMax(width, sheets.last().width());
        height += sheets.last().height() + kGap;
    }
    if (sheets.isEmpty())
        return false;
    QImage document(width, height - kGap, QImage::Format_RGB32);
    document.fill(QColor(60, 60, 60));
    QPainter painter(&document);
    int top = 0;
    for (const QImage& sheet : sheets) {
        painter.drawImage(0, top, sheet);
        top += sheet.height() + kGap;
    }
    painter.end();
    return document.save(QStringLiteral("%1/%2.png").arg(folder, name));
}
