#include "bench/pdf2word/StructureGallery.h"

#include "tests/platform/pdf2word/DocumentPdfs.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

namespace {

const int kDpi = 50;
const int kCaption = 22;
const int kGap = 12;

QImage page(const QString& pdf, int number, const QString& folder)
{
    if (pdf.isEmpty() || number > DocumentPdfs::pageCount(pdf))
        return QImage();
    const QString prefix = folder + QStringLiteral("/page");
    TestFiles::run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(kDpi), QStringLiteral("-f"), QString::number(number),
                                                QStringLiteral("-l"), QString::number(number), QStringLiteral("-singlefile"),
                                                QStringLiteral("-png"), pdf, prefix});
    QImage image(prefix + QStringLiteral(".png"));
    QFile::remove(prefix + QStringLiteral(".png"));
    return image;
}

} // namespace

int writeSideBySide(const QString& original, const QString& printed, const QString& name, const QString& folder)
{
    QTemporaryDir work;
    QDir().mkpath(folder);
    const int pages = qMax(DocumentPdfs::pageCount(original), printed.isEmpty() ? 0 : DocumentPdfs::pageCount(printed));
    int written = 0;
    for (int number = 1; number <= pages; ++number) {
        const QImage left = page(original, number, work.path());
        const QImage right = page(printed, number, work.path());
        const int width = qMax(left.width(), 300) + kGap + qMax(right.width(), 300);
        const int height = kCaption + qMax(qMax(left.height(), right.height()), 200);
        QImage sheet(width, height, QImage::Format_RGB32);
        sheet.fill(QColor(120, 120, 120));
        QPainter painter(&sheet);
        painter.setPen(Qt::white);
        painter.drawText(QRect(4, 0, width - 8, kCaption), Qt::AlignVCenter | Qt::AlignLeft,
                         QStringLiteral("%1, page %2: the original | the DOCX printed by LibreOffice").arg(name).arg(number));
        if (!left.isNull())
            painter.drawImage(0, kCaption, left);
        if (!right.isNull())
            painter.drawImage(qMax(left.width(), 300) + kGap, kCaption, right);
        painter.end();
        if (sheet.save(QStringLiteral("%1/%2-p%3.png").arg(folder, name).arg(number, 2, 10, QLatin1Char('0'))))
            ++written;
    }
    return written;
}
