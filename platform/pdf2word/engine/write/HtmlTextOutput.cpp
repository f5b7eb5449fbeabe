#include "platform/pdf2word/engine/write/Outputs.h"

#include <QFile>

namespace p2w {

namespace {

bool allBold(const FlowBlock& block)
{
    for (const FlowRun& run : block.runs) {
        if (!run.bold && !run.text.trimmed().isEmpty())
            return false;
    }
    return true;
}

// h1 and h2 for text clearly larger than the body text, h3 for a short all-bold line; 0 for a
// paragraph.
int headingLevel(const FlowBlock& block, double bodySize)
{
    if (bodySize <= 0)
        return 0;
    const double size = mainSize(block.runs);
    if (size >= bodySize * 1.6)
        return 1;
    if (size >= bodySize * 1.25)
        return 2;
    if (allBold(block) && block.text().size() <= 120 && size >= bodySize)
        return 3;
    return 0;
}

QString cssAlign(Align align)
{
    switch (align) {
    case Align::Justify:
        return QStringLiteral("justify");
    case Align::Center:
        return QStringLiteral("center");
    case Align::Right:
        return QStringLiteral("right");
    case Align::Left:
        break;
    }
    return QString();
}

QString runHtml(const FlowRun& run, bool inHeading)
{
    QStringList style;
    if (!run.font.isEmpty())
        style << QStringLiteral("font-family:'%1'").arg(QString(run.font).remove(QLatin1Char('\'')).toHtmlEscaped());
    if (!inHeading && run.size > 0)
        style << QStringLiteral("font-size:%1pt").arg(qRound(run.size * 2) / 2.0);
    if (run.bold && !inHeading)
        style << QStringLiteral("font-weight:bold");
    if (run.italic)
        style << QStringLiteral("font-style:italic");
    if (run.color != 0)
        style << QStringLiteral("color:#") + hexColor(run.color);
    QString text = xmlSafe(run.text).toHtmlEscaped();
    if (!style.isEmpty())
        text = QStringLiteral("<span style=\"%1\">%2</span>").arg(style.join(QLatin1Char(';')), text);
    if (run.shift != 0)
        text = (run.shift > 0 ? QStringLiteral("<sup>%1</sup>") : QStringLiteral("<sub>%1</sub>")).arg(text);
    return text;
}

QString paragraphHtml(const FlowBlock& block, double bodySize)
{
    const int level = headingLevel(block, bodySize);
    const QString tag = level > 0 ? QStringLiteral("h%1").arg(level) : QStringLiteral("p");
    const QString align = cssAlign(block.align);
    QString html = QLatin1Char('<') + tag;
    if (block.rtl)
        html += QStringLiteral(" dir=\"rtl\"");
    if (!align.isEmpty())
        html += QStringLiteral(" style=\"text-align:%1\"").arg(align);
    html += QLatin1Char('>');
    for (const FlowRun& run : block.runs)
        html += runHtml(run, level > 0);
    html += QStringLiteral("</%1>\n").arg(tag);
    return html;
}

QString blocksHtml(const FlowDocument& document, const QList<FlowBlock>& blocks, double bodySize);

QString imageHtml(const FlowImage& image)
{
    // CSS pixels are 1/96 inch, points 1/72.
    return QStringLiteral("<p><img src=\"data:image/%1;base64,%2\" width=\"%3\" height=\"%4\" alt=\"%5\"></p>\n")
        .arg(image.type, QString::fromLatin1(image.data.toBase64()))
        .arg(qRound(image.width * 96 / 72))
        .arg(qRound(image.height * 96 / 72))
        .arg(xmlSafe(image.description).toHtmlEscaped());
}

// A ruled table keeps the style sheet's cell borders; a table found from the text's alignment
// has none, a panel its frame and tint.
QString tableHtml(const FlowDocument& document, const FlowTable& table, double bodySize)
{
    const int columns = table.columnWidths.size();
    const QVector<int> coverage = tableCoverage(table);
    QStringList style;
    if (table.borders != FlowTable::Grid)
        style << QStringLiteral("border:none");
    if (table.borders == FlowTable::Frame && table.borderColor >= 0)
        style << QStringLiteral("border:1px solid #") + hexColor(table.borderColor);
    if (table.shading >= 0)
        style << QStringLiteral("background:#") + hexColor(table.shading);
    const QString cellStyle = table.borders == FlowTable::Grid ? QString() : QStringLiteral(" style=\"border:none\"");
    const QString direction = table.rtl ? QStringLiteral(" dir=\"rtl\"") : QString();
    QString html = style.isEmpty() ? QStringLiteral("<table%1>\n").arg(direction)
                                   : QStringLiteral("<table%1 style=\"%2\">\n").arg(direction, style.join(QLatin1Char(';')));
    for (int r = 0; r < table.rows; ++r) {
        html += QStringLiteral("<tr>");
        for (int c = 0; c < columns; ++c) {
            const int index = coverage[r * columns + c];
            if (index < 0) {
                html += QStringLiteral("<td%1></td>").arg(cellStyle);
                continue;
            }
            const FlowCell& cell = table.cells[index];
            if (cell.row != r || cell.column != c)
                continue;
            if (cell.shading >= 0)
                html += QStringLiteral("<td style=\"%1background:#%2\"")
                            .arg(table.borders == FlowTable::Grid ? QString() : QStringLiteral("border:none;"), hexColor(cell.shading));
            else
                html += QStringLiteral("<td") + cellStyle;
            if (cell.columnSpan > 1)
                html += QStringLiteral(" colspan=\"%1\"").arg(cell.columnSpan);
            if (cell.rowSpan > 1)
                html += QStringLiteral(" rowspan=\"%1\"").arg(cell.rowSpan);
            html += QLatin1Char('>');
            html += blocksHtml(document, cell.paragraphs, bodySize);
            html += QStringLiteral("</td>");
        }
        html += QStringLiteral("</tr>\n");
    }
    return html + QStringLiteral("</table>\n");
}

QString blocksHtml(const FlowDocument& document, const QList<FlowBlock>& blocks, double bodySize)
{
    QString html;
    for (const FlowBlock& block : blocks) {
        if (block.kind == FlowBlock::Image)
            html += imageHtml(document.images[block.image]);
        else if (block.kind == FlowBlock::Table)
            html += tableHtml(document, document.tables[block.table], bodySize);
        else
            html += paragraphHtml(block, bodySize);
    }
    return html;
}

// The text of blocks, paragraphs apart by newlines; a table's rows as lines of cells apart by
// tabs; a panel's content as paragraphs of their own.
QStringList blocksText(const FlowDocument& document, const QList<FlowBlock>& blocks)
{
    QStringList paragraphs;
    for (const FlowBlock& block : blocks) {
        if (block.kind == FlowBlock::Paragraph) {
            paragraphs << block.text();
        } else if (block.kind == FlowBlock::Table && document.tables[block.table].borders == FlowTable::Frame) {
            for (const FlowCell& cell : document.tables[block.table].cells)
                paragraphs += blocksText(document, cell.paragraphs);
        } else if (block.kind == FlowBlock::Table) {
            const FlowTable& table = document.tables[block.table];
            QStringList rows;
            for (int r = 0; r < table.rows; ++r) {
                QStringList cells;
                for (const FlowCell& cell : table.cells) {
                    if (cell.row == r)
                        cells << blocksText(document, cell.paragraphs).join(QLatin1Char(' '));
                }
                rows << cells.join(QLatin1Char('\t'));
            }
            paragraphs << rows.join(QLatin1Char('\n'));
        }
    }
    return paragraphs;
}

} // namespace

bool writeHtml(const FlowDocument& document, const QString& path, QString* error)
{
    QString html = QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>%1</title>\n"
                                  "<style>p{margin:0 0 0.5em 0}img{max-width:100%;height:auto}"
                                  "table{border-collapse:collapse;margin:0 0 0.5em 0}"
                                  "td{border:1px solid #000;padding:2px 4px;vertical-align:top}</style>\n"
                                  "</head>\n<body>\n")
                       .arg(xmlSafe(document.title).toHtmlEscaped());
    html += blocksHtml(document, document.blocks, document.bodySize());
    html += QStringLiteral("</body>\n</html>\n");

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(html.toUtf8()) < 0 || !file.flush()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool writeText(const FlowDocument& document, const QString& path, QString* error)
{
    const QStringList paragraphs = blocksText(document, document.blocks);
    const QString text = paragraphs.isEmpty() ? QString() : paragraphs.join(QStringLiteral("\n\n")) + QLatin1Char('\n');
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0 || !file.flush()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace p2w
