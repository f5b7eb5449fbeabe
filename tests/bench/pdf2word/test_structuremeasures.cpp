#include "bench/pdf2word/StructureMeasures.h"

#include <QtTest>

namespace {

// Word documents as converters write them, built piece by piece.
QString paragraph(const QString& text)
{
    return QStringLiteral("<w:p><w:r><w:t xml:space=\"preserve\">%1</w:t></w:r></w:p>").arg(text.toHtmlEscaped());
}

QString table(const QList<QStringList>& rows)
{
    QString xml = QStringLiteral("<w:tbl>");
    for (const QStringList& row : rows) {
        xml += QStringLiteral("<w:tr>");
        for (const QString& cell : row)
            xml += QStringLiteral("<w:tc>%1</w:tc>").arg(paragraph(cell));
        xml += QStringLiteral("</w:tr>");
    }
    return xml + QStringLiteral("</w:tbl>");
}

QString picture(double width, double height, const QString& description)
{
    return QStringLiteral("<w:p><w:r><w:drawing><wp:inline><wp:extent cx=\"%1\" cy=\"%2\"/><wp:docPr id=\"1\" name=\"P\" descr=\"%3\"/>"
                          "<a:graphic><a:graphicData><pic:pic/></a:graphicData></a:graphic></wp:inline></w:drawing></w:r></w:p>")
        .arg(qRound64(width * 12700))
        .arg(qRound64(height * 12700))
        .arg(description.toHtmlEscaped());
}

DocxStructure docx(const QString& body)
{
    return DocxStructure::parse(QStringLiteral("<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
                                               "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
                                               "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
                                               "xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\" "
                                               "xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\" "
                                               "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\" "
                                               "xmlns:v=\"urn:schemas-microsoft-com:vml\"><w:body>%1"
                                               "<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/><w:pgMar w:left=\"1134\" w:right=\"1134\" "
                                               "w:top=\"1134\" w:bottom=\"1134\"/></w:sectPr></w:body></w:document>")
                                    .arg(body)
                                    .toUtf8());
}

const QStringList kProse = {
    QStringLiteral("The harbour board agreed the cost of the new breakwater after a long discussion in the town hall."),
    QStringLiteral("Several smaller farms repaired the drainage of the lower fields before the end of March."),
    QStringLiteral("The lifeboat crew welcomed a grant for the harbour school at the request of the harbour master."),
    QStringLiteral("Most of the winter visitors counted the boats in the fleet during the autumn gales."),
};

const QList<QStringList> kRates = {{QStringLiteral("Account"), QStringLiteral("Term"), QStringLiteral("Rate")},
                                   {QStringLiteral("Harbour Saver"), QStringLiteral("1 year"), QStringLiteral("2.10%")},
                                   {QStringLiteral("Fixed Bond"), QStringLiteral("3 years"), QStringLiteral("3.45%")}};

// A source of running text and, when given, one table.
StructureTruth source(const QStringList& paragraphs, const QList<QStringList>& rows = {})
{
    StructureTruth truth;
    truth.name = QStringLiteral("test");
    for (const QString& text : paragraphs)
        truth.texts.append({QStringLiteral("body"), text});
    if (!rows.isEmpty()) {
        QList<StructureTruth::Cell> cells;
        for (int r = 0; r < rows.size(); ++r) {
            for (int c = 0; c < rows[r].size(); ++c)
                cells.append({r, c, rows[r][c]});
        }
        truth.tables.append(cells);
    }
    return truth;
}

} // namespace

class TestStructureMeasures : public QObject
{
    Q_OBJECT

private slots:
    void tableCells();
    void runningTextInTables();
    void wordsOnlyInPictures();
    void paragraphOrder();
    void pictures();
    void readsWhatWritersWrite();
};

