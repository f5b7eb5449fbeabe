// The engine's stages one at a time, on page models built by hand: what each stage makes of a
// page is checked here without a producer in the way; the end-to-end tests beside this folder
// check the same on documents real producers made.

#include "platform/mupdf/FitzContext.h"
#include "platform/pdf2word/engine/DocumentBuilder.h"
#include "platform/pdf2word/engine/FontNames.h"
#include "platform/pdf2word/engine/PageLayout.h"
#include "platform/pdf2word/engine/PageReader.h"
#include "platform/pdf2word/engine/RecognisedWords.h"
#include "platform/pdf2word/engine/Scripts.h"
#include "platform/pdf2word/engine/UnmappedText.h"
#include "tests/platform/pdf2word/engine/PageModels.h"

#include <QtTest>

using namespace p2w;
using PageModels::line;
using PageModels::rule;
using PageModels::shape;

namespace {

QStringList texts(const QVector<TextLine>& lines)
{
    QStringList result;
    for (const TextLine& l : lines)
        result << l.text();
    return result;
}

QString paragraphText(const LaidParagraph& paragraph)
{
    QStringList parts;
    for (const TextLine& l : paragraph.lines)
        parts << l.text();
    return parts.join(QLatin1Char(' '));
}

// The page's paragraphs, figures and tables in reading order as text ("[figure]", "[table]").
QStringList itemsOf(const PageLayout& page)
{
    QStringList result;
    for (const PageItem& item : page.items) {
        if (item.kind == PageItem::Paragraph)
            result << paragraphText(page.paragraphs[item.index]);
        else
            result << (item.kind == PageItem::Figure ? QStringLiteral("[figure]") : QStringLiteral("[table]"));
    }
    return result;
}

// Lines of prose down a column from top, pitch 12, each a little shorter than width characters.
QVector<TextLine> column(float x, float top, int count, int width = 40, const QString& word = QStringLiteral("text"))
{
    QVector<TextLine> lines;
    for (int i = 0; i < count; ++i) {
        QString text;
        while (text.size() + word.size() + 1 <= width)
            text += (text.isEmpty() ? QString() : QStringLiteral(" ")) + word;
        lines << line(text.left(width), x, top + 12 * i);
    }
    return lines;
}

// A line whose '#' characters stand for unmapped glyphs first, first + 1, ... of the page.
TextLine unmappedLine(const QString& text, float x, float baseline, int look = 0, int first = 0)
{
    TextLine result = line(text, x, baseline, 10, look);
    int next = first;
    for (Glyph& glyph : result.glyphs) {
        if (glyph.c == U'#')
            glyph.c = unmappedCode(next++);
    }
    return result;
}

} // namespace

class Pdf2WordStagesTest : public QObject
{
    Q_OBJECT

private:
    qpmupdf::ContextPtr m_context;

    // Reads page 1 of a hand-written PDF through the page reader.
    bool readPdf(const QByteArray& content, QVector<TextLine>* lines, PageGraphics* graphics, Looks* looks)
    {
        fz_context* ctx = m_context.get();
        const QByteArray pdf = PageModels::onePagePdf(content);
        fz_stream* stream = nullptr;
        fz_document* doc = nullptr;
        fz_page* page = nullptr;
        fz_display_list* list = nullptr;
        fz_rect mediabox = fz_empty_rect;
        const bool opened = qpmupdf::fzRun(ctx, [&] {
            stream = fz_open_memory(ctx, reinterpret_cast<const unsigned char*>(pdf.constData()), pdf.size());
            doc = reinterpret_cast<fz_document*>(pdf_open_document_with_stream(ctx, stream));
            page = fz_load_page(ctx, doc, 0);
            mediabox = fz_bound_page(ctx, page);
            list = fz_new_display_list_from_page(ctx, page);
        });
        PageReader reader(ctx, *looks);
        const bool read = opened && reader.read(list, mediabox, nullptr, lines, graphics);
        fz_drop_display_list(ctx, list);
        fz_drop_page(ctx, page);
        fz_drop_document(ctx, doc);
        fz_drop_stream(ctx, stream);
        return read;
    }

private slots:
    void initTestCase()
    {
        m_context = qpmupdf::newContext();
        QVERIFY(m_context);
    }

