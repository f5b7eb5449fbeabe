#pragma once

#include <QColor>
#include <QImage>
#include <QMap>
#include <QSizeF>
#include <QString>
#include <QStringList>

// Looks at the PDFs of the to-PDF tests with independent tools (poppler-utils, qpdf), and makes
// the small executable fakes that stand in for outside programs.
namespace PdfChecks {

// pdfinfo's "Key: value" lines (opened with the user password when one is given).
QMap<QString, QString> info(const QString& pdf, const QString& password = QString());
int pageCount(const QString& pdf, const QString& password = QString());
// The page's size in points, as pdfinfo reports it.
QSizeF pageSize(const QString& pdf, int page);
// Every page rendered by pdftoppm at dpi, in page order.
QList<QImage> render(const QString& pdf, int dpi);
QString text(const QString& pdf);
// True when "qpdf --check" finds the file sound (opened with the password when one is given).
bool isSound(const QString& pdf, const QString& password = QString());
// True when the pixel is within tolerance of the colour on each channel.
bool near(QRgb pixel, const QColor& colour, int tolerance = 40);

// Converts the sources with LibreOffice itself into outputFolder ("docx:MS Word 2007 XML", ...).
void makeWithLibreOffice(const QStringList& sources, const QString& format, const QString& outputFolder);

// An executable shell script at path with the body after "#!/bin/sh".
QString writeScript(const QString& path, const QString& body);

} // namespace PdfChecks