void TestStructureMeasures::tableCells()
{
    const StructureTruth truth = source({kProse[0]}, kRates);
    // The table as it is, and mirrored as a right-to-left table may be written: every cell.
    for (const bool mirrored : {false, true}) {
        QList<QStringList> rows = kRates;
        if (mirrored) {
            for (QStringList& row : rows)
                std::reverse(row.begin(), row.end());
        }
        const StructureScores scores = StructureMeasures::measure(truth, docx(paragraph(kProse[0]) + table(rows)));
        QCOMPARE(scores.truthCells, 9);
        QCOMPARE(scores.matchedOutputCells, 9);
        QCOMPARE(scores.matchedTruthCells, 9);
    }
    // A tinted column detached and stacked above its rows: its cells are not in their rows.
    StructureScores scores = StructureMeasures::measure(
        truth, docx(table({{QStringLiteral("Rate"), QStringLiteral("2.10%"), QStringLiteral("3.45%")},
                           {QStringLiteral("Account"), QStringLiteral("Term")},
                           {QStringLiteral("Harbour Saver"), QStringLiteral("1 year")},
                           {QStringLiteral("Fixed Bond"), QStringLiteral("3 years")}})));
    QCOMPARE(scores.outputCells, 9);
    QCOMPARE(scores.matchedOutputCells, 6);
    QCOMPARE(scores.matchedTruthCells, 6);
    // Two cells of a row joined into one match neither; rows out of order match once.
    scores = StructureMeasures::measure(truth, docx(table({{QStringLiteral("Account Term"), QStringLiteral("Rate")},
                                                           {QStringLiteral("Fixed Bond"), QStringLiteral("3 years"), QStringLiteral("3.45%")},
                                                           {QStringLiteral("Harbour Saver"), QStringLiteral("1 year"), QStringLiteral("2.10%")}})));
    QCOMPARE(scores.matchedOutputCells, 4);
    QCOMPARE(scores.matchedTruthCells, 4);
    // Each row a table of its own (shaded cells drawn one by one): rows of one cell are frames,
    // not tables, and count nowhere.
    scores = StructureMeasures::measure(truth, docx(table({{QStringLiteral("Account")}}) + table({{QStringLiteral("Term")}})));
    QCOMPARE(scores.outputCells, 0);
    QCOMPARE(scores.matchedTruthCells, 0);
    // Two source tables written as one table still match cell by cell.
    StructureTruth two = truth;
    two.tables.append({{0, 0, QStringLiteral("Boats")}, {0, 1, QStringLiteral("38")}, {1, 0, QStringLiteral("Staff")}, {1, 1, QStringLiteral("212")}});
    scores = StructureMeasures::measure(two, docx(table(kRates + QList<QStringList>{{QStringLiteral("Boats"), QStringLiteral("38")}, {QStringLiteral("Staff"), QStringLiteral("212")}})));
    QCOMPARE(scores.truthCells, 13);
    QCOMPARE(scores.matchedTruthCells, 13);
}

void TestStructureMeasures::runningTextInTables()
{
    const StructureTruth truth = source(kProse, kRates);
    // Two columns of running text paired line by line into a table: their words are in a table,
    // the real table's are not counted against it.
    QList<QStringList> lines;
    const QStringList left = kProse[0].split(QLatin1Char(' ')) + kProse[1].split(QLatin1Char(' '));
    for (int i = 0; i + 4 <= left.size(); i += 4)
        lines.append({left.mid(i, 4).join(QLatin1Char(' ')), QStringLiteral("x")});
    const StructureScores scores = StructureMeasures::measure(
        truth, docx(table(lines) + table(kRates) + paragraph(kProse[2]) + paragraph(kProse[3])));
    QCOMPARE(scores.matchedTruthCells, 9);
    QCOMPARE(scores.runningWords, StructureMeasures::words(kProse.join(QLatin1Char(' '))).size());
    QCOMPARE(scores.runningWordsInTables, (left.size() / 4) * 4);
    // A box around running text (a one-cell table) is no table.
    const StructureScores framed = StructureMeasures::measure(truth, docx(table({{kProse[0]}}) + table(kRates)));
    QCOMPARE(framed.runningWordsInTables, 0);
}

