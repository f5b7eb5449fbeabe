// The "From PDF" tab as a user meets it: files added by drops, formats and page ranges chosen in
// the table and the panels, conversions run on their thread to real output files, and every
// dialog answered by a script as a user would.
#include "tests/ui/mainwindow/TestApplication.h"

#include "tests/ui/mainwindow/DialogScript.h"

#include "app/core/UserContext.h"
#include "frompdf/checkview/CheckView.h"
#include "frompdf/model/FromPDFModel.h"
#include "frompdf/views/ExportFormatListView.h"
#include "frompdf/views/FromPDFTable.h"
#include "frompdf/views/FromPDFView.h"
#include "frompdf/views/PageRangesView.h"
#include "tests/frompdf/TestPdfs.h"
#include "ui/kit/StyleNames.h"
#include "ui/kit/TabWidget.h"
#include "ui/mainwindow/MainView.h"
#include "ui/widgets/MessagePassword.h"
#include "ui/widgets/MessageView.h"
#include "ui/widgets/ProgressControl.h"
#include "ui/widgets/ProgressDialog.h"
#include "ui/widgets/StartView.h"

#include <QComboBox>
#include <QCursor>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedLayout>

namespace {

DialogScript::Answer typePassword(const QString& password)
{
    return [password](QWidget* dialog) {
        dialog->findChild<QLineEdit*>(StyleName::inputEdit)->setText(password);
        dialog->findChild<QAbstractButton*>(StyleName::buttonOk)->click();
    };
}

DialogScript::Answer invoke(const char* slot)
{
    return [slot](QWidget* dialog) { QMetaObject::invokeMethod(dialog, slot); };
}

// The text of word/document.xml of a DOCX file.
QString docxText(const QString& path)
{
    QByteArray out;
    TestFiles::run(QStringLiteral("python3"),
                   {QStringLiteral("-c"),
                    QStringLiteral("import sys, zipfile; print(zipfile.ZipFile(sys.argv[1]).read('word/document.xml').decode())"),
                    path},
                   &out);
    return QString::fromUtf8(out);
}

ExportFormatListView* openPopup()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* popup = qobject_cast<ExportFormatListView*>(widget); popup && popup->isVisible())
            return popup;
    }
    return nullptr;
}

void pickFormat(const QString& format)
{
    ExportFormatListView* popup = openPopup();
    QVERIFY(popup);
    QListView* list = popup->listView();
    const QModelIndexList match = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, format, 1, Qt::MatchExactly);
    QCOMPARE(match.size(), 1);
    list->scrollTo(match.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(match.first()).center());
}

void clickCell(FromPDFView* view, int row, int column)
{
    FromPDFTable* table = view->table();
    const QModelIndex index = view->model()->index(row, column);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(index).center());
}

int rowOf(FromPDFView* view, const QString& fileName)
{
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        if (view->model()->task(row).file.fileName() == fileName)
            return row;
    }
    return -1;
}

QStringList filesIn(const QString& folder, const QString& pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files, QDir::Name);
}

// While it lives, OCR reads with the program folder's language data instead of the stand-in
// files the application was given.
class RealLanguageData
{
public:
    RealLanguageData()
        : m_standIn(qgetenv("QUILLPRESS_TESSDATA"))
    {
        qunsetenv("QUILLPRESS_TESSDATA");
    }
    ~RealLanguageData() { qputenv("QUILLPRESS_TESSDATA", m_standIn); }

private:
    const QByteArray m_standIn;
};

} // namespace

class FromPDFViewTest : public QObject
{
    Q_OBJECT

public:
    explicit FromPDFViewTest(TestApp::RecordingOpener* opener)
        : m_opener(opener) {}

private:
    TestApp::RecordingOpener* m_opener;
    QString m_dir;

