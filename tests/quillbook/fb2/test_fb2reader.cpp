// The FB2 reader on books made here: which pages it writes, what they hold, and hostile books
// (image ids with paths, oversized pictures, deep nesting).

#include "quillbook/fb2/FbDocument.h"
#include "tests/quillbook/BookFiles.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>
#include <QTextCodec>
#include <QTextDocumentFragment>

class TestFb2Reader : public QObject
{
    Q_OBJECT

private:
    QString m_folder;
    int m_count = 0;

    // Converts the book in a fresh work folder named W<n>; returns the page list.
    QStringList convert(const QByteArray& book, QString* work = nullptr)
    {
        const QString folder = m_folder + QStringLiteral("/W%1").arg(++m_count);
        QDir().mkpath(folder);
        const QString source = folder + QStringLiteral(".fb2");
        TestFiles::writeFile(source, book);
        fb2::FbDocument document(source);
        document.convert(folder);
        if (work)
            *work = folder;
        return document.pageList();
    }

    QString page(const QString& work, int number)
    {
        return QString::fromUtf8(
            TestFiles::readFile(work + QStringLiteral("/%1_%2.html").arg(QFileInfo(work).fileName()).arg(number)));
    }

private slots:
    void initTestCase() { m_folder = TestFiles::sandbox() + QStringLiteral("/fb2"); }

    // One page per section without subsections. A body's or parent section's title, epigraph and
    // text open the page of the section that follows them (text between subsections opens the
    // next one); a body with nothing to show gives no page.
    void pagesFollowTheSections()
    {
        QString work;
        const QStringList list = convert(
            BookFiles::fb2("<body><title><p>Book title</p></title><section id=\"a\"><title><p>Part A</p></title>"
                           "<epigraph><p>Motto</p><text-author>Sage</text-author></epigraph><p>A intro</p>"
                           "<section><title><p>A1</p></title><p>A1 text</p></section><p>Between</p>"
                           "<section><p>A2 text</p></section></section><section><p>B <a l:href=\"#a\">see A</a> "
                           "<a l:href=\"#nowhere\">lost</a> <a l:href=\"http://example.com\">web</a></p></section>"
                           "</body><body name=\"notes\"/>"),
            &work);
        const QString w = QFileInfo(work).fileName();
        QCOMPARE(list, QStringList({work, w + "_1.html", w + "_2.html", w + "_3.html"}));
        QVERIFY(page(work, 1).startsWith("<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset = utf-8\"/>"));
        QVERIFY2(QRegularExpression("Book title.*<a id=\"a\"></a><h3 [^>]*><p>Part A</p></h3>.*Motto.*Sage.*A intro.*"
                                    "<h4 [^>]*><p>A1</p></h4><p>A1 text</p>")
                     .match(page(work, 1))
                     .hasMatch(),
                 qPrintable(page(work, 1)));
        QVERIFY(page(work, 2).contains("<p>Between</p><p>A2 text</p>"));
        QVERIFY2(page(work, 3).contains(QStringLiteral("B <a href=\"%1_1.html#a\">see A</a> <a>lost</a> web").arg(w)),
                 qPrintable(page(work, 3)));
    }

    // Inline markup and the elements around paragraphs keep their text.
    void inlineMarkup()
    {
        QString work;
        convert(BookFiles::fb2("<body><section><title><p>T</p></title><p>Fish &amp; <emphasis>chips</emphasis>"
                               "<sub>2</sub><sup>3</sup><code>x = 1</code><style name=\"s\">styled</style>"
                               "<unknown>kept</unknown></p><poem><stanza><v>one</v><v>two</v></stanza></poem>"
                               "<subtitle>Sub title</subtitle><table><tr><th>H</th><td colspan=\"2\">D</td></tr>"
                               "</table><cite><p>Quoted</p><text-author>Author</text-author></cite></section></body>"),
                &work);
        const QString markup = page(work, 1);
        QVERIFY2(markup.contains("<p>Fish &amp; <i>chips</i><sub>2</sub><sup>3</sup><code>x = 1</code>styledkept</p>"),
                 qPrintable(markup));
        QVERIFY(markup.contains("one<br/>two<br/>"));
        QVERIFY(markup.contains("<h5>Sub title</h5>"));
        QVERIFY(markup.contains("<tr><th>H</th><td colspan=\"2\">D</td></tr>"));
        QVERIFY(QRegularExpression("Quoted.*Author").match(markup).hasMatch());
    }

