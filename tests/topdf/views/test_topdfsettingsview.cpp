// The PDF settings panel as a user meets it: the three edit modes, typing and saving, CLOSE and
// CANCEL, the question on leaving a page with unsaved edits, and the file-name rules. Its dialogs
// are answered by a script.
#include "shared/records/ToPdfRecords.h"
#include "tests/ui/mainwindow/DialogScript.h"
#include "topdf/views/PositionControl.h"
#include "topdf/views/PreviewControl.h"
#include "topdf/views/ToPDFSettingsView.h"
#include "ui/kit/Style.h"
#include "ui/kit/StyleNames.h"
#include "ui/kit/TabButton.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

ToPDFTask makeTask(const QString& path, bool fileSettingsEnabled = true)
{
    ToPDFTask task;
    task.file = QFileInfo(path);
    task.fileSettings = {task.file.completeBaseName(), QStringLiteral("A title"), QStringLiteral("Quill House"), QString()};
    task.fileSettingsEnabled = fileSettingsEnabled;
    return task;
}

} // namespace

class ToPdfSettingsViewTest : public QObject
{
    Q_OBJECT

    ToPDFSettingsView* m_panel = nullptr;

    QLineEdit* edit(int row) const
    {
        if (row == 0)
            return m_panel->findChild<QLineEdit*>(StyleName::cleanEdit);
        return m_panel->findChildren<QLineEdit*>(StyleName::inputEdit).at(row - 1);
    }
    QPushButton* button(const QString& name) const { return m_panel->findChild<QPushButton*>(name); }
    TabButton* tab(const QString& name) const { return m_panel->findChild<TabButton*>(name); }
    QString caption() const { return m_panel->findChild<QLabel*>(StyleName::settingsLabel)->text(); }
    QComboBox* combo(int index) const { return m_panel->findChildren<QComboBox*>().at(index); }

    void activate(QComboBox* box, int value)
    {
        const int index = box->findData(value);
        box->setCurrentIndex(index);
        QMetaObject::invokeMethod(box, "activated", Q_ARG(int, index));
    }

private slots:
    void initTestCase()
    {
        loadStyleSheet();
        registerToPdfRecordTypes();
    }

