// The write stage alone, on a flowing document built by hand: the DOCX and ODT packages it writes
// are read back with unzip, as a reader opens them. Every XML part is well-formed (text with
// markup characters and a control character in it), every part has its content type or manifest
// entry, every relationship and picture reference names a part that is there, the text comes in
// reading order, and a table keeps its grid with the cells its spans cover.

#include "platform/mupdf/FitzContext.h"
#include "platform/pdf2word/engine/write/Outputs.h"

#include <QBuffer>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtEndian>
#include <QtTest>

using namespace p2w;

namespace {

QByteArray unzip(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("unzip"), arguments);
    process.waitForFinished();
    return process.exitCode() == 0 ? process.readAllStandardOutput() : QByteArray();
}

QStringList entries(const QString& package)
{
    return QString::fromUtf8(unzip({QStringLiteral("-Z1"), package})).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// unzip takes the name as a pattern: a bracket ("[Content_Types].xml") stands for itself in brackets.
QByteArray entry(const QString& package, QString name)
{
    return unzip({QStringLiteral("-p"), package, name.replace(QLatin1Char('['), QStringLiteral("[[]"))});
}

FlowRun run(const QString& text, bool bold = false)
{
    FlowRun result;
    result.text = text;
    result.font = QStringLiteral("Liberation Serif");
    result.size = 11;
    result.bold = bold;
    return result;
}

FlowBlock paragraph(const QList<FlowRun>& runs, Align align = Align::Left)
{
    FlowBlock block;
    block.runs = runs;
    block.align = align;
    return block;
}

FlowCell cell(int row, int column, const QString& text, int rowSpan = 1, int columnSpan = 1)
{
    FlowCell result;
    result.row = row;
    result.column = column;
    result.rowSpan = rowSpan;
    result.columnSpan = columnSpan;
    result.paragraphs << paragraph({run(text)});
    return result;
}

// A running head with markup characters and the page number; a heading, a paragraph of several runs with markup characters, a control character, doubled
// spaces and a tab; a table whose header spans two columns and whose first column spans two rows;
// a picture; and a last paragraph.
FlowDocument harbourReport()
{
    FlowDocument document;
    document.pageSize = QSizeF(595, 842);
    document.title = QStringLiteral("Harbour & report");
    FlowFont font;
    font.name = QStringLiteral("Liberation Serif");
    font.family = FlowFont::Roman;
    document.fonts << font;
    document.header.text = QStringLiteral("Harbour & <Co> \x01Ltd");
    document.header.pageNumber = true;
    document.blocks << paragraph({run(QStringLiteral("Harbour report"), true)}, Align::Center);
    document.blocks << paragraph({run(QStringLiteral("Ships & boats <in> \"port\"")), run(QStringLiteral(" two  spaces\ttab")),
                                  run(QStringLiteral(" end\x01."), true)},
                                 Align::Justify);

    FlowTable table;
    table.columnWidths = {150, 100, 100};
    table.rows = 3;
    table.cells << cell(0, 0, QStringLiteral("Vessel")) << cell(0, 1, QStringLiteral("Berth"), 1, 2)
                << cell(1, 0, QStringLiteral("Aurora"), 2) << cell(1, 1, QStringLiteral("North")) << cell(1, 2, QStringLiteral("4"))
                << cell(2, 1, QStringLiteral("South")) << cell(2, 2, QStringLiteral("9"));
    document.tables << table;
    FlowBlock tableBlock;
    tableBlock.kind = FlowBlock::Table;
    tableBlock.table = 0;
    document.blocks << tableBlock;

    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    FlowImage image;
    QBuffer buffer(&image.data);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    image.type = QStringLiteral("png");
    image.width = 80;
    image.height = 60;
    document.images << image;
    FlowBlock imageBlock;
    imageBlock.kind = FlowBlock::Image;
    imageBlock.image = 0;
    document.blocks << imageBlock;
    document.blocks << paragraph({run(QStringLiteral("Last line."))});
    return document;
}

const QStringList kReadingOrder = {QStringLiteral("Harbour report"),
                                   QStringLiteral("Ships & boats <in> \"port\" two  spaces\ttab end."),
                                   QStringLiteral("Vessel"),
                                   QStringLiteral("Berth"),
                                   QStringLiteral("Aurora"),
                                   QStringLiteral("North"),
                                   QStringLiteral("4"),
                                   QStringLiteral("South"),
                                   QStringLiteral("9"),
                                   QStringLiteral("Last line.")};

const QString kHeader = QStringLiteral("Harbour & <Co> Ltd\t");

// Reads the whole part; empty when it is no well-formed XML.
QString xmlError(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    while (!reader.atEnd())
        reader.readNext();
    return reader.hasError() ? reader.errorString() : QString();
}

// The paragraphs' texts in document order, empty ones left out. paragraph names the paragraph
// elements, text the elements whose characters are the text; tab, space and count the elements
// standing for a tab and for spaces (and the attribute counting them).
QStringList paragraphTexts(const QByteArray& xml, const QStringList& paragraphs, const QString& text, const QString& tab,
                           const QString& space = QString())
{
    QStringList result;
    QStringList open; // the text of each paragraph open around the reader, innermost last
    int inText = 0;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        const QString name = reader.qualifiedName().toString();
        if (reader.isStartElement()) {
            if (paragraphs.contains(name))
                open << QString();
            else if (name == text)
                ++inText;
            else if (!open.isEmpty() && name == tab)
                open.last() += QLatin1Char('\t');
            else if (!open.isEmpty() && name == space)
                open.last() += QString(qMax(1, reader.attributes().value(QStringLiteral("text:c")).toInt()), QLatin1Char(' '));
        } else if (reader.isEndElement()) {
            if (paragraphs.contains(name) && !open.isEmpty()) {
                const QString done = open.takeLast();
                if (!done.isEmpty())
                    result << done;
            } else if (name == text) {
                --inText;
            }
        } else if (reader.isCharacters() && !open.isEmpty() && (inText > 0 || text.isEmpty())) {
            open.last() += reader.text().toString();
        }
    }
    return result;
}

