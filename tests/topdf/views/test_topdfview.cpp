// The "To PDF" tab as a user meets it: files dropped on the start page or added by the dialog,
// the merge box, the settings panel slid in by the main window, conversions to real PDFs one by
// one and merged with title, publisher and password, the completion message, and a quit while a
// run's outside program is busy. Every dialog is answered by a script.
#include "tests/ui/mainwindow/TestApplication.h"

#include "app/core/FileSystem.h"
#include "app/core/ToolPaths.h"
#include "app/core/UserContext.h"
#include "tests/topdf/support/PdfChecks.h"
#include "tests/ui/mainwindow/DialogScript.h"
#include "topdf/model/ToPDFModel.h"
#include "topdf/views/PositionControl.h"
#include "topdf/views/ToPDFSettingsView.h"
#include "topdf/views/ToPDFTable.h"
#include "topdf/views/ToPDFView.h"
#include "ui/kit/StyleNames.h"
#include "ui/kit/TabWidget.h"
#include "ui/mainwindow/MainView.h"
#include "ui/widgets/StartView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <csignal>

namespace {

UserContext* context()
{
    return Application::instance()->userContext();
}

QString freshFolder(const QString& name)
{
    const QString folder = TestFiles::sandbox() + QLatin1Char('/') + name;
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    return folder;
}

QString writePng(const QString& path, const QSize& size, const QColor& colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    image.save(path);
    return path;
}

QStringList pdfsIn(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
}

void clickCell(ToPDFView* view, int row, int column)
{
    ToPDFTable* table = view->table();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(view->model()->index(row, column)).center());
}

void activate(QComboBox* combo, int value)
{
    const int index = combo->findData(value);
    combo->setCurrentIndex(index);
    QMetaObject::invokeMethod(combo, "activated", Q_ARG(int, index));
}

} // namespace

class ToPDFViewTest : public QObject
{
    Q_OBJECT

public:
    explicit ToPDFViewTest(TestApp::RecordingOpener* opener)
        : m_opener(opener) {}

private:
    TestApp::RecordingOpener* m_opener;
    QString m_in;
    QString m_tall; // a red picture higher than wide
    QString m_wide; // a blue one wider than high
    QString m_docx; // two pages written by LibreOffice

private slots:
    void initTestCase()
    {
        MetricSender::init(QStringLiteral("2"), QStringLiteral("2.2.6"));
        m_in = freshFolder(QStringLiteral("in"));
        m_tall = writePng(m_in + "/tall.png", QSize(200, 300), Qt::red);
        m_wide = writePng(m_in + "/wide.png", QSize(300, 200), Qt::blue);
        TestFiles::writeFile(m_in + "/report.html",
                             "<html><body><h1>Harbour Report</h1><p>Seven zebras crossed the river.</p>"
                             "<p style=\"page-break-before: always\">Second page.</p></body></html>");
        PdfChecks::makeWithLibreOffice({m_in + "/report.html"}, QStringLiteral("docx:MS Word 2007 XML"), m_in);
        m_docx = m_in + "/report.docx";
        QVERIFY(QFile::exists(m_docx));
    }

    void init()
    {
        TestApp::clearSettings();
        m_opener->calls.clear();
    }

