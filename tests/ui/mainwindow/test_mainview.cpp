#include "tests/ui/mainwindow/TestApplication.h"

#include "app/core/ProgramVersion.h"
#include "app/core/UserContext.h"
#include "frompdf/model/FromPDFModel.h"
#include "frompdf/views/FromPDFView.h"
#include "services/metrics/UsageStatistics.h"
#include "services/update/UpdateChecker.h"
#include "topdf/model/ToPDFModel.h"
#include "topdf/views/ToPDFView.h"
#include "ui/kit/TabWidget.h"
#include "ui/kit/WindowBar.h"
#include "ui/mainwindow/MainView.h"
#include "ui/mainwindow/MessageUpdate.h"
#include "ui/mainwindow/SettingsView.h"
#include "ui/widgets/StartView.h"

#include <QComboBox>
#include <QDropEvent>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>

using TestApp::stored;

class MainViewTest : public QObject
{
    Q_OBJECT

public:
    explicit MainViewTest(TestApp::RecordingOpener* opener)
        : m_opener(opener) {}

private:
    TestApp::RecordingOpener* m_opener;
    LocalHttpServer m_server;

    static QWidget* child(QWidget* window, const char* name)
    {
        QWidget* widget = window->findChild<QWidget*>(QLatin1String(name));
        if (!widget)
            qWarning("no child %s", name);
        return widget;
    }

    // The conversion page on show (the window must be shown).
    static QWidget* currentPage(MainView& view)
    {
        for (QWidget* page : {static_cast<QWidget*>(view.findChild<FromPDFView*>()),
                              static_cast<QWidget*>(view.findChild<ToPDFView*>())}) {
            if (page && page->isVisible())
                return page;
        }
        return nullptr;
    }