    // Page reading: pieces of one baseline are one line with a space at the word gap; a smaller
    // raised piece is the superscript of its word; stroked and hairline-filled straight lines are
    // rulings, a filled box a shape.
    void pageReadingJoinsPiecesAndCollectsRulings()
    {
        Looks looks(m_context.get());
        QVector<TextLine> lines;
        PageGraphics graphics;
        QVERIFY(readPdf("BT /F1 10 Tf 72 700 Td (Energy equals) Tj ET\n"
                        "BT /F1 10 Tf 140 700 Td (mc) Tj ET\n"
                        "BT /F1 6 Tf 153.5 704 Td (2) Tj ET\n"
                        "BT /F2 10 Tf 300 700 Td (Far away) Tj ET\n"
                        "0.5 w 72 650 m 300 650 l S\n"
                        "72 600 200 0.5 re f\n"
                        "0.8 g 72 400 100 100 re f\n",
                        &lines, &graphics, &looks));
        QCOMPARE(texts(lines), QStringList({QStringLiteral("Energy equals mc2"), QStringLiteral("Far away")}));
        const TextLine& formula = lines.front();
        QCOMPARE(formula.glyphs.back().shift, Shift::Super);
        QCOMPARE(formula.glyphs[formula.glyphs.size() - 2].shift, Shift::Base);
        QCOMPARE(graphics.rules.size(), 2);
        QVERIFY(graphics.rules[0].horizontal() && graphics.rules[1].horizontal());
        int boxes = 0;
        for (const Shape& s : graphics.shapes)
            boxes += !s.thin && s.kind == Shape::Path ? 1 : 0;
        QCOMPARE(boxes, 1);
        QVERIFY(!looks[lines.front().glyphs.front().look].bold);
        QVERIFY(looks[lines.back().glyphs.front().look].bold);
    }

    // A scan's text layer (invisible, covered by a picture drawn after it, or in a font whose glyphs
    // draw nothing) is read where the page shows no text; over shown text it repeats it and is left
    // out. The picture under the layer is its scan and leaves the graphics; a line drawn again at
    // its place is read once.
    void hiddenTextIsReadWhereNoneIsShown()
    {
        Looks looks(m_context.get());
        QVector<TextLine> lines;
        PageGraphics graphics;
        QVERIFY(readPdf(QByteArray("BT /F1 12 Tf 72 760 Td (Shown heading) Tj ET\n"
                                   "BT 3 Tr /F1 12 Tf 72 760 Td (Shown heading) Tj ET\n"
                                   "BT 3 Tr /F1 12 Tf 72 700 Td (Invisible layer) Tj ET\n"
                                   "BT /F1 12 Tf 72 640 Td (Covered layer) Tj ET\n"
                                   "BT /F1 12 Tf 72 640 Td (Covered layer) Tj ET\n"
                                   "q 300 0 0 40 60 630 cm BI /W 1 /H 1 /CS /G /BPC 8 ID \x80 EI Q\n"
                                   "BT /F3 12 Tf 72 760 Td (shown heading) Tj ET\n"
                                   "BT /F3 12 Tf 72 580 Td (blank layer) Tj ET\n"),
                        &lines, &graphics, &looks));
        QCOMPARE(texts(lines),
                 QStringList({QStringLiteral("Shown heading"), QStringLiteral("Invisible layer"), QStringLiteral("Covered layer"),
                              QStringLiteral("blank layer")}));
        QCOMPARE(graphics.shapes.size(), 0);
    }

    // Table finding: a ruled grid with text becomes a table whose cells hold their text, the text
    // outside stays in the lines; a grid around a drawing (a chart's) is no table.
    void ruledGridBecomesATable()
    {
        PageGraphics graphics;
        for (float y : {100.0f, 120.0f, 140.0f})
            graphics.rules << rule(72, y, 372, y);
        for (float x : {72.0f, 222.0f, 372.0f})
            graphics.rules << rule(x, 100, x, 140);
        QVector<TextLine> lines = {line(QStringLiteral("Name"), 80, 114), line(QStringLiteral("Weight"), 230, 114),
                                   line(QStringLiteral("Salt"), 80, 134), line(QStringLiteral("12.5"), 230, 134),
                                   line(QStringLiteral("Below the table"), 72, 170)};
        QVector<FoundTable> tables = findTables(graphics, lines);
        QCOMPARE(tables.size(), 1);
        QCOMPARE(tables[0].cells.size(), 4);
        QCOMPARE(paragraphText(tables[0].cells[3].paragraphs.value(0)), QStringLiteral("12.5"));
        QCOMPARE(texts(lines), QStringList({QStringLiteral("Below the table")}));

        graphics.shapes << shape(100, 105, 110, 139); // a bar
        lines = {line(QStringLiteral("Name"), 80, 114)};
        QVERIFY(findTables(graphics, lines).isEmpty());
    }

