#include "platform/pdf2word/engine/write/Outputs.h"
#include "platform/pdf2word/engine/write/WriteTuning.h"
#include "platform/pdf2word/engine/write/ZipFile.h"

#include <QXmlStreamWriter>

namespace p2w {

namespace {

const char kMain[] = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
const char kRelationships[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char kPackageRelationships[] = "http://schemas.openxmlformats.org/package/2006/relationships";
const char kDrawing[] = "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing";
const char kDrawingMain[] = "http://schemas.openxmlformats.org/drawingml/2006/main";
const char kPicture[] = "http://schemas.openxmlformats.org/drawingml/2006/picture";

const int kEmuPerPoint = 12700;

QString imageName(const FlowDocument& document, int image)
{
    return QStringLiteral("image%1.%2").arg(image + 1).arg(document.images[image].type == QLatin1String("jpeg") ? QStringLiteral("jpeg") : QStringLiteral("png"));
}

void writeRunText(QXmlStreamWriter& xml, const QString& text)
{
    // Tabs are elements of their own in WordprocessingML.
    const QStringList pieces = xmlSafe(text).split(QLatin1Char('\t'));
    for (int i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            xml.writeEmptyElement(QStringLiteral("w:tab"));
        if (pieces[i].isEmpty())
            continue;
        xml.writeStartElement(QStringLiteral("w:t"));
        xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        xml.writeCharacters(pieces[i]);
        xml.writeEndElement();
    }
}

// In a right-to-left paragraph Word's "left" and "right" name its start and end.
QString docxAlign(Align align, bool rtl)
{
    switch (align) {
    case Align::Center:
        return QStringLiteral("center");
    case Align::Justify:
        return QStringLiteral("both");
    case Align::Right:
        return rtl ? QStringLiteral("left") : QStringLiteral("right");
    case Align::Left:
        break;
    }
    return rtl ? QStringLiteral("right") : QStringLiteral("left");
}

// A background of one colour, of a cell or behind a run's text.
void writeShading(QXmlStreamWriter& xml, int rgb)
{
    xml.writeEmptyElement(QStringLiteral("w:shd"));
    xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("clear"));
    xml.writeAttribute(QStringLiteral("w:color"), QStringLiteral("auto"));
    xml.writeAttribute(QStringLiteral("w:fill"), hexColor(rgb));
}

// A break that moves what follows it to the top of the next column.
void writeColumnBreak(QXmlStreamWriter& xml)
{
    xml.writeStartElement(QStringLiteral("w:r"));
    xml.writeEmptyElement(QStringLiteral("w:br"));
    xml.writeAttribute(QStringLiteral("w:type"), QStringLiteral("column"));
    xml.writeEndElement();
}

// The spacing of a paragraph that only carries a break or a section's end: as low as can be.
void writeLeastSpacing(QXmlStreamWriter& xml)
{
    xml.writeEmptyElement(QStringLiteral("w:spacing"));
    xml.writeAttribute(QStringLiteral("w:before"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("w:after"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("w:line"), QStringLiteral("20"));
    xml.writeAttribute(QStringLiteral("w:lineRule"), QStringLiteral("exact"));
}

// The space above a paragraph (and below it, before a table) and its lines' leading, where the
// source gave them; else the document's usual space after a paragraph.
void writeSpacing(QXmlStreamWriter& xml, const FlowBlock& block, double spaceAfter)
{
    const bool spaced = block.spaceBefore >= 0;
    if (!spaced && block.lineSpacing <= 0)
        return;
    xml.writeEmptyElement(QStringLiteral("w:spacing"));
    if (spaced) {
        xml.writeAttribute(QStringLiteral("w:before"), QString::number(qRound(block.spaceBefore * 20)));
        xml.writeAttribute(QStringLiteral("w:after"), QString::number(qRound(spaceAfter * 20)));
    }
    if (block.lineSpacing > 0) {
        xml.writeAttribute(QStringLiteral("w:line"), QString::number(qRound(block.lineSpacing * 20)));
        xml.writeAttribute(QStringLiteral("w:lineRule"), exactLineSpacing(block) ? QStringLiteral("exact") : QStringLiteral("atLeast"));
    }
}

// How far its lines keep from the edges of what holds it, and its first line from the others.
void writeIndents(QXmlStreamWriter& xml, const FlowBlock& block)
{
    if (block.leftIndent <= 0 && block.rightIndent <= 0 && block.firstLineIndent == 0)
        return;
    xml.writeEmptyElement(QStringLiteral("w:ind"));
    xml.writeAttribute(QStringLiteral("w:left"), QString::number(qRound(block.leftIndent * 20)));
    xml.writeAttribute(QStringLiteral("w:right"), QString::number(qRound(block.rightIndent * 20)));
    if (block.firstLineIndent > 0)
        xml.writeAttribute(QStringLiteral("w:firstLine"), QString::number(qRound(block.firstLineIndent * 20)));
    else if (block.firstLineIndent < 0)
        xml.writeAttribute(QStringLiteral("w:hanging"), QString::number(qRound(-block.firstLineIndent * 20)));
}

void writeDrawing(QXmlStreamWriter& xml, const FlowDocument& document, const QSizeF& area, int image, const FlowBlock* placed,
                  double anchorSpace);

// spaceAfter: the space below it where a table follows (a table has none above it of its own);
// area: the text area, for the pictures in its lines.
void writeParagraph(QXmlStreamWriter& xml, const FlowDocument& document, const QSizeF& area, const FlowBlock& block, double spaceAfter)
{
    xml.writeStartElement(QStringLiteral("w:p"));
    xml.writeStartElement(QStringLiteral("w:pPr"));
    if (block.pageBreakBefore)
        xml.writeEmptyElement(QStringLiteral("w:pageBreakBefore"));
    if (block.pageY >= 0) {
        // At its place at the page's foot, as wide as the text area, out of the flow.
        xml.writeEmptyElement(QStringLiteral("w:framePr"));
        xml.writeAttribute(QStringLiteral("w:w"), QString::number(qRound(area.width() * 20)));
        xml.writeAttribute(QStringLiteral("w:wrap"), QStringLiteral("around"));
        xml.writeAttribute(QStringLiteral("w:vAnchor"), QStringLiteral("page"));
        xml.writeAttribute(QStringLiteral("w:hAnchor"), QStringLiteral("margin"));
        xml.writeAttribute(QStringLiteral("w:x"), QStringLiteral("0"));
        xml.writeAttribute(QStringLiteral("w:y"), QString::number(qRound(block.pageY * 20)));
    }
    if (block.rtl)
        xml.writeEmptyElement(QStringLiteral("w:bidi"));
    writeSpacing(xml, block, spaceAfter);
    writeIndents(xml, block);
    xml.writeEmptyElement(QStringLiteral("w:jc"));
    xml.writeAttribute(QStringLiteral("w:val"), docxAlign(block.align, block.rtl));
    xml.writeEndElement();
    if (block.columnBreakBefore)
        writeColumnBreak(xml);
    for (const FlowRun& run : block.runs) {
        if (run.image >= 0) {
            writeDrawing(xml, document, area, run.image, nullptr, 0);
            continue;
        }
        xml.writeStartElement(QStringLiteral("w:r"));
        xml.writeStartElement(QStringLiteral("w:rPr"));
        if (!run.font.isEmpty()) {
            xml.writeEmptyElement(QStringLiteral("w:rFonts"));
            const QString font = xmlSafe(run.font);
            xml.writeAttribute(QStringLiteral("w:ascii"), font);
            xml.writeAttribute(QStringLiteral("w:hAnsi"), font);
            xml.writeAttribute(QStringLiteral("w:cs"), font);
        }
        if (run.bold) {
            xml.writeEmptyElement(QStringLiteral("w:b"));
            xml.writeEmptyElement(QStringLiteral("w:bCs"));
        }
        if (run.italic) {
            xml.writeEmptyElement(QStringLiteral("w:i"));
            xml.writeEmptyElement(QStringLiteral("w:iCs"));
        }
        if (run.color != 0) {
            xml.writeEmptyElement(QStringLiteral("w:color"));
            xml.writeAttribute(QStringLiteral("w:val"), hexColor(run.color));
        }
        if (run.size > 0) {
            // Sizes are whole half points.
            const QString halfPoints = QString::number(qMax(2, qRound(run.size * 2)));
            xml.writeEmptyElement(QStringLiteral("w:sz"));
            xml.writeAttribute(QStringLiteral("w:val"), halfPoints);
            xml.writeEmptyElement(QStringLiteral("w:szCs"));
            xml.writeAttribute(QStringLiteral("w:val"), halfPoints);
        }
        if (run.shading >= 0)
            writeShading(xml, run.shading);
        if (run.shift != 0) {
            xml.writeEmptyElement(QStringLiteral("w:vertAlign"));
            xml.writeAttribute(QStringLiteral("w:val"), run.shift > 0 ? QStringLiteral("superscript") : QStringLiteral("subscript"));
        }
        if (hasRightToLeft(run.text))
            xml.writeEmptyElement(QStringLiteral("w:rtl"));
        xml.writeEndElement(); // w:rPr
        writeRunText(xml, run.text);
        xml.writeEndElement(); // w:r
    }
    xml.writeEndElement(); // w:p
}

void writeEmptyParagraph(QXmlStreamWriter& xml)
{
    xml.writeEmptyElement(QStringLiteral("w:p"));
}

enum class RowMerge {
    None,
    Start,
    Continue
};

void writeCellProperties(QXmlStreamWriter& xml, int twips, int span, RowMerge merge, int shading)
{
    xml.writeStartElement(QStringLiteral("w:tcPr"));
    xml.writeEmptyElement(QStringLiteral("w:tcW"));
    xml.writeAttribute(QStringLiteral("w:w"), QString::number(twips));
    xml.writeAttribute(QStringLiteral("w:type"), QStringLiteral("dxa"));
    if (span > 1) {
        xml.writeEmptyElement(QStringLiteral("w:gridSpan"));
        xml.writeAttribute(QStringLiteral("w:val"), QString::number(span));
    }
    if (merge != RowMerge::None) {
        xml.writeEmptyElement(QStringLiteral("w:vMerge"));
        if (merge == RowMerge::Start)
            xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("restart"));
    }
    if (shading >= 0)
        writeShading(xml, shading);
    xml.writeEndElement();
}

// area: the text area of the pages the blocks stand on.
void writeBlocks(QXmlStreamWriter& xml, const FlowDocument& document, const QList<FlowBlock>& blocks, const QSizeF& area);

// The width in twips of span grid columns from column on, cut at the table's last column.
int spanTwips(const QVector<int>& twips, int column, int span)
{
    int sum = 0;
    for (int c = column; c < column + span && c < twips.size(); ++c)
        sum += twips[c];
    return sum;
}

// Which of the table's borders are drawn, with its width and its fixed grid of column widths;
// where it floats (placed: its block when it does), its place beside the text.
void writeTableGrid(QXmlStreamWriter& xml, const FlowTable& table, const QVector<int>& twips, const FlowBlock* placed)
{
    xml.writeStartElement(QStringLiteral("w:tblPr"));
    if (placed && placed->floats) {
        // From the page's left edge and the top of the paragraph after it, which anchors it (or of
        // the page).
        xml.writeEmptyElement(QStringLiteral("w:tblpPr"));
        xml.writeAttribute(QStringLiteral("w:leftFromText"), QString::number(qRound(writeTuning().floatGap * 20)));
        xml.writeAttribute(QStringLiteral("w:rightFromText"), QString::number(qRound(writeTuning().floatGap * 20)));
        xml.writeAttribute(QStringLiteral("w:vertAnchor"), placed->floatFromPage ? QStringLiteral("page") : QStringLiteral("text"));
        xml.writeAttribute(QStringLiteral("w:horzAnchor"), QStringLiteral("page"));
        xml.writeAttribute(QStringLiteral("w:tblpX"), QString::number(qRound(placed->floatX * 20)));
        xml.writeAttribute(QStringLiteral("w:tblpY"), QString::number(qRound(placed->floatY * 20)));
        xml.writeEmptyElement(QStringLiteral("w:tblOverlap"));
        xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("never"));
    }
    if (table.rtl)
        xml.writeEmptyElement(QStringLiteral("w:bidiVisual"));
    xml.writeEmptyElement(QStringLiteral("w:tblW"));
    xml.writeAttribute(QStringLiteral("w:w"), QString::number(spanTwips(twips, 0, twips.size())));
    xml.writeAttribute(QStringLiteral("w:type"), QStringLiteral("dxa"));
    // Where it stands in from the text area's edge.
    if (placed && !placed->floats && placed->leftIndent > 0) {
        xml.writeEmptyElement(QStringLiteral("w:tblInd"));
        xml.writeAttribute(QStringLiteral("w:w"), QString::number(qRound(placed->leftIndent * 20)));
        xml.writeAttribute(QStringLiteral("w:type"), QStringLiteral("dxa"));
    }
    // Every border of a ruled table, the frame of a panel that has one, none of a table found from
    // the text's alignment.
    xml.writeStartElement(QStringLiteral("w:tblBorders"));
    for (const char* side : {"w:top", "w:left", "w:bottom", "w:right", "w:insideH", "w:insideV"}) {
        const bool inside = side[3] == 'i';
        const bool drawn = table.borders == FlowTable::Grid || (table.borders == FlowTable::Frame && !inside && table.borderColor >= 0);
        xml.writeEmptyElement(QLatin1String(side));
        if (!drawn) {
            xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("nil"));
            continue;
        }
        xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("single"));
        xml.writeAttribute(QStringLiteral("w:sz"), QStringLiteral("4"));
        xml.writeAttribute(QStringLiteral("w:space"), QStringLiteral("0"));
        xml.writeAttribute(QStringLiteral("w:color"), hexColor(table.borders == FlowTable::Grid ? 0 : table.borderColor));
    }
    xml.writeEndElement(); // w:tblBorders
    xml.writeEmptyElement(QStringLiteral("w:tblLayout"));
    xml.writeAttribute(QStringLiteral("w:type"), QStringLiteral("fixed"));
    // Cells padded as in the ODT, not with Word's default of over 5 points a side ("Februar / y").
    xml.writeStartElement(QStringLiteral("w:tblCellMar"));
    for (const char* side : {"w:left", "w:right"}) {
        xml.writeEmptyElement(QLatin1String(side));
        xml.writeAttribute(QStringLiteral("w:w"), QString::number(kCellPadding * 20));
        xml.writeAttribute(QStringLiteral("w:type"), QStringLiteral("dxa"));
    }
    xml.writeEndElement(); // w:tblCellMar
    xml.writeEndElement(); // w:tblPr
    xml.writeStartElement(QStringLiteral("w:tblGrid"));
    for (int width : twips) {
        xml.writeEmptyElement(QStringLiteral("w:gridCol"));
        xml.writeAttribute(QStringLiteral("w:w"), QString::number(width));
    }
    xml.writeEndElement(); // w:tblGrid
}

