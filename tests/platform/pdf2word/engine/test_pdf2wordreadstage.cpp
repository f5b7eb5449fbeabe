// The reading stage on its own: pages written by hand read into lines, rulings and shapes, the
// text of hidden layers, fonts' names, and glyphs without a Unicode map read by OCR.

#include "platform/mupdf/FitzContext.h"
#include "platform/pdf2word/engine/read/FontNames.h"
#include "platform/pdf2word/engine/read/PageReader.h"
#include "platform/pdf2word/engine/read/RecognisedWords.h"
#include "platform/pdf2word/engine/read/Scripts.h"
#include "platform/pdf2word/engine/read/UnmappedText.h"
#include "tests/platform/pdf2word/engine/PageModels.h"

#include <QtTest>

using namespace p2w;
using PageModels::line;
using PageModels::texts;

namespace {

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

class Pdf2WordReadStageTest : public QObject
{
    Q_OBJECT

private:
    qpmupdf::ContextPtr m_context = qpmupdf::newContext();

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

    // Tables as their producers draw them: a cell's fill drawn without its last side, or a row of
    // cells filled in one path, is an upright rectangle; a short entry before a figure stays a
    // cell of its own while a label before its words joins them; a line printed three times over
    // itself (a made-up bold) is read once; a Type 3 font's tall made-up box leaves its letters on their baseline; a font the PDF
    // only names keeps its name, not its stand-in's.
    void tablesAreReadAsDrawn()
    {
        Looks looks(m_context.get());
        QVector<TextLine> lines;
        PageGraphics graphics;
        QVERIFY(readPdf("0.9 0.9 0.5 rg 72 600 m 272 600 l 272 620 l 72 620 l f\n"
                        "0.7 0.7 0.7 rg 72 500 100 20 re 172 500 100 20 re 272 500 100 20 re f\n"
                        "0 g BT /F1 10 Tf 72 400 Td (25g) Tj 40 0 Td (334) Tj 60 0 Td (Single) Tj ET\n"
                        "BT /F1 10 Tf 72 380 Td (1.) Tj 25 0 Td (Introduction) Tj ET\n"
                        "BT /F1 10 Tf 72 340 Td (Total revenue) Tj ET BT /F1 10 Tf 72.2 340.2 Td (Total revenue) Tj ET\n"
                        "BT /F1 10 Tf 72.1 340 Td (Total revenue) Tj ET\n"
                        "BT /F5 10 Tf 72 300 Td (abc) Tj ET\n"
                        "BT /F4 10 Tf 72 280 Td (Narrow) Tj ET\n",
                        &lines, &graphics, &looks));
        int rectangles = 0;
        for (const Shape& shape : graphics.shapes)
            rectangles += shape.rectangle && shape.filled && !shape.thin ? 1 : 0;
        QCOMPARE(rectangles, 2);
        QCOMPARE(texts(lines), QStringList({QStringLiteral("25g"), QStringLiteral("334"), QStringLiteral("Single"),
                                            QStringLiteral("1. Introduction"),
                                            QStringLiteral("Total revenue"), QStringLiteral("abc"), QStringLiteral("Narrow")}));
        const TextLine& boxes = lines[5];
        QVERIFY2(boxes.box.y1 - boxes.box.y0 < 2 * boxes.size, qPrintable(QString::number(boxes.box.y1 - boxes.box.y0)));
        QVERIFY(std::fabs(boxes.baseline - (842 - 300)) < 1);
        const Look& narrow = looks[lines.back().glyphs.front().look];
        QCOMPARE(narrow.font, QStringLiteral("Arial Narrow"));
        QVERIFY(narrow.bold);
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
        // A script none of the given languages reads is read with its most used installed one.
        const QStringList installed = {QStringLiteral("ara"), QStringLiteral("eng"), QStringLiteral("fas"), QStringLiteral("rus")};
        QCOMPARE(languagesForScript(QChar::Script_Cyrillic, given, installed), QStringLiteral("rus"));
        QCOMPARE(languagesForScript(QChar::Script_Arabic, {QStringLiteral("eng")}, installed), QStringLiteral("ara"));
        QCOMPARE(languagesForScript(QChar::Script_Greek, given, installed), QString());
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

    // Unmapped glyphs of a script that has a model are read within their time, with an installed
    // model of their script where the languages given have none; when the time has run out, or no
    // installed model reads their script, they are left out with the reason and the rest of the
    // line stays.
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
        const QString tessdata = QCoreApplication::applicationDirPath() + QStringLiteral("/tessdata");
        QVERIFY2(QFileInfo::exists(tessdata + QStringLiteral("/ara.traineddata")), "tesseract-ocr-ara");
        TextRecognizer recognizer(tessdata, QStringLiteral("eng"));
        QCOMPARE(recognizer.languages(), QStringList{QStringLiteral("eng")});
        auto readWith = [&](TextRecognizer& with, const QHash<int, int>& letters, TextRecognizer::Clock::duration time,
                            QStringList* notes) {
            UnmappedText unmapped(ctx, &with);
            graphics.mappedLetters[font] = letters;
            QVector<TextLine> lines = {shown};
            TextRecognizer::Limits limits;
            limits.deadline = TextRecognizer::Clock::now() + time;
            const bool read = unmapped.read(graphics, PageModels::a4(), limits, &lines, notes);
            return read ? texts(lines).join(QLatin1Char('|')) : QString();
        };
        const QHash<int, int> latin = {{QChar::Script_Latin, 30}};
        QStringList notes;
        QCOMPARE(readWith(recognizer, latin, std::chrono::seconds(60), &notes), QStringLiteral("Total Invoice"));
        QCOMPARE(notes, QStringList());
        QCOMPARE(readWith(recognizer, latin, std::chrono::seconds(0), &notes), QStringLiteral("Total"));
        QCOMPARE(notes, QStringList{QStringLiteral("7 glyphs in a font without a Unicode map left out: the time for OCR ran out")});
        notes.clear();
        TextRecognizer arabicOnly(tessdata, QStringLiteral("ara"));
        QCOMPARE(readWith(arabicOnly, latin, std::chrono::seconds(60), &notes), QStringLiteral("Total Invoice"));
        QCOMPARE(notes, QStringList());

        QTemporaryDir englishOnly;
        QVERIFY(QFile::link(tessdata + QStringLiteral("/eng.traineddata"), englishOnly.filePath(QStringLiteral("eng.traineddata"))));
        TextRecognizer english(englishOnly.path(), QStringLiteral("eng+ara"));
        QCOMPARE(english.installed(), QStringList{QStringLiteral("eng")});
        QCOMPARE(readWith(english, {{QChar::Script_Arabic, 300}}, std::chrono::seconds(60), &notes), QStringLiteral("Total"));
        QCOMPARE(notes, QStringList{QStringLiteral("7 glyphs in a font without a Unicode map left out: no OCR model for the Arabic "
                                                   "script is installed")});
        fz_drop_font(ctx, font);
    }
};

QTEST_GUILESS_MAIN(Pdf2WordReadStageTest)
#include "test_pdf2wordreadstage.moc"
