// The EPUB reader on archives made here: the page list it gives, and archives that try to write
// outside the work folder or unpack to more than the bounds allow.

#include "quillbook/epub/EpubArchive.h"
#include "quillbook/epub/EpubDocument.h"
#include "tests/quillbook/BookFiles.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QTest>

using BookFiles::ZipEntry;

class TestEpubReader : public QObject
{
    Q_OBJECT

private:
    QString m_folder;
    int m_count = 0;

    QString workFolder()
    {
        const QString path = m_folder + QStringLiteral("/work%1").arg(++m_count);
        QDir().mkpath(path);
        return path;
    }

    QString book(const QList<ZipEntry>& entries)
    {
        const QString path = m_folder + QStringLiteral("/book%1.epub").arg(++m_count);
        if (!BookFiles::writeZip(path, entries))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QStringList pages(const QString& source, const QString& work, BookFailure* failure = nullptr)
    {
        epub::EpubDocument document(source);
        document.convert(work);
        if (failure)
            *failure = document.failure();
        return document.pageList();
    }

private slots:
    void initTestCase() { m_folder = TestFiles::sandbox() + QStringLiteral("/epub"); }

    // The spine gives the order; hrefs are percent-decoded and resolved against the package's
    // folder. XHTML and HTML items print whatever the case of their media type; items named by a
    // web address, a file URL or an absolute path, and idrefs missing from the manifest, are left
    // out. A package that writes its elements with a namespace prefix reads the same.
    void pageListFollowsTheSpine_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::newRow("plain") << QString();
        QTest::newRow("prefixed") << QStringLiteral("opf");
    }
    void pageListFollowsTheSpine()
    {
        QFETCH(QString, prefix);
        QList<ZipEntry> entries =
            BookFiles::epub({{"Text/chapter%201.xhtml", "<p>one</p>"}, {"Text/two.xhtml", "<p>two</p>"}}, prefix);
        QByteArray& package = entries[2].data;
        const QByteArray p = prefix.isEmpty() ? QByteArray() : prefix.toUtf8() + ':';
        const QList<QPair<QByteArray, QByteArray>> items = {{"pic", "p.xhtml\" media-type=\"Application/XHTML+xml"},
                                                            {"html", "h.html\" media-type=\"text/html"},
                                                            {"web", "http://example.com/w.xhtml"},
                                                            {"file", "file:///etc/hostname"},
                                                            {"abs", "/tmp/a.xhtml"}};
        QByteArray manifest, spine;
        for (const auto& item : items) {
            manifest += "<" + p + "item " + p + "id=\"" + item.first + "\" " + p + "href=\"" + item.second + "\"" + (item.second.contains("media-type") ? "" : " " + p + "media-type=\"application/xhtml+xml\"") + "/>";
            spine += "<" + p + "itemref " + p + "idref=\"" + item.first + "\"/>";
        }
        package.replace("</" + p + "manifest>", manifest + "</" + p + "manifest>");
        package.replace("</" + p + "spine>", spine + "<" + p + "itemref " + p + "idref=\"none\"/><" + p + "itemref " + p + "idref=\"c0\"/></" + p + "spine>");
        const QString work = workFolder();
        QCOMPARE(pages(book(entries), work), QStringList({work + "/OEBPS", "Text/chapter 1.xhtml", "Text/two.xhtml", "p.xhtml",
                                                          "h.html", "Text/chapter 1.xhtml"}));
        QVERIFY(QFile::exists(work + "/OEBPS/Text/chapter 1.xhtml"));
    }

    // ... and say why.
    void damagedBooksGiveNoPages()
    {
        const QString notZip = m_folder + "/not.epub";
        TestFiles::writeFile(notZip, "plain text");
        BookFailure failure = BookFailure::None;
        QCOMPARE(pages(notZip, workFolder(), &failure).size(), 0);
        QCOMPARE(failure, BookFailure::NotThisFormat);

        QList<ZipEntry> noContainer = BookFiles::epub({{"a.xhtml", "<p>a</p>"}});
        noContainer.removeAt(1);
        const QString work = workFolder();
        QCOMPARE(pages(book(noContainer), work, &failure), QStringList{work});
        QCOMPARE(failure, BookFailure::NotThisFormat);

        QList<ZipEntry> badPackage = BookFiles::epub({{"a.xhtml", "<p>a</p>"}});
        badPackage[2].data.chop(10);
        QCOMPARE(pages(book(badPackage), workFolder(), &failure).size(), 1);
        QCOMPARE(failure, BookFailure::Damaged);
    }