    // A fresh folder with copies of the named test PDFs.
    QString freshFolder(const QString& name, const QStringList& pdfs)
    {
        const QString folder = m_dir + QLatin1Char('/') + name;
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        for (const QString& pdf : pdfs)
            QFile::copy(m_dir + QStringLiteral("/pdfs/") + pdf, folder + QLatin1Char('/') + pdf);
        return folder;
    }

    void addAndWait(FromPDFView* view, const QStringList& paths, int rows)
    {
        view->addFiles(paths);
        QTRY_COMPARE(view->model()->rowCount(), rows);
    }

private slots:
    void initTestCase()
    {
        MetricSender::init(QStringLiteral("2"), QStringLiteral("2.2.6"));
        m_dir = TestFiles::sandbox() + QStringLiteral("/tab");
        const QString pdfs = m_dir + QStringLiteral("/pdfs/");
        QVERIFY(TestPdfs::writeTextPdf(pdfs + "alpha.pdf", TestPdfs::numberedPages(2)));
        QVERIFY(TestPdfs::writeTextPdf(pdfs + "beta.pdf", TestPdfs::numberedPages(3)));
        QVERIFY(TestPdfs::writeTextPdf(pdfs + "gamma.pdf", TestPdfs::numberedPages(1)));
        QVERIFY(TestPdfs::writeTextPdf(pdfs + "long.pdf", TestPdfs::numberedPages(40)));
        QVERIFY(TestPdfs::writeScannedPdf(pdfs + "scan.pdf", {QStringLiteral("Scanned words")}, 150));
        QVERIFY(TestPdfs::encryptPdf(pdfs + "alpha.pdf", pdfs + "locked.pdf", "secret", "owner"));
        QVERIFY(TestPdfs::encryptPdf(pdfs + "beta.pdf", pdfs + "other.pdf", "other", "owner"));
    }

    void init()
    {
        TestApp::clearSettings();
        m_opener->calls.clear();
    }

