#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

// Documents as real producers make them, for the PDF-to-Word tests and benchmark: LibreOffice
// Writer (automatic hyphenation, column sections, ruled tables, transparent pictures, footnotes,
// Arabic and Hebrew, a ligature font), Ghostscript and Qt (vector figures with labels).
namespace RealDocuments {

// A Writer document built piece by piece as flat ODT and printed to PDF by LibreOffice. Text
// passed in is plain; markup() pieces (sub, sup, note) may be joined into it.
class OfficeText
{
public:
    // A running head, the page number in the footer; a first page of its own without the head
    // (a paper's title page) unless onFirstPage.
    void setRunningHead(const QString& text, bool onFirstPage = true);
    void setFont(const QString& family, double points);

    void heading(const QString& text);
    // Authors side by side as a title block sets them, one column each: a name, then its
    // affiliation lines, centred.
    void authors(const QList<QStringList>& blocks);
    // A bold heading in the body's size ("Abstract", "2. Method").
    void subheading(const QString& text, bool centred = false);
    // A paragraph set smaller and indented on both sides (an abstract).
    void abstract(const QString& text);
    void paragraph(const QString& text, bool justified = true);
    void rightToLeft(const QString& text, const QString& language); // "ar" or "he"
    void beginColumns(int count);
    void endColumns();
    void table(const QList<QStringList>& rows);
    void picture(const QImage& image, double widthCm, double heightCm);
    // A listing in a monospace font, a paragraph per line, indents as spaces.
    void code(const QStringList& lines);

    // Marked-up pieces for paragraph text; plain text is escaped by paragraph().
    static QString sub(const QString& text);
    static QString sup(const QString& text);
    static QString note(const QString& text);

    // Writes the flat ODT beside pdfPath and prints it; false when LibreOffice failed.
    bool writePdf(const QString& pdfPath) const;

private:
    QString m_head;
    bool m_headOnFirstPage = true;
    QString m_font = QStringLiteral("Linux Libertine O");
    double m_size = 10;
    QString m_body;
    int m_pictures = 0;
    int m_tables = 0;
    int m_sections = 0;
};

// Prose of English sentences, the same for the same seed, rich in long words (that
// hyphenation splits) and in fi, fl, ff, ffi and ffl (that a ligature font joins).
QString prose(int seed, int sentences);
// A picture with transparent and half-transparent parts (PNG with alpha).
QImage transparentPicture(int seed);

// A paper of about pages pages: title, abstract, a two-column section of hyphenated justified
// text with footnotes, a code listing, a transparent picture, an Arabic and a Hebrew paragraph, sub- and
// superscripts, a ruled table (tables of them when tables > 1); running head and page numbers.
OfficeText paper(int seed, int pages, int tables = 1);
// The same paper under a title block: the title, authors side by side (names with one to four
// affiliation lines), then with two authors a centred "Abstract" over an abstract set across the
// page, as LaTeX's article sets it, with three the abstract opening the left column, as IEEE's
// template sets it; section headings in the columns; the running head from the second page on.
OfficeText titledPaper(int seed, int pages, int authors);
// The authors of a titled paper: name first, then the affiliation lines.
QList<QStringList> authorsOf(int seed, int authors);

// A report printed by Ghostscript from PostScript: text in Times, a bar chart drawn with paths
// and labelled ("Symbol Key", "Overhead", axis numbers).
bool writeGhostscriptPdf(const QString& path, int seed);
// A report written by Qt's PDF writer: paragraphs and a line chart drawn with paths and labels.
bool writeQtChartPdf(const QString& path, int seed);

// A short listing of code with indented lines.
QStringList listing();

} // namespace RealDocuments
