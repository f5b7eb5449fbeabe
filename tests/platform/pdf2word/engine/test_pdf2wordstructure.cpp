// What the engine takes a page's structure to be, on page models built by hand: tables drawn as
// shaded cells, running text and lists that only line up like tables, diagrams and posters whose
// drawings stay pictures, framed boxes, the reading order around a display equation, the fonts'
// descriptions, the pages and margins the document keeps, text in columns and its spacing, and a
// page's figures drawn in one pass.

#include "platform/mupdf/FitzContext.h"
#include "platform/pdf2word/engine/document/DocumentBuilder.h"
#include "platform/pdf2word/engine/document/PictureMaker.h"
#include "platform/pdf2word/engine/layout/PageLayout.h"
#include "platform/pdf2word/engine/layout/RunningText.h"
#include "platform/pdf2word/engine/read/FontFacts.h"
#include "platform/pdf2word/engine/read/PageReader.h"
#include "platform/pdf2word/engine/write/Outputs.h"
#include "tests/platform/pdf2word/engine/PageModels.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace p2w;
using PageModels::line;
using PageModels::rule;
using PageModels::shape;

namespace {

Shape fill(float x0, float y0, float x1, float y1, int color)
{
    Shape result = shape(x0, y0, x1, y1);
    result.rectangle = result.filled = true;
    result.color = color;
    return result;
}

// A hairline frame stroked around a box, and the rulings its sides make.
Shape frame(float x0, float y0, float x1, float y1, PageGraphics* graphics)
{
    Shape result = shape(x0, y0, x1, y1, Shape::Path, true);
    result.rectangle = true;
    graphics->rules << rule(x0, y0, x1, y0) << rule(x0, y1, x1, y1) << rule(x0, y0, x0, y1) << rule(x1, y0, x1, y1);
    return result;
}

QString cellText(const FoundTable& table, int row, int column)
{
    for (const FoundTable::Cell& cell : table.cells) {
        if (cell.row == row && cell.column == column) {
            QStringList parts;
            for (const LaidParagraph& paragraph : cell.paragraphs) {
                for (const TextLine& l : paragraph.lines)
                    parts << l.text();
            }
            return parts.join(QLatin1Char(' '));
        }
    }
    return QStringLiteral("<none>");
}

int cellShading(const FoundTable& table, int row, int column)
{
    for (const FoundTable::Cell& cell : table.cells) {
        if (cell.row == row && cell.column == column)
            return cell.shading;
    }
    return -2;
}

// Lines of prose down a column as a line breaker sets them: each as long as the next allows.
QVector<TextLine> prose(float x, float top, int count, float pitch = 12)
{
    QVector<TextLine> lines;
    for (int i = 0; i < count; ++i)
        lines << line(QStringLiteral("the harbour board met again to talk about"), x, top + pitch * i);
    return lines;
}

// Sentences down a column, a paragraph of count lines ending with a full stop.
QVector<TextLine> sentences(float x, float top, int count, float pitch = 12)
{
    QVector<TextLine> lines = prose(x, top, count, pitch);
    lines.front() = line(QStringLiteral("The harbour board met again to talk about"), x, top);
    lines.back() = line(QStringLiteral("the harbour board met again to talk, too."), x, top + pitch * (count - 1));
    return lines;
}

QByteArray zipEntry(const QString& package, const QString& entry)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), package, entry});
    unzip.waitForFinished();
    return unzip.readAllStandardOutput();
}

} // namespace

class Pdf2WordStructureTest : public QObject
{
    Q_OBJECT

private:
    qpmupdf::ContextPtr m_context = qpmupdf::newContext();

private slots:
    void initTestCase()
    {
        QVERIFY(m_context);
    }