    // Entry names that climb out of the folder or are absolute are skipped, and so is a container
    // that names a package outside; the first of two entries with one name wins.
    void entriesStayInsideTheWorkFolder()
    {
        const QString outside = m_folder + "/outside";
        QList<ZipEntry> entries = BookFiles::epub({{"a.xhtml", "<p>a</p>"}});
        entries << ZipEntry{"../../escaped-up.txt", "x"} << ZipEntry{"OEBPS/../../escaped-mid.txt", "x"}
                << ZipEntry{outside + "/escaped-absolute.txt", "x"} << ZipEntry{"OEBPS/a.xhtml", "second"};
        const QString work = workFolder();
        QCOMPARE(pages(book(entries), work).size(), 2);
        QVERIFY(!TestFiles::readFile(work + "/OEBPS/a.xhtml").contains("second"));

        entries[1].data.replace("OEBPS/content.opf", "../../content.opf");
        QCOMPARE(pages(book(entries), workFolder()).size(), 1);

        QDirIterator all(TestFiles::sandbox(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (all.hasNext())
            QVERIFY2(!all.next().contains("escaped"), qPrintable(all.filePath()));
    }

    // Symbolic links stored in the archive (to a file outside, to a folder outside, to a chapter,
    // and one whose name is the folder of the next chapter) are not written at all, and the book's
    // own entries all are.
    void symbolicLinksAreLeftOut()
    {
        QList<ZipEntry> entries = BookFiles::epub({{"one.xhtml", "<p>One</p>"}, {"Text/two.xhtml", "<p>Two</p>"}});
        for (const auto& link : {qMakePair(QString("OEBPS/Text"), QByteArray("/tmp")),
                                 qMakePair(QString("OEBPS/passwd.xhtml"), QByteArray("/etc/passwd")),
                                 qMakePair(QString("OEBPS/up"), QByteArray("../../..")),
                                 qMakePair(QString("OEBPS/alias.xhtml"), QByteArray("one.xhtml"))}) {
            ZipEntry entry{link.first, link.second};
            entry.symbolicLink = true;
            entries.insert(3, entry);
        }
        const QString work = workFolder();
        QStringList extracted;
        QVERIFY(epub::unzipArchive(book(entries), work, &extracted));
        QCOMPARE(extracted.size(), 5); // mimetype, container, package, two chapters
        QVERIFY(TestFiles::readFile(work + "/OEBPS/Text/two.xhtml").contains("<p>Two</p>"));
        for (const char* link : {"passwd.xhtml", "up", "alias.xhtml"})
            QVERIFY2(!QFileInfo(work + "/OEBPS/" + link).exists() && !QFileInfo(work + "/OEBPS/" + link).isSymLink(), link);
        const QString again = workFolder();
        QCOMPARE(pages(book(entries), again), QStringList({again + "/OEBPS", "one.xhtml", "Text/two.xhtml"}));
    }

    // Bounds on unpacked bytes and entries; a bound that is reached fails the unpacking.
    void unpackingIsBounded()
    {
        const QString bomb = book({{"big.bin", QByteArray(), 5000}});
        QStringList extracted;
        BookFailure failure = BookFailure::None;
        QVERIFY(!epub::unzipArchive(bomb, workFolder(), &extracted, {4000, 10}, &failure));
        QVERIFY(extracted.isEmpty());
        QCOMPARE(failure, BookFailure::TooLarge);
        QVERIFY(epub::unzipArchive(bomb, workFolder(), &extracted, {5000, 10}));
        QCOMPARE(QFileInfo(extracted.value(0)).size(), 5000);

        const QString many = book({{"a", "1"}, {"b", "2"}, {"c", "3"}});
        QVERIFY(!epub::unzipArchive(many, workFolder(), nullptr, {1000, 2}));
    }

    // An entry that cannot be written (its folder is a file) fails the unpacking instead of
    // counting as unpacked.
    void failedWriteFailsTheUnpacking()
    {
        QVERIFY(!epub::unzipArchive(book({{"a.txt", "x"}, {"a.txt/b.txt", "y"}}), workFolder()));
    }
};

QTEST_GUILESS_MAIN(TestEpubReader)
#include "test_epubreader.moc"