// Row r as Word cells: which cell covers each place of the grid, how wide it is, how it merges down.
void writeTableRow(QXmlStreamWriter& xml, const FlowDocument& document, const QSizeF& area, const FlowTable& table, int r, const QVector<int>& twips,
                   const QVector<int>& coverage)
{
    const int columns = table.columnWidths.size();
    xml.writeStartElement(QStringLiteral("w:tr"));
    if (r < table.rowHeights.size()) {
        xml.writeStartElement(QStringLiteral("w:trPr"));
        xml.writeEmptyElement(QStringLiteral("w:trHeight"));
        xml.writeAttribute(QStringLiteral("w:val"), QString::number(qRound(table.rowHeights[r] * 20)));
        xml.writeAttribute(QStringLiteral("w:hRule"), QStringLiteral("atLeast"));
        xml.writeEndElement();
    }
    // A cell over several rows opens a merge on its first row and continues it below; a place of
    // the grid no cell covers gets an empty cell.
    for (int c = 0; c < columns;) {
        const int index = coverage[r * columns + c];
        if (index < 0) {
            xml.writeStartElement(QStringLiteral("w:tc"));
            writeCellProperties(xml, twips[c], 1, RowMerge::None, table.shading);
            writeEmptyParagraph(xml);
            xml.writeEndElement();
            ++c;
            continue;
        }
        const FlowCell& cell = table.cells[index];
        const int span = qMin(cell.columnSpan, columns - c);
        xml.writeStartElement(QStringLiteral("w:tc"));
        const bool merged = cell.rowSpan > 1;
        const bool first = cell.row == r;
        writeCellProperties(xml, spanTwips(twips, c, span), span,
                            merged ? (first ? RowMerge::Start : RowMerge::Continue) : RowMerge::None, table.shadingOf(cell));
        if (first)
            writeBlocks(xml, document, cell.paragraphs, area);
        // A cell holds at least one paragraph and ends with one.
        if (!first || cell.paragraphs.isEmpty() || cell.paragraphs.last().kind == FlowBlock::Table)
            writeEmptyParagraph(xml);
        xml.writeEndElement(); // w:tc
        c += span;
    }
    xml.writeEndElement(); // w:tr
}