    // Adding keeps the merge box usable from two rows on, a stale path is named and skipped, and
    // the "for all" button opens the panel for all files or, when merging, for the merged file.
    void addsRowsAndKeepsTheControlsRight()
    {
        const QString gone = m_in + "/gone.png";
        QStringList chosen = {gone, m_wide};
        QString filter;
        ToPDFView view(nullptr, {[&](QWidget*, const QString&, const QString&, const QString& shown) {
                                     filter = shown;
                                     return chosen;
                                 },
                                 {}});
        view.resize(685, 420);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QStringList tiles;
        for (QLabel* label : view.findChildren<QLabel*>(StyleName::descriptionFormat))
            tiles << label->text();
        QCOMPARE(tiles, QStringList({"JPG, PNG, BMP, TIFF", "EPUB, MOBI, FB2", "HTML, HTM", "DOC, DOCX, XLS, XLSX, ODT, ODS"}));
        auto* merge = view.findChild<QCheckBox*>(StyleName::checkBoxSplitAll);
        QVERIFY(!merge->isEnabled() && !view.table()->isVisible());

        view.addFiles({m_tall});
        QVERIFY(view.table()->isVisible());
        QVERIFY(!merge->isEnabled());

        DialogScript script;
        script.add(click(StyleName::buttonOk));
        view.findChild<QPushButton*>(StyleName::buttonTableAdd)->click();
        QTRY_COMPARE(script.pending(), 0);
        QCOMPARE(filter, QStringLiteral("All supported formats (*.doc *.docx *.xls *.xlsx *.odt *.ods *.html *.htm *.jpeg *.jpg "
                                        "*.png *.bmp *.tiff *.tif *.epub *.mobi *.fb2);;Images (*.jpeg *.jpg *.png *.bmp *.tiff "
                                        "*.tif);;Documents (*.doc *.docx *.xls *.xlsx *.odt *.ods);;Ebook (*.epub *.mobi "
                                        "*.fb2);;HTML (*.html *.htm)"));
        QVERIFY2(script.seen.first().contains(QDir::toNativeSeparators(gone)), qPrintable(script.seen.first()));
        QCOMPARE(view.model()->rowCount(), 2);
        QCOMPARE(TestApp::stored(QStringLiteral("last_select_folder")).toString(), m_in);
        QVERIFY(merge->isEnabled());

        // Merging: no task has file settings of its own, a task added now neither.
        merge->setChecked(true);
        view.addFiles({m_docx});
        for (const ToPDFTask& task : view.model()->tasks())
            QVERIFY(!task.fileSettingsEnabled);
        QSignalSpy edit(&view, &ToPDFView::edit);
        view.findChild<QPushButton*>(StyleName::settingsForAll)->click();
        QCOMPARE(edit.last().at(2).toInt(), 2);
        QVERIFY(edit.last().at(1).value<ToPDFTask>().fileSettings.fileName.startsWith(QLatin1String("merged_")));

        // A general layout goes to every task; general file settings only to the merged file.
        LayoutSettingsData layout;
        layout.margin = LayoutSettingsData::Big;
        view.updateLayoutSettings(-1, layout, 2);
        view.updateFileSettings(-1, {QStringLiteral("album"), QStringLiteral("T"), QStringLiteral("P"), QString()}, 2);
        for (const ToPDFTask& task : view.model()->tasks()) {
            QCOMPARE(task.layoutSettings.margin, 2);
            QCOMPARE(task.fileSettings.fileName, task.file.completeBaseName());
        }
        QCOMPARE(context()->fileSettings().fileName, QStringLiteral("album"));
        QCOMPARE(context()->layoutSettings().margin, 2);

        // Up and down follow the selection and move the selected row.
        view.table()->selectRow(0);
        view.findChild<QPushButton*>(StyleName::buttonMoveDown)->click();
        QCOMPARE(view.model()->task(1).file.fileName(), QStringLiteral("tall.png"));
        QCOMPARE(view.table()->currentIndex().row(), 1);

        // Removing down to one row unticks and locks the merge box; the row's own settings open
        // for all files again.
        clickCell(&view, 0, ToPDFModel::RemoveColumn);
        clickCell(&view, 0, ToPDFModel::RemoveColumn);
        QCOMPARE(view.model()->rowCount(), 1);
        QVERIFY(!merge->isChecked() && !merge->isEnabled());
        QVERIFY(view.model()->task(0).fileSettingsEnabled);
        view.findChild<QPushButton*>(StyleName::settingsForAll)->click();
        QCOMPARE(edit.last().at(2).toInt(), 1);
        clickCell(&view, 0, ToPDFModel::SettingsColumn);
        QCOMPARE(edit.last().at(0).toInt(), 0);
        QCOMPARE(edit.last().at(1).value<ToPDFTask>().file.fileName(), QStringLiteral("report.docx"));
        QCOMPARE(edit.last().at(2).toInt(), 0);
    }