    // Figure finding: drawn shapes with their short labels are one figure, the labels inside it;
    // a paragraph beside the drawing stays text.
    void drawingWithLabelsIsOneFigure()
    {
        PageGraphics graphics;
        for (int bar = 0; bar < 4; ++bar)
            graphics.shapes << shape(100 + 24 * bar, 300 - 20 * bar, 120 + 24 * bar, 400);
        QVector<TextLine> lines = {line(QStringLiteral("Q1"), 102, 410, 8), line(QStringLiteral("Q4"), 174, 410, 8)};
        lines += column(300, 300, 8);
        const QVector<FoundFigure> figures = findFigures(graphics, {}, lines, PageModels::a4());
        QCOMPARE(figures.size(), 1);
        QVERIFY(figures[0].withText);
        QCOMPARE(figures[0].labels.size(), 2);
        QCOMPARE(figures[0].labelText, QStringLiteral("Q1 Q4"));
        QCOMPARE(lines.size(), 8);
    }

    // Page reading: fonts are named as readers know them, their style read from the name.
    void fontsGetTheNamesPeopleKnow_data()
    {
        QTest::addColumn<QString>("postScript");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::newRow("subset and style") << "ABCDEF+TimesNewRomanPS-BoldItalicMT"
                                          << ""
                                          << "Times New Roman" << true << true;
        QTest::newRow("file family") << "XYZABC+LinLibertineO"
                                     << "Linux Libertine O"
                                     << "Linux Libertine O" << false << false;
        QTest::newRow("run-on style") << "MinionPro-It"
                                      << ""
                                      << "Minion Pro" << false << true;
        QTest::newRow("maker's mark") << "ACaslon-Regular"
                                      << ""
                                      << "Adobe Caslon" << false << false;
        QTest::newRow("TeX bold") << "QWERTY+CMBX12"
                                  << "CMBX12"
                                  << "Latin Modern Roman" << true << false;
        QTest::newRow("TeX italic") << "cmti10"
                                    << ""
                                    << "Latin Modern Roman" << false << true;
        QTest::newRow("TeX typewriter") << "CMTT10"
                                        << ""
                                        << "Latin Modern Mono" << false << false;
        QTest::newRow("Latin Modern") << "LMSans10-Bold"
                                      << ""
                                      << "Latin Modern Sans" << true << false;
        QTest::newRow("semibold") << "Arial-SemiboldMT"
                                  << ""
                                  << "Arial" << true << false;
    }

    void fontsGetTheNamesPeopleKnow()
    {
        QFETCH(QString, postScript);
        QFETCH(QString, file);
        const FontName name = fontNameOf(postScript, file);
        QTEST(name.family, "family");
        QTEST(name.bold, "bold");
        QTEST(name.italic, "italic");
    }

    // Panels: a tinted box's text stays text, laid out inside it with the picture it holds; the
    // box is no figure. A heading on a dark bar is a panel of its own.
    void tintedBoxIsAPanelWithItsTextAndPicture()
    {
        PageGraphics graphics;
        Shape sidebar = shape(400, 100, 560, 500);
        sidebar.rectangle = sidebar.filled = true;
        sidebar.color = 0xDBE8F5;
        Shape bar = shape(72, 80, 380, 96);
        bar.rectangle = bar.filled = true;
        graphics.shapes << sidebar << bar << shape(410, 300, 550, 400, Shape::Picture);
        QVector<TextLine> lines = column(72, 120, 10, 60);
        lines << line(QStringLiteral("Filing status"), 76, 92, 10);
        lines << line(QStringLiteral("Key figures"), 410, 120, 14) << line(QStringLiteral("38 boats in the fleet"), 410, 150);
        const PageLayout page = layOutPage(lines, graphics, PageModels::a4());
        QVERIFY(page.figures.size() == 1 && page.figures[0].imageShape == 2);
        QCOMPARE(page.panels.size(), 2);
        const FoundPanel& side = page.panels[0].fill == 0xDBE8F5 ? page.panels[0] : page.panels[1];
        QCOMPARE(side.items.size(), 3);
        QCOMPARE(side.items[0].kind, PageItem::Paragraph);
        QCOMPARE(side.items[2].kind, PageItem::Figure);
        QCOMPARE(paragraphText(page.paragraphs[side.items[0].index]), QStringLiteral("Key figures"));
    }

