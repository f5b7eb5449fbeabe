#pragma once

#include <QString>
#include <QStringList>

// PDFs written by Qt for the from-PDF tests. Each page text may hold several lines ("\n").
namespace TestPdfs {

// A4 pages with real text (embedded fonts).
bool writeTextPdf(const QString& path, const QStringList& pageTexts);

// A4 pages that hold only a grey picture of their text, painted at dpi: no fonts, no text.
bool writeScannedPdf(const QString& path, const QStringList& pageTexts, int dpi = 300);

// A copy of input encrypted with qpdf (AES-256); an empty user password opens without asking.
bool encryptPdf(const QString& input, const QString& output, const QString& userPassword,
                const QString& ownerPassword);

// "Page N" texts for count pages, each with a second line of words.
QStringList numberedPages(int count);

// The text of a PDF as pdftotext reads it.
QString pdfText(const QString& path);

} // namespace TestPdfs
