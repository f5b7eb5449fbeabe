#include "tests/topdf/support/PdfChecks.h"

#include "app/core/ToolPaths.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdlib>

namespace PdfChecks {

QMap<QString, QString> info(const QString& pdf, const QString& password)
{
    QStringList arguments;
    if (!password.isEmpty())
        arguments << QStringLiteral("-upw") << password;
    QByteArray out;
    TestFiles::run(QStringLiteral("pdfinfo"), arguments << pdf, &out);
    QMap<QString, QString> entries;
    for (const QString& line : QString::fromUtf8(out).split(QLatin1Char('\n'))) {
        const int colon = line.indexOf(QLatin1Char(':'));
        if (colon > 0)
            entries.insert(line.left(colon), line.mid(colon + 1).trimmed());
    }
    return entries;
}

int pageCount(const QString& pdf, const QString& password)
{
    return info(pdf, password).value(QStringLiteral("Pages"), QStringLiteral("-1")).toInt();
}

QSizeF pageSize(const QString& pdf, int page)
{
    QByteArray out;
    TestFiles::run(QStringLiteral("pdfinfo"),
                   {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page), pdf}, &out);
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("Page\\s+%1 size:\\s+([\\d.]+) x ([\\d.]+) pts").arg(page)).match(QString::fromUtf8(out));
    return match.hasMatch() ? QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble()) : QSizeF();
}

QList<QImage> render(const QString& pdf, int dpi)
{
    QTemporaryDir folder(TestFiles::sandbox() + QStringLiteral("/render-XXXXXX"));
    TestFiles::run(QStringLiteral("pdftoppm"),
                   {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi), pdf, folder.path() + QStringLiteral("/p")});
    QList<QImage> pages;
    // pdftoppm pads the page numbers to one width, so the names sort in page order.
    for (const QString& name : TestFiles::entries(folder.path()))
        pages << QImage(folder.path() + QLatin1Char('/') + name).convertToFormat(QImage::Format_RGB32);
    return pages;
}

bool isSound(const QString& pdf, const QString& password)
{
    QStringList arguments{QStringLiteral("--check")};
    if (!password.isEmpty())
        arguments << QStringLiteral("--password=") + password;
    return TestFiles::run(QStringLiteral("qpdf"), arguments << pdf) == 0;
}

void makeWithLibreOffice(const QStringList& sources, const QString& format, const QString& outputFolder)
{
    const QString profileFolder = TestFiles::sandbox() + QStringLiteral("/lo-profile");
    QDir().mkpath(profileFolder);
    const QString profile = QUrl::fromLocalFile(profileFolder).toString(QUrl::FullyEncoded);
    TestFiles::run(ToolPaths::path(ToolPaths::Soffice),
                   QStringList{QStringLiteral("--headless"), QStringLiteral("-env:UserInstallation=") + profile,
                               QStringLiteral("--convert-to"), format, QStringLiteral("--outdir"), outputFolder}
                       + sources,
                   nullptr, nullptr, 300000);
}

QString text(const QString& pdf)
{
    QByteArray out;
    TestFiles::run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}, &out);
    return QString::fromUtf8(out).simplified();
}

bool near(QRgb pixel, const QColor& colour, int tolerance)
{
    return std::abs(qRed(pixel) - colour.red()) <= tolerance && std::abs(qGreen(pixel) - colour.green()) <= tolerance
           && std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

QString writeScript(const QString& path, const QString& body)
{
    TestFiles::writeFile(path, ("#!/bin/sh\n" + body + "\n").toUtf8());
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    return path;
}

} // namespace PdfChecks