// A table with the columns as wide as in the source (narrowed together to fit the text area): a
// ruled one with every border a single thin line, one found from the text's alignment without
// borders, a panel with its frame and tint.
// placed: the table's block in the body, for its place where it floats; nullptr in a cell.
void writeTable(QXmlStreamWriter& xml, const FlowDocument& document, const QSizeF& area, const FlowTable& table,
                const FlowBlock* placed = nullptr)
{
    QVector<int> twips;
    for (double width : fittedColumnWidths(area, table))
        twips.append(qMax(20, qRound(width * 20)));
    xml.writeStartElement(QStringLiteral("w:tbl"));
    writeTableGrid(xml, table, twips, placed);
    const QVector<int> coverage = tableCoverage(table);
    for (int r = 0; r < table.rows; ++r)
        writeTableRow(xml, document, area, table, r, twips, coverage);
    xml.writeEndElement(); // w:tbl
}

// A run holding the picture image: in the line, or where placed floats, at its place beside the
// text (anchorSpace: the space above the block after it, which its paragraph comes before).
void writeDrawing(QXmlStreamWriter& xml, const FlowDocument& document, const QSizeF& area, int image, const FlowBlock* placed,
                  double anchorSpace)
{
    const bool floats = placed && placed->floats;
    // A picture at its place on the page keeps its size there.
    const bool atPage = placed && placed->pageY >= 0;
    const QSizeF size = atPage ? QSizeF(document.images[image].width, document.images[image].height)
                               : fittedPictureSize(area, document.images[image]);
    const QString cx = QString::number(qMax<qint64>(1, qRound64(size.width() * kEmuPerPoint)));
    const QString cy = QString::number(qMax<qint64>(1, qRound64(size.height() * kEmuPerPoint)));
    const QString id = QString::number(image + 1);
    xml.writeStartElement(QStringLiteral("w:r"));
    xml.writeStartElement(QStringLiteral("w:drawing"));
    if (floats || atPage) {
        // At its place beside the text, which flows around it, or at its place on the page.
        xml.writeStartElement(QStringLiteral("wp:anchor"));
        for (const char* distance : {"distT", "distB"})
            xml.writeAttribute(QLatin1String(distance), QStringLiteral("0"));
        for (const char* distance : {"distL", "distR"})
            xml.writeAttribute(QLatin1String(distance), QString::number(qRound(writeTuning().floatGap * kEmuPerPoint)));
        xml.writeAttribute(QStringLiteral("simplePos"), QStringLiteral("0"));
        xml.writeAttribute(QStringLiteral("relativeHeight"), QString::number(image + 1));
        for (const char* flag : {"behindDoc", "locked"})
            xml.writeAttribute(QLatin1String(flag), QStringLiteral("0"));
        // A picture at its place on the page stays there, whatever box of another it reaches into.
        xml.writeAttribute(QStringLiteral("allowOverlap"), atPage ? QStringLiteral("1") : QStringLiteral("0"));
        xml.writeAttribute(QStringLiteral("layoutInCell"), QStringLiteral("1"));
        xml.writeEmptyElement(QStringLiteral("wp:simplePos"));
        xml.writeAttribute(QStringLiteral("x"), QStringLiteral("0"));
        xml.writeAttribute(QStringLiteral("y"), QStringLiteral("0"));
        const struct
        {
            const char* element;
            const char* from;
            double offset;
        } positions[] = {{"wp:positionH", "page", placed->floatX},
                         {"wp:positionV", atPage || placed->floatFromPage ? "page" : "paragraph",
                          atPage ? placed->pageY : placed->floatFromPage ? placed->floatY
                                                                         : placed->floatY + anchorSpace}};
        for (const auto& position : positions) {
            xml.writeStartElement(QLatin1String(position.element));
            xml.writeAttribute(QStringLiteral("relativeFrom"), QLatin1String(position.from));
            xml.writeTextElement(QStringLiteral("wp:posOffset"), QString::number(qRound64(position.offset * kEmuPerPoint)));
            xml.writeEndElement();
        }
    } else {
        xml.writeStartElement(QStringLiteral("wp:inline"));
        for (const char* distance : {"distT", "distB", "distL", "distR"})
            xml.writeAttribute(QLatin1String(distance), QStringLiteral("0"));
    }
    xml.writeEmptyElement(QStringLiteral("wp:extent"));
    xml.writeAttribute(QStringLiteral("cx"), cx);
    xml.writeAttribute(QStringLiteral("cy"), cy);
    if (floats) {
        xml.writeEmptyElement(QStringLiteral("wp:wrapSquare"));
        xml.writeAttribute(QStringLiteral("wrapText"), QStringLiteral("bothSides"));
    } else if (atPage) {
        xml.writeEmptyElement(QStringLiteral("wp:wrapTopAndBottom"));
    }
    xml.writeEmptyElement(QStringLiteral("wp:docPr"));
    xml.writeAttribute(QStringLiteral("id"), id);
    xml.writeAttribute(QStringLiteral("name"), QStringLiteral("Picture %1").arg(id));
    if (!document.images[image].description.isEmpty())
        xml.writeAttribute(QStringLiteral("descr"), xmlSafe(document.images[image].description));
    xml.writeStartElement(QStringLiteral("a:graphic"));
    xml.writeStartElement(QStringLiteral("a:graphicData"));
    xml.writeAttribute(QStringLiteral("uri"), QLatin1String(kPicture));
    xml.writeStartElement(QStringLiteral("pic:pic"));
    xml.writeStartElement(QStringLiteral("pic:nvPicPr"));
    xml.writeEmptyElement(QStringLiteral("pic:cNvPr"));
    xml.writeAttribute(QStringLiteral("id"), id);
    xml.writeAttribute(QStringLiteral("name"), imageName(document, image));
    xml.writeEmptyElement(QStringLiteral("pic:cNvPicPr"));
    xml.writeEndElement(); // pic:nvPicPr
    xml.writeStartElement(QStringLiteral("pic:blipFill"));
    xml.writeEmptyElement(QStringLiteral("a:blip"));
    xml.writeAttribute(QStringLiteral("r:embed"), QStringLiteral("rIdImage%1").arg(id));
    xml.writeStartElement(QStringLiteral("a:stretch"));
    xml.writeEmptyElement(QStringLiteral("a:fillRect"));
    xml.writeEndElement(); // a:stretch
    xml.writeEndElement(); // pic:blipFill
    xml.writeStartElement(QStringLiteral("pic:spPr"));
    xml.writeStartElement(QStringLiteral("a:xfrm"));
    xml.writeEmptyElement(QStringLiteral("a:off"));
    xml.writeAttribute(QStringLiteral("x"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("y"), QStringLiteral("0"));
    xml.writeEmptyElement(QStringLiteral("a:ext"));
    xml.writeAttribute(QStringLiteral("cx"), cx);
    xml.writeAttribute(QStringLiteral("cy"), cy);
    xml.writeEndElement(); // a:xfrm
    xml.writeStartElement(QStringLiteral("a:prstGeom"));
    xml.writeAttribute(QStringLiteral("prst"), QStringLiteral("rect"));
    xml.writeEmptyElement(QStringLiteral("a:avLst"));
    xml.writeEndElement(); // a:prstGeom
    xml.writeEndElement(); // pic:spPr
    xml.writeEndElement(); // pic:pic
    xml.writeEndElement(); // a:graphicData
    xml.writeEndElement(); // a:graphic
    xml.writeEndElement(); // wp:inline or wp:anchor
    xml.writeEndElement(); // w:drawing
    xml.writeEndElement(); // w:r
}

// spaceAfter: the space below it where a table follows; anchorSpace: where it floats, the space
// above the block after it, which its paragraph comes before.
void writePicture(QXmlStreamWriter& xml, const FlowDocument& document, const QSizeF& area, const FlowBlock& block, double spaceAfter,
                  double anchorSpace)
{
    xml.writeStartElement(QStringLiteral("w:p"));
    xml.writeStartElement(QStringLiteral("w:pPr"));
    if (block.pageBreakBefore)
        xml.writeEmptyElement(QStringLiteral("w:pageBreakBefore"));
    // A floating picture's paragraph, or one of a picture at its place on the page, only anchors
    // it: as low as can be.
    if (block.floats || block.pageY >= 0) {
        writeLeastSpacing(xml);
    } else {
        writeSpacing(xml, block, spaceAfter);
        writeIndents(xml, block);
    }
    xml.writeEndElement();
    if (block.columnBreakBefore)
        writeColumnBreak(xml);
    writeDrawing(xml, document, area, block.image, &block, anchorSpace);
    xml.writeEndElement(); // w:p
}

void writeBlocks(QXmlStreamWriter& xml, const FlowDocument& document, const QList<FlowBlock>& blocks, const QSizeF& area)
{
    for (int i = 0; i < blocks.size(); ++i) {
        const FlowBlock& block = blocks[i];
        const bool beforeTable = i + 1 < blocks.size() && blocks[i + 1].kind == FlowBlock::Table;
        const double spaceAfter = beforeTable ? qMax(0.0, blocks[i + 1].spaceBefore) : 0.0;
        if (block.kind == FlowBlock::Image) {
            writePicture(xml, document, area, block, spaceAfter, i + 1 < blocks.size() ? qMax(0.0, blocks[i + 1].spaceBefore) : 0.0);
        } else if (block.kind == FlowBlock::Table) {
            // A table starts a page after an empty paragraph that does.
            if (block.pageBreakBefore) {
                xml.writeStartElement(QStringLiteral("w:p"));
                xml.writeStartElement(QStringLiteral("w:pPr"));
                xml.writeEmptyElement(QStringLiteral("w:pageBreakBefore"));
                xml.writeEndElement();
                xml.writeEndElement();
            }
            // And the next column after one that only breaks.
            if (block.columnBreakBefore) {
                xml.writeStartElement(QStringLiteral("w:p"));
                xml.writeStartElement(QStringLiteral("w:pPr"));
                writeLeastSpacing(xml);
                xml.writeEndElement();
                writeColumnBreak(xml);
                xml.writeEndElement();
            }
            writeTable(xml, document, area, document.tables[block.table], &block);
            // Two tables in a row would become one; a table placed from its page's top is anchored
            // by a paragraph of its own, as low as can be.
            if (i + 1 < blocks.size() && blocks[i + 1].kind == FlowBlock::Table && !block.floatFromPage) {
                writeEmptyParagraph(xml);
            } else if (block.floatFromPage) {
                xml.writeStartElement(QStringLiteral("w:p"));
                xml.writeStartElement(QStringLiteral("w:pPr"));
                writeLeastSpacing(xml);
                xml.writeEndElement();
                xml.writeEndElement();
            }
        } else {
            writeParagraph(xml, document, area, block, spaceAfter);
        }
    }
}

// The columns of a section, each as wide as in the source, with the gaps between them.
void writeColumns(QXmlStreamWriter& xml, const QSizeF& area, const FlowSection& section)
{
    QList<double> widths;
    QList<double> gaps;
    fittedColumns(area, section, &widths, &gaps);
    xml.writeStartElement(QStringLiteral("w:cols"));
    xml.writeAttribute(QStringLiteral("w:num"), QString::number(widths.size()));
    xml.writeAttribute(QStringLiteral("w:space"), QString::number(qRound((gaps.isEmpty() ? 0 : gaps.front()) * 20)));
    xml.writeAttribute(QStringLiteral("w:equalWidth"), QStringLiteral("0"));
    for (int c = 0; c < widths.size(); ++c) {
        xml.writeEmptyElement(QStringLiteral("w:col"));
        xml.writeAttribute(QStringLiteral("w:w"), QString::number(qRound(widths[c] * 20)));
        xml.writeAttribute(QStringLiteral("w:space"), QString::number(c < gaps.size() ? qRound(gaps[c] * 20) : 0));
    }
    xml.writeEndElement();
}

// A section's properties: the page, its margins, and the columns its blocks stand in. The first
// section holds the running head and foot (the later ones show the same) and whether the first
// page has margins of its own; the later ones go on below the one before, on the same page.
void writeSectionProperties(QXmlStreamWriter& xml, const FlowDocument& document, const BlockRange& range, bool first)
{
    const QSizeF page = range.format.size;
    xml.writeStartElement(QStringLiteral("w:sectPr"));
    // A running head or foot missing from the source's first page is left off it too (a first
    // page of its own, which shows the other margin as the rest do).
    const bool titlePage = first && document.firstPageOwnMargins();
    const struct
    {
        const FlowMargin& margin;
        const char* element;
        const char* id;
    } margins[] = {{document.header, "w:headerReference", "rIdHeader"}, {document.footer, "w:footerReference", "rIdFooter"}};
    for (const auto& margin : margins) {
        if (margin.margin.isEmpty() || !first)
            continue;
        for (const char* type : {"default", "first"}) {
            if (type[0] == 'f' && (!titlePage || !margin.margin.onFirstPage))
                continue;
            xml.writeEmptyElement(QLatin1String(margin.element));
            xml.writeAttribute(QStringLiteral("w:type"), QLatin1String(type));
            xml.writeAttribute(QStringLiteral("r:id"), QLatin1String(margin.id));
        }
    }
    // A section of another page format starts a page.
    if (!first) {
        xml.writeEmptyElement(QStringLiteral("w:type"));
        xml.writeAttribute(QStringLiteral("w:val"), range.newFormat ? QStringLiteral("nextPage") : QStringLiteral("continuous"));
    }
    xml.writeEmptyElement(QStringLiteral("w:pgSz"));
    xml.writeAttribute(QStringLiteral("w:w"), QString::number(qRound(page.width() * 20)));
    xml.writeAttribute(QStringLiteral("w:h"), QString::number(qRound(page.height() * 20)));
    if (page.width() > page.height())
        xml.writeAttribute(QStringLiteral("w:orient"), QStringLiteral("landscape"));
    xml.writeEmptyElement(QStringLiteral("w:pgMar"));
    const QMarginsF& pageMargins = range.format.margins;
    const auto twips = [](double points) { return qRound(points * 20); };
    xml.writeAttribute(QStringLiteral("w:top"), QString::number(twips(pageMargins.top())));
    xml.writeAttribute(QStringLiteral("w:right"), QString::number(twips(pageMargins.right())));
    xml.writeAttribute(QStringLiteral("w:bottom"), QString::number(twips(pageMargins.bottom())));
    xml.writeAttribute(QStringLiteral("w:left"), QString::number(twips(pageMargins.left())));
    xml.writeAttribute(QStringLiteral("w:header"), QString::number(qMin(writeTuning().marginTextTwips, twips(pageMargins.top()) / 2)));
    xml.writeAttribute(QStringLiteral("w:footer"), QString::number(qMin(writeTuning().marginTextTwips, twips(pageMargins.bottom()) / 2)));
    xml.writeAttribute(QStringLiteral("w:gutter"), QStringLiteral("0"));
    if (range.columns)
        writeColumns(xml, textArea(range.format), *range.columns);
    if (titlePage)
        xml.writeEmptyElement(QStringLiteral("w:titlePg"));
    xml.writeEndElement(); // w:sectPr
}

QByteArray documentXml(const FlowDocument& document)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    xml.writeStartElement(QStringLiteral("w:document"));
    xml.writeNamespace(QLatin1String(kMain), QStringLiteral("w"));
    xml.writeNamespace(QLatin1String(kRelationships), QStringLiteral("r"));
    xml.writeNamespace(QLatin1String(kDrawing), QStringLiteral("wp"));
    xml.writeNamespace(QLatin1String(kDrawingMain), QStringLiteral("a"));
    xml.writeNamespace(QLatin1String(kPicture), QStringLiteral("pic"));
    xml.writeStartElement(QStringLiteral("w:body"));
    // Each run of blocks in one column or in columns side by side is a section; a section's
    // properties end it, in its last paragraph, and the body's last in the body.
    const QList<BlockRange> ranges = blockRanges(document);
    for (int r = 0; r < ranges.size(); ++r) {
        const BlockRange& range = ranges[r];
        writeBlocks(xml, document, document.blocks.mid(range.first, range.count), textArea(range.format));
        const bool last = r + 1 == ranges.size();
        // The body ends with a paragraph: after a table one as low as can be, so that a table
        // that fills the page does not leave it alone on one more; a section ends with one.
        const bool afterTable = range.count > 0 && document.blocks[range.first + range.count - 1].kind == FlowBlock::Table;
        if (!last || afterTable) {
            xml.writeStartElement(QStringLiteral("w:p"));
            xml.writeStartElement(QStringLiteral("w:pPr"));
            writeLeastSpacing(xml);
            if (!last)
                writeSectionProperties(xml, document, range, r == 0);
            xml.writeEndElement();
            xml.writeEndElement();
        }
        if (last)
            writeSectionProperties(xml, document, range, r == 0);
    }
    xml.writeEndElement(); // w:body
    xml.writeEndElement(); // w:document
    xml.writeEndDocument();
    return bytes;
}