    // Builds a main window with the update server answering as told, and returns what the
    // update dialogs it opened said (each is cancelled at once).
    QStringList offeredUpdates(LocalHttpServer::Answer answer, const QByteArray& body)
    {
        m_server.clearRecords();
        m_server.setAnswer(answer, body);
        auto texts = std::make_shared<QStringList>();
        auto answering = TestApp::answerNextDialog([texts](QWidget* dialog) {
            if (qobject_cast<MessageUpdate*>(dialog)) {
                for (QLabel* label : dialog->findChildren<QLabel*>())
                    *texts << label->text();
            }
            dialog->findChild<QPushButton*>(QStringLiteral("buttonMessageCancel"))->click();
        });
        MainView view;
        [&] { QTRY_VERIFY(!m_server.targets().isEmpty()); }();
        // The answer arrives, is judged and reaches the window through a queued call.
        QTest::qWait(400);
        return *texts;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_server.listen());
        MetricSender::init(QStringLiteral("2"), QStringLiteral("2.2.6"));
        MetricSender::setEndpoint(m_server.url(QStringLiteral("/metrics")));
        UpdateChecker::setEndpoint(m_server.url(QStringLiteral("/check.php")));
        TestApp::store(QStringLiteral("auto_update_enabled"), false);
    }

    void init()
    {
        // Metric requests are answered; the update tests say what the check gets.
        m_server.setAnswer(LocalHttpServer::Ok);
        m_server.clearRecords();
        m_opener->calls.clear();
    }

    void initialState()
    {
        MainView view;
        view.show();
        QCOMPARE(view.size(), QSize(743, 540));
        QCOMPARE(child(&view, "mainView")->geometry(), QRect(20, 20, 703, 500));
        TabWidget* tabs = view.findChild<TabWidget*>();
        QCOMPARE(tabs->currentIndex(), 0);
        for (const char* hidden : {"buttonLastFolder", "settingsViewContent", "boxFade", "windowMaximize"})
            QVERIFY2(!child(&view, hidden)->isVisible(), hidden);
        QVERIFY(child(&view, "windowMinimize")->isVisible() && child(&view, "windowClose")->isVisible());

        // Double-clicking the bar does not maximise.
        QTest::mouseDClick(view.findChild<WindowBar*>(), Qt::LeftButton);
        QVERIFY(!(view.windowState() & Qt::WindowMaximized));

        // The start page's buttons lead to the tabs.
        qobject_cast<QPushButton*>(child(&view, "buttonInitToPDF"))->click();
        QCOMPARE(tabs->currentIndex(), 2);
        qobject_cast<QPushButton*>(child(&view, "buttonInitFromPDF"))->click();
        QCOMPARE(tabs->currentIndex(), 1);
    }

    void dropsGoToTheirTabs()
    {
        MainView view;
        view.show();
        StartView* start = view.findChild<StartView*>();
        TabWidget* tabs = view.findChild<TabWidget*>();

        // A mixed drop does nothing.
        TestApp::dropFiles(start, {QStringLiteral("/d/a.pdf"), QStringLiteral("/d/b.docx")});
        QCOMPARE(tabs->currentIndex(), 0);

        setAddSource(0);
        auto* fromPdf = view.findChild<FromPDFView*>();
        QSignalSpy handedToFromPdf(fromPdf->model(), &FromPDFModel::addFiles);
        TestApp::dropFiles(start, {QStringLiteral("/d/a.PDF"), QStringLiteral("/d/b.pdf")});
        QCOMPARE(tabs->currentIndex(), 1);
        QCOMPARE(currentPage(view), fromPdf);
        QCOMPARE(handedToFromPdf.count(), 1);
        QCOMPARE(handedToFromPdf.first().first().toStringList(), QStringList({"/d/a.PDF", "/d/b.pdf"}));
        // The tab sends the first add of the process with the source the window stored.
        QTRY_VERIFY(TestApp::metricItems(m_server).contains(QStringLiteral("&m1=add:2:1")));

        setAddSource(0);
        const QString photo = TestFiles::sandbox() + QStringLiteral("/d/photo.JPG");
        const QString book = TestFiles::sandbox() + QStringLiteral("/d/book.epub");
        QVERIFY(TestFiles::writeFile(photo, "x") && TestFiles::writeFile(book, "x"));
        TestApp::dropFiles(start, {photo, book});
        QCOMPARE(tabs->currentIndex(), 2);
        auto* toPdf = qobject_cast<ToPDFView*>(currentPage(view));
        QVERIFY(toPdf);
        QCOMPARE(toPdf->model()->rowCount(), 2);
        QCOMPARE(toPdf->model()->task(0).file.filePath() + toPdf->model()->task(1).file.filePath(), photo + book);
        QCOMPARE(handedToFromPdf.count(), 1);
        QCOMPARE(UsageStatistics::instance().value(QLatin1String(UsageStatistics::addSourceKey())), QStringLiteral("1"));
    }

    // While either tab runs, both tab buttons, "Settings" and "Open folder" are locked.
    void runLocksTheShellControls()
    {
        MainView view;
        view.show();
        UserContext* context = Application::instance()->userContext();
        context->setLastConvertedFile(UserContext::FromPdf, QString());
        context->setLastConvertedFile(UserContext::ToPdf, QString());
        TabWidget* tabs = view.findChild<TabWidget*>();
        tabs->setCurrentIndex(2);
        QWidget* toPdf = currentPage(view);
        tabs->setCurrentIndex(1);
        QWidget* fromPdf = currentPage(view);
        QVERIFY(fromPdf && toPdf && fromPdf != toPdf);
        const QList<QWidget*> guarded = {child(&view, "buttonTabFromPDF"), child(&view, "buttonTabToPDF"),
                                         child(&view, "buttonLastFolder"), child(&view, "buttonSettings")};
        QWidget* lastFolder = child(&view, "buttonLastFolder");

        for (QWidget* page : {fromPdf, toPdf}) {
            QMetaObject::invokeMethod(page, "started");
            for (QWidget* control : guarded)
                QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
            QMetaObject::invokeMethod(page, "finished");
            for (QWidget* control : guarded)
                QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
        }
        // Neither side has produced anything yet: no "Open folder".
        QVERIFY(!lastFolder->isVisible());

        // A run that assigned a path, even an empty one, shows the button.
        QMetaObject::invokeMethod(fromPdf, "started");
        context->setLastConvertedFile(UserContext::FromPdf, QStringLiteral(""));
        QMetaObject::invokeMethod(fromPdf, "finished");
        QVERIFY(lastFolder->isVisible());
        // Switching tabs shows it only for a side with a non-empty path.
        tabs->setCurrentIndex(2);
        QVERIFY(!lastFolder->isVisible());
        tabs->setCurrentIndex(1);
        QVERIFY(!lastFolder->isVisible());

        // "Open folder" shows the current side's last file in the file manager.
        const QString fromFile = TestFiles::sandbox() + QStringLiteral("/out/from.docx");
        const QString toFile = TestFiles::sandbox() + QStringLiteral("/out/to.pdf");
        QVERIFY(TestFiles::writeFile(fromFile, "x") && TestFiles::writeFile(toFile, "x"));
        context->setLastConvertedFile(UserContext::FromPdf, fromFile);
        context->setLastConvertedFile(UserContext::ToPdf, toFile);
        tabs->setCurrentIndex(2);
        QVERIFY(lastFolder->isVisible());
        qobject_cast<QPushButton*>(lastFolder)->click();
        tabs->setCurrentIndex(1);
        qobject_cast<QPushButton*>(lastFolder)->click();
        QCOMPARE(m_opener->calls, QStringList({"show " + toFile, "show " + fromFile}));
    }

    void settingsPanelSlidesInAndOut()
    {
        MainView view;
        view.show();
        QWidget* panel = child(&view, "settingsViewContent");
        QWidget* fade = child(&view, "boxFade");
        QPushButton* settings = qobject_cast<QPushButton*>(child(&view, "buttonSettings"));

        settings->click();
        QVERIFY(panel->isVisible() && fade->isVisible());
        QCOMPARE(fade->geometry(), QRect(0, 0, 703, 500));
        // It starts beyond the inner frame's right edge and waits for the fade.
        QCOMPARE(panel->geometry(), QRect(742, 0, 547, 500));
        QTest::qWait(50);
        QCOMPARE(panel->geometry().x(), 742);
        QTRY_COMPARE_WITH_TIMEOUT(panel->geometry(), QRect(156, 0, 547, 500), 2000);
        auto* effect = qobject_cast<QGraphicsOpacityEffect*>(fade->graphicsEffect());
        QVERIFY(effect);
        QCOMPARE(effect->opacity(), 0.6);
        // Stacked above the overlay, which is above everything else.
        const QObjectList siblings = child(&view, "mainView")->children();
        QVERIFY(siblings.indexOf(panel) > siblings.indexOf(fade));
        QVERIFY(panel->hasFocus() || panel->isAncestorOf(QApplication::focusWidget()));

        QTest::keyClick(panel, Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(!panel->isVisible(), 2000);
        QCOMPARE(panel->geometry(), QRect(743, 0, 547, 500));
        QTRY_VERIFY_WITH_TIMEOUT(!fade->isVisible(), 1000);

        // "set" says whether this is the first opening in the process.
        settings->click();
        QTRY_COMPARE_WITH_TIMEOUT(panel->geometry().x(), 156, 2000);
        QTRY_COMPARE(TestApp::metricItems(m_server).filter(QStringLiteral("=set:")).size(), 2);
        QCOMPARE(TestApp::metricItems(m_server).filter(QStringLiteral("=set:")), QStringList({"&m1=set:1", "&m1=set:0"}));
    }

    // A folder chosen in the tab lasts for the session: the settings panel shows, and saves, the
    // stored save mode, and saving other settings leaves the tab's choice; a new stored save
    // mode replaces it.
    void tabFolderChoiceOutlivesOtherSettings()
    {
        TestApp::store(QStringLiteral("SaveMode/Mode"), 1);
        const QString picked = TestFiles::sandbox() + QStringLiteral("/picked");
        QVERIFY(QDir().mkpath(picked));
        MainView view;
        view.show();
        auto* tab = view.findChild<FromPDFView*>();
        auto* tabCombo = tab->findChild<QComboBox*>();
        auto picking = TestApp::answerNextDialog([picked](QWidget* dialog) {
            if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(picked);
            static_cast<QDialog*>(dialog)->accept();
        });
        tabCombo->setCurrentIndex(2);
        tab->onChangeOutFolder(2);
        QCOMPARE(tabCombo->currentText(), picked);

        auto* panel = view.findChild<SettingsView*>();
        QComboBox* panelSave = panel->findChildren<QComboBox*>().at(2);
        auto save = [&] { qobject_cast<QPushButton*>(child(panel, "buttonSaveSettings"))->click(); };
        panel->show();
        QCOMPARE(panelSave->currentIndex(), 1);
        panel->findChild<QLineEdit*>(QStringLiteral("inputEdit"))->setText(QStringLiteral("Other publisher"));
        save();
        QCOMPARE(stored(QStringLiteral("SaveMode/Mode")).toInt(), 1);
        QCOMPARE(tabCombo->currentText(), picked);

        panel->hide();
        panel->show();
        panelSave->setCurrentIndex(0);
        save();
        QCOMPARE(tabCombo->currentIndex(), 0);
    }

    void updateIsOfferedOncePerVersion()
    {
        TestApp::store(QStringLiteral("auto_update_enabled"), true);
        TestApp::store(QStringLiteral("last_show_version"), QStringLiteral("0.0"));

        const QStringList first = offeredUpdates(LocalHttpServer::Ok, "2.2.7");
        QVERIFY2(first.join(QLatin1Char('|')).contains(QStringLiteral("<b>2.2.7</b>")), qPrintable(first.join('|')));
        QCOMPARE(stored(QStringLiteral("last_show_version")).toString(), QStringLiteral("2.2.7"));
        QVERIFY(m_server.targets().first().startsWith(QStringLiteral("/check.php?ver=" QUILLPRESS_VERSION "&pid=2&mh=")));

        QCOMPARE(offeredUpdates(LocalHttpServer::Ok, "2.2.7"), QStringList());
        QVERIFY(!offeredUpdates(LocalHttpServer::Ok, "2.3.0").isEmpty());
        QCOMPARE(stored(QStringLiteral("last_show_version")).toString(), QStringLiteral("2.3.0"));

        // Failed, empty, old and hostile answers offer nothing and leave the setting alone.
        QCOMPARE(offeredUpdates(LocalHttpServer::NotFound, "9.9.9"), QStringList());
        QCOMPARE(offeredUpdates(LocalHttpServer::Ok, ""), QStringList());
        QCOMPARE(offeredUpdates(LocalHttpServer::Ok, "2.2.5"), QStringList());
        QCOMPARE(offeredUpdates(LocalHttpServer::Ok, "9.9.9<img src=x>"), QStringList());
        QCOMPARE(stored(QStringLiteral("last_show_version")).toString(), QStringLiteral("2.3.0"));

        // Switched off, nothing is asked.
        TestApp::store(QStringLiteral("auto_update_enabled"), false);
        m_server.clearRecords();
        {
            MainView view;
            QTest::qWait(300);
        }
        QVERIFY(m_server.targets().filter(QStringLiteral("/check.php")).isEmpty());
    }

    void updateDialogLinksAndDownload()
    {
        MessageUpdate dialog(QStringLiteral("3.0"), QStringLiteral("https://x.test/log"), QStringLiteral("https://x.test/dl"));
        QCOMPARE(dialog.focusWidget(), dialog.findChild<QPushButton*>(QStringLiteral("buttonOk")));
        dialog.show();
        dialog.findChild<QPushButton*>(QStringLiteral("buttonURL"))->click();
        QVERIFY(!dialog.isVisible());
        dialog.show();
        dialog.findChild<QPushButton*>(QStringLiteral("buttonOk"))->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(m_opener->calls, QStringList({"open https://x.test/log", "open https://x.test/dl"}));
        QTRY_VERIFY(TestApp::metricItems(m_server).contains(QStringLiteral("&m1=upd:1")));
    }
};

int main(int argc, char* argv[])
{
    return TestApp::run<MainViewTest>(argc, argv);
}

#include "test_mainview.moc"