    // Tables from alignment: a statement's labels and right-aligned figures over many rows are a
    // table, each figure in its label's row; two columns of running text are not.
    void alignedFiguresAreATableRunningTextIsNot()
    {
        QVector<TextLine> lines;
        const char* const rows[][3] = {{"Sales of fish", "48,213", "45,102"}, {"Harbour fees", "6,120", "5,874"}, {"Boat repairs", "3,307", "3,544"}, {"Total revenue", "57,640", "54,520"}};
        lines << line(QStringLiteral("Revenue"), 72, 100);
        for (int r = 0; r < 4; ++r) {
            const float baseline = 114 + 14 * r;
            lines << line(QLatin1String(rows[r][0]), 72, baseline);
            for (int c = 1; c < 3; ++c) {
                const QString figure = QLatin1String(rows[r][c]);
                lines << line(figure, 300 + 80 * c - 5 * figure.size(), baseline); // right-aligned
            }
        }
        QVector<FoundTable> tables = findTextTables(lines);
        QCOMPARE(tables.size(), 1);
        const FoundTable& table = tables.front();
        QCOMPARE(table.columns.size() - 1, 3);
        QVERIFY(!table.ruled);
        for (const FoundTable::Cell& cell : table.cells) {
            if (cell.row == 4 && cell.column == 1) {
                QCOMPARE(paragraphText(cell.paragraphs.value(0)), QStringLiteral("57,640"));
                QCOMPARE(cell.paragraphs.value(0).align, Align::Right);
            }
        }
        QCOMPARE(texts(lines), QStringList({QStringLiteral("Revenue")})); // the heading above it

        lines = column(72, 100, 8, 40) + column(300, 100, 8, 40);
        QVERIFY(findTextTables(lines).isEmpty());
        QCOMPARE(lines.size(), 16);
    }

    // Check boxes: an empty square and one crossed by strokes of their own become ☐ and ☒ in
    // their labels' line, which is one line again.
    void checkBoxesBecomeCharacters()
    {
        QVector<Shape> shapes;
        Shape empty = shape(100, 92, 108, 100, Shape::Path, true);
        empty.rectangle = true;
        Shape ticked = shape(146, 92, 154, 100, Shape::Path, true);
        ticked.rectangle = true;
        shapes << empty << ticked << shape(147, 93, 153, 99) << shape(147, 93, 153, 99);
        QVector<TextLine> lines = {line(QStringLiteral("Single"), 111, 99), line(QStringLiteral("Married"), 157, 99)};
        markCheckBoxes(shapes, lines);
        QVERIFY(shapes.isEmpty());
        QCOMPARE(texts(lines), QStringList({QString::fromUtf8("☐ Single ☒ Married")}));
    }

    // Reading order: a box floated beside the text, with the text running on under it, is read
    // where it starts; a picture within one of two columns is not floated.
    void floatIsReadWhereItStarts()
    {
        QVector<fz_rect> boxes;
        boxes << line(QStringLiteral("A line above the box"), 72, 90).box;
        for (const TextLine& l : column(72, 110, 4, 40))
            boxes << l.box;
        for (const TextLine& l : column(72, 170, 2, 90))
            boxes << l.box; // under both the text and the box
        const QVector<fz_rect> box = {fz_make_rect(320, 95, 500, 150)};
        QCOMPARE(readingOrder(boxes, box), QVector<int>({0, 7, 1, 2, 3, 4, 5, 6}));

        boxes = {};
        for (const TextLine& l : column(72, 100, 8, 40))
            boxes << l.box;
        for (const TextLine& l : column(300, 160, 4, 40))
            boxes << l.box;
        const QVector<fz_rect> picture = {fz_make_rect(300, 95, 440, 140)};
        const QVector<int> order = readingOrder(boxes, picture);
        QCOMPARE(order.indexOf(12), 8); // after the left column, before the text under it
    }