void TestStructureMeasures::wordsOnlyInPictures()
{
    StructureTruth truth = source({kProse[0]}, kRates);
    truth.texts.append({QStringLiteral("label"), QStringLiteral("Landings by port")});
    // The table drawn into a picture, its words in the description: they are no kept words.
    const QString described = QStringLiteral("Account Term Rate Harbour Saver 1 year 2.10% Fixed Bond 3 years 3.45% Landings by port");
    StructureScores scores = StructureMeasures::measure(truth, docx(paragraph(kProse[0]) + picture(300, 100, described)));
    QCOMPARE(scores.words, StructureMeasures::words(kProse[0]).size() + 15);
    QCOMPARE(scores.wordsOnlyInPictures, 15); // the chart's labels do not count
    QCOMPARE(scores.wordsKept, scores.words - 15);
    // The same words kept as text as well: none only in the picture.
    scores = StructureMeasures::measure(truth, docx(paragraph(kProse[0]) + table(kRates) + picture(300, 100, described)));
    QCOMPARE(scores.wordsOnlyInPictures, 0);
    QCOMPARE(scores.wordsKept, scores.words);
}

void TestStructureMeasures::paragraphOrder()
{
    StructureTruth truth = source(kProse);
    QCOMPARE(StructureMeasures::measure(truth, docx(paragraph(kProse.join(QLatin1Char(' '))))).pairsInOrder, 3);
    // The last two swapped: their pair breaks.
    StructureScores scores = StructureMeasures::measure(truth, docx(paragraph(kProse[0]) + paragraph(kProse[1]) + paragraph(kProse[3]) + paragraph(kProse[2])));
    QCOMPARE(scores.pairs, 3);
    QCOMPARE(scores.pairsInOrder, 2);
    // Two columns read across, line by line: the paragraphs are spread among each other's lines.
    const QStringList a = (kProse[0] + QLatin1Char(' ') + kProse[1]).split(QLatin1Char(' '));
    const QStringList b = (kProse[2] + QLatin1Char(' ') + kProse[3]).split(QLatin1Char(' '));
    QString across;
    for (int i = 0; i < qMax(a.size(), b.size()); i += 4)
        across += paragraph(a.mid(i, 4).join(QLatin1Char(' ')) + QLatin1Char(' ') + b.mid(i, 4).join(QLatin1Char(' ')));
    truth = source({kProse[0] + QLatin1Char(' ') + kProse[1], kProse[2] + QLatin1Char(' ') + kProse[3]});
    QCOMPARE(StructureMeasures::measure(truth, docx(across)).pairsInOrder, 0);
    // Three columns made into a table, a row per printed line: the first column's paragraphs
    // still start one after the other, but the long one is spread over the table's rows.
    truth = source({kProse[0] + QLatin1Char(' ') + kProse[1], kProse[2], kProse[3]});
    const QStringList column = (kProse[0] + QLatin1Char(' ') + kProse[1] + QLatin1Char(' ') + kProse[2] + QLatin1Char(' ') + kProse[3]).split(QLatin1Char(' '));
    QList<QStringList> rows;
    for (int i = 0; i < column.size(); i += 6)
        rows.append({column.mid(i, 6).join(QLatin1Char(' ')), QStringLiteral("gulls and terns nest on the cliffs"),
                     QStringLiteral("puffins come back in early spring")});
    scores = StructureMeasures::measure(truth, docx(table(rows)));
    QCOMPARE(scores.pairs, 2);
    QCOMPARE(scores.pairsInOrder, 1);
    // A heading also listed in the contents is found at its place; a misspelled last word (a
    // ligature read backwards) does not lose the paragraph.
    truth = source({QStringLiteral("1 Introduction 2"), QStringLiteral("1 Introduction"), kProse[0], kProse[1]});
    truth.texts[0].kind = QStringLiteral("toc");
    truth.texts[1].kind = QStringLiteral("heading");
    QString misspelled = kProse[0];
    misspelled.replace(QStringLiteral("hall"), QStringLiteral("hlal"));
    scores = StructureMeasures::measure(truth, docx(paragraph(QStringLiteral("1 Introduction 2")) + paragraph(QStringLiteral("1 Introduction"))
                                                    + paragraph(misspelled) + paragraph(kProse[1])));
    QCOMPARE(scores.pairsInOrder, 3);
}