    // The road: PDFs dropped on the start page, "docx" for all, a page range for one of them,
    // "CONVERT", the completion message and "OPEN FOLDER".
    void convertsDroppedPdfsToDocxThroughTheWindow()
    {
        const QString folder = freshFolder(QStringLiteral("road"), {"alpha.pdf", "beta.pdf"});
        MainView window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* view = window.findChild<FromPDFView*>();

        TestApp::dropFiles(window.findChild<StartView*>(), {folder + "/alpha.pdf", folder + "/beta.pdf"});
        QCOMPARE(window.findChild<TabWidget*>()->currentIndex(), int(MainView::FromPdfTab));
        QTRY_COMPARE(view->model()->rowCount(), 2);
        QVERIFY(view->table()->isVisible());
        QCOMPARE(view->model()->task(0).pageCount + view->model()->task(1).pageCount, 5);

        // "docx" for every file through the "for all" button.
        view->findChild<QPushButton*>(StyleName::buttonFormat)->click();
        pickFormat(QStringLiteral("docx"));
        QCOMPARE(view->findChild<QPushButton*>(StyleName::buttonFormat)->text(), QStringLiteral("docx"));
        for (int row = 0; row < 2; ++row)
            QCOMPARE(view->model()->task(row).format, QStringLiteral("docx"));

        // Pages 2 to 3 of beta through the page-range panel, which stays open after "OK".
        const int beta = rowOf(view, QStringLiteral("beta.pdf"));
        clickCell(view, beta, FromPDFModel::PagesColumn);
        auto* panel = window.findChild<PageRangesView*>();
        QTRY_VERIFY(panel->isVisible() && panel->x() == 156);
        QVERIFY(panel->findChild<QLabel*>(StyleName::settingsLabel)->text().endsWith(QLatin1String(": 3")));
        const QList<QLineEdit*> edits = panel->findChildren<QLineEdit*>(StyleName::inputEdit);
        QTest::keyClicks(edits.at(0), "2");
        QTest::keyClicks(edits.at(1), "3");
        QTest::mouseClick(panel->findChild<QPushButton*>(StyleName::buttonAddRange), Qt::LeftButton);
        QTest::mouseClick(panel->findChild<QPushButton*>(StyleName::buttonSaveSettings), Qt::LeftButton);
        QCOMPARE(view->model()->data(view->model()->index(beta, FromPDFModel::PagesColumn)).toString(), QStringLiteral("2-3"));
        QVERIFY(panel->isVisible());
        QTest::mouseClick(panel->findChild<QPushButton*>(StyleName::buttonCloseSettings), Qt::LeftButton);
        QTRY_VERIFY(!panel->isVisible());

        // While the run lasts the tab buttons and "Settings" are locked.
        bool lockedWhileRunning = false;
        connect(view, &FromPDFView::started, this, [&] {
            lockedWhileRunning = !window.findChild<QWidget*>(StyleName::buttonTabToPDF)->isEnabled()
                                 && !window.findChild<QWidget*>(StyleName::buttonSettings)->isEnabled()
                                 && view->progressControl()->isVisible();
        });
        DialogScript script;
        script.add(click(StyleName::buttonMessageOpenFolder));
        pressConvert(view, script);
        QVERIFY(lockedWhileRunning);
        QVERIFY(window.findChild<QWidget*>(StyleName::buttonTabToPDF)->isEnabled());
        QCOMPARE(script.seen.size(), 1);
        QVERIFY2(script.seen.first().contains(QLatin1String("All of your files has been converted")), qPrintable(script.seen.first()));

        // Save mode 0: a folder named after each source beside it.
        const QString alphaDocx = folder + "/alpha/alpha_1-2.docx";
        const QString betaDocx = folder + "/beta/beta_2-3.docx";
        QVERIFY(QFile::exists(alphaDocx));
        QVERIFY(QFile::exists(betaDocx));
        QVERIFY(docxText(alphaDocx).contains(QLatin1String("Page 1")));
        QVERIFY(docxText(alphaDocx).contains(QLatin1String("Page 2")));
        const QString betaText = docxText(betaDocx);
        QVERIFY(betaText.contains(QLatin1String("Page 3")));
        QVERIFY(!betaText.contains(QLatin1String("Page 1")));
        const QString last = Application::instance()->userContext()->lastConvertedFile(UserContext::FromPdf);
        QVERIFY(last == QDir::toNativeSeparators(alphaDocx) || last == QDir::toNativeSeparators(betaDocx));
        QCOMPARE(m_opener->calls, QStringList({QStringLiteral("show ") + last}));
        QVERIFY(window.findChild<QWidget*>(StyleName::buttonLastFolder)->isVisible());
    }

    // PNG pages into a chosen folder; a file that went away since it was added fails, and the
    // message says so.
    void convertsToPngPagesAndCountsFailures()
    {
        const QString folder = freshFolder(QStringLiteral("png"), {"alpha.pdf", "beta.pdf", "gamma.pdf"});
        const QString out = m_dir + QStringLiteral("/png-out");
        QDir(out).removeRecursively();
        QDir().mkpath(out);
        FromPDFView view(nullptr, {{}, [out](QWidget*, const QString&, const QString&) { return out; }});
        view.resize(685, 420);
        view.show();
        addAndWait(&view, {folder + "/alpha.pdf", folder + "/beta.pdf", folder + "/gamma.pdf"}, 3);

        auto* combo = view.findChild<QComboBox*>();
        combo->setCurrentIndex(2);
        QMetaObject::invokeMethod(combo, "activated", Q_ARG(int, 2));
        QCOMPARE(combo->currentText(), out);

        clickCell(&view, 0, FromPDFModel::FormatColumn);
        pickFormat(QStringLiteral("png"));
        QCOMPARE(view.model()->task(0).format, QStringLiteral("png"));
        QVERIFY(view.model()->task(0).split);
        view.model()->setFormat(1, QStringLiteral("png"));
        view.model()->setFormat(2, QStringLiteral("png"));
        QVERIFY(QFile::remove(folder + "/gamma.pdf"));

        DialogScript script;
        script.add(click(StyleName::buttonMessageOpenFolder));
        pressConvert(&view, script);
        QVERIFY2(script.seen.first().contains(QLatin1String("1 of 3 files could not be converted")), qPrintable(script.seen.first()));

        const QStringList pngs = filesIn(out, QStringLiteral("*.png"));
        QCOMPARE(pngs, QStringList({"alpha_1.png", "alpha_2.png", "beta_1.png", "beta_2.png", "beta_3.png"}));
        for (const QString& png : pngs) {
            const QImage image(out + QLatin1Char('/') + png);
            QVERIFY2(!image.isNull() && image.width() > 1000 && image.height() > image.width(), qPrintable(png));
        }
        QCOMPARE(m_opener->calls.size(), 1);
        QVERIFY(m_opener->calls.first().startsWith(QStringLiteral("show ") + QDir::toNativeSeparators(out)));
    }