    // Reading order: two columns are read one after the other; a heading across both is read
    // before them and a line across both below them after them.
    void columnsAreReadTopToBottomThenLeftToRight()
    {
        QVector<fz_rect> boxes;
        boxes << line(QStringLiteral("A heading over both columns of the page"), 72, 80).box;
        for (const TextLine& l : column(72, 110, 3, 20))
            boxes << l.box;
        for (const TextLine& l : column(250, 110, 3, 20))
            boxes << l.box;
        boxes << line(QStringLiteral("A closing line under both of the columns"), 72, 160).box;
        const QVector<int> order = readingOrder(boxes, {});
        QCOMPARE(order, QVector<int>({0, 1, 2, 3, 4, 5, 6, 7}));
    }

    // Reading order in a title block: authors side by side are read one after the other, each
    // line a centred paragraph, before a centred "Abstract" between them and before the columns
    // under them; centred captions side by side in two columns leave the columns' order alone.
    void authorsSideBySideAreReadOneAfterTheOther()
    {
        auto centred = [](const QString& text, float axis, float baseline, float size) {
            return line(text, axis - text.size() * size / 4, baseline, size);
        };
        QVector<TextLine> lines;
        lines << centred(QStringLiteral("A Title Across the Page"), 297, 60, 18);
        const QList<QStringList> authors = {{QStringLiteral("Jane Mirren"), QStringLiteral("Department of Physics"),
                                             QStringLiteral("University of Eastford")},
                                            {QStringLiteral("Tomas Okafor"), QStringLiteral("Harbour Studies"),
                                             QStringLiteral("Northgate Polytechnic"), QStringLiteral("Northgate, Canada"),
                                             QStringLiteral("t.okafor@northgate.ca")}};
        QStringList expected = {lines.front().text()};
        for (int a = 0; a < authors.size(); ++a) {
            for (int l = 0; l < authors[a].size(); ++l)
                lines << centred(authors[a][l], a == 0 ? 170 : 425, 100 + 11 * l, l == 0 ? 11 : 9);
            expected += authors[a];
        }
        const int authorLines = lines.size();
        lines << centred(QStringLiteral("Abstract"), 297, 150, 10) << line(QStringLiteral("An abstract across the page, ").repeated(3).trimmed(), 72, 170);
        for (const TextLine& l : column(72, 195, 6, 40) + column(320, 195, 6, 40))
            lines << l;
        QStringList items = itemsOf(layOutPage(lines, PageGraphics(), PageModels::a4()));
        QCOMPARE(items.mid(0, expected.size() + 2), expected + QStringList({QStringLiteral("Abstract"), lines[authorLines + 1].text()}));
        QCOMPARE(items.size(), expected.size() + 4); // and a paragraph per column

        // Two authors right over the columns, the left column starting under the first author.
        lines.remove(authorLines, 2);
        items = itemsOf(layOutPage(lines, PageGraphics(), PageModels::a4()));
        QCOMPARE(items.mid(0, expected.size()), expected);

        // Captions side by side under the columns' text are not authors.
        lines = column(72, 100, 4, 40) + column(320, 100, 4, 40);
        for (const float axis : {172.0f, 420.0f}) {
            lines << centred(QStringLiteral("Figure: the overhead"), axis, 160, 9);
            lines << centred(QStringLiteral("of the first method"), axis, 170, 9);
        }
        for (const TextLine& l : column(72, 195, 6, 40) + column(320, 195, 6, 40))
            lines << l;
        const QVector<fz_rect> boxes = [&] {
            QVector<fz_rect> result;
            for (const TextLine& l : lines)
                result << l.box;
            return result;
        }();
        QVector<TextLine> kept = lines;
        QVERIFY(findBlockRows(kept, {}).isEmpty());
        const QVector<int> order = readingOrder(boxes, {});
        QCOMPARE(order.mid(0, 9), QVector<int>({0, 1, 2, 3, 8, 9, 12, 13, 14}));
    }

