#include "tests/platform/pdflibrary/PdfLibraryFixtures.h"

#include "tests/support/TestFiles.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>

namespace PdfLibraryFixtures {

namespace {

QByteArray stream(const QByteArray& content, const QByteArray& dictionary = QByteArray())
{
    return "<< " + dictionary + " /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content
           + "\nendstream";
}

} // namespace

QByteArray pdfFile(const QList<QByteArray>& objects, int root, const QByteArray& trailerEntries)
{
    QByteArray out = "%PDF-1.4\n";
    QList<int> offsets;
    for (int i = 0; i < objects.size(); ++i) {
        offsets << out.size();
        out += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const int xref = out.size();
    out += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (int offset : offsets)
        out += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root " + QByteArray::number(root)
           + " 0 R " + trailerEntries + " >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return out;
}

QByteArray hugeJbig2Pdf()
{
    // JBIG2 segments: number, type, no referred segments, page 1, data length, data.
    auto segment = [](quint32 number, quint8 type, const QByteArray& data) {
        QByteArray header;
        QDataStream(&header, QIODevice::WriteOnly) << number << type << quint8(0) << quint8(1) << quint32(data.size());
        return header + data;
    };
    const quint32 side = 100000;
    QByteArray page;
    QDataStream(&page, QIODevice::WriteOnly) << side << side << quint32(0) << quint32(0) << quint8(0) << quint16(0);
    // An immediate generic region over the whole page, MMR coded: every all-white row is one bit.
    QByteArray region;
    QDataStream(&region, QIODevice::WriteOnly) << side << side << quint32(0) << quint32(0) << quint8(0) << quint8(1);
    region += QByteArray(int(side / 8), char(0xFF));
    const QByteArray jbig2 = segment(0, 48, page) + segment(1, 38, region) + segment(2, 49, QByteArray());
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << /XObject << /Im1 4 0 R >> >> "
        "/Contents 5 0 R >>",
        stream(jbig2, "/Type /XObject /Subtype /Image /Width 1000 /Height 1000 /ColorSpace /DeviceGray "
                      "/BitsPerComponent 1 /Filter /JBIG2Decode"),
        stream("q 500 0 0 500 50 150 cm /Im1 Do Q"),
    };
    return pdfFile(objects, 1);
}

QByteArray busyPdf(int fills)
{
    const QByteArray content = qCompress(QByteArray("0 0 1 1 re f\n").repeated(fills)).mid(4);
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R >>",
        stream(content, "/Filter /FlateDecode"),
    };
    return pdfFile(objects, 1);
}

QString libraryPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/DebenuPDFLibraryDLL1212.dll");
}

QByteArray textPdf(int pageCount, int rotation, const QString& label, const QByteArray& extraPageEntries)
{
    // 1 catalog, 2 page tree, 3 font, then a content stream and a page per page.
    QList<QByteArray> objects = {"<< /Type /Catalog /Pages 2 0 R >>", QByteArray(),
                                 "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"};
    QByteArray kids;
    for (int page = 1; page <= pageCount; ++page) {
        objects << stream("BT /F1 24 Tf 72 700 Td (" + label.toLatin1() + " " + QByteArray::number(page)
                          + ") Tj ET 0 0 1 rg 100 100 200 150 re f");
        const QByteArray turn = rotation ? " /Rotate " + QByteArray::number(rotation) : QByteArray();
        objects << "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] " + extraPageEntries + turn
                       + " /Resources << /Font << /F1 3 0 R >> >> /Contents " + QByteArray::number(objects.size())
                       + " 0 R >>";
        kids += QByteArray::number(objects.size()) + " 0 R ";
    }
    objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(pageCount) + " >>";
    return pdfFile(objects, 1);
}

QByteArray formFontPdf()
{
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 300] /Resources << /Font << /F1 4 0 R >> "
        "/XObject << /X1 6 0 R >> >> /Contents 7 0 R >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Courier >>",
        stream("BT /F2 12 Tf 10 10 Td (inside) Tj ET",
               "/Type /XObject /Subtype /Form /BBox [0 0 300 300] /Resources << /Font << /F2 5 0 R >> >>"),
        stream("BT /F1 12 Tf 10 200 Td (outside) Tj ET /X1 Do"),
    };
    return pdfFile(objects, 1);
}

QString sandboxFile(const QString& name, const QByteArray& bytes)
{
    const QString path = QDir(TestFiles::sandbox()).filePath(name);
    if (!bytes.isNull())
        TestFiles::writeFile(path, bytes);
    return path;
}

bool qpdfCheck(const QString& path, const QString& password)
{
    QStringList arguments = {QStringLiteral("--check"), path};
    if (!password.isEmpty())
        arguments.prepend(QStringLiteral("--password=") + password);
    return TestFiles::run(QStringLiteral("qpdf"), arguments) == 0;
}

QMap<QString, QString> pdfinfo(const QString& path, const QString& password)
{
    QStringList arguments = {path};
    if (!password.isEmpty())
        arguments = QStringList{QStringLiteral("-upw"), password, path};
    QByteArray out;
    QMap<QString, QString> fields;
    if (TestFiles::run(QStringLiteral("pdfinfo"), arguments, &out) != 0)
        return fields;
    for (const QString& line : QString::fromUtf8(out).split('\n')) {
        const int colon = line.indexOf(':');
        if (colon > 0)
            fields.insert(line.left(colon), line.mid(colon + 1).trimmed());
    }
    return fields;
}

QString pdftotext(const QString& path, const QString& password)
{
    QStringList arguments = {path, QStringLiteral("-")};
    if (!password.isEmpty())
        arguments = QStringList{QStringLiteral("-upw"), password, path, QStringLiteral("-")};
    QByteArray out;
    TestFiles::run(QStringLiteral("pdftotext"), arguments, &out);
    return QString::fromUtf8(out);
}

QString qpdfEncryption(const QString& path, const QString& password)
{
    QStringList arguments = {QStringLiteral("--show-encryption"), path};
    if (!password.isEmpty())
        arguments.prepend(QStringLiteral("--password=") + password);
    QByteArray out;
    TestFiles::run(QStringLiteral("qpdf"), arguments, &out);
    return QString::fromUtf8(out);
}

} // namespace PdfLibraryFixtures