QByteArray stylesXml(const FlowDocument& document)
{
    const QString bodySize = QString::number(qMax(2, qRound(document.bodySize() * 2)));
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
               "<w:styles xmlns:w=\"%1\"><w:docDefaults><w:rPrDefault><w:rPr><w:sz w:val=\"%2\"/>"
               "<w:szCs w:val=\"%2\"/><w:lang w:val=\"en-US\"/></w:rPr></w:rPrDefault><w:pPrDefault><w:pPr>"
               "<w:spacing w:after=\"120\"/></w:pPr></w:pPrDefault></w:docDefaults>"
               "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/>"
               "<w:qFormat/></w:style></w:styles>")
        .arg(QLatin1String(kMain), document.bodySize() > 0 ? bodySize : QStringLiteral("22"))
        .toUtf8();
}

// The fonts the runs name: family class, pitch, and PANOSE and character set where the font
// files gave them, so that a reader without a font substitutes a like one.
QByteArray fontTableXml(const FlowDocument& document)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    xml.writeStartElement(QStringLiteral("w:fonts"));
    xml.writeNamespace(QLatin1String(kMain), QStringLiteral("w"));
    for (const FlowFont& font : document.fonts) {
        xml.writeStartElement(QStringLiteral("w:font"));
        xml.writeAttribute(QStringLiteral("w:name"), xmlSafe(font.name));
        if (font.panose.size() == 10) {
            xml.writeEmptyElement(QStringLiteral("w:panose1"));
            xml.writeAttribute(QStringLiteral("w:val"), QString::fromLatin1(font.panose.toHex().toUpper()));
        }
        if (font.charset >= 0) {
            xml.writeEmptyElement(QStringLiteral("w:charset"));
            xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("%1").arg(font.charset, 2, 16, QLatin1Char('0')).toUpper());
        }
        xml.writeEmptyElement(QStringLiteral("w:family"));
        xml.writeAttribute(QStringLiteral("w:val"), familyName(font.family));
        xml.writeEmptyElement(QStringLiteral("w:pitch"));
        xml.writeAttribute(QStringLiteral("w:val"), pitchName(font));
        xml.writeEndElement(); // w:font
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