    // Paragraphs: short lines in one size, evenly spaced, none ending a sentence, where a word of
    // the next would have fitted, are items of a list; wrapped lines of one sentence are not.
    void shortLinesWithoutSentencesAreItems()
    {
        const QStringList items = {QStringLiteral("57.6 million crowns of revenue"), QStringLiteral("4.9 million crowns of profit"),
                                   QStringLiteral("38 boats in the fleet"), QStringLiteral("212 people employed")};
        QVector<TextLine> lines;
        for (int i = 0; i < items.size(); ++i)
            lines << line(items[i], 560, 100 + 23 * i, 14);
        fz_rect box = fz_empty_rect;
        for (const TextLine& l : lines)
            box = fz_union_rect(box, l.box);
        const QVector<LaidParagraph> paragraphs = splitParagraphs(lines, box, box);
        QCOMPARE(paragraphs.size(), items.size());
        for (int i = 0; i < items.size(); ++i)
            QCOMPARE(paragraphText(paragraphs[i]), items[i]);

        lines = {line(QStringLiteral("when the railway reached the town the money"), 72, 100),
                 line(QStringLiteral("could be found for a tower on the pier and"), 72, 112),
                 line(QStringLiteral("for the keepers who would live beside it"), 72, 124)};
        box = fz_union_rect(fz_union_rect(lines[0].box, lines[1].box), lines[2].box);
        QCOMPARE(splitParagraphs(lines, box, box).size(), 1);
    }

    // Page layout: blocks split into paragraphs at first-line indents; a short line in the
    // middle is centred, a block of full lines justified; a figure is read in its place.
    void pageLayoutMakesParagraphsWithTheirAlignment()
    {
        QVector<TextLine> lines;
        lines << line(QStringLiteral("Centred title"), 226, 80, 14);
        QVector<TextLine> body = column(72, 120, 6, 80);
        for (int i : {0, 3})
            body[i] = line(body[i].text().mid(3), 90, body[i].baseline);
        lines += body;
        PageGraphics graphics;
        graphics.shapes << shape(72, 220, 300, 400, Shape::Picture);
        lines << line(QStringLiteral("After the picture"), 72, 420);
        const PageLayout page = layOutPage(lines, graphics, PageModels::a4());
        QCOMPARE(page.paragraphs.size(), 4);
        QCOMPARE(page.paragraphs[0].align, Align::Center);
        QCOMPARE(page.paragraphs[1].lines.size(), 3);
        QCOMPARE(page.paragraphs[1].align, Align::Justify);
        const QStringList items = itemsOf(page);
        QCOMPARE(items.size(), 5);
        QCOMPARE(items[3], QStringLiteral("[figure]"));
    }

    // Document building: a line repeated in the top margin of every page goes to the header, a
    // page number to a footer field; a word split at a line end is joined; a paragraph cut by the
    // page break is one again.
    void documentMovesRunningHeadsAndJoinsBrokenWords()
    {
        Looks looks(m_context.get());
        DocumentBuilder builder(looks);
        for (int pageNumber = 1; pageNumber <= 2; ++pageNumber) {
            QVector<TextLine> lines;
            lines << line(QStringLiteral("The Running Head"), 250, 40, 9);
            QVector<TextLine> body = column(72, 120, 40, 80);
            if (pageNumber == 1) {
                body[38] = line(QStringLiteral("text text text text text text text text text text text text "
                                               "conver-"),
                                72, body[38].baseline);
                body[39] = line(QStringLiteral("sion text text text text text text text text text text text text text"), 72,
                                body[39].baseline);
            } else {
                body[0] = line(QStringLiteral("continued text text text text text text text text text text text text"),
                               72, body[0].baseline);
            }
            lines += body;
            lines << line(QString::number(pageNumber), 295, 800);
            builder.addPage(layOutPage(lines, PageGraphics(), PageModels::a4()), {});
        }
        const FlowDocument document = builder.finish();
        QCOMPARE(document.header.text, QStringLiteral("The Running Head"));
        QVERIFY(document.footer.pageNumber);
        QCOMPARE(document.blocks.size(), 1);
        const QString text = document.blocks.front().text();
        QVERIFY(text.contains(QLatin1String(" conversion text")));
        QVERIFY(text.contains(QLatin1String("text continued text")));
        QVERIFY(!text.contains(QLatin1String("Running")));
    }