    // The road: pictures and a Word file dropped on the start page, one picture laid out on A4
    // landscape with a big margin at the bottom right in the slid-in panel, "CONVERT", the
    // message and "OPEN FOLDER"; then the same files merged into one PDF with a title, a
    // publisher and a password given in the panel.
    void convertsThroughTheWindowOneByOneAndMerged()
    {
        const QString out = freshFolder(QStringLiteral("road"));
        MainView window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        context()->setSaveToFolder(out);
        auto* view = window.findChild<ToPDFView*>();
        TestApp::dropFiles(window.findChild<StartView*>(), {m_tall, m_wide, m_docx});
        QCOMPARE(window.findChild<TabWidget*>()->currentIndex(), int(MainView::ToPdfTab));
        QCOMPARE(view->model()->rowCount(), 3);

        clickCell(view, 0, ToPDFModel::SettingsColumn);
        auto* panel = window.findChild<ToPDFSettingsView*>();
        QTRY_VERIFY(panel->isVisible() && panel->x() == 156);
        QTest::mouseClick(panel->findChild<QPushButton*>(StyleName::tabButtonLayoutSettings), Qt::LeftButton);
        const QList<QComboBox*> combos = panel->findChildren<QComboBox*>();
        activate(combos.at(4), LayoutSettingsData::Landscape);
        activate(combos.at(2), LayoutSettingsData::Big);
        panel->positionControl()->findChildren<QAbstractButton*>().at(LayoutSettingsData::BottomRight)->click();
        panel->findChild<QPushButton*>(StyleName::buttonSaveSettings)->click();
        QCOMPARE(view->model()->task(0).layoutSettings.position, int(LayoutSettingsData::BottomRight));
        panel->findChild<QPushButton*>(StyleName::buttonCloseSettings)->click();
        QTRY_VERIFY(!panel->isVisible());

        DialogScript script;
        script.add(click(StyleName::buttonMessageOpenFolder));
        pressConvert(view, script);
        QVERIFY2(script.seen.first().contains(QLatin1String("Congratulations")), qPrintable(script.seen.first()));
        QCOMPARE(pdfsIn(out), QStringList({"report.pdf", "tall.pdf", "wide.pdf"}));
        for (const QString& pdf : pdfsIn(out))
            QVERIFY2(PdfChecks::isSound(out + '/' + pdf), qPrintable(pdf));
        const QSizeF landscape = PdfChecks::pageSize(out + "/tall.pdf", 1);
        QVERIFY(qAbs(landscape.width() - 841.9) < 2 && qAbs(landscape.height() - 595.3) < 2);
        QVERIFY(PdfChecks::pageSize(out + "/wide.pdf", 1).height() > 800);
        QCOMPARE(PdfChecks::pageCount(out + "/report.pdf"), 2);
        // The tall picture stands at the right of its landscape page.
        const QImage page = PdfChecks::render(out + "/tall.pdf", 20).first();
        int firstRed = page.width();
        for (int x = 0; x < page.width() && firstRed == page.width(); ++x) {
            if (PdfChecks::near(page.pixel(x, page.height() / 2), Qt::red))
                firstRed = x;
        }
        QVERIFY2(firstRed > page.width() / 2, qPrintable(QString::number(firstRed)));
        QCOMPARE(m_opener->calls, QStringList({"show " + context()->lastConvertedFile(UserContext::ToPdf)}));
        QVERIFY(window.findChild<QWidget*>(StyleName::buttonLastFolder)->isVisible());

        // Merged, named and protected through the general settings.
        const QString merged = freshFolder(QStringLiteral("road-merged"));
        context()->setSaveToFolder(merged);
        view->findChild<QCheckBox*>(StyleName::checkBoxSplitAll)->setChecked(true);
        view->findChild<QPushButton*>(StyleName::settingsForAll)->click();
        QTRY_VERIFY(panel->isVisible() && panel->x() == 156);
        QCOMPARE(panel->currentPage(), int(ToPDFSettingsView::FilePage));
        QLineEdit* name = panel->findChild<QLineEdit*>(StyleName::cleanEdit);
        name->clear();
        QTest::keyClicks(name, "Harbour album");
        const QList<QLineEdit*> edits = panel->findChildren<QLineEdit*>(StyleName::inputEdit);
        edits.at(0)->clear();
        QTest::keyClicks(edits.at(0), "Harbour");
        edits.at(1)->clear();
        QTest::keyClicks(edits.at(1), "Quill House");
        QTest::keyClicks(edits.at(2), "pass word");
        panel->findChild<QPushButton*>(StyleName::buttonSaveSettings)->click();
        panel->findChild<QPushButton*>(StyleName::buttonCloseSettings)->click();
        QTRY_VERIFY(!panel->isVisible());

        script.add(click(StyleName::buttonOk));
        pressConvert(view, script);
        QCOMPARE(pdfsIn(merged), QStringList({"Harbour album.pdf"}));
        const QString album = merged + "/Harbour album.pdf";
        QCOMPARE(PdfChecks::pageCount(album), -1);
        const QMap<QString, QString> info = PdfChecks::info(album, QStringLiteral("pass word"));
        QCOMPARE(info.value("Pages").toInt(), 4);
        QCOMPARE(info.value("Title"), QStringLiteral("Harbour"));
        QCOMPARE(info.value("Author"), QStringLiteral("Quill House"));
        QVERIFY(PdfChecks::isSound(album, QStringLiteral("pass word")));
        // The next merged file gets a new name.
        QVERIFY(context()->fileSettings().fileName.startsWith(QLatin1String("merged_")));
    }

