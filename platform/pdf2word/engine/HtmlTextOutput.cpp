#include "Outputs.h"

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

QString cssAlign(const QString& align)
{
    if (align == QLatin1String("both"))
        return QStringLiteral("justify");
    if (align == QLatin1String("center") || align == QLatin1String("right"))
        return align;
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
    const QString text = xmlSafe(run.text).toHtmlEscaped();
    if (style.isEmpty())
        return text;
    return QStringLiteral("<span style=\"%1\">%2</span>").arg(style.join(QLatin1Char(';')), text);
}

} // namespace

bool writeHtml(const FlowDocument& document, const QString& path, QString* error)
{
    QString html = QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>%1</title>\n"
                                  "<style>p{margin:0 0 0.5em 0}img{max-width:100%;height:auto}</style>\n"
                                  "</head>\n<body>\n")
                       .arg(xmlSafe(document.title).toHtmlEscaped());
    const double bodySize = document.bodySize();
    for (const FlowBlock& block : document.blocks) {
        if (block.kind == FlowBlock::Image) {
            const FlowImage& image = document.images[block.image];
            // CSS pixels are 1/96 inch, points 1/72.
            html += QStringLiteral("<p><img src=\"data:image/%1;base64,%2\" width=\"%3\" height=\"%4\" alt=\"\"></p>\n")
                        .arg(image.type, QString::fromLatin1(image.data.toBase64()))
                        .arg(qRound(image.width * 96 / 72))
                        .arg(qRound(image.height * 96 / 72));
            continue;
        }
        const int level = headingLevel(block, bodySize);
        const QString tag = level > 0 ? QStringLiteral("h%1").arg(level) : QStringLiteral("p");
        const QString align = cssAlign(block.align);
        html += QLatin1Char('<') + tag;
        if (!align.isEmpty())
            html += QStringLiteral(" style=\"text-align:%1\"").arg(align);
        html += QLatin1Char('>');
        for (const FlowRun& run : block.runs)
            html += runHtml(run, level > 0);
        html += QStringLiteral("</%1>\n").arg(tag);
    }
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
    QStringList paragraphs;
    for (const FlowBlock& block : document.blocks) {
        if (block.kind == FlowBlock::Paragraph)
            paragraphs << block.text();
    }
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