    void reportsTotalFailureAndCancellation()
    {
        const QString folder = freshFolder(QStringLiteral("fail"), {"alpha.pdf", "long.pdf"});
        FromPDFView view;
        view.show();
        addAndWait(&view, {folder + "/alpha.pdf"}, 1);
        QVERIFY(QFile::remove(folder + "/alpha.pdf"));
        DialogScript script;
        script.add([](QWidget* dialog) {
            QVERIFY(!dialog->findChild<QAbstractButton*>(StyleName::buttonMessageOpenFolder));
            dialog->findChild<QAbstractButton*>(StyleName::buttonOk)->click();
        });
        pressConvert(&view, script);
        QVERIFY2(script.seen.last().contains(QLatin1String("None of your files could be converted.")), qPrintable(script.seen.last()));
        QVERIFY(m_opener->calls.isEmpty());

        // Stop pressed as soon as the run starts.
        view.model()->clear();
        addAndWait(&view, {folder + "/long.pdf"}, 1);
        view.model()->setFormat(0, QStringLiteral("png"));
        connect(&view, &FromPDFView::started, this,
                [&view] { view.progressControl()->findChild<QPushButton*>(StyleName::buttonStop)->click(); });
        script.add(click(StyleName::buttonOk));
        pressConvert(&view, script);
        // Depending on how soon the stop lands, a page may have been written or none.
        QVERIFY2(script.seen.last().contains(QLatin1String("The operation was cancelled")), qPrintable(script.seen.last()));
        QVERIFY(filesIn(folder + "/long", QStringLiteral("*.png")).size() < 40);
        QVERIFY(!view.progressControl()->isStopped());
    }

    // The question comes from the conversion thread and waits for the answer here.
    void asksAboutAScannedPdf()
    {
        const QString folder = freshFolder(QStringLiteral("scan"), {"scan.pdf"});
        FromPDFView view;
        view.show();
        addAndWait(&view, {folder + "/scan.pdf"}, 1);
        QVERIFY(view.model()->task(0).scanned);
        view.model()->setFormat(0, QStringLiteral("docx"));
        DialogScript script;
        script.add([](QWidget* dialog) {
            QVERIFY(qobject_cast<CheckView*>(dialog));
            dialog->findChild<QAbstractButton*>(QStringLiteral("checkocrview__button_without_ocr"))->click();
        });
        script.add(click(StyleName::buttonOk));
        pressConvert(&view, script);
        QVERIFY2(script.seen.first().contains(QLatin1String("scan.pdf")) && script.seen.first().contains(QLatin1String("scanned PDF")),
                 qPrintable(script.seen.first()));
        QVERIFY(QFile::exists(folder + "/scan/scan.docx"));
    }