    // A spreadsheet's table of shaded cells: a header fill and bands every other row, drawn a
    // row at a time, make a grid with the text's gutters; each cell keeps its fill, the white
    // rows none, and the fills leave the drawing. A column tinted alone takes the labels and
    // figures beside it into its table; a tinted sidebar of prose is no table.
    void shadedCellsAreATableWithTheirShading()
    {
        QVector<Shape> shapes = {fill(72, 100, 372, 120, 0x1F4E79), fill(72, 140, 372, 160, 0xDDEBF7), fill(72, 180, 372, 200, 0xDDEBF7)};
        const char* const rows[][3] = {{"Name", "Role", "Room"},
                                       {"Mara Petrov", "Lock keeper", "A22"},
                                       {"Rosa Kowalski", "Accounts clerk", "C20"},
                                       {"Vera Quist", "Diver", "B16"},
                                       {"Elin Nygaard", "Harbour master", "C22"}};
        QVector<TextLine> lines;
        for (int r = 0; r < 5; ++r) {
            for (int c = 0; c < 3; ++c)
                lines << line(QLatin1String(rows[r][c]), 76 + 110 * c, 114 + 20 * r);
        }
        QVector<FoundTable> tables = findShadedTables(shapes, lines, PageModels::a4());
        QCOMPARE(tables.size(), 1);
        const FoundTable& table = tables.front();
        QCOMPARE(table.columns.size() - 1, 3);
        QCOMPARE(table.rows.size() - 1, 5);
        QVERIFY(table.shaded && !table.ruled);
        QCOMPARE(cellText(table, 2, 1), QStringLiteral("Accounts clerk"));
        QCOMPARE(cellShading(table, 0, 2), 0x1F4E79);
        QCOMPARE(cellShading(table, 1, 0), -1);
        QCOMPARE(cellShading(table, 2, 1), 0xDDEBF7);
        QVERIFY(shapes.isEmpty() && lines.isEmpty());

        // The current year tinted alone, one fill down its column.
        shapes = {fill(296, 100, 356, 180, 0xE2EFDA)};
        const char* const statement[][3] = {{"Sales of fish", "48,213", "45,102"},
                                            {"Harbour fees", "6,120", "5,874"},
                                            {"Boat repairs", "3,307", "3,544"},
                                            {"Total revenue", "57,640", "54,520"}};
        for (int r = 0; r < 4; ++r) {
            const float baseline = 114 + 18 * r;
            lines << line(QLatin1String(statement[r][0]), 72, baseline);
            lines << line(QLatin1String(statement[r][1]), 350 - 5 * int(strlen(statement[r][1])), baseline);
            lines << line(QLatin1String(statement[r][2]), 430 - 5 * int(strlen(statement[r][2])), baseline);
        }
        tables = findShadedTables(shapes, lines, PageModels::a4());
        QCOMPARE(tables.size(), 1);
        QCOMPARE(tables.front().columns.size() - 1, 3);
        QCOMPARE(cellText(tables.front(), 3, 0), QStringLiteral("Total revenue"));
        QCOMPARE(cellText(tables.front(), 3, 1), QStringLiteral("57,640"));
        QCOMPARE(cellShading(tables.front(), 3, 1), 0xE2EFDA);
        QCOMPARE(cellShading(tables.front(), 3, 2), -1);

        shapes = {fill(400, 100, 560, 500, 0xDBE8F5)};
        lines = prose(410, 120, 8);
        QVERIFY(findShadedTables(shapes, lines, PageModels::a4()).isEmpty());
        QCOMPARE(shapes.size(), 1);
    }

