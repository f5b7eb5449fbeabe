#include "tests/frompdf/TestPdfs.h"

#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>

namespace TestPdfs {

namespace {

void drawLines(QPainter& painter, const QString& text, int left, int top, int lineHeight)
{
    int y = top;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        painter.drawText(left, y, line);
        y += lineHeight;
    }
}

bool writePages(const QString& path, int pageCount, const std::function<void(QPainter&, int, const QRect&)>& draw,
                int resolution)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(resolution);
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    for (int page = 0; page < pageCount; ++page) {
        if (page > 0)
            writer.newPage();
        draw(painter, page, QRect(0, 0, writer.width(), writer.height()));
    }
    painter.end();
    return QFileInfo(path).size() > 0;
}

} // namespace

bool writeTextPdf(const QString& path, const QStringList& pageTexts)
{
    return writePages(
        path, pageTexts.size(),
        [&](QPainter& painter, int page, const QRect&) {
            QFont font(QStringLiteral("DejaVu Serif"));
            font.setPointSize(14);
            painter.setFont(font);
            drawLines(painter, pageTexts.at(page), 100, 150, 90);
        },
        300);
}

bool writeScannedPdf(const QString& path, const QStringList& pageTexts, int dpi)
{
    return writePages(
        path, pageTexts.size(),
        [&](QPainter& painter, int page, const QRect& area) {
            // A4 at dpi: 8.27 x 11.69 inches.
            QImage scan(qRound(8.27 * dpi), qRound(11.69 * dpi), QImage::Format_Grayscale8);
            scan.fill(Qt::white);
            QPainter scanPainter(&scan);
            QFont font(QStringLiteral("DejaVu Serif"));
            font.setPixelSize(dpi * 14 / 72);
            scanPainter.setFont(font);
            scanPainter.setPen(Qt::black);
            drawLines(scanPainter, pageTexts.at(page), dpi / 3, dpi / 2, dpi * 14 / 72 * 3 / 2);
            scanPainter.end();
            painter.drawImage(area, scan);
        },
        dpi);
}

QImage noisyScan(const QString& text)
{
    QImage grey(2480, 3508, QImage::Format_Grayscale8);
    grey.setDotsPerMeterX(11811);
    grey.setDotsPerMeterY(11811);
    grey.fill(Qt::white);
    {
        QPainter painter(&grey);
        QFont font(QStringLiteral("DejaVu Serif"));
        font.setPixelSize(34);
        painter.setFont(font);
        drawLines(painter, text, 200, 250, 51);
    }
    QImage page = grey.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    const uint black = page.color(0) == qRgb(0, 0, 0) ? 0 : 1;
    quint32 seed = 4711;
    const int specks = int(0.003 * page.width() * page.height());
    for (int i = 0; i < specks; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const int x = int((seed >> 8) % quint32(page.width() - 1));
        seed = seed * 1664525u + 1013904223u;
        const int y = int((seed >> 8) % quint32(page.height() - 1));
        for (int dy = 0; dy < 2; ++dy)
            for (int dx = 0; dx < 2; ++dx)
                page.setPixel(x + dx, y + dy, black);
    }
    return page;
}

bool writeNoisyScanPdf(const QString& path, const QString& text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString plain = path + QStringLiteral(".plain.tif");
    const QString g4 = path + QStringLiteral(".g4.tif");
    const bool written = noisyScan(text).save(plain, "TIFF")
                         && TestFiles::run(QStringLiteral("tiffcp"), {QStringLiteral("-c"), QStringLiteral("g4"), plain, g4}) == 0
                         && TestFiles::run(QStringLiteral("tiff2pdf"), {QStringLiteral("-o"), path, g4}) == 0;
    QFile::remove(plain);
    QFile::remove(g4);
    return written;
}

bool encryptPdf(const QString& input, const QString& output, const QString& userPassword,
                const QString& ownerPassword)
{
    return TestFiles::run(QStringLiteral("qpdf"),
                          {QStringLiteral("--encrypt"), userPassword, ownerPassword, QStringLiteral("256"),
                           QStringLiteral("--"), input, output})
           == 0;
}

QStringList sentencePages(int pages, int linesPerPage)
{
    static const QStringList words = {
        "harbour", "lantern", "keeper", "morning", "river", "stone", "window", "garden", "silver",
        "market", "bridge", "captain", "winter", "meadow", "letter", "station", "orchard", "valley",
        "thunder", "candle", "village", "forest", "journey", "island", "copper", "shadow", "engine",
        "north", "table", "quiet", "yellow", "ladder", "bottle", "signal", "pocket", "marble"};
    QStringList result;
    quint32 seed = 12345;
    for (int page = 0; page < pages; ++page) {
        QStringList lines;
        for (int line = 0; line < linesPerPage; ++line) {
            QStringList lineWords;
            for (int w = 0; w < 7; ++w) {
                seed = seed * 1103515245u + 12345u;
                lineWords << words.at(int((seed >> 16) % quint32(words.size())));
            }
            lineWords.first()[0] = lineWords.first().at(0).toUpper();
            lines << lineWords.join(QLatin1Char(' ')) + QLatin1Char('.');
        }
        result << lines.join(QLatin1Char('\n'));
    }
    return result;
}

QStringList wordsOf(const QString& text)
{
    return text.toLower().split(QRegularExpression(QStringLiteral("[^a-z0-9]+")), Qt::SkipEmptyParts);
}

double wordsFound(const QStringList& truth, const QStringList& recognised)
{
    QHash<QString, int> available;
    for (const QString& word : recognised)
        ++available[word];
    int found = 0;
    for (const QString& word : truth) {
        if (available.value(word) > 0) {
            --available[word];
            ++found;
        }
    }
    return truth.isEmpty() ? 0.0 : double(found) / truth.size();
}

QStringList numberedPages(int count)
{
    QStringList pages;
    for (int page = 1; page <= count; ++page)
        pages << QStringLiteral("Page %1\nLanterns and harbours of the northern coast").arg(page);
    return pages;
}

QString pdfText(const QString& path)
{
    QByteArray text;
    TestFiles::run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}, &text);
    return QString::fromUtf8(text);
}

} // namespace TestPdfs