    // Converts a speckled fax-quality page to DOCX with OCR, as a user does, and returns once the
    // page has been read for a second: the question answered, the page on its way.
    void startOcrOfANoisyScan(FromPDFView& view, const QString& folder, DialogScript& script)
    {
        QVERIFY(TestPdfs::writeNoisyScanPdf(folder + "/fax.pdf", TestPdfs::sentencePages(1, 40).first()));
        view.show();
        addAndWait(&view, {folder + "/fax.pdf"}, 1);
        QVERIFY(view.model()->task(0).scanned);
        view.model()->setFormat(0, QStringLiteral("docx"));
        script.add(click(StyleName::checkocrview__button_use_ocr));
        view.findChild<QPushButton*>(StyleName::buttonConvert)->click();
        QLabel* message = view.progressControl()->findChildren<QLabel*>(StyleName::progressLabel).at(0);
        QTRY_VERIFY_WITH_TIMEOUT(message->text().contains(QLatin1String("0 of 1 pages")), 60000);
        QTest::qWait(1100);
    }

    // While the page is read the progress shows the pages done and the time that passes; "Stop"
    // ends the run within a second, and a run that wrote nothing offers no folder to open.
    void ocrOfANoisyScanShowsPagesDoneAndStops()
    {
        const QString folder = freshFolder(QStringLiteral("noisy"), {});
        const RealLanguageData languages;
        FromPDFView view;
        DialogScript script;
        QSignalSpy finished(&view, &FromPDFView::finished);
        startOcrOfANoisyScan(view, folder, script);
        ProgressControl* control = view.progressControl();
        auto* bar = control->findChild<QProgressBar*>();
        const QList<QLabel*> labels = control->findChildren<QLabel*>(StyleName::progressLabel);
        QCOMPARE(labels.at(0)->text(), QStringLiteral("1 of 1 converting. 0 of 1 pages"));
        QVERIFY2(bar->minimum() < bar->maximum(), "a busy bar tells no pages");
        QCOMPARE(bar->value(), bar->minimum());
        QVERIFY2(labels.at(1)->text().contains(QRegularExpression(QStringLiteral("\\d\\d:\\d\\d:\\d\\d"))),
                 qPrintable(labels.at(1)->text()));

        script.add([](QWidget* dialog) {
            QVERIFY(!dialog->findChild<QAbstractButton*>(StyleName::buttonMessageOpenFolder));
            dialog->findChild<QAbstractButton*>(StyleName::buttonOk)->click();
        });
        QElapsedTimer clock;
        clock.start();
        control->findChild<QPushButton*>(StyleName::buttonStop)->click();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);
        QVERIFY2(clock.elapsed() < QP_STOP_ANSWERED_MS, qPrintable(QString::number(clock.elapsed())));
        QTRY_COMPARE(script.pending(), 0);
        QVERIFY2(script.seen.last().contains(QLatin1String("cancelled before any file was written")),
                 qPrintable(script.seen.last()));
        QCOMPARE(TestFiles::entries(folder + "/fax"), QStringList());
    }

    void asksForPasswordsWhereTheyAreNeeded()
    {
        const QString folder = freshFolder(QStringLiteral("locked"), {"locked.pdf", "other.pdf"});
        FromPDFView view;
        view.show();
        addAndWait(&view, {folder + "/locked.pdf", folder + "/other.pdf"}, 2);
        const int locked = rowOf(&view, QStringLiteral("locked.pdf"));
        QVERIFY(view.model()->data(view.model()->index(locked, 0), FromPDFModel::NeedsPasswordRole).toBool());

        // A wrong password is reported and changes nothing; ranges need the right one first.
        DialogScript script;
        script.add([](QWidget* dialog) {
            QVERIFY(!dialog->findChild<QAbstractButton*>(StyleName::buttonSkip)->isVisible());
            typePassword(QStringLiteral("wrong"))(dialog);
        });
        script.add(click(StyleName::buttonOk));
        clickCell(&view, locked, FromPDFModel::PasswordColumn);
        QTRY_COMPARE(script.pending(), 0);
        QVERIFY2(script.seen.last().contains(QLatin1String("The password for locked.pdf is incorrect")), qPrintable(script.seen.last()));
        QVERIFY(view.model()->data(view.model()->index(locked, 0), FromPDFModel::NeedsPasswordRole).toBool());

        QSignalSpy ranges(&view, &FromPDFView::selectRanges);
        script.add(typePassword(QStringLiteral("secret")));
        clickCell(&view, locked, FromPDFModel::PagesColumn);
        QTRY_COMPARE(ranges.count(), 1);
        QCOMPARE(ranges.first().at(1).value<FromPDFTask>().pageCount, 2);
        QVERIFY(!view.model()->data(view.model()->index(locked, 0), FromPDFModel::NeedsPasswordRole).toBool());

        // At "CONVERT" the other file's password is asked for; SKIP leaves it out.
        view.model()->setFormatForAll(QStringLiteral("docx"));
        script.add(invoke("buttonSkip"));
        script.add(click(StyleName::buttonMessageOpenFolder));
        pressConvert(&view, script);
        QVERIFY(QFile::exists(folder + "/locked/locked_1-2.docx"));
        QVERIFY(!QDir(folder + "/other").exists());
        QVERIFY(docxText(folder + "/locked/locked_1-2.docx").contains(QLatin1String("Page 2")));
    }

    void tableClicksEditRows()
    {
        const QString folder = freshFolder(QStringLiteral("clicks"), {"alpha.pdf", "beta.pdf"});
        FromPDFView view;
        view.show();
        addAndWait(&view, {folder + "/alpha.pdf", folder + "/beta.pdf"}, 2);

        // A second click on the same format cell closes the pop-up (its press lands outside the
        // pop-up, the click then reaches the table) and opens none.
        const QModelIndex format = view.model()->index(0, FromPDFModel::FormatColumn);
        const QPoint cell = view.table()->viewport()->mapToGlobal(view.table()->visualRect(format).center());
        view.onTableClicked(format);
        QPointer<ExportFormatListView> popup = openPopup();
        QVERIFY(popup);
        QCOMPARE(popup->currentFormat(), QStringLiteral("doc"));
        QCursor::setPos(cell);
        QTest::mouseClick(popup, Qt::LeftButton, {}, popup->mapFromGlobal(cell));
        QTRY_VERIFY(popup.isNull());
        view.onTableClicked(format);
        QVERIFY(!openPopup());
        // Dismissed elsewhere, the next click on the cell opens it again.
        view.onTableClicked(format);
        popup = openPopup();
        QVERIFY(popup);
        QCursor::setPos(cell + QPoint(-300, 0));
        QTest::mouseClick(popup, Qt::LeftButton, {}, popup->mapFromGlobal(cell + QPoint(-300, 0)));
        QTRY_VERIFY(popup.isNull());
        view.onTableClicked(format);
        QVERIFY(openPopup());
        pickFormat(QStringLiteral("eps"));
        QCOMPARE(view.model()->task(0).format, QStringLiteral("eps"));

        // Split: forced for eps, toggled for the other.
        clickCell(&view, 0, FromPDFModel::SplitColumn);
        QVERIFY(view.model()->data(view.model()->index(0, FromPDFModel::SplitColumn)).toBool());
        clickCell(&view, 1, FromPDFModel::SplitColumn);
        QVERIFY(view.model()->task(1).split);

        // The preview shows the row's file.
        clickCell(&view, 1, FromPDFModel::PreviewColumn);
        QTRY_VERIFY(view.documentViewer()->isVisible());
        QCOMPARE(view.documentViewer()->pageView()->pages().size(), 3);

        // Removing the last row brings the drop area back.
        auto* pages = view.findChildren<QStackedLayout*>().first();
        QCOMPARE(pages->currentIndex(), 1);
        clickCell(&view, 1, FromPDFModel::RemoveColumn);
        clickCell(&view, 0, FromPDFModel::RemoveColumn);
        QVERIFY(view.model()->isEmpty());
        QCOMPARE(pages->currentIndex(), 0);
    }

    void cancelledFolderChoiceKeepsTheSaveMode()
    {
        FromPDFView view(nullptr, {{}, [](QWidget*, const QString&, const QString&) { return QString(); }});
        auto* combo = view.findChild<QComboBox*>();
        combo->setCurrentIndex(1);
        QMetaObject::invokeMethod(combo, "activated", Q_ARG(int, 1));
        combo->setCurrentIndex(2);
        QMetaObject::invokeMethod(combo, "activated", Q_ARG(int, 2));
        QCOMPARE(combo->currentIndex(), 1);
    }

    // An output folder that cannot take the results (one below a file, one that cannot be
    // written) is named with the reason before anything starts.
    void unwritableFolderStartsNothing()
    {
        const QString folder = freshFolder(QStringLiteral("unwritable"), {"gamma.pdf"});
        TestFiles::writeFile(folder + "/file", "not a folder");
        for (const QString& target : {folder + "/file/out", QStringLiteral("/proc")}) {
            FromPDFView view(nullptr, {{}, [target](QWidget*, const QString&, const QString&) { return target; }});
            view.show();
            addAndWait(&view, {folder + "/gamma.pdf"}, 1);
            auto* combo = view.findChild<QComboBox*>();
            combo->setCurrentIndex(2);
            QMetaObject::invokeMethod(combo, "activated", Q_ARG(int, 2));
            QSignalSpy started(&view, &FromPDFView::started);
            DialogScript script;
            script.add(click(StyleName::buttonOk));
            view.findChild<QPushButton*>(StyleName::buttonConvert)->click();
            QTRY_COMPARE(script.pending(), 0);
            QVERIFY2(script.seen.first().contains(QDir::toNativeSeparators(target) + QStringLiteral(" (")),
                     qPrintable(script.seen.first()));
            QVERIFY2(!script.seen.first().contains(QStringLiteral("()")), qPrintable(script.seen.first()));
            QCOMPARE(started.count(), 0);
            QVERIFY(!view.isRunning());
        }
        QCOMPARE(TestFiles::entries(folder), QStringList({"file", "gamma.pdf"}));
    }

    // Closing the window while a page is read by OCR ends the run as "Stop" does, at once.
    void quittingDuringOcrEndsTheRunAtOnce()
    {
        const QString folder = freshFolder(QStringLiteral("quit-ocr"), {});
        const RealLanguageData languages;
        auto* view = new FromPDFView;
        DialogScript script;
        startOcrOfANoisyScan(*view, folder, script);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(Application::instance()->stopWorkers(60000));
        QVERIFY2(clock.elapsed() < QP_STOP_ANSWERED_MS, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(TestFiles::entries(folder + "/fax"), QStringList());
        delete view;
    }

    // Quitting in the middle of a run: the application stops the registered thread and waits.
    void quittingStopsARunningConversion()
    {
        const QString folder = freshFolder(QStringLiteral("quit"), {"long.pdf"});
        QSettings(TestApp::settingsPath(), QSettings::IniFormat).setValue(QStringLiteral("quality_images"), 2);
        auto* view = new FromPDFView;
        view->show();
        addAndWait(view, {folder + "/long.pdf"}, 1);
        view->model()->setFormat(0, QStringLiteral("png"));
        QSignalSpy started(view, &FromPDFView::started);
        view->findChild<QPushButton*>(StyleName::buttonConvert)->click();
        QTRY_COMPARE(started.count(), 1);
        QVERIFY(Application::instance()->stopWorkers(60000));
        QVERIFY(filesIn(folder + "/long", QStringLiteral("*.png")).size() < 40);
        delete view;
    }
};

int main(int argc, char* argv[])
{
    return TestApp::run<FromPDFViewTest>(argc, argv);
}

#include "test_frompdfview.moc"
