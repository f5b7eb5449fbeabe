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

    // Nesting past the bound reads as a damaged book: no page, and no stack overflow.
    void deepNestingGivesNoPages()
    {
        const int depth = 200000;
        QString work;
        const QStringList list = convert(BookFiles::fb2("<body>" + QString("<section>").repeated(depth) + "<p>deep</p>" + QString("</section>").repeated(depth) + "</body>"),
                                         &work);
        QCOMPARE(list, QStringList{work});
        QCOMPARE(convert(BookFiles::fb2("<body>" + QString("<section>").repeated(100) + "<p>deep</p>" + QString("</section>").repeated(100) + "</body>"))
                     .size(),
                 2);
    }
};

QTEST_GUILESS_MAIN(TestFb2Reader)
#include "test_fb2reader.moc"
