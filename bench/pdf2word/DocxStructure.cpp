#include "bench/pdf2word/DocxStructure.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <memory>
#include <vector>

namespace {

const char kMain[] = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
const char kDrawing[] = "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing";
const char kPicture[] = "http://schemas.openxmlformats.org/drawingml/2006/picture";
const char kShape[] = "http://schemas.microsoft.com/office/word/2010/wordprocessingShape";
const char kCompatibility[] = "http://schemas.openxmlformats.org/markup-compatibility/2006";
const char kVml[] = "urn:schemas-microsoft-com:vml";
const double kEmuPerPoint = 12700;

struct CellNode;

// A paragraph, or a table of rows of cells, each cell holding nodes of its own.
struct Node
{
    bool table = false;
    QString text;
    std::vector<std::vector<std::unique_ptr<CellNode>>> rows;
};
using Nodes = std::vector<std::unique_ptr<Node>>;

struct CellNode
{
    int span = 1;
    bool continued = false; // the lower part of a cell merged over rows
    Nodes content;
};

struct Drawing
{
    double width = 0;
    double height = 0;
    QString description;
    bool picture = false;
    bool text = false;
};

// A VML length ("233.1pt", "2in", "96px", "3cm") in points.
double vmlPoints(const QString& style, const QString& property)
{
    const QRegularExpression length(QStringLiteral("(?:^|;)\\s*%1\\s*:\\s*([0-9.]+)\\s*(pt|in|px|cm|mm)?").arg(property));
    const QRegularExpressionMatch match = length.match(style);
    if (!match.hasMatch())
        return 0;
    const double value = match.captured(1).toDouble();
    const QString unit = match.captured(2);
    if (unit == QLatin1String("in"))
        return value * 72;
    if (unit == QLatin1String("px"))
        return value * 0.75;
    if (unit == QLatin1String("cm"))
        return value * 72 / 2.54;
    if (unit == QLatin1String("mm"))
        return value * 72 / 25.4;
    return value;
}

class Reader
{
public:
    Nodes body;
    QList<DocxStructure::Picture> pictures;
    QSizeF textArea;
    bool complete = true;

    void read(const QByteArray& xml)
    {
        QXmlStreamReader reader(xml);
        containers = {&body};
        while (!reader.atEnd()) {
            reader.readNext();
            if (reader.isStartElement())
                start(reader);
            else if (reader.isEndElement())
                end(reader);
            else if (reader.isCharacters() && inText > 0 && !paragraphs.empty())
                paragraphs.back() += reader.text();
        }
        complete = !reader.hasError();
        // A part that broke off keeps the paragraphs begun in it.
        while (!paragraphs.empty())
            endParagraph();
    }

private:
    std::vector<Nodes*> containers;
    std::vector<Node*> tables;
    std::vector<CellNode*> cells;
    std::vector<QString> paragraphs;
    std::vector<Drawing> drawings;
    int inText = 0;
    bool vmlImage = false;
    QString vmlStyle;
    QString vmlDescription;

    void endParagraph()
    {
        auto node = std::make_unique<Node>();
        node->text = paragraphs.back();
        paragraphs.pop_back();
        containers.back()->push_back(std::move(node));
    }

    void addSpace()
    {
        if (!paragraphs.empty())
            paragraphs.back() += QLatin1Char(' ');
    }