    // The script of a run of unmapped glyphs: what its font maps over the pages (few or mixed
    // letters say nothing), else the letters beside it in its line when both sides agree; the
    // languages that read a script are those given for it, none for a script without a model.
    void unmappedRunsKnowTheirScript()
    {
        fz_context* ctx = m_context.get();
        fz_font* times = nullptr;
        fz_font* helvetica = nullptr;
        QVERIFY(qpmupdf::fzRun(ctx, [&] {
            times = fz_new_base14_font(ctx, "Times-Roman");
            helvetica = fz_new_base14_font(ctx, "Helvetica");
        }));
        PageGraphics graphics;
        graphics.unmapped = {{times, 1, fz_identity, fz_empty_rect}, {helvetica, 1, fz_identity, fz_empty_rect}};
        graphics.mappedLetters[times] = {{QChar::Script_Arabic, 40}, {QChar::Script_Latin, 2}};
        graphics.mappedLetters[helvetica] = {{QChar::Script_Arabic, 5}, {QChar::Script_Latin, 5}};
        FontScripts fonts;
        fonts.addLetters(ctx, graphics);
        QCOMPARE(fonts.scriptOf(QStringLiteral("Times-Roman")), QChar::Script_Arabic);
        QCOMPARE(fonts.scriptOf(QStringLiteral("Helvetica")), QChar::Script_Unknown);
        QCOMPARE(pageScript(graphics), QChar::Script_Unknown);

        const QVector<TextLine> lines = {unmappedLine(QStringLiteral("seen # here"), 72, 100),
                                         unmappedLine(QStringLiteral("seen x#"), 72, 120, 0, 1),
                                         unmappedLine(QString::fromUtf8("seen xx# هنا"), 72, 140)};
        const QVector<UnmappedRun> runs = findUnmappedRuns(ctx, lines, graphics.unmapped);
        QCOMPARE(runs.size(), 3);
        QCOMPARE(runs[0].font, QStringLiteral("Times-Roman"));
        QCOMPARE(runs[1].font, QStringLiteral("Helvetica"));
        QCOMPARE(neighbourScript(lines[0], runs[0], false), QChar::Script_Latin);
        QCOMPARE(neighbourScript(lines[1], runs[1], false), QChar::Script_Latin);
        QCOMPARE(neighbourScript(lines[2], runs[2], false), QChar::Script_Unknown);
        // Of another look, the neighbours do not count for the run's own.
        QCOMPARE(neighbourScript(unmappedLine(QStringLiteral("seen x#"), 72, 160, 1), runs[1], true), QChar::Script_Unknown);

        const QStringList given = {QStringLiteral("eng"), QStringLiteral("ara"), QStringLiteral("deu")};
        QCOMPARE(languagesForScript(QChar::Script_Latin, given), QStringLiteral("eng+deu"));
        QCOMPARE(languagesForScript(QChar::Script_Arabic, given), QStringLiteral("ara"));
        QCOMPARE(languagesForScript(QChar::Script_Cyrillic, given), QString());
        QCOMPARE(scriptOfDetectedName(QStringLiteral("Japanese")), QChar::Script_Han);
        QCOMPARE(scriptOf(U'\u30AB'), QChar::Script_Han);
        QCOMPARE(scriptOf(U'7'), QChar::Script_Unknown);
        fz_drop_font(ctx, times);
        fz_drop_font(ctx, helvetica);
    }