// The number of cells (elements named cell) in each row (elements named row).
QList<int> cellsPerRow(const QByteArray& xml, const QString& row, const QString& cell)
{
    QList<int> result;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        if (reader.qualifiedName() == row)
            result << 0;
        else if (reader.qualifiedName() == cell && !result.isEmpty())
            ++result.last();
    }
    return result;
}

// The values of an attribute on every element of that name.
QStringList attributeValues(const QByteArray& xml, const QString& element, const QString& attribute)
{
    QStringList result;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && (element.isEmpty() || reader.qualifiedName() == element)
            && reader.attributes().hasAttribute(attribute))
            result << reader.attributes().value(attribute).toString();
    }
    return result;
}

} // namespace

class Pdf2WordWriteStageTest : public QObject
{
    Q_OBJECT

    qpmupdf::ContextPtr m_context = qpmupdf::newContext();
    QTemporaryDir m_folder;

    // Checks the package's ZIP and that each of its XML parts is well-formed.
    void checkPackage(const QString& path)
    {
        QVERIFY2(!unzip({QStringLiteral("-tq"), path}).isEmpty(), "the package passes unzip's test");
        for (const QString& name : entries(path)) {
            if (name.endsWith(QLatin1String(".xml")) || name.endsWith(QLatin1String(".rels")))
                QVERIFY2(xmlError(entry(path, name)).isEmpty(), qPrintable(name + QLatin1String(": ") + xmlError(entry(path, name))));
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_context);
        QVERIFY(m_folder.isValid());
    }

    void docxReadsBack()
    {
        const QString path = m_folder.filePath(QStringLiteral("report.docx"));
        QString error;
        QVERIFY2(writeDocx(m_context.get(), harbourReport(), path, &error), qPrintable(error));
        checkPackage(path);
        if (QTest::currentTestFailed())
            return;
        const QStringList names = entries(path);

        // Every part has a content type: by its name, or by its suffix.
        const QByteArray types = entry(path, QStringLiteral("[Content_Types].xml"));
        const QStringList overrides = attributeValues(types, QStringLiteral("Override"), QStringLiteral("PartName"));
        const QStringList suffixes = attributeValues(types, QStringLiteral("Default"), QStringLiteral("Extension"));
        for (const QString& name : names) {
            if (name != QLatin1String("[Content_Types].xml"))
                QVERIFY2(overrides.contains(QLatin1Char('/') + name) || suffixes.contains(QFileInfo(name).suffix()), qPrintable(name));
        }
        QVERIFY(overrides.contains(QStringLiteral("/word/document.xml")));

        // The document's relationships name parts that are there, and the picture it shows is
        // one of them, with the picture's bytes.
        const QByteArray relationships = entry(path, QStringLiteral("word/_rels/document.xml.rels"));
        const QStringList ids = attributeValues(relationships, QStringLiteral("Relationship"), QStringLiteral("Id"));
        for (const QString& target : attributeValues(relationships, QStringLiteral("Relationship"), QStringLiteral("Target")))
            QVERIFY2(names.contains(QStringLiteral("word/") + target), qPrintable(target));
        const QByteArray body = entry(path, QStringLiteral("word/document.xml"));
        const QStringList shown = attributeValues(body, QString(), QStringLiteral("r:embed"));
        QCOMPARE(shown.size(), 1);
        QVERIFY(ids.contains(shown.front()));
        QCOMPARE(entry(path, QStringLiteral("word/media/image1.png")), harbourReport().images.front().data);

        QCOMPARE(paragraphTexts(body, {QStringLiteral("w:p")}, QStringLiteral("w:t"), QStringLiteral("w:tab")), kReadingOrder);
        const QStringList head = paragraphTexts(entry(path, QStringLiteral("word/header1.xml")), {QStringLiteral("w:p")}, QStringLiteral("w:t"),
                                                QStringLiteral("w:tab"));
        QVERIFY2(head.value(0).startsWith(kHeader), qPrintable(head.join(QLatin1Char('|'))));
        // The header's second cell spans two grid columns; Aurora's cell goes on in the row below.
        QCOMPARE(cellsPerRow(body, QStringLiteral("w:tr"), QStringLiteral("w:tc")), QList<int>({2, 3, 3}));
        QCOMPARE(attributeValues(body, QStringLiteral("w:gridSpan"), QStringLiteral("w:val")), QStringList({QStringLiteral("2")}));
        QCOMPARE(attributeValues(body, QStringLiteral("w:vMerge"), QStringLiteral("w:val")), QStringList({QStringLiteral("restart")}));
        QCOMPARE(body.count("<w:vMerge/>"), 1);
    }