    void init()
    {
        m_panel = new ToPDFSettingsView;
        m_panel->resize(547, 500);
        m_panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_panel));
    }

    void cleanup() { delete m_panel; }

    // One picture of a merged table: its file settings are not its own, so the panel opens on the
    // layout page and the file page is locked. Another kind of file has no layout page.
    void oneTaskOpensOnThePageItCanEdit()
    {
        LayoutSettingsData layout;
        layout.position = LayoutSettingsData::BottomRight;
        ToPDFTask photo = makeTask("/d/Photo.JPG", false);
        photo.layoutSettings = layout;
        m_panel->editTask(3, photo, 0);
        QCOMPARE(m_panel->currentPage(), int(ToPDFSettingsView::LayoutPage));
        QCOMPARE(caption(), QStringLiteral("Photo.JPG - PDF Settings"));
        // Loading moved the position grid without an edit.
        QCOMPARE(m_panel->positionControl()->position(), 8);
        QVERIFY(!m_panel->layoutSettings().isModified());
        QCOMPARE(m_panel->preview()->layoutSettings().position, 8);
        QCOMPARE(button(StyleName::buttonCancel)->text(), QStringLiteral("CLOSE"));
        QVERIFY(!button(StyleName::buttonSaveSettings)->isEnabled());
        QTest::mouseClick(tab(StyleName::tabButtonFileSettings), Qt::LeftButton);
        QCOMPARE(m_panel->currentPage(), int(ToPDFSettingsView::FilePage));
        for (int row = 0; row < 4; ++row)
            QVERIFY(!edit(row)->isEnabled());
        QVERIFY(!button(StyleName::buttonSaveSettings)->isEnabled());

        m_panel->editTask(1, makeTask("/d/report.final.docx"), 0);
        QCOMPARE(m_panel->currentPage(), int(ToPDFSettingsView::FilePage));
        QVERIFY(!tab(StyleName::tabButtonLayoutSettings)->isEnabled());
        QCOMPARE(edit(0)->text(), QStringLiteral("report.final"));
        QVERIFY(edit(0)->isEnabled() && edit(1)->isEnabled());
    }

    void allAndGeneralModes()
    {
        m_panel->editTask(-1, ToPDFTask(), 1);
        QCOMPARE(caption(), QStringLiteral("For ALL - PDF Settings"));
        QVERIFY(!edit(0)->isEnabled() && !edit(1)->isEnabled());
        QVERIFY(edit(2)->isEnabled() && edit(3)->isEnabled());
        QVERIFY(tab(StyleName::tabButtonLayoutSettings)->isEnabled());
        // For all files any name passes: each keeps its own.
        QSignalSpy saved(m_panel, &ToPDFSettingsView::updateFileSettings);
        QTest::keyClicks(edit(3), "secret");
        QTest::mouseClick(button(StyleName::buttonSaveSettings), Qt::LeftButton);
        QCOMPARE(saved.count(), 1);
        QCOMPARE(saved.first().at(0).toInt(), -1);
        QCOMPARE(saved.first().at(1).value<FileSettingsData>().password, QStringLiteral("secret"));
        QCOMPARE(saved.first().at(2).toInt(), 1);

        ToPDFTask general;
        general.fileSettings.fileName = QStringLiteral("merged_1");
        m_panel->editTask(-1, general, 2);
        QCOMPARE(caption(), QStringLiteral("General - PDF Settings"));
        for (int row = 0; row < 4; ++row)
            QVERIFY(edit(row)->isEnabled());
        QCOMPARE(edit(0)->text(), QStringLiteral("merged_1"));
    }

    // Typing turns CLOSE into CANCEL; CANCEL restores the saved values, CLOSE closes; SAVE hands
    // the settings back and leaves the panel open.
    void cancelRestoresAndCloseCloses()
    {
        m_panel->editTask(2, makeTask("/d/a.png"), 0);
        QSignalSpy hide(m_panel, &ToPDFSettingsView::onHideWindow);
        QSignalSpy saved(m_panel, &ToPDFSettingsView::updateFileSettings);
        QTest::mouseClick(tab(StyleName::tabButtonFileSettings), Qt::LeftButton);
        QTest::keyClick(edit(1), Qt::Key_End);
        QTest::keyClicks(edit(1), " two");
        QCOMPARE(button(StyleName::buttonCancel)->text(), QStringLiteral("CANCEL"));
        QVERIFY(button(StyleName::buttonSaveSettings)->isEnabled());
        QTest::mouseClick(button(StyleName::buttonCancel), Qt::LeftButton);
        QCOMPARE(edit(1)->text(), QStringLiteral("A title"));
        QCOMPARE(button(StyleName::buttonCancel)->text(), QStringLiteral("CLOSE"));
        QCOMPARE(hide.count(), 0);

        QTest::keyClick(edit(1), Qt::Key_End);
        QTest::keyClicks(edit(1), " two");
        QTest::mouseClick(button(StyleName::buttonSaveSettings), Qt::LeftButton);
        QCOMPARE(saved.count(), 1);
        QCOMPARE(saved.first().at(1).value<FileSettingsData>().title, QStringLiteral("A title two"));
        QCOMPARE(button(StyleName::buttonCancel)->text(), QStringLiteral("CLOSE"));
        QTest::mouseClick(button(StyleName::buttonCancel), Qt::LeftButton);
        QCOMPARE(hide.count(), 1);
        QTest::keyClick(m_panel, Qt::Key_Escape);
        QCOMPARE(hide.count(), 2);
    }

    // Leaving a page with unsaved edits asks first: YES saves them (before the other page shows),
    // NO drops them.
    void leavingAPageAsks()
    {
        m_panel->editTask(0, makeTask("/d/a.png"), 0);
        QTest::mouseClick(tab(StyleName::tabButtonFileSettings), Qt::LeftButton);
        QSignalSpy fileSaved(m_panel, &ToPDFSettingsView::updateFileSettings);
        QSignalSpy layoutSaved(m_panel, &ToPDFSettingsView::updateLayoutSettings);
        int pageWhenSaved = -1;
        connect(m_panel, &ToPDFSettingsView::updateFileSettings, this, [&] { pageWhenSaved = m_panel->currentPage(); });

        DialogScript script;
        script.add(click(StyleName::buttonYes));
        QTest::keyClick(edit(2), Qt::Key_End);
        QTest::keyClicks(edit(2), "!");
        QTest::mouseClick(tab(StyleName::tabButtonLayoutSettings), Qt::LeftButton);
        QCOMPARE(m_panel->currentPage(), int(ToPDFSettingsView::LayoutPage));
        QCOMPARE(fileSaved.count(), 1);
        QCOMPARE(pageWhenSaved, int(ToPDFSettingsView::FilePage));
        QCOMPARE(fileSaved.first().at(1).value<FileSettingsData>().publisher, QStringLiteral("Quill House!"));
        QVERIFY2(script.seen.first().contains(QLatin1String("The file settings have been modified | Save changes?")),
                 qPrintable(script.seen.first()));

        // A landscape page is an edit of the layout that the preview shows at once.
        activate(combo(4), LayoutSettingsData::Landscape);
        QVERIFY(m_panel->layoutSettings().isModified());
        QCOMPARE(m_panel->preview()->layoutSettings().orientation, 1);
        QCOMPARE(button(StyleName::buttonSaveSettings)->text(), QStringLiteral("APPLY LAYOUT SETTINGS"));
        script.add(click(StyleName::buttonCancel));
        QTest::mouseClick(tab(StyleName::tabButtonFileSettings), Qt::LeftButton);
        QTRY_COMPARE(script.pending(), 0);
        QVERIFY2(script.seen.last().contains(QLatin1String("The layout settings have been modified")), qPrintable(script.seen.last()));
        QCOMPARE(layoutSaved.count(), 0);
        QCOMPARE(m_panel->layoutSettings().data().orientation, 0);
        QCOMPARE(combo(4)->currentData().toInt(), 0);

        // The position grid and the combos give their values to the saved layout.
        QTest::mouseClick(tab(StyleName::tabButtonLayoutSettings), Qt::LeftButton);
        activate(combo(2), LayoutSettingsData::Big);
        activate(combo(3), 270);
        m_panel->positionControl()->findChildren<QAbstractButton*>().at(6)->click();
        QTest::mouseClick(button(StyleName::buttonSaveSettings), Qt::LeftButton);
        QCOMPARE(layoutSaved.count(), 1);
        const LayoutSettingsData layout = layoutSaved.first().at(1).value<LayoutSettingsData>();
        QCOMPARE(QList<int>({layout.margin, layout.rotate, layout.position}), QList<int>({2, 270, 6}));
    }

    // A name cannot be typed with characters a file name may not hold, nor begin with a blank; one
    // typed blank at its end goes on SAVE. An empty one is refused with a message, and nothing
    // is handed back.
    void fileNameRules()
    {
        m_panel->editTask(0, makeTask("/d/a.docx"), 0);
        QLineEdit* name = edit(0);
        name->clear();
        QTest::keyClicks(name, " my/fi:le*?<>| name ");
        QCOMPARE(name->text(), QStringLiteral("myfile name "));
        QSignalSpy saved(m_panel, &ToPDFSettingsView::updateFileSettings);
        QTest::mouseClick(button(StyleName::buttonSaveSettings), Qt::LeftButton);
        QCOMPARE(saved.count(), 1);
        QCOMPARE(saved.first().at(1).value<FileSettingsData>().fileName, QStringLiteral("myfile name"));
        QCOMPARE(name->text(), QStringLiteral("myfile name"));

        name->selectAll();
        QTest::keyClick(name, Qt::Key_Backspace);
        QVERIFY(m_panel->fileSettings().isModified());
        DialogScript script;
        script.add(click(StyleName::buttonOk));
        QTest::mouseClick(button(StyleName::buttonSaveSettings), Qt::LeftButton);
        QTRY_COMPARE(script.pending(), 0);
        QVERIFY2(script.seen.first().contains(QLatin1String("Validation error | Check input field")), qPrintable(script.seen.first()));
        QCOMPARE(saved.count(), 1);
        QVERIFY(m_panel->fileSettings().isModified());
    }
};

QTEST_MAIN(ToPdfSettingsViewTest)
#include "test_topdfsettingsview.moc"