    // Books dropped on the tab go through quillbook: an EPUB made by Calibre, a MOBI Calibre made
    // from it, and an FB2 book each become a PDF with the book's text in order.
    void convertsBooks()
    {
        const QString in = freshFolder(QStringLiteral("books-in"));
        const QString out = freshFolder(QStringLiteral("books-out"));
        QVERIFY(QFile::copy(QStringLiteral(QP_BOOK_DATA "/voyage.epub"), in + "/voyage.epub"));
        QCOMPARE(TestFiles::run(QStringLiteral("ebook-convert"), {in + "/voyage.epub", in + "/voyage2.mobi"}, nullptr,
                                nullptr, 300000),
                 0);
        TestFiles::writeFile(in + "/tale.fb2",
                             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<FictionBook xmlns=\"http://www.gribuser.ru/xml/fictionbook/2.0\"><body>"
                             "<section><title><p>Lantern Tale</p></title><p>Owls kept the lighthouse.</p></section>"
                             "</body></FictionBook>");
        context()->setSaveToFolder(out);
        ToPDFView view;
        view.show();
        view.addFiles({in + "/voyage.epub", in + "/voyage2.mobi", in + "/tale.fb2"});
        QCOMPARE(view.model()->rowCount(), 3);

        DialogScript script;
        script.add(click(StyleName::buttonOk));
        pressConvert(&view, script);
        QVERIFY2(script.seen.first().contains(QLatin1String("Congratulations")), qPrintable(script.seen.first()));
        QCOMPARE(pdfsIn(out), QStringList({"tale.pdf", "voyage.pdf", "voyage2.pdf"}));
        const QRegularExpression voyage(QStringLiteral("Chapter 1: The Harbour.*Chapter 2: The Crossing.*Chapter 3: The Island"),
                                        QRegularExpression::DotMatchesEverythingOption);
        QVERIFY(voyage.match(PdfChecks::text(out + "/voyage.pdf")).hasMatch());
        QVERIFY(voyage.match(PdfChecks::text(out + "/voyage2.pdf")).hasMatch());
        QVERIFY(PdfChecks::text(out + "/tale.pdf").contains(QLatin1String("Owls kept the lighthouse.")));
    }

