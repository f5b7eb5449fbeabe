#include "WriterOutput.h"

#include <QHash>
#include <QXmlStreamReader>

namespace p2w {

namespace {

bool isOn(const QXmlStreamAttributes& attributes, const QString& name)
{
    const QStringRef value = attributes.value(name);
    return value.isEmpty() || (value != QLatin1String("0") && value != QLatin1String("false"));
}

void appendText(QList<FlowRun>& runs, const FlowRun& look, const QString& text)
{
    if (runs.isEmpty() || !runs.back().sameLook(look)) {
        runs.append(look);
        runs.back().text.clear();
    }
    // The writers mark every wide gap between words as a tab; in flowing text it is a space.
    runs.back().text += QString(text).replace(QLatin1Char('\t'), QLatin1Char(' '));
}

// Sizes the writers print as "12.000000" (half points) or "12.00pt" (points).
double number(QStringRef text)
{
    QString digits = text.toString();
    if (digits.endsWith(QLatin1String("pt")))
        digits.chop(2);
    return digits.toDouble();
}

} // namespace

bool readDocxBody(const QByteArray& xml, QList<FlowBlock>* blocks)
{
    QXmlStreamReader reader(xml);
    reader.setNamespaceProcessing(false);
    FlowBlock paragraph;
    FlowRun look;
    bool inParagraph = false;
    bool inRunProperties = false;
    bool inText = false;
    while (!reader.atEnd()) {
        reader.readNext();
        const QStringRef name = reader.qualifiedName();
        if (reader.isStartElement()) {
            const QXmlStreamAttributes attributes = reader.attributes();
            if (name == QLatin1String("w:p")) {
                paragraph = FlowBlock();
                inParagraph = true;
            } else if (name == QLatin1String("w:jc")) {
                paragraph.align = attributes.value(QLatin1String("w:val")).toString();
            } else if (name == QLatin1String("w:r")) {
                look = FlowRun();
            } else if (name == QLatin1String("w:rPr")) {
                inRunProperties = true;
            } else if (inRunProperties && name == QLatin1String("w:rFonts")) {
                look.font = attributes.value(QLatin1String("w:ascii")).toString();
            } else if (inRunProperties && name == QLatin1String("w:b")) {
                look.bold = isOn(attributes, QStringLiteral("w:val"));
            } else if (inRunProperties && name == QLatin1String("w:i")) {
                look.italic = isOn(attributes, QStringLiteral("w:val"));
            } else if (inRunProperties && name == QLatin1String("w:sz")) {
                look.size = number(attributes.value(QLatin1String("w:val"))) / 2;
            } else if (name == QLatin1String("w:t")) {
                inText = true;
            } else if (inParagraph && (name == QLatin1String("w:br") || name == QLatin1String("w:cr"))) {
                appendText(paragraph.runs, look, QStringLiteral("\n"));
            } else if (inParagraph && name == QLatin1String("w:tab")) {
                appendText(paragraph.runs, look, QStringLiteral("\t"));
            }
        } else if (reader.isEndElement()) {
            if (name == QLatin1String("w:rPr"))
                inRunProperties = false;
            else if (name == QLatin1String("w:t"))
                inText = false;
            else if (name == QLatin1String("w:p") && inParagraph) {
                blocks->append(paragraph);
                inParagraph = false;
            }
        } else if (reader.isCharacters() && inText && inParagraph) {
            appendText(paragraph.runs, look, reader.text().toString());
        }
    }
    return !reader.hasError();
}

bool readOdtBody(const QByteArray& xml, QList<FlowBlock>* blocks)
{
    QXmlStreamReader reader(xml);
    reader.setNamespaceProcessing(false);
    QHash<QString, FlowRun> textStyles;
    QString styleName;
    bool inTextStyle = false;
    FlowBlock paragraph;
    QList<FlowRun> lookStack; // the looks of the open spans
    bool inParagraph = false;
    while (!reader.atEnd()) {
        reader.readNext();
        const QStringRef name = reader.qualifiedName();
        if (reader.isStartElement()) {
            const QXmlStreamAttributes attributes = reader.attributes();
            if (name == QLatin1String("style:style")) {
                styleName = attributes.value(QLatin1String("style:name")).toString();
                inTextStyle = attributes.value(QLatin1String("style:family")) == QLatin1String("text");
            } else if (inTextStyle && name == QLatin1String("style:text-properties")) {
                FlowRun look;
                look.font = attributes.value(QLatin1String("style:font-name")).toString();
                look.size = number(attributes.value(QLatin1String("fo:font-size")));
                look.bold = attributes.value(QLatin1String("fo:font-weight")) == QLatin1String("bold");
                look.italic = attributes.value(QLatin1String("fo:font-style")) == QLatin1String("italic");
                textStyles.insert(styleName, look);
            } else if (name == QLatin1String("text:p") || name == QLatin1String("text:h")) {
                paragraph = FlowBlock();
                lookStack = {FlowRun()};
                inParagraph = true;
            } else if (inParagraph && name == QLatin1String("w:jc")) {
                paragraph.align = attributes.value(QLatin1String("w:val")).toString();
            } else if (inParagraph && name == QLatin1String("text:span")) {
                lookStack.append(textStyles.value(attributes.value(QLatin1String("text:style-name")).toString(),
                                                  lookStack.back()));
            } else if (inParagraph && (name == QLatin1String("w:br") || name == QLatin1String("text:line-break"))) {
                appendText(paragraph.runs, lookStack.back(), QStringLiteral("\n"));
            } else if (inParagraph && name == QLatin1String("text:tab")) {
                appendText(paragraph.runs, lookStack.back(), QStringLiteral("\t"));
            } else if (inParagraph && name == QLatin1String("text:s")) {
                const int count = qMax(1, attributes.value(QLatin1String("text:c")).toInt());
                appendText(paragraph.runs, lookStack.back(), QString(count, QLatin1Char(' ')));
            }
        } else if (reader.isEndElement()) {
            if (name == QLatin1String("style:style")) {
                inTextStyle = false;
            } else if (inParagraph && name == QLatin1String("text:span") && lookStack.size() > 1) {
                lookStack.removeLast();
            } else if (inParagraph && (name == QLatin1String("text:p") || name == QLatin1String("text:h"))) {
                blocks->append(paragraph);
                inParagraph = false;
            }
        } else if (reader.isCharacters() && inParagraph && !reader.isWhitespace()) {
            appendText(paragraph.runs, lookStack.back(), reader.text().toString());
        } else if (reader.isCharacters() && inParagraph && lookStack.size() > 1) {
            // Spaces inside a span are text; the writer's line feeds between elements are not.
            appendText(paragraph.runs, lookStack.back(), reader.text().toString());
        }
    }
    return !reader.hasError();
}

} // namespace p2w