// A header or footer part: the running text, then the page number as a field.
QByteArray marginXml(const FlowMargin& margin, const char* element)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    xml.writeStartElement(QLatin1String(element));
    xml.writeNamespace(QLatin1String(kMain), QStringLiteral("w"));
    xml.writeStartElement(QStringLiteral("w:p"));
    xml.writeStartElement(QStringLiteral("w:pPr"));
    xml.writeEmptyElement(QStringLiteral("w:jc"));
    xml.writeAttribute(QStringLiteral("w:val"), margin.text.isEmpty() ? QStringLiteral("center") : QStringLiteral("left"));
    xml.writeEndElement();
    auto run = [&](const QString& text) {
        xml.writeStartElement(QStringLiteral("w:r"));
        if (margin.size > 0) {
            xml.writeStartElement(QStringLiteral("w:rPr"));
            xml.writeEmptyElement(QStringLiteral("w:sz"));
            xml.writeAttribute(QStringLiteral("w:val"), QString::number(qMax(2, qRound(margin.size * 2))));
            xml.writeEndElement();
        }
        writeRunText(xml, text);
        xml.writeEndElement();
    };
    if (!margin.text.isEmpty())
        run(margin.pageNumber ? margin.text + QLatin1Char('\t') : margin.text);
    if (margin.pageNumber) {
        xml.writeStartElement(QStringLiteral("w:fldSimple"));
        xml.writeAttribute(QStringLiteral("w:instr"), QStringLiteral(" PAGE "));
        run(QStringLiteral("1"));
        xml.writeEndElement();
    }
    xml.writeEndElement(); // w:p
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