    // Words read from a line's picture go where the glyphs under them stand, whatever order OCR
    // gives them in; letters of another script than the run's are left out; glyphs no word covers
    // are counted by the reason, a picture's own when it was not read.
    void recognisedWordsGoWhereTheirGlyphsStand()
    {
        QVector<TextLine> lines = {unmappedLine(QStringLiteral("Total ### ### # end"), 72, 100),
                                   unmappedLine(QStringLiteral("x ## more"), 72, 120, 0, 7)};
        QVector<UnmappedRun> runs = findUnmappedRuns(m_context.get(), lines, {});
        QCOMPARE(runs.size(), 2);
        runs[0].script = QChar::Script_Latin;
        GlyphPicture read;
        read.line = 0;
        read.glyphs = {0, 1, 2, 3, 4, 5, 6};
        read.toPixels = fz_identity; // the picture in page points
        read.picture.read = true;
        // The glyphs are 5 points wide from x = 102; OCR reads the second word first, and the
        // seventh glyph not at all.
        read.picture.words = {{QStringLiteral("def"), QRect(122, 92, 15, 10)},
                              {QString::fromUtf8("abcب"), QRect(102, 92, 15, 10)}};
        GlyphPicture late;
        late.line = 1;
        late.glyphs = {7, 8};
        late.picture.error = QStringLiteral("the time for OCR ran out");
        QMap<QString, int> leftOut;
        placeRecognisedWords({read, late}, runs, &lines, &leftOut);
        QCOMPARE(lines[0].text(), QStringLiteral("Total abc def end"));
        QCOMPARE(lines[1].text(), QStringLiteral("x more"));
        QCOMPARE(leftOut, (QMap<QString, int>{{QStringLiteral("OCR read no words in them"), 1},
                                              {QStringLiteral("the time for OCR ran out"), 2}}));
    }

    // Unmapped glyphs of a script that has a model are read within their time; when the time has
    // run out, or no model reads their script, they are left out with the reason and the rest of
    // the line stays.
    void unmappedGlyphsAreReadWithinTheirTime()
    {
        fz_context* ctx = m_context.get();
        fz_font* font = nullptr;
        QVERIFY(qpmupdf::fzRun(ctx, [&] { font = fz_new_base14_font(ctx, "Helvetica"); }));
        const QString word = QStringLiteral("Invoice");
        PageGraphics graphics;
        TextLine shown = unmappedLine(QStringLiteral("Total ") + QString(word.size(), QLatin1Char('#')), 72, 100);
        float x = 102;
        for (int i = 0; i < word.size(); ++i) {
            const int gid = fz_encode_character(ctx, font, word[i].unicode());
            const fz_matrix trm = fz_make_matrix(10, 0, 0, -10, x, 100);
            graphics.unmapped.append({font, gid, trm, fz_bound_glyph(ctx, font, gid, trm)});
            const float advance = fz_advance_glyph(ctx, font, gid, 0) * 10;
            shown.glyphs[6 + i].box = fz_make_rect(x, 92, x + advance, 102);
            x += advance;
        }
        TextRecognizer recognizer(QCoreApplication::applicationDirPath() + QStringLiteral("/tessdata"), QStringLiteral("eng"));
        QCOMPARE(recognizer.languages(), QStringList{QStringLiteral("eng")});
        auto readWith = [&](const QHash<int, int>& letters, TextRecognizer::Clock::duration time, QStringList* notes) {
            UnmappedText unmapped(ctx, &recognizer);
            graphics.mappedLetters[font] = letters;
            QVector<TextLine> lines = {shown};
            TextRecognizer::Limits limits;
            limits.deadline = TextRecognizer::Clock::now() + time;
            const bool read = unmapped.read(graphics, PageModels::a4(), limits, &lines, notes);
            return read ? texts(lines).join(QLatin1Char('|')) : QString();
        };
        QStringList notes;
        QCOMPARE(readWith({{QChar::Script_Latin, 30}}, std::chrono::seconds(60), &notes), QStringLiteral("Total Invoice"));
        QCOMPARE(notes, QStringList());
        QCOMPARE(readWith({{QChar::Script_Latin, 30}}, std::chrono::seconds(0), &notes), QStringLiteral("Total"));
        QCOMPARE(notes, QStringList{QStringLiteral("7 glyphs in a font without a Unicode map left out: the time for OCR ran out")});
        notes.clear();
        QCOMPARE(readWith({{QChar::Script_Arabic, 300}}, std::chrono::seconds(60), &notes), QStringLiteral("Total"));
        QCOMPARE(notes, QStringList{QStringLiteral("7 glyphs in a font without a Unicode map left out: no OCR model for the Arabic "
                                                   "script is installed")});
        fz_drop_font(ctx, font);
    }
};

QTEST_GUILESS_MAIN(Pdf2WordStagesTest)
#include "test_pdf2wordstages.moc"
