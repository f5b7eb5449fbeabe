#include "frompdf/views/DocumentViewer.h"
#include "pdflib/service/DebenuDocument.h"
#include "pdflib/service/DebenuService.h"
#include "tests/frompdf/TestPdfs.h"
#include "tests/support/TestFiles.h"
#include "ui/kit/WindowBar.h"

#include <QPixmapCache>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

class DocumentViewerTest : public QObject
{
    Q_OBJECT

private:
    QString m_dir;
    QSharedPointer<DebenuService> m_service;

    static bool cached(Page* page)
    {
        QPixmap pixmap;
        return QPixmapCache::find(page->cacheKey(), &pixmap);
    }

private slots:
    void initTestCase()
    {
        m_dir = TestFiles::sandbox() + QStringLiteral("/preview");
        QVERIFY(TestPdfs::writeTextPdf(m_dir + "/long.pdf", TestPdfs::numberedPages(4)));
        QVERIFY(TestPdfs::writeTextPdf(m_dir + "/short.pdf", TestPdfs::numberedPages(2)));
        QVERIFY(TestFiles::writeFile(m_dir + "/broken.pdf", "%PDF-1.4\nnot really\n"));
        m_service.reset(new DebenuService);
    }

    void rendersPagesWhenTheyAreFirstPainted()
    {
        DocumentViewer viewer(m_service);
        QVERIFY(viewer.setDocument(m_dir + "/long.pdf", QString()));
        QCOMPARE(viewer.windowBar()->title(), QStringLiteral("long.pdf - PDF Converter"));
        QCOMPARE(viewer.windowTitle(), QStringLiteral("long.pdf - PDF Converter"));
        const QList<Page*> pages = viewer.pageView()->pages();
        QCOMPARE(pages.size(), 4);
        QCOMPARE(pages.first()->size(), QSize(595, 842));
        QCOMPARE(pages.first()->cacheKey(),
                 QStringLiteral("viewer_docID_%1_p1").arg(viewer.pageView()->document()->id()));
        QVERIFY(!cached(pages.first()));

        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        QTRY_VERIFY(cached(pages.first()));
        QVERIFY(!cached(pages.last()));

        // The page shows its text and, at its foot, the grey badge.
        const QImage shot = pages.first()->grab().toImage();
        int dark = 0;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < shot.width(); ++x)
                dark += qGray(shot.pixel(x, y)) < 100 ? 1 : 0;
        QVERIFY(dark > 50);
        const QRgb badge = shot.pixel(shot.width() / 2 - 40, shot.height() - 15);
        QVERIFY(qRed(badge) > 150 && qRed(badge) < 220 && qRed(badge) == qBlue(badge));
    }

    void sameFileAgainKeepsThePages()
    {
        DocumentViewer viewer(m_service);
        viewer.show();
        QVERIFY(viewer.setDocument(m_dir + "/long.pdf", QString()));
        const QSharedPointer<DebenuDocument> document = viewer.pageView()->document();
        const QList<Page*> pages = viewer.pageView()->pages();
        QTRY_VERIFY(cached(pages.first()));

        viewer.onWindowClose();
        QVERIFY(viewer.isHidden());
        QVERIFY(viewer.setDocument(m_dir + "/long.pdf", QString()));
        QCOMPARE(viewer.pageView()->document(), document);
        QCOMPARE(viewer.pageView()->pages(), pages);
        // The cache was emptied, so showing again renders again.
        QVERIFY(!cached(pages.first()));
        viewer.show();
        QTRY_VERIFY(cached(pages.first()));
    }

    void anotherFileReplacesThePages()
    {
        DocumentViewer viewer(m_service);
        viewer.show();
        QVERIFY(viewer.setDocument(m_dir + "/long.pdf", QString()));
        QScrollBar* bar = viewer.pageView()->scrollArea()->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 0);
        bar->setValue(bar->maximum());
        viewer.onWindowClose();

        QVERIFY(viewer.setDocument(m_dir + "/short.pdf", QString()));
        QCOMPARE(viewer.pageView()->pages().size(), 2);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(viewer.windowBar()->title(), QStringLiteral("short.pdf - PDF Converter"));

        QVERIFY(!viewer.setDocument(m_dir + "/broken.pdf", QString()));
        QVERIFY(viewer.pageView()->pages().isEmpty());
        QVERIFY(viewer.pageView()->path().isEmpty());
    }

    void badgeIsAtLeastAHundredPixelsWide()
    {
        const QRect page(0, 0, 595, 842);
        QCOMPARE(Page::badgeRect(page, 40), QRect(QPoint(247, 811), QPoint(346, 840)));
        QCOMPARE(Page::badgeRect(page, 90).width(), 100);
        QCOMPARE(Page::badgeRect(page, 91).width(), 101);
        QCOMPARE(Page::badgeRect(page, 150).width(), 160);
        QCOMPARE(Page::badgeRect(page, 150).height(), 30);
    }
};

QTEST_MAIN(DocumentViewerTest)
#include "test_documentviewer.moc"
