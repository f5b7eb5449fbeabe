#include "tests/platform/pdf2word/engine/PageModels.h"

#include <QList>

namespace PageModels {

p2w::TextLine line(const QString& text, float x, float baseline, float size, int look)
{
    p2w::TextLine result;
    const float advance = size / 2;
    for (const QChar c : text) {
        p2w::Glyph glyph;
        glyph.c = c.unicode();
        glyph.box = fz_make_rect(x, baseline - 0.8f * size, x + advance, baseline + 0.2f * size);
        glyph.baseline = baseline;
        glyph.size = size;
        glyph.look = c == QLatin1Char(' ') ? -1 : look;
        result.glyphs.append(glyph);
        x += advance;
    }
    result.measure();
    return result;
}

QVector<p2w::TextLine> column(float x, float top, int count, int width, const QString& word)
{
    QVector<p2w::TextLine> lines;
    for (int i = 0; i < count; ++i) {
        QString text;
        while (text.size() + word.size() + 1 <= width)
            text += (text.isEmpty() ? QString() : QStringLiteral(" ")) + word;
        lines << line(text.left(width), x, top + 12 * i);
    }
    return lines;
}

QStringList texts(const QVector<p2w::TextLine>& lines)
{
    QStringList result;
    for (const p2w::TextLine& l : lines)
        result << l.text();
    return result;
}

p2w::Shape shape(float x0, float y0, float x1, float y1, p2w::Shape::Kind kind, bool thin)
{
    p2w::Shape result;
    result.kind = kind;
    result.box = fz_make_rect(x0, y0, x1, y1);
    result.thin = thin;
    result.ctm = fz_identity;
    return result;
}

p2w::Rule rule(float x0, float y0, float x1, float y1)
{
    return p2w::Rule{x0, y0, x1, y1};
}

fz_rect a4()
{
    return fz_make_rect(0, 0, 595, 842);
}

QByteArray onePagePdf(const QByteArray& content)
{
    // F3: a Type 3 font whose letters draw nothing, named so their Unicode is known (a scan's
    // text layer in a glyph-less font).
    QByteArray names;
    QByteArray procs;
    for (char c = 'a'; c <= 'z'; ++c) {
        names += QByteArray(" /") + c;
        procs += QByteArray(" /") + c + " 8 0 R";
    }
    const QByteArray blankFont = "<< /Type /Font /Subtype /Type3 /FontBBox [0 0 500 1000] /FontMatrix [0.001 0 0 0.001 0 0]"
                                 " /CharProcs <<"
                                 + procs + " /space 8 0 R >> /Encoding << /Differences [32 /space 97" + names
                                 + "] >> /FirstChar 32 /LastChar 122 /Widths ["
                                 + QByteArray(" 500").repeated(91) + "] /Resources << >> >>";
    QList<QByteArray> objects;
    objects << "<< /Type /Catalog /Pages 2 0 R >>"
            << "<< /Type /Pages /Kids [3 0 R] /Count 1 >>"
            << "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R "
               "/Resources << /Font << /F1 5 0 R /F2 6 0 R /F3 7 0 R /F4 9 0 R /F5 11 0 R >> >> >>"
            << "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "\nendstream"
            << "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>"
            << "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding >>"
            << blankFont << "<< /Length 8 >>\nstream\n500 0 d0\nendstream"
            << "<< /Type /Font /Subtype /TrueType /BaseFont /ArialNarrow-Bold /FirstChar 32 /LastChar 126 /Widths ["
                   + QByteArray(" 500").repeated(95) + "] /Encoding /WinAnsiEncoding /FontDescriptor 10 0 R >>"
            << "<< /Type /FontDescriptor /FontName /ArialNarrow-Bold /Flags 32 /FontBBox [-182 -307 1000 1086] /ItalicAngle 0"
               " /Ascent 905 /Descent -212 /CapHeight 716 /StemV 80 >>"
            << "<< /Type /Font /Subtype /Type3 /FontBBox [0 0 600 10000] /FontMatrix [0.001 0 0 0.001 0 0]"
               " /CharProcs << /a 12 0 R /b 12 0 R /c 12 0 R >> /Encoding << /Differences [97 /a /b /c] >>"
               " /FirstChar 97 /LastChar 99 /Widths [600 600 600] /Resources << >> >>"
            << "<< /Length 37 >>\nstream\n600 0 0 0 500 700 d1 0 0 500 700 re f\nendstream";
    QByteArray pdf = "%PDF-1.4\n";
    QList<int> offsets;
    for (int i = 0; i < objects.size(); ++i) {
        offsets << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const int xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (int offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n"
           + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

} // namespace PageModels