    void start(QXmlStreamReader& reader)
    {
        const QStringRef ns = reader.namespaceUri();
        const QStringRef name = reader.name();
        const QXmlStreamAttributes attributes = reader.attributes();
        if (ns == QLatin1String(kCompatibility) && name == QLatin1String("Fallback")) {
            // The same content again for readers without the newer elements.
            reader.skipCurrentElement();
            return;
        }
        if (ns == QLatin1String(kMain)) {
            const QString value = attributes.value(QLatin1String(kMain), QStringLiteral("val")).toString();
            if (name == QLatin1String("p")) {
                paragraphs.emplace_back();
            } else if (name == QLatin1String("t")) {
                ++inText;
            } else if (name == QLatin1String("br") || name == QLatin1String("cr")) {
                addSpace();
            } else if (name == QLatin1String("tab")) {
                // A tab in a run, not a tab stop of the paragraph's properties.
                if (!attributes.hasAttribute(QLatin1String(kMain), QStringLiteral("pos")))
                    addSpace();
            } else if (name == QLatin1String("noBreakHyphen")) {
                if (!paragraphs.empty())
                    paragraphs.back() += QLatin1Char('-');
            } else if (name == QLatin1String("tbl")) {
                auto table = std::make_unique<Node>();
                table->table = true;
                tables.push_back(table.get());
                containers.back()->push_back(std::move(table));
            } else if (name == QLatin1String("tr") && !tables.empty()) {
                tables.back()->rows.emplace_back();
            } else if (name == QLatin1String("tc") && !tables.empty()) {
                if (tables.back()->rows.empty())
                    tables.back()->rows.emplace_back();
                auto cell = std::make_unique<CellNode>();
                cells.push_back(cell.get());
                containers.push_back(&cell->content);
                tables.back()->rows.back().push_back(std::move(cell));
            } else if (name == QLatin1String("gridSpan") && !cells.empty()) {
                cells.back()->span = qMax(1, value.toInt());
            } else if (name == QLatin1String("vMerge") && !cells.empty()) {
                cells.back()->continued = value.isEmpty() || value == QLatin1String("continue");
            } else if (name == QLatin1String("txbxContent") && !drawings.empty()) {
                drawings.back().text = true;
            } else if (name == QLatin1String("pgSz")) {
                textArea = QSizeF(attributes.value(QLatin1String(kMain), QStringLiteral("w")).toDouble() / 20,
                                  attributes.value(QLatin1String(kMain), QStringLiteral("h")).toDouble() / 20);
            } else if (name == QLatin1String("pgMar") && textArea.isValid()) {
                auto margin = [&](const char* side) { return attributes.value(QLatin1String(kMain), QLatin1String(side)).toDouble() / 20; };
                textArea = QSizeF(textArea.width() - margin("left") - margin("right"), textArea.height() - margin("top") - margin("bottom"));
            }
            return;
        }
        if (ns == QLatin1String(kDrawing)) {
            if (name == QLatin1String("inline") || name == QLatin1String("anchor")) {
                drawings.emplace_back();
            } else if (name == QLatin1String("extent") && !drawings.empty() && drawings.back().width == 0) {
                drawings.back().width = attributes.value(QStringLiteral("cx")).toDouble() / kEmuPerPoint;
                drawings.back().height = attributes.value(QStringLiteral("cy")).toDouble() / kEmuPerPoint;
            } else if (name == QLatin1String("docPr") && !drawings.empty()) {
                drawings.back().description = (attributes.value(QStringLiteral("descr")).toString() + QLatin1Char(' ')
                                               + attributes.value(QStringLiteral("title")).toString())
                                                  .trimmed();
            }
            return;
        }
        if (ns == QLatin1String(kPicture) && name == QLatin1String("pic") && !drawings.empty()) {
            drawings.back().picture = true;
        } else if (ns == QLatin1String(kShape) && name == QLatin1String("txbx") && !drawings.empty()) {
            drawings.back().text = true;
        } else if (ns == QLatin1String(kVml)) {
            if (name == QLatin1String("shape") || name == QLatin1String("rect")) {
                vmlImage = false;
                vmlStyle = attributes.value(QStringLiteral("style")).toString();
                vmlDescription = attributes.value(QStringLiteral("alt")).toString();
            } else if (name == QLatin1String("imagedata")) {
                vmlImage = true;
            }
        }
    }

    void end(QXmlStreamReader& reader)
    {
        const QStringRef ns = reader.namespaceUri();
        const QStringRef name = reader.name();
        if (ns == QLatin1String(kMain)) {
            if (name == QLatin1String("p") && !paragraphs.empty()) {
                endParagraph();
            } else if (name == QLatin1String("t")) {
                inText = qMax(0, inText - 1);
            } else if (name == QLatin1String("tbl") && !tables.empty()) {
                tables.pop_back();
            } else if (name == QLatin1String("tc") && !cells.empty()) {
                cells.pop_back();
                containers.pop_back();
            }
            return;
        }
        if (ns == QLatin1String(kDrawing) && (name == QLatin1String("inline") || name == QLatin1String("anchor")) && !drawings.empty()) {
            const Drawing drawing = drawings.back();
            drawings.pop_back();
            if (drawing.picture && !drawing.text)
                pictures.append({drawing.width, drawing.height, drawing.description});
        } else if (ns == QLatin1String(kVml) && (name == QLatin1String("shape") || name == QLatin1String("rect")) && vmlImage) {
            pictures.append({vmlPoints(vmlStyle, QStringLiteral("width")), vmlPoints(vmlStyle, QStringLiteral("height")), vmlDescription});
            vmlImage = false;
        }
    }
};

int cellCount(const Node& table)
{
    int count = 0;
    for (const auto& row : table.rows) {
        for (const auto& cell : row)
            count += cell->continued ? 0 : 1;
    }
    return count;
}

// Lays the nodes out: paragraphs into the document's list (and into the text of the table cell
// they sit in, when cellText is given), tables of two cells or more into its tables.
void flatten(const Nodes& nodes, DocxStructure* out, QStringList* cellText)
{
    for (const auto& node : nodes) {
        if (!node->table) {
            out->paragraphs.append(node->text);
            if (cellText)
                cellText->append(node->text);
            continue;
        }
        if (cellCount(*node) <= 1 || cellText) {
            // A frame around its content, or a table inside a table's cell: its text is the cell's.
            for (const auto& row : node->rows) {
                for (const auto& cell : row)
                    flatten(cell->content, out, cellText);
            }
            continue;
        }
        QList<DocxStructure::Cell> cells;
        for (int r = 0; r < int(node->rows.size()); ++r) {
            int column = 0;
            for (const auto& cell : node->rows[r]) {
                if (!cell->continued) {
                    QStringList text;
                    flatten(cell->content, out, &text);
                    const QString joined = text.join(QLatin1Char(' ')).simplified();
                    if (!joined.isEmpty())
                        cells.append({r, column, joined});
                }
                column += cell->span;
            }
        }
        out->tables.append(cells);
    }
}

} // namespace

DocxStructure DocxStructure::parse(const QByteArray& document, const QList<QByteArray>& otherParts)
{
    DocxStructure structure;
    Reader reader;
    reader.read(document);
    flatten(reader.body, &structure, nullptr);
    structure.pictures = reader.pictures;
    structure.textArea = reader.textArea;
    structure.complete = reader.complete;
    for (const QByteArray& part : otherParts) {
        Reader other;
        other.read(part);
        DocxStructure text;
        flatten(other.body, &text, nullptr);
        structure.otherText += text.paragraphs;
    }
    return structure;
}