    // An encoding declared in single quotes is honoured.
    void singleQuotedEncoding()
    {
        QString work;
        const QString text = QStringLiteral("\u0420\u0443\u0441\u0441\u043a\u0438\u0439");
        QByteArray book = BookFiles::fb2("<body><section><p>" + text + "</p></section></body>");
        book.replace("<?xml version=\"1.0\" encoding=\"utf-8\"?>", "<?xml version='1.0' encoding='windows-1251'?>");
        book.replace(text.toUtf8(), QTextCodec::codecForName("windows-1251")->fromUnicode(text));
        convert(book, &work);
        QVERIFY(page(work, 1).contains("<p>" + text + "</p>"));
    }

    // The cover that the description names (Calibre writes ids without a suffix) prints first, on
    // its own page, and only once; pictures are kept as the book holds them.
    void coverPrintsFirst()
    {
        const QByteArray picture = BookFiles::png(40, 60);
        QByteArray book = BookFiles::fb2("<body><image l:href=\"#img_0\"/><section><p>Text</p></section></body>",
                                         "<binary id=\"img_0\" content-type=\"image/png\">\n" + picture.toBase64() + "\n</binary>");
        book.replace("</title-info>", "<coverpage><image l:href=\"#img_0\"/></coverpage></title-info>");
        QString work;
        QCOMPARE(convert(book, &work).size(), 3);
        QVERIFY2(page(work, 1).contains("<img src=\"img_0\""), qPrintable(page(work, 1)));
        QVERIFY(!page(work, 2).contains("<img"));
        QCOMPARE(TestFiles::readFile(work + "/img_0"), picture);
    }

    // Image ids name files inside the work folder only; a picture whose header declares more
    // pixels than the bound is never decoded, so never saved; one larger than a printed page
    // shows is scaled down to that.
    void picturesStayInsideAndWithinBounds()
    {
        const QString small = QString::fromLatin1(BookFiles::png(4, 3).toBase64());
        const QString huge = QString::fromLatin1(BookFiles::png(9000, 8000).toBase64());
        const QString large = QString::fromLatin1(BookFiles::png(4000, 2500).toBase64());
        QString work;
        const QStringList list = convert(
            BookFiles::fb2("<body><section><image l:href=\"#../../escaped.png\"/><p>x</p></section></body>",
                           QStringLiteral("<binary id=\"../../escaped.png\">%1</binary>"
                                          "<binary id=\"%2/escaped-absolute.png\">%1</binary>"
                                          "<binary id=\"pics/ok.png\">%1</binary><binary id=\"huge.png\">%3</binary>"
                                          "<!-- <binary id=\"commented.png\">%1</binary> --><binary id=\"large\">%4</binary>")
                               .arg(small, m_folder, huge, large)),
            &work);
        QCOMPARE(list.size(), 2);
        QVERIFY(QImage(work + "/pics/ok.png").size() == QSize(4, 3));
        QVERIFY(!QFile::exists(work + "/huge.png"));
        QVERIFY(!QFile::exists(work + "/commented.png"));
        const QSize scaled = QImage(work + "/large").size();
        QVERIFY2(qint64(scaled.width()) * scaled.height() <= 8 << 20 && qAbs(scaled.width() * 5 - scaled.height() * 8) < 10,
                 qPrintable(QStringLiteral("%1 x %2").arg(scaled.width()).arg(scaled.height())));
        QDirIterator all(TestFiles::sandbox(), QDir::Files, QDirIterator::Subdirectories);
        while (all.hasNext())
            QVERIFY2(!all.next().contains("escaped"), qPrintable(all.filePath()));
    }