    // A ruled table as real producers draw it: each cell filled, its paragraph filled again
    // inside it, is one table with each cell's fill (no box per cell); a frame ruled only under
    // its header and down its first column holds its figures' columns and rows, but a cell of a
    // wrapped entry, or of a form's label over its value, stays one cell; a body whose rows span
    // the header's columns while their text keeps to them has those columns, and a form's group
    // of lines ruled only around it its rows, whatever seal is stamped over it. A grid with bars
    // on it and its cells mostly empty is a chart, no table.
    void ruledTablesKeepTheirCellsRowsAndShading()
    {
        PageGraphics graphics;
        QVector<TextLine> lines;
        const float xs[] = {72, 172, 272, 372};
        const float ys[] = {100, 120, 140, 160};
        for (float y : ys)
            graphics.rules << rule(72, y, 372, y);
        for (float x : xs)
            graphics.rules << rule(x, 100, x, 160);
        const char* const cells[][3] = {{"Cluster", "Population", "Sample"}, {"Sciences", "1269", "101"}, {"Humanities", "1168", "95"}};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                const int color = r == 0 ? 0xB3B3B3 : 0xF3F3F3;
                graphics.shapes << fill(xs[c] + 1, ys[r] + 1, xs[c + 1] - 1, ys[r + 1] - 1, color)
                                << fill(xs[c] + 5, ys[r] + 3, xs[c + 1] - 5, ys[r + 1] - 3, color);
                lines << line(QLatin1String(cells[r][c]), xs[c] + 8, ys[r] + 14);
            }
        }
        PageLayout page = layOutPage(lines, graphics, PageModels::a4());
        QCOMPARE(page.tables.size(), 1);
        QVERIFY(page.panels.isEmpty() && page.figures.isEmpty());
        QCOMPARE(page.tables.front().cells.size(), 9);
        QCOMPARE(cellText(page.tables.front(), 2, 1), QStringLiteral("1168"));
        QCOMPARE(cellShading(page.tables.front(), 0, 2), 0xB3B3B3);
        QCOMPARE(cellShading(page.tables.front(), 1, 0), 0xF3F3F3);

        // Ruled above, under the header and below, with a line after the first column.
        graphics = PageGraphics();
        graphics.rules << rule(72, 100, 500, 100) << rule(72, 116, 500, 116) << rule(72, 176, 500, 176) << rule(200, 100, 200, 176);
        lines = {line(QStringLiteral("answers"), 76, 112), line(QStringLiteral("Freq."), 220, 112), line(QStringLiteral("Percent"), 320, 112),
                 line(QStringLiteral("Cum."), 420, 112)};
        const char* const figures[][4] = {{"0", "138", "6.9", "6.9"}, {"1", "178", "8.8", "15.7"}, {"2", "626", "31.1", "46.8"}, {"3", "1070", "53.2", "100.0"}};
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 4; ++c)
                lines << line(QLatin1String(figures[r][c]), c == 0 ? 76 : 120 + 100 * c, 128 + 12 * r);
        }
        QVector<FoundTable> tables = findTables(graphics, lines);
        QCOMPARE(tables.size(), 1);
        QCOMPARE(tables.front().columns.size() - 1, 4);
        QCOMPARE(tables.front().rows.size() - 1, 5);
        QCOMPARE(cellText(tables.front(), 0, 3), QStringLiteral("Cum."));
        QCOMPARE(cellText(tables.front(), 3, 2), QStringLiteral("31.1"));
        QCOMPARE(cellText(tables.front(), 4, 0), QStringLiteral("3"));
        // The same frame around an entry that wraps in its cell beside its figures.
        lines = {line(QStringLiteral("the harbour board met"), 76, 128), line(QStringLiteral("again"), 76, 140),
                 line(QStringLiteral("138"), 220, 128), line(QStringLiteral("178"), 220, 140)};
        tables = findTables(graphics, lines);
        QCOMPARE(tables.size(), 1);
        QCOMPARE(tables.front().rows.size() - 1, 2);
        QCOMPARE(cellText(tables.front(), 1, 0), QStringLiteral("the harbour board met again"));

        // A form's boxes: a small label over each value, one entry.
        lines = {line(QStringLiteral("Your first name"), 76, 112, 6.5), line(QStringLiteral("Last name"), 220, 112, 6.5),
                 line(QStringLiteral("Marta"), 76, 126), line(QStringLiteral("Lindqvist"), 220, 126)};
        graphics = PageGraphics();
        graphics.rules << rule(72, 100, 500, 100) << rule(72, 132, 500, 132) << rule(72, 100, 72, 132) << rule(200, 100, 200, 132)
                       << rule(500, 100, 500, 132);
        tables = findTables(graphics, lines);
        QCOMPARE(tables.size(), 1);
        QCOMPARE(cellText(tables.front(), 0, 1), QStringLiteral("Last name Lindqvist"));

        // Rulings between the header's cells only; each body row spans them.
        graphics = PageGraphics();
        for (float y : {100.0f, 116.0f, 130.0f, 144.0f})
            graphics.rules << rule(72, y, 372, y);
        graphics.rules << rule(72, 100, 72, 144) << rule(372, 100, 372, 144) << rule(172, 100, 172, 116) << rule(272, 100, 272, 116);
        lines = {line(QStringLiteral("Country"), 80, 112), line(QStringLiteral("Male"), 180, 112), line(QStringLiteral("Female"), 280, 112),
                 line(QStringLiteral("Austria"), 80, 126), line(QStringLiteral("12"), 180, 126), line(QStringLiteral("14"), 280, 126),
                 line(QStringLiteral("Belgium"), 80, 140), line(QStringLiteral("13"), 180, 140), line(QStringLiteral("15"), 280, 140)};
        tables = findTables(graphics, lines);
        QCOMPARE(tables.size(), 1);
        QCOMPARE(cellText(tables.front(), 2, 1), QStringLiteral("13"));
        QCOMPARE(cellText(tables.front(), 1, 2), QStringLiteral("14"));

        // A form's group of numbered lines ruled only around it, each line's number and amount
        // in a ruled box of its own: a description in each row.
        graphics = PageGraphics();
        graphics.rules << rule(72, 100, 500, 100) << rule(72, 160, 500, 160) << rule(72, 100, 72, 160) << rule(120, 100, 120, 160)
                       << rule(400, 100, 400, 160) << rule(420, 100, 420, 160) << rule(500, 100, 500, 160);
        for (float y : {120.0f, 140.0f})
            graphics.rules << rule(400, y, 500, y);
        lines = {line(QStringLiteral("Income"), 76, 112)};
        const char* const formLines[][3] = {{"1 Wages, salaries, tips . . . . . .", "1", "48,200"},
                                            {"2 Taxable interest . . . . . . . .", "2", "312"},
                                            {"3 Add lines 1 and 2 . . . . . . . .", "3", "48,512"}};
        for (int r = 0; r < 3; ++r) {
            lines << line(QLatin1String(formLines[r][0]), 124, 114 + 20 * r) << line(QLatin1String(formLines[r][1]), 405, 114 + 20 * r)
                  << line(QLatin1String(formLines[r][2]), 430, 114 + 20 * r);
        }
        tables = findTables(graphics, lines);
        QCOMPARE(tables.size(), 1);
        QCOMPARE(cellText(tables.front(), 1, 1), QStringLiteral("2 Taxable interest . . . . . . . ."));
        QCOMPARE(cellText(tables.front(), 2, 3), QStringLiteral("48,512"));
        QCOMPARE(cellText(tables.front(), 0, 0), QStringLiteral("Income"));

        // An invoice's grid with a seal stamped over its top edge and a circled mark on a ruling
        // inside: still a table (an arrow touching boxes is a diagram's).
        graphics.shapes << shape(300, 60, 420, 130) << shape(392, 128, 422, 152);
        tables = findTables(graphics, lines);
        QCOMPARE(tables.size(), 1);

        // A bar chart: grid lines, bars stroked along them, one label.
        graphics = PageGraphics();
        for (int k = 0; k <= 4; ++k)
            graphics.rules << rule(100, 100 + 40 * k, 500, 100 + 40 * k);
        for (float x : {100.0f, 300.0f, 500.0f})
            graphics.rules << rule(x, 100, x, 260);
        for (int bar = 0; bar < 2; ++bar) {
            graphics.shapes << fill(100 + 200 * bar, 180, 300 + 200 * bar, 260, 0x4F81BD);
            graphics.rules << rule(100 + 200 * bar, 180, 100 + 200 * bar, 260);
        }
        lines = {line(QStringLiteral("Sales"), 180, 230)};
        QVERIFY(findTables(graphics, lines).isEmpty());
    }

    // Running text never makes a table: an article's paragraph beside an infobox leaves only the
    // infobox's labels and values to line up. A table of contents with its leaders and display
    // equations with their numbers keep each row as one line, a paragraph of its own; two lists
    // side by side stay lists. A justified line split at its wide word gaps is one line again.
    void runningTextAndListsAreNoTables()
    {
        QVector<TextLine> lines = prose(72, 100, 8);
        const char* const infobox[][2] = {{"Country", "North Coast"}, {"Founded", "1142"}, {"Height", "31 m"}, {"Range", "18 nmi"}};
        for (int r = 0; r < 4; ++r)
            lines << line(QLatin1String(infobox[r][0]), 400, 100 + 18 * r, 9) << line(QLatin1String(infobox[r][1]), 460, 100 + 18 * r, 9);
        QVector<FoundTable> tables = findTextTables(lines);
        QCOMPARE(tables.size(), 1);
        QCOMPARE(tables.front().columns.size() - 1, 2);
        QCOMPARE(cellText(tables.front(), 1, 1), QStringLiteral("1142"));
        QCOMPARE(lines.size(), 8); // the paragraph's lines, all of them

        lines = {};
        for (int r = 0; r < 4; ++r)
            lines << line(QStringLiteral("%1 Section %1 . . . . . . . . . .").arg(r + 1), 72, 100 + 14 * r)
                  << line(QString::number(r + 2), 500, 100 + 14 * r);
        for (int r = 0; r < 3; ++r)
            lines << line(QStringLiteral("x = a + b"), 260, 200 + 20 * r) << line(QStringLiteral("(%1)").arg(r + 1), 500, 200 + 20 * r);
        QVERIFY(findTextTables(lines).isEmpty());
        QCOMPARE(lines.size(), 7);
        for (const TextLine& l : lines)
            QVERIFY2(l.alone && (l.text().endsWith(QLatin1Char(')')) || l.text().contains(QLatin1String(". . ."))), qPrintable(l.text()));
        const PageLayout page = layOutPage(lines, PageGraphics(), PageModels::a4());
        QCOMPARE(page.paragraphs.size(), 7);

        lines = {};
        for (int r = 0; r < 4; ++r)
            lines << line(QString::fromUtf8("• Cod landings up"), 72, 100 + 20 * r) << line(QString::fromUtf8("• Marina nights"), 330, 100 + 20 * r);
        QVERIFY(findTextTables(lines).isEmpty());

        // Six words of four letters spread over the line's width by the justification.
        lines = {line(QStringLiteral("full line of the paragraph that the text sets"), 72, 100)};
        const float right = lines.front().box.x1;
        const float gap = (right - 72 - 6 * 20) / 5;
        for (int w = 0; w < 6; ++w)
            lines << line(QStringLiteral("word"), 72 + w * (20 + gap), 112);
        lines << line(QStringLiteral("full line of the paragraph that the text sets"), 72, 124);
        joinSplitLines(lines);
        QCOMPARE(lines.size(), 3);
        QStringList texts;
        for (const TextLine& l : lines)
            texts << l.text();
        QVERIFY(texts.contains(QStringLiteral("word word word word word word")));
    }

    // A statement's header over its figures: a year centred over two columns spans them, a label
    // set on two lines is one cell, and the header's first cells, beside both its rows, reach
    // down to the body. Drawn with rules between its rows and a band behind its header, it is
    // a table, no figure; a chart whose bars hold their labels stays a figure.
    void tablesWithoutRulingsKeepTheirHeader()
    {
        QVector<TextLine> lines = {line(QStringLiteral("2007"), 248, 137, 8), line(QStringLiteral("2006"), 305, 137, 8),
                                   line(QStringLiteral("Sample"), 144, 144, 8), line(QStringLiteral("Country"), 97, 148, 8),
                                   line(QStringLiteral("unit"), 150, 153, 8)};
        for (int year = 0; year < 2; ++year)
            lines << line(QStringLiteral("n"), 237 + 57 * year, 160, 8) << line(QStringLiteral("% Pos"), 257 + 57 * year, 160, 8);
        const char* const rows[][6] = {{"Austria", "Single", "109", "0.9", "93", "1.1"},
                                       {"Germany", "Single", "123", "0.8", "290", "0.7"},
                                       {"Spain", "Single", "36", "0", "40", "0"}};
        const float at[] = {89, 149, 234, 264, 291, 321};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 6; ++c)
                lines << line(QLatin1String(rows[r][c]), at[c], 178 + 14 * r, 8);
        }
        const QVector<TextLine> statement = lines;
        QVector<FoundTable> tables = findTextTables(lines);
        QCOMPARE(tables.size(), 1);
        QVERIFY2(lines.isEmpty(), qPrintable(PageModels::texts(lines).join(QLatin1Char('|'))));
        const FoundTable& table = tables.front();
        QCOMPARE(table.columns.size() - 1, 6);
        QCOMPARE(table.rows.size() - 1, 5);
        QCOMPARE(cellText(table, 0, 0), QStringLiteral("Country"));
        QCOMPARE(cellText(table, 0, 1), QStringLiteral("Sample unit"));
        QCOMPARE(cellText(table, 0, 2), QStringLiteral("2007"));
        QCOMPARE(cellText(table, 1, 3), QStringLiteral("% Pos"));
        QCOMPARE(cellText(table, 4, 4), QStringLiteral("40"));
        for (const FoundTable::Cell& cell : table.cells) {
            if (cell.row == 0 && cell.column < 2)
                QCOMPARE(cell.rowSpan, 2);
            if (cell.row == 0 && cell.column >= 2)
                QCOMPARE(cell.columnSpan, 2);
        }

        PageGraphics graphics;
        graphics.shapes << fill(85, 126, 345, 167, 0xFF7D26);
        graphics.shapes.back().rectangle = false; // a band with rounded corners
        for (int r = -1; r < 3; ++r) {
            // A rule stroked with a wide cap: its box reaches 5 points around it.
            graphics.shapes << shape(80, 176 + 14 * r, 350, 186 + 14 * r, Shape::Path, true);
            graphics.rules << rule(85, 181 + 14 * r, 345, 181 + 14 * r);
        }
        PageLayout page = layOutPage(statement, graphics, PageModels::a4());
        QVERIFY(page.figures.isEmpty());
        QCOMPARE(page.tables.size(), 1);

        graphics = PageGraphics();
        lines.clear();
        for (int tick = 0; tick < 4; ++tick) {
            graphics.shapes << shape(110 + 96 * tick, 125, 111 + 96 * tick, 195, Shape::Path, true); // grid lines
            graphics.rules << rule(110.5f + 96 * tick, 125, 110.5f + 96 * tick, 195);
        }
        for (int bar = 0; bar < 3; ++bar) {
            graphics.shapes << fill(110, 130 + 25 * bar, 230 + 20 * bar, 140 + 25 * bar, 0xCCFFFF)
                            << fill(230 + 20 * bar, 130 + 25 * bar, 400, 140 + 25 * bar, 0x00FFFF);
            graphics.rules << rule(110, 130 + 25 * bar, 400, 130 + 25 * bar) << rule(110, 140 + 25 * bar, 400, 140 + 25 * bar);
            lines << line(QString::number(2001 + bar), 80, 138 + 25 * bar, 8) << line(QStringLiteral("30.5"), 160, 138 + 25 * bar, 8)
                  << line(QStringLiteral("49.0"), 300, 138 + 25 * bar, 8);
        }
        page = layOutPage(lines, graphics, PageModels::a4());
        QVERIFY(page.tables.isEmpty());
        QCOMPARE(page.figures.size(), 1);
    }

    // A box shaded a band at a time, one band under the next, is one panel; a square outline
    // drawn over a fill of its size is a chart legend's swatch, no check box.
    void bandsMakeOnePanelAndSwatchesNoCheckBoxes()
    {
        QVector<Shape> shapes;
        QVector<TextLine> lines;
        for (int band = 0; band < 5; ++band) {
            shapes << fill(67, 500 + 12 * band, 529, 512 + 12 * band, 0xD9D9D9);
            lines << line(QStringLiteral("a line of the box's text, set in its band"), 72, 510 + 12 * band);
        }
        const QVector<FoundPanel> panels = findPanels(shapes, lines, PageModels::a4());
        QCOMPARE(panels.size(), 1);
        QVERIFY(std::fabs(panels.front().box.y1 - 560) < 1);

        Shape outline = shape(100, 300, 108, 308, Shape::Path, true);
        outline.rectangle = true;
        shapes = {fill(100, 300, 108, 308, 0x33CCCC), outline};
        lines = {line(QStringLiteral("60 years and over"), 112, 307, 8)};
        markCheckBoxes(shapes, lines);
        QCOMPARE(lines.front().text(), QStringLiteral("60 years and over"));
        QCOMPARE(shapes.size(), 2);
    }

    // Boxes joined by an arrow are one diagram, its labels in the picture: no panels, no table
    // of their sides. A hairline frame around text is a panel; one around a legend's swatch is
    // not. A poster's charts stand apart from the backdrop behind its text: each is a figure; a
    // background picture stored in strips under the page's text is none.
    void diagramsAndPostersKeepTheirDrawings()
    {
        PageGraphics graphics;
        graphics.shapes << frame(100, 100, 200, 140, &graphics) << frame(260, 100, 360, 140, &graphics);
        graphics.shapes << shape(200, 119, 250, 121, Shape::Path, true) << shape(250, 115, 260, 125); // the arrow
        graphics.rules << rule(200, 120, 250, 120);
        QVector<TextLine> lines = {line(QStringLiteral("Sample taken"), 120, 124), line(QStringLiteral("Split"), 297, 124)};
        PageLayout page = layOutPage(lines, graphics, PageModels::a4());
        QVERIFY(page.panels.isEmpty() && page.tables.isEmpty());
        QCOMPARE(page.figures.size(), 1);
        QCOMPARE(page.figures.front().labelText, QStringLiteral("Sample taken Split"));

        graphics = PageGraphics();
        graphics.shapes << frame(72, 300, 300, 360, &graphics) << frame(400, 300, 480, 340, &graphics) << fill(405, 315, 415, 325, 0x99CCFF);
        lines = {line(QStringLiteral("A note in a box"), 80, 320), line(QStringLiteral("with two lines"), 80, 334),
                 line(QStringLiteral("2024"), 420, 324)};
        page = layOutPage(lines, graphics, PageModels::a4());
        QCOMPARE(page.panels.size(), 1);
        QCOMPARE(page.panels.front().border, 0);
        QVERIFY(page.panels.front().box.x1 <= 301);

        graphics = PageGraphics();
        graphics.shapes << fill(0, 0, 595, 350, 0x3465A4); // the backdrop
        for (int bar = 0; bar < 4; ++bar)
            graphics.shapes << fill(120 + 40 * bar, 320 - 25 * bar, 140 + 40 * bar, 420, 0xC0504D);
        graphics.shapes << shape(110, 420, 280, 421, Shape::Path, true); // the axis
        lines = prose(40, 60, 3);
        lines << line(QStringLiteral("Q1"), 122, 430, 8) << line(QStringLiteral("Q4"), 242, 430, 8);
        const QVector<FoundFigure> figures = findFigures(graphics, {}, lines, PageModels::a4());
        QCOMPARE(figures.size(), 1);
        QCOMPARE(figures.front().labelText, QStringLiteral("Q1 Q4"));
        QVERIFY(figures.front().box.y0 > 200);
        QCOMPARE(lines.size(), 3);

        // A background picture stored in strips as wide as the page, under its text and a chart.
        graphics = PageGraphics();
        for (int strip = 0; strip < 9; ++strip)
            graphics.shapes << shape(0, 93.5f * strip, 595, 93.5f * (strip + 1), Shape::Picture);
        for (int bar = 0; bar < 4; ++bar)
            graphics.shapes << fill(120 + 40 * bar, 520 - 25 * bar, 140 + 40 * bar, 620, 0xC0504D);
        graphics.shapes << shape(110, 620, 280, 621, Shape::Path, true); // the axis
        lines = prose(72, 100, 8);
        QCOMPARE(findFigures(graphics, {}, lines, PageModels::a4()).size(), 1);
    }

    // Reading order: the lead-in line of a display equation, left and below the equation under a
    // paragraph across both, is read after it; two columns are still read one after the other.
    void equationIsReadBeforeTheLineUnderIt()
    {
        const QVector<fz_rect> boxes = {fz_make_rect(72, 100, 500, 112), fz_make_rect(250, 120, 350, 132),
                                        fz_make_rect(72, 140, 180, 152), fz_make_rect(72, 160, 500, 172)};
        QCOMPARE(readingOrder(boxes, {}), QVector<int>({0, 1, 2, 3}));
        QVector<fz_rect> columns;
        for (int i = 0; i < 4; ++i)
            columns << fz_make_rect(72, 100 + 12 * i, 280, 110 + 12 * i);
        columns << fz_make_rect(300, 100, 500, 110);
        QCOMPARE(readingOrder(columns, {}), QVector<int>({0, 1, 2, 3, 4}));
    }

    // Fonts: the family class a reader's substitute should have, from the name when the file
    // says nothing; an embedded file's PANOSE wins over a stand-in's description.
    void fontsAreDescribedForSubstitution_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("monospace");
        QTest::addColumn<int>("family");
        QTest::newRow("serif") << "Adobe Caslon" << false << int(FlowFont::Roman);
        QTest::newRow("no lato") << "Palatino Linotype" << false << int(FlowFont::Roman);
        QTest::newRow("sans before serif") << "Microsoft Sans Serif" << false << int(FlowFont::Swiss);
        QTest::newRow("helvetica") << "Helvetica Neue" << false << int(FlowFont::Swiss);
        QTest::newRow("mono before roman") << "Latin Modern Mono" << false << int(FlowFont::Modern);
        QTest::newRow("monospace flag") << "Fira Code" << true << int(FlowFont::Modern);
        QTest::newRow("symbols") << "Zapf Dingbats" << false << int(FlowFont::Decorative);
        QTest::newRow("script") << "Brush Script" << false << int(FlowFont::Script);
    }

    void fontsAreDescribedForSubstitution()
    {
        QFETCH(QString, name);
        QFETCH(bool, monospace);
        QFETCH(int, family);
        const FlowFont font = fontFactsByName(name, monospace);
        QCOMPARE(int(font.family), family);
        QCOMPARE(font.fixedPitch, monospace);
        QVERIFY(font.panose.isEmpty() && font.charset < 0);

        FontTable table;
        table.learn(font);
        FlowFont embedded = font;
        embedded.panose = QByteArray("\x02\x02\x06\x03\x05\x04\x05\x02\x03\x04", 10);
        table.learn(embedded);
        table.learn(font);
        const QList<FlowFont> named = table.fontsNamed({name, QStringLiteral("Unknown Serif")});
        QCOMPARE(named.size(), 2);
        QCOMPARE(named[0].panose, embedded.panose);
        QCOMPARE(int(named[1].family), int(FlowFont::Roman));
    }

    // The document keeps the source's margins and starts a page where the source's page ended
    // short; a full page runs on into the next.
    void documentKeepsMarginsAndShortPages()
    {
        Looks looks(m_context.get());
        DocumentBuilder builder(looks);
        const char* const headings[] = {"First chapter", "Second chapter", "Third chapter"};
        for (int p = 0; p < 3; ++p) {
            QVector<TextLine> lines = {line(QLatin1String(headings[p]), 90, 100, 16)};
            lines += prose(90, 130, p == 0 ? 8 : 50);
            builder.addPage(layOutPage(lines, PageGraphics(), PageModels::a4()), {});
        }
        const FlowDocument document = builder.finish();
        QStringList broken;
        for (const FlowBlock& block : document.blocks) {
            if (block.pageBreakBefore)
                broken << block.text();
        }
        QCOMPARE(broken, QStringList({QStringLiteral("Second chapter")}));
        QCOMPARE(document.margins.left(), 90.0);
        QVERIFY(document.margins.top() > 80 && document.margins.top() < 90);
        QCOMPARE(document.margins.right(), 90.0); // at most an inch and a quarter
    }

    // Running text in two columns under a title across the page: the columns' items are marked,
    // the title is not; text that flows from one column and page to the next is one section, as
    // wide as the source's columns, without breaks; the paragraph across the page after it is
    // outside. Columns where the first ended short (a slide's bullets) start the second with a
    // column break. DOCX writes the sections with their columns and the break.
    void textInColumnsIsASectionOfColumns()
    {
        Looks looks(m_context.get());
        DocumentBuilder builder(looks);
        for (int p = 0; p < 2; ++p) {
            QVector<TextLine> lines;
            if (p == 0)
                lines << line(QStringLiteral("A newsletter title set large across the whole page"), 72, 100, 18);
            lines += prose(72, 150, 50) + prose(310, 150, 50);
            if (p == 1)
                lines += sentences(72, 770, 3).mid(0, 1) << line(QStringLiteral("and a last paragraph across the page, as wide as the title above."), 72, 782);
            const PageLayout page = layOutPage(lines, PageGraphics(), PageModels::a4());
            QCOMPARE(page.columns.size(), 1);
            QCOMPARE(page.columns.front().columns.size(), 2);
            QCOMPARE(page.items.front().columns, p == 0 ? -1 : 0);
            builder.addPage(page, {});
        }
        FlowDocument document = builder.finish();
        QCOMPARE(document.sections.size(), 1);
        const FlowSection& section = document.sections.front();
        QCOMPARE(section.first, 1);
        QCOMPARE(section.first + section.count, document.blocks.size() - 1);
        QCOMPARE(section.columnWidths.size(), 2);
        QVERIFY(qAbs(section.columnWidths[0] - 205) < 3 && qAbs(section.gaps[0] - 33) < 3);
        for (const FlowBlock& block : document.blocks)
            QVERIFY(!block.columnBreakBefore);

        DocumentBuilder slides(looks);
        QVector<TextLine> lines = sentences(72, 150, 3) + sentences(310, 150, 3) + sentences(310, 200, 4);
        slides.addPage(layOutPage(lines, PageGraphics(), PageModels::a4()), {});
        document = slides.finish();
        QCOMPARE(document.sections.size(), 1);
        QCOMPARE(document.blocks.size(), 3);
        QVERIFY(!document.blocks[0].columnBreakBefore && document.blocks[1].columnBreakBefore && !document.blocks[2].columnBreakBefore);

        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("slide.docx"));
        QString error;
        QVERIFY2(writeDocx(m_context.get(), document, path, &error), qPrintable(error));
        const QByteArray xml = zipEntry(path, QStringLiteral("word/document.xml"));
        QVERIFY(xml.contains("<w:cols w:num=\"2\""));
        QCOMPARE(xml.count("<w:sectPr>"), 1); // the body's: the columns are its last section
        QCOMPARE(xml.count("<w:br w:type=\"column\"/>"), 1);
    }

    // A mark standing alone at the page's right edge beside running text (a page number, a
    // footnote's sign) is no column: a word processor would balance the text into a sliver.
    void aSliverBesideTextIsNoColumn()
    {
        QVector<TextLine> lines = sentences(72, 150, 8);
        lines << line(QStringLiteral("12"), 540, 150);
        const PageLayout page = layOutPage(lines, PageGraphics(), PageModels::a4());
        QVERIFY(page.columns.isEmpty());
        for (const PageItem& item : page.items)
            QCOMPARE(item.columns, -1);
    }

    // Each paragraph keeps its lines' pitch and the space above it: 14 points apart at 10 points
    // is written exactly so, and 30 points between two paragraphs' baselines leaves 16 above the
    // second; a line alone that ends well short of the text under it is a heading of its own.
    void paragraphsKeepTheirSpacing()
    {
        Looks looks(m_context.get());
        DocumentBuilder builder(looks);
        QVector<TextLine> lines = {line(QStringLiteral("Visitors"), 72, 86)};
        lines += sentences(72, 100, 4, 14) + sentences(72, 100 + 3 * 14 + 30, 4, 14);
        builder.addPage(layOutPage(lines, PageGraphics(), PageModels::a4()), {});
        const FlowDocument document = builder.finish();
        QCOMPARE(document.blocks.size(), 3);
        QCOMPARE(document.blocks[0].text(), QStringLiteral("Visitors"));
        QCOMPARE(document.blocks[1].lineSpacing, 14.0);
        QVERIFY(exactLineSpacing(document.blocks[1]));
        QVERIFY(qAbs(document.blocks[2].spaceBefore - 16) < 0.5);
        QCOMPARE(document.blocks[0].lineSpacing, 0.0);

        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("spaced.docx"));
        QString error;
        QVERIFY2(writeDocx(m_context.get(), document, path, &error), qPrintable(error));
        const QByteArray xml = zipEntry(path, QStringLiteral("word/document.xml"));
        QVERIFY(xml.contains("<w:spacing w:before=\"320\" w:after=\"0\" w:line=\"280\" w:lineRule=\"exact\"/>"));
    }

    // A bar chart's top grid line stands above the highest bar and touches nothing: it joins the
    // chart of its grid, with its number and the title above it.
    void chartKeepsItsTopGridLine()
    {
        PageGraphics graphics;
        for (int v = 0; v <= 4; ++v)
            graphics.shapes << shape(100, 397 - 33 * v, 460, 403 - 33 * v, Shape::Path, true);
        graphics.shapes << shape(100, 265, 460, 271, Shape::Path, true); // 500, alone
        for (int bar = 0; bar < 4; ++bar)
            graphics.shapes << fill(120 + 80 * bar, 290 + 20 * bar, 160 + 80 * bar, 400, 0x4472C4);
        QVector<TextLine> lines = {line(QStringLiteral("Passengers"), 250, 258, 11), line(QStringLiteral("500"), 90, 271, 8),
                                   line(QStringLiteral("400"), 90, 304, 8)};
        const QVector<FoundFigure> figures = findFigures(graphics, {}, lines, PageModels::a4());
        QCOMPARE(figures.size(), 1);
        QVERIFY(figures.front().box.y0 < 255);
        QCOMPARE(figures.front().labelText, QStringLiteral("Passengers 500 400"));
        QVERIFY(lines.isEmpty());
    }

    // A page's figures are drawn in one run of its list, each from its own region: a red and a
    // blue drawing side by side become a red and a blue picture, each as large as its figure.
    void figuresAreDrawnTogetherEachFromItsRegion()
    {
        fz_context* ctx = m_context.get();
        fz_display_list* list = fz_new_display_list(ctx, PageModels::a4());
        fz_device* device = fz_new_list_device(ctx, list);
        const float red[3] = {1, 0, 0};
        const float blue[3] = {0, 0, 1};
        for (const auto& [x, color] : {std::make_pair(100.0f, red), std::make_pair(300.0f, blue)}) {
            fz_path* path = fz_new_path(ctx);
            fz_rectto(ctx, path, x, 100, x + 100, 150);
            fz_fill_path(ctx, device, path, 0, fz_identity, fz_device_rgb(ctx), color, 1, fz_default_color_params);
            fz_drop_path(ctx, path);
        }
        // A black hairline across the red drawing's foot.
        const float black[3] = {0, 0, 0};
        fz_path* hairline = fz_new_path(ctx);
        fz_moveto(ctx, hairline, 100, 140);
        fz_lineto(ctx, hairline, 200, 140);
        fz_stroke_state* thinnest = fz_new_stroke_state(ctx);
        thinnest->linewidth = 0;
        fz_stroke_path(ctx, device, hairline, thinnest, fz_identity, fz_device_rgb(ctx), black, 1, fz_default_color_params);
        fz_drop_stroke_state(ctx, thinnest);
        fz_drop_path(ctx, hairline);
        fz_close_device(ctx, device);
        fz_drop_device(ctx, device);
        PageGraphics graphics;
        graphics.shapes << fill(100, 100, 200, 150, 0xFF0000) << fill(300, 100, 400, 150, 0x0000FF);
        QVector<FoundFigure> figures(2);
        figures[0].box = fz_make_rect(95, 95, 205, 155);
        figures[1].box = fz_make_rect(295, 95, 405, 155);
        PictureMaker maker(ctx);
        maker.startPage();
        QList<FlowImage> pictures;
        QStringList whys;
        const auto now = PictureMaker::Clock::now();
        QCOMPARE(maker.makeAll(list, graphics, figures, now + std::chrono::seconds(2), now + std::chrono::seconds(20), {},
                               &pictures, &whys),
                 PictureMaker::Outcome::Made);
        fz_drop_display_list(ctx, list);
        QCOMPARE(pictures.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QVERIFY2(whys[i].isEmpty(), qPrintable(whys[i]));
            QCOMPARE(pictures[i].width, 110.0);
            const QImage image = QImage::fromData(pictures[i].data, "PNG");
            QVERIFY(!image.isNull());
            const QColor middle = image.pixelColor(image.width() / 2, image.height() / 2);
            QCOMPARE(middle.rgb() & 0xFFFFFF, i == 0 ? 0xFF0000u : 0x0000FFu);
            QCOMPARE(image.pixelColor(2, 2).rgb() & 0xFFFFFF, 0xFFFFFFu); // its own margin, not the other's drawing
        }
        // The hairline keeps half a point's width at the picture's resolution, as dark as a reader
        // sees it on the page (one pixel at 300 dpi would fade when the picture is shown).
        const QImage first = QImage::fromData(pictures[0].data, "PNG");
        const double pixelsPerPoint = first.width() / 110.0;
        double ink = 0;
        for (int y = 0; y < first.height(); ++y) {
            const QColor pixel = first.pixelColor(first.width() / 2, y);
            if (pixel.red() < 255 || pixel.green() > 0) // not the red fill
                ink += 1 - pixel.valueF();
        }
        QVERIFY2(ink >= 0.4 * pixelsPerPoint, qPrintable(QString::number(ink / pixelsPerPoint)));
    }
};

QTEST_GUILESS_MAIN(Pdf2WordStructureTest)
#include "test_pdf2wordstructure.moc"