QByteArray contentTypesXml()
{
    return QByteArrayLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Default Extension=\"png\" ContentType=\"image/png\"/>"
        "<Default Extension=\"jpeg\" ContentType=\"image/jpeg\"/>"
        "<Override PartName=\"/word/document.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
        "<Override PartName=\"/word/styles.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>"
        "<Override PartName=\"/word/fontTable.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.fontTable+xml\"/>"
        "<Override PartName=\"/word/header1.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.header+xml\"/>"
        "<Override PartName=\"/word/footer1.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.footer+xml\"/>"
        "</Types>");
}

QByteArray packageRelationshipsXml()
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                          "<Relationships xmlns=\"%1\"><Relationship Id=\"rId1\" Type=\"%2/officeDocument\" "
                          "Target=\"word/document.xml\"/></Relationships>")
        .arg(QLatin1String(kPackageRelationships), QLatin1String(kRelationships))
        .toUtf8();
}

QByteArray documentRelationshipsXml(const FlowDocument& document)
{
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                                 "<Relationships xmlns=\"%1\"><Relationship Id=\"rIdStyles\" Type=\"%2/styles\" "
                                 "Target=\"styles.xml\"/><Relationship Id=\"rIdFonts\" Type=\"%2/fontTable\" "
                                 "Target=\"fontTable.xml\"/>")
                      .arg(QLatin1String(kPackageRelationships), QLatin1String(kRelationships));
    for (int i = 0; i < document.images.size(); ++i) {
        xml += QStringLiteral("<Relationship Id=\"rIdImage%1\" Type=\"%2/image\" Target=\"media/%3\"/>")
                   .arg(i + 1)
                   .arg(QLatin1String(kRelationships), imageName(document, i));
    }
    if (!document.header.isEmpty())
        xml += QStringLiteral("<Relationship Id=\"rIdHeader\" Type=\"%1/header\" Target=\"header1.xml\"/>").arg(QLatin1String(kRelationships));
    if (!document.footer.isEmpty())
        xml += QStringLiteral("<Relationship Id=\"rIdFooter\" Type=\"%1/footer\" Target=\"footer1.xml\"/>").arg(QLatin1String(kRelationships));
    xml += QStringLiteral("</Relationships>");
    return xml.toUtf8();
}

} // namespace

bool writeDocx(fz_context* ctx, const FlowDocument& document, const QString& path, QString* error)
{
    ZipFile zip(ctx, path);
    bool ok = zip.add("[Content_Types].xml", contentTypesXml()) && zip.add("_rels/.rels", packageRelationshipsXml())
              && zip.add("word/document.xml", documentXml(document)) && zip.add("word/styles.xml", stylesXml(document))
              && zip.add("word/fontTable.xml", fontTableXml(document))
              && zip.add("word/_rels/document.xml.rels", documentRelationshipsXml(document));
    if (ok && !document.header.isEmpty())
        ok = zip.add("word/header1.xml", marginXml(document.header, "w:hdr"));
    if (ok && !document.footer.isEmpty())
        ok = zip.add("word/footer1.xml", marginXml(document.footer, "w:ftr"));
    for (int i = 0; ok && i < document.images.size(); ++i)
        ok = zip.add(QStringLiteral("word/media/") + imageName(document, i), document.images[i].data, false);
    ok = ok && zip.close();
    if (!ok && error)
        *error = zip.errorText();
    return ok;
}

} // namespace p2w