    // Sections nested 200,000 deep, each with a paragraph, and emphasis nested 100,000 deep in a
    // paragraph: what lies deeper than 256 levels is flattened into the text of the element at
    // that level, so every word prints in order, without a stack overflow; the book's other
    // sections keep their pages. 100 levels are kept whole.
    void deepNestingIsFlattened()
    {
        const int depth = 200000;
        QString sections;
        for (int i = 0; i < depth; ++i)
            sections += QStringLiteral("<section><p>s%1</p>").arg(i);
        QString work;
        QStringList list = convert(BookFiles::fb2("<body><section><p>Shallow words.</p></section>" + sections + "<p>deepest</p>"
                                                  + QString("</section>").repeated(depth) + "<section><p>After words.</p></section></body>"),
                                   &work);
        QCOMPARE(list.size(), 4);
        QCOMPARE(page(work, 1).count("<p>"), 1);
        const QString deep = page(work, 2);
        QVERIFY(deep.contains("<p>s252</p>") && !deep.contains("<p>s253</p>"));
        const int flat = deep.indexOf("<p>s253 s254 s255 ");
        QVERIFY(flat > 0);
        const QString words = deep.mid(flat + 3, deep.indexOf("</p>", flat) - flat - 3).simplified();
        QCOMPARE(words.count(' '), depth - 253);
        QVERIFY(words.endsWith(" s199998 s199999 deepest"));
        QVERIFY(page(work, 3).contains("After words."));

        list = convert(BookFiles::fb2("<body><section><p>Start " + QString("<emphasis>word ").repeated(100000) + "end"
                                      + QString("</emphasis>").repeated(100000) + "</p></section></body>"),
                       &work);
        QCOMPARE(list.size(), 2);
        const QString emphasis = page(work, 1);
        QCOMPARE(emphasis.count("<i>"), 252);
        QCOMPARE(QTextDocumentFragment::fromHtml(emphasis).toPlainText().simplified(),
                 "Start " + QString("word ").repeated(100000) + "end");

        QCOMPARE(convert(BookFiles::fb2("<body>" + QString("<section>").repeated(100) + "<p>deep</p>" + QString("</section>").repeated(100) + "</body>"))
                     .size(),
                 2);
    }

    // Entities that expand without bound ("billion laughs") and entities neither the book nor HTML
    // declares are left out; the book's text around them prints. HTML's named characters and a
    // small entity the book declares expand.
    void entitiesAreLeftOutNotTheBook()
    {
        QString laughs = QStringLiteral("<!DOCTYPE FictionBook [<!ENTITY l0 \"lol\">");
        for (int i = 1; i < 10; ++i)
            laughs += QStringLiteral("<!ENTITY l%1 \"%2\">").arg(i).arg(QStringLiteral("&l%1;").arg(i - 1).repeated(10));
        laughs += QStringLiteral("]>");
        QByteArray bomb = BookFiles::fb2("<body><section><p>Before &l9; after,&nbsp;end &unknown;&mdash;</p></section></body>");
        bomb.insert(bomb.indexOf("<FictionBook"), laughs.toUtf8());
        QString work;
        QCOMPARE(convert(bomb, &work).size(), 2);
        QVERIFY2(page(work, 1).contains(QStringLiteral("<p>Before  after,\u00a0end \u2014</p>")), qPrintable(page(work, 1)));

        QByteArray small = BookFiles::fb2("<body><section><p>Say &greeting;</p></section></body>");
        small.insert(small.indexOf("<FictionBook"), "<!DOCTYPE FictionBook [<!ENTITY greeting \"hello\">]>");
        QCOMPARE(convert(small, &work).size(), 2);
        QVERIFY(page(work, 1).contains("<p>Say hello</p>"));
    }
};

QTEST_GUILESS_MAIN(TestFb2Reader)
#include "test_fb2reader.moc"