    void odtReadsBack()
    {
        const QString path = m_folder.filePath(QStringLiteral("report.odt"));
        QString error;
        QVERIFY2(writeOdt(m_context.get(), harbourReport(), path, &error), qPrintable(error));
        checkPackage(path);
        if (QTest::currentTestFailed())
            return;
        const QStringList names = entries(path);

        // The media type comes first and stored, so that a reader can tell the package's kind from
        // its first bytes.
        QCOMPARE(names.value(0), QStringLiteral("mimetype"));
        QCOMPARE(entry(path, QStringLiteral("mimetype")), QByteArray("application/vnd.oasis.opendocument.text"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray header = file.read(30);
        QCOMPARE(header.size(), 30);
        QCOMPARE(qFromLittleEndian<quint16>(header.constData() + 8), quint16(0)); // stored
        const int skip = qFromLittleEndian<quint16>(header.constData() + 26) + qFromLittleEndian<quint16>(header.constData() + 28);
        QCOMPARE(file.read(skip).left(8), QByteArray("mimetype"));
        QCOMPARE(file.read(39), QByteArray("application/vnd.oasis.opendocument.text"));

        // The manifest lists every part, and the picture the text shows is one of them.
        const QByteArray manifest = entry(path, QStringLiteral("META-INF/manifest.xml"));
        const QStringList listed = attributeValues(manifest, QStringLiteral("manifest:file-entry"), QStringLiteral("manifest:full-path"));
        for (const QString& name : names) {
            if (name != QLatin1String("mimetype") && name != QLatin1String("META-INF/manifest.xml"))
                QVERIFY2(listed.contains(name), qPrintable(name));
        }
        const QByteArray content = entry(path, QStringLiteral("content.xml"));
        const QStringList shown = attributeValues(content, QStringLiteral("draw:image"), QStringLiteral("xlink:href"));
        QCOMPARE(shown.size(), 1);
        QCOMPARE(entry(path, shown.front()), harbourReport().images.front().data);

        QCOMPARE(paragraphTexts(content, {QStringLiteral("text:p"), QStringLiteral("text:h")}, QString(), QStringLiteral("text:tab"),
                                QStringLiteral("text:s")),
                 kReadingOrder);
        const QStringList margins = paragraphTexts(entry(path, QStringLiteral("styles.xml")), {QStringLiteral("text:p")}, QString(),
                                                   QStringLiteral("text:tab"), QStringLiteral("text:s"));
        QVERIFY2(margins.value(0).startsWith(kHeader), qPrintable(margins.join(QLatin1Char('|'))));
        // Each row has a place for every grid column: a cell, or a covered one under a span.
        QCOMPARE(cellsPerRow(content, QStringLiteral("table:table-row"), QStringLiteral("table:table-cell")), QList<int>({2, 3, 2}));
        QCOMPARE(cellsPerRow(content, QStringLiteral("table:table-row"), QStringLiteral("table:covered-table-cell")), QList<int>({1, 0, 1}));
        QCOMPARE(attributeValues(content, QStringLiteral("table:table-cell"), QStringLiteral("table:number-columns-spanned")),
                 QStringList({QStringLiteral("2")}));
        QCOMPARE(attributeValues(content, QStringLiteral("table:table-cell"), QStringLiteral("table:number-rows-spanned")),
                 QStringList({QStringLiteral("2")}));
    }
};

QTEST_GUILESS_MAIN(Pdf2WordWriteStageTest)
#include "test_pdf2wordwritestage.moc"
