#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

class DebenuPDFLibraryDLLQt1212;

// Inputs and independent checks for the tests of the PDF library stand-in.
namespace PdfLibraryFixtures {

// The library in the program folder, where the test binaries live too.
QString libraryPath();

// A letter-size PDF of pageCount pages, each showing "<label> <n>" in Helvetica near its top and a
// blue box (x 100-300, y 100-250) near its bottom-left corner, every page turned by rotation
// degrees and given the extra page dictionary entries.
QByteArray textPdf(int pageCount, int rotation = 0, const QString& label = QStringLiteral("Page"),
                   const QByteArray& extraPageEntries = QByteArray());
// A PDF file of numbered objects (object n is objects[n - 1]) with a correct cross-reference
// table; root is the catalogue's object number; trailerEntries go into the trailer too.
QByteArray pdfFile(const QList<QByteArray>& objects, int root, const QByteArray& trailerEntries = QByteArray());
// One page of letter size showing a picture whose JBIG2 data (12.5 kB, all white) says it is
// 100000 x 100000 pixels: decoding it needs 2.5 GB.
QByteArray hugeJbig2Pdf();
// One page that fills `fills` tiny rectangles: long to run, small to store.
QByteArray busyPdf(int fills);
// One page that uses one font directly and a second one only inside a form XObject it draws.
QByteArray formFontPdf();
// Writes bytes to a file in the test's sandbox and returns its path.
QString sandboxFile(const QString& name, const QByteArray& bytes = QByteArray());

// Independent tools: qpdf --check passes (with the password, when given).
bool qpdfCheck(const QString& path, const QString& password = QString());
// pdfinfo's "Key: value" lines (empty when pdfinfo failed).
QMap<QString, QString> pdfinfo(const QString& path, const QString& password = QString());
QString pdftotext(const QString& path, const QString& password = QString());
QString qpdfEncryption(const QString& path, const QString& password = QString());

} // namespace PdfLibraryFixtures
