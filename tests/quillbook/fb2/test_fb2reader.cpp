// The FB2 reader on books made here: which pages it writes, what they hold, and hostile books
// (image ids with paths, oversized pictures, deep nesting).

#include "BookFiles.h"
#include "FbDocument.h"
#include "TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTest>

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

    // One page per body, one per section without subsections; a section with subsections gives a
    // page only for its leading picture.
    void pagesFollowTheSections_data()
    {
        QTest::addColumn<QString>("leadingImage");
        QTest::addColumn<int>("pageCount");
        QTest::newRow("without leading picture") << QString() << 4;
        QTest::newRow("with leading picture") << QStringLiteral("<image l:href=\"#a.png\"/>") << 5;
    }
    void pagesFollowTheSections()
    {
        QFETCH(QString, leadingImage);
        QFETCH(int, pageCount);
        QString work;
        const QStringList list = convert(
            BookFiles::fb2(QStringLiteral("<body><section>%1<title><p>A</p></title><section><p>A1</p></section>"
                                          "<section><p>A2</p></section></section><section><p>B</p></section></body>")
                               .arg(leadingImage)),
            &work);
        const QString w = QFileInfo(work).fileName();
        QStringList expected{work};
        for (int n = 1; n <= pageCount; ++n)
            expected << QStringLiteral("%1_%2.html").arg(w).arg(n);
        QCOMPARE(list, expected);
        QVERIFY(page(work, pageCount).contains("<p>B</p>"));
        QVERIFY(page(work, 1).startsWith("<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset = utf-8\"/>"));
    }

    void inlineMarkup()
    {
        QString work;
        convert(BookFiles::fb2("<body><section><title><p>T</p></title><p>Fish &amp; <emphasis>chips</emphasis>"
                               "<a l:href=\"#n1\">link text</a><sub>gone</sub></p><poem><stanza><v>one</v><v>two</v>"
                               "</stanza></poem><subtitle>hidden</subtitle></section></body>"),
                &work);
        const QString markup = page(work, 2);
        QVERIFY2(markup.contains("<p>Fish &amp; <i>chips</i></p>"), qPrintable(markup));
        QVERIFY(markup.contains("one<br/>two<br/>"));
        QVERIFY(!markup.contains("link text") && !markup.contains("gone") && !markup.contains("hidden"));
    }

    // Image ids name files inside the work folder only; a picture whose header declares more
    // pixels than the bound is never decoded, so never saved.
    void picturesStayInsideAndWithinBounds()
    {
        const QString small = QString::fromLatin1(BookFiles::png(4, 3).toBase64());
        const QString huge = QString::fromLatin1(BookFiles::png(9000, 8000).toBase64());
        QString work;
        const QStringList list = convert(
            BookFiles::fb2("<body><section><image l:href=\"#../../escaped.png\"/><p>x</p></section></body>",
                           QStringLiteral("<binary id=\"../../escaped.png\">%1</binary>"
                                          "<binary id=\"%2/escaped-absolute.png\">%1</binary>"
                                          "<binary id=\"pics/ok.png\">%1</binary><binary id=\"huge.png\">%3</binary>")
                               .arg(small, m_folder, huge)),
            &work);
        QCOMPARE(list.size(), 3);
        QVERIFY(QImage(work + "/pics/ok.png").size() == QSize(4, 3));
        QVERIFY(!QFile::exists(work + "/huge.png"));
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
                 3);
    }
};

QTEST_GUILESS_MAIN(TestFb2Reader)
#include "test_fb2reader.moc"
