#include "tests/platform/pdf2word/DocumentPdfs.h"

#include "tests/platform/pdflibrary/PdfLibraryFixtures.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextDocument>
#include <QUrl>

namespace DocumentPdfs {

bool writeHtmlPdf(const QString& path, const QString& html, const QList<QImage>& images)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(300);
    QTextDocument document;
    for (int i = 0; i < images.size(); ++i)
        document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("image%1").arg(i)), images[i]);
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Serif"), 11));
    document.setHtml(html);
    document.print(&writer);
    return QFileInfo(path).size() > 0;
}

bool writeReportPdf(const QString& path)
{
    QImage picture(240, 120, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.fillRect(picture.rect(), Qt::white);
    painter.fillRect(20, 20, 100, 80, QColor(200, 30, 30));
    painter.setBrush(QColor(30, 30, 200));
    painter.drawEllipse(130, 20, 90, 80);
    painter.end();
    const QString html = QStringLiteral(
        "<h1 style=\"font-size:24pt\">Harvest Report</h1>"
        "<p>Apples and oranges filled the first baskets of the season while the farmers counted every "
        "crate twice before the trucks left the valley in the early morning.</p>"
        "<p><img src=\"image0\" width=\"240\" height=\"120\"></p>"
        "<p>Bananas and cherries followed later, carried along the river road by the second group of "
        "workers who sang all the way to the market.</p>"
        "<p style=\"page-break-before:always\">Grapes and melons closed the year on the second page.</p>");
    return writeHtmlPdf(path, html, {picture});
}

QStringList reportBodyWords()
{
    QStringList body = reportWords();
    body.removeAll(QStringLiteral("1"));
    body.removeAll(QStringLiteral("2"));
    return body;
}

QStringList reportWords()
{
    return words(QStringLiteral(
        "Harvest Report Apples and oranges filled the first baskets of the season while the farmers counted "
        "every crate twice before the trucks left the valley in the early morning. Bananas and cherries "
        "followed later, carried along the river road by the second group of workers who sang all the way to "
        "the market. 1 Grapes and melons closed the year on the second page. 2"));
}

bool writeInvisibleTextPdf(const QString& path, const QString& text)
{
    QByteArray escaped = text.toLatin1();
    escaped.replace('\\', "\\\\").replace('(', "\\(").replace(')', "\\)");
    const QByteArray content = "BT /F1 14 Tf 3 Tr 72 720 Td (" + escaped + ") Tj ET";
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 5 0 R >> >> "
        "/Contents 4 0 R >>",
        "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "\nendstream",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
    };
    return TestFiles::writeFile(path, PdfLibraryFixtures::pdfFile(objects, 1));
}

QString officeToPdf(const QString& document, const QString& outFolder)
{
    QDir().mkpath(outFolder);
    const QString profile = QDir(outFolder).filePath(QStringLiteral(".profile"));
    const QString soffice = QStringLiteral("/usr/lib/libreoffice/program/soffice");
    TestFiles::run(soffice,
                   {QStringLiteral("--headless"),
                    QStringLiteral("-env:UserInstallation=%1").arg(QUrl::fromLocalFile(profile).toString()),
                    QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"), outFolder, document},
                   nullptr, nullptr, 180000);
    const QString pdf = QDir(outFolder).filePath(QFileInfo(document).completeBaseName() + QStringLiteral(".pdf"));
    return QFileInfo(pdf).size() > 0 ? pdf : QString();
}

QStringList words(const QString& text)
{
    // Ligatures (such as "fi") unfolded, so that every reader spells the words alike.
    static const QRegularExpression separators(QStringLiteral("[^\\w]+"), QRegularExpression::UseUnicodePropertiesOption);
    return text.normalized(QString::NormalizationForm_KC).split(separators, Qt::SkipEmptyParts);
}

double shareKept(const QStringList& reference, const QStringList& items)
{
    QHash<QString, int> left;
    for (const QString& item : items)
        ++left[item];
    int kept = 0;
    for (const QString& item : reference) {
        int& count = left[item];
        if (count > 0) {
            --count;
            ++kept;
        }
    }
    return reference.isEmpty() ? 1.0 : double(kept) / reference.size();
}

QStringList pairsOf(const QStringList& words)
{
    QStringList pairs;
    for (int i = 1; i < words.size(); ++i)
        pairs << words[i - 1] + QLatin1Char(' ') + words[i];
    return pairs;
}

int pageCount(const QString& pdf)
{
    QByteArray info;
    TestFiles::run(QStringLiteral("pdfinfo"), {pdf}, &info);
    return QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromLatin1(info)).captured(1).toInt();
}

QByteArray zipEntry(const QString& package, const QString& entry)
{
    QByteArray out;
    TestFiles::run(QStringLiteral("unzip"), {QStringLiteral("-p"), package, entry}, &out);
    return out;
}

QStringList zipEntries(const QString& package)
{
    QByteArray out;
    TestFiles::run(QStringLiteral("unzip"), {QStringLiteral("-Z1"), package}, &out);
    return QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace DocumentPdfs