    // The message counts the files that failed (one gone, one empty), and says plainly when none
    // could be converted (then without "OPEN FOLDER"). A missing output folder is made.
    void messageCountsFailures()
    {
        const QString in = freshFolder(QStringLiteral("fail-in"));
        const QString out = freshFolder(QStringLiteral("fail-out")) + QStringLiteral("/made/here");
        context()->setSaveToFolder(out);
        const QStringList files = {writePng(in + "/a.png", QSize(40, 40), Qt::green), writePng(in + "/b.png", QSize(40, 40), Qt::green),
                                   in + "/c.html", in + "/empty.docx"};
        TestFiles::writeFile(files.at(2), "<html><body>c</body></html>");
        TestFiles::writeFile(files.at(3), "");
        ToPDFView view;
        view.show();
        view.addFiles(files);
        QVERIFY(QFile::remove(files.at(1)));

        DialogScript script;
        script.add(click(StyleName::buttonOk));
        pressConvert(&view, script);
        QVERIFY2(script.seen.first().contains(QLatin1String("2 of 4 files could not be converted")), qPrintable(script.seen.first()));
        QCOMPARE(pdfsIn(out), QStringList({"a.pdf", "c.pdf"}));

        view.model()->clear();
        view.addFiles({files.at(0)});
        QVERIFY(QFile::remove(files.at(0)));
        script.add([](QWidget* dialog) {
            QVERIFY(!dialog->findChild<QWidget*>(StyleName::buttonMessageOpenFolder));
            click(StyleName::buttonOk)(dialog);
        });
        pressConvert(&view, script);
        QVERIFY2(script.seen.last().contains(QLatin1String("Conversion has failed. | None of your files could be converted.")),
                 qPrintable(script.seen.last()));
        QVERIFY(m_opener->calls.isEmpty());
    }

    // A folder that cannot take the results (one below a file, and one that cannot be written)
    // is named before anything starts, and nothing is left behind.
    void unwritableFolderStartsNothing()
    {
        const QString in = freshFolder(QStringLiteral("unwritable"));
        TestFiles::writeFile(in + "/file", "not a folder");
        ToPDFView view;
        view.show();
        view.addFiles({m_tall, m_docx});
        QSignalSpy started(&view, &ToPDFView::started);
        for (const QString& folder : {in + "/file/out", QStringLiteral("/proc")}) {
            context()->setSaveToFolder(folder);
            DialogScript script;
            script.add(click(StyleName::buttonOk));
            view.findChild<QPushButton*>(StyleName::buttonConvert)->click();
            QTRY_COMPARE(script.pending(), 0);
            QVERIFY2(script.seen.first().contains(QDir::toNativeSeparators(folder)), qPrintable(script.seen.first()));
            QVERIFY(!view.isRunning());
        }
        QCOMPARE(started.count(), 0);
        QCOMPARE(TestFiles::entries(in), QStringList({"file"}));
        QCOMPARE(TestFiles::entries(FileSystem::cachePath()), QStringList());
    }

    // Quitting while a web page's outside program runs stops that program and the run before the
    // application tears down.
    void quitStopsTheRunAndItsProgram()
    {
        const QString folder = freshFolder(QStringLiteral("quit"));
        const QString pidFile = folder + "/tool.pid";
        const QString tool = PdfChecks::writeScript(folder + "/quillweb", QStringLiteral("echo $$ > '%1'\nexec sleep 60\n").arg(pidFile));
        qputenv(ToolPaths::environmentVariable(ToolPaths::QuillWeb), tool.toLocal8Bit());
        context()->setSaveToFolder(folder);
        TestFiles::writeFile(folder + "/page.html", "<html><body>page</body></html>");
        {
            ToPDFView view;
            view.show();
            view.addFiles({folder + "/page.html"});
            QSignalSpy started(&view, &ToPDFView::started);
            view.findChild<QPushButton*>(StyleName::buttonConvert)->click();
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(pidFile) && started.count() == 1, 20000);
            QTest::qWait(200);
            const qint64 pid = TestFiles::readFile(pidFile).trimmed().toLongLong();
            QVERIFY(pid > 0 && ::kill(pid_t(pid), 0) == 0);

            QElapsedTimer timer;
            timer.start();
            QVERIFY(Application::instance()->stopWorkers(20000));
            QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
            QTRY_VERIFY(::kill(pid_t(pid), 0) != 0);
            QVERIFY(pdfsIn(folder).isEmpty());
        }
        qunsetenv(ToolPaths::environmentVariable(ToolPaths::QuillWeb));
    }
};

int main(int argc, char* argv[])
{
    return TestApp::run<ToPDFViewTest>(argc, argv);
}

#include "test_topdfview.moc"