void TestStructureMeasures::pictures()
{
    StructureTruth truth = source({kProse[0]});
    truth.pictures = {{300, 200, QStringLiteral("photo")}, {900, 600, QStringLiteral("chart")}, {100, 100, QStringLiteral("photo")}};
    // At its size, fitted to the page's text area (481.9 points wide), and the third missing.
    StructureScores scores = StructureMeasures::measure(truth, docx(picture(300, 200, {}) + picture(481.9, 321.3, {})));
    QCOMPARE(scores.pictures, 3);
    QCOMPARE(scores.picturesLost, 1);
    QCOMPARE(scores.picturesShrunk, 0);
    // A page-sized picture written at one point square is shrunk, not kept.
    truth.pictures = {{300, 200, QStringLiteral("photo")}};
    scores = StructureMeasures::measure(truth, docx(picture(1.5, 1, {})));
    QCOMPARE(scores.picturesShrunk, 1);
    // A strip of a different shape is another picture.
    scores = StructureMeasures::measure(truth, docx(picture(300, 20, {})));
    QCOMPARE(scores.picturesLost, 1);
}

void TestStructureMeasures::readsWhatWritersWrite()
{
    // A text box written twice (the shape and its older fallback), a line break inside a text
    // run, and a merged cell spanning columns and rows.
    const DocxStructure read = docx(
        QStringLiteral("<w:p><w:r><mc:AlternateContent><mc:Choice Requires=\"wps\"><w:drawing><wp:anchor><wp:extent cx=\"100\" cy=\"100\"/>"
                       "<wps:txbx><w:txbxContent>%1</w:txbxContent></wps:txbx></wp:anchor></w:drawing></mc:Choice><mc:Fallback><w:pict>"
                       "<v:shape><v:textbox><w:txbxContent>%1</w:txbxContent></v:textbox></v:shape></w:pict></mc:Fallback>"
                       "</mc:AlternateContent></w:r></w:p>")
            .arg(paragraph(QStringLiteral("Boxed words")))
        + QStringLiteral("<w:p><w:r><w:t>first line<w:br/>second line</w:t></w:r></w:p>")
        + QStringLiteral("<w:tbl><w:tr><w:tc><w:tcPr><w:gridSpan w:val=\"2\"/><w:vMerge w:val=\"restart\"/></w:tcPr>%1</w:tc><w:tc>%2</w:tc></w:tr>"
                         "<w:tr><w:tc><w:tcPr><w:gridSpan w:val=\"2\"/><w:vMerge/></w:tcPr><w:p/></w:tc><w:tc>%3</w:tc></w:tr></w:tbl>")
              .arg(paragraph(QStringLiteral("Wide")), paragraph(QStringLiteral("Right")), paragraph(QStringLiteral("Below"))));
    QVERIFY(read.complete);
    QCOMPARE(read.paragraphs.count(QStringLiteral("Boxed words")), 1);
    QVERIFY(read.pictures.isEmpty()); // a text box is no picture
    QVERIFY(read.paragraphs.contains(QStringLiteral("first line second line")));
    QCOMPARE(read.tables.size(), 1);
    QCOMPARE(read.tables[0].size(), 3);
    QCOMPARE(read.tables[0][1].column, 2);
    QCOMPARE(read.tables[0][2].row, 1);
    QCOMPARE(read.tables[0][2].column, 2);
    QCOMPARE(read.textArea, QSizeF(481.9, 728.5));
    // A picture in the older markup, sized by its style.
    const DocxStructure older = docx(QStringLiteral("<w:p><w:r><w:pict><v:shape style=\"width:3in;height:144pt\" alt=\"Gulls\">"
                                                    "<v:imagedata/></v:shape></w:pict></w:r></w:p>"));
    QCOMPARE(older.pictures.size(), 1);
    QCOMPARE(older.pictures[0].width, 216.0);
    QCOMPARE(older.pictures[0].height, 144.0);
    QCOMPARE(older.pictures[0].description, QStringLiteral("Gulls"));
}

QTEST_GUILESS_MAIN(TestStructureMeasures)
#include "test_structuremeasures.moc"
