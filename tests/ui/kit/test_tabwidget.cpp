// TabWidget: index signals, button check states, the bar's one-time restyling, bar widgets.
#include "ui/kit/StyleNames.h"
#include "ui/kit/TabButton.h"
#include "ui/kit/TabWidget.h"

#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

namespace {
struct ThreePages
{
    TabWidget tabs;
    TabButton* from = new TabButton;
    TabButton* to = new TabButton;
    ThreePages()
    {
        tabs.insertTab(new QWidget, 0, nullptr);
        tabs.insertTab(new QWidget, 1, from);
        tabs.insertTab(new QWidget, 2, to);
    }
};
} // namespace

class TestTabWidget : public QObject
{
    Q_OBJECT

private slots:
    void outOfRangeChangesNothing()
    {
        ThreePages p;
        p.tabs.setCurrentIndex(1);
        QSignalSpy changed(&p.tabs, &TabWidget::currentIndexChanged);
        p.tabs.setCurrentIndex(-1);
        p.tabs.setCurrentIndex(3);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(p.tabs.currentIndex(), 1);
        // The current index again emits again.
        p.tabs.setCurrentIndex(1);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), 1);
    }

    void exactlyOneButtonChecked()
    {
        ThreePages p;
        QCOMPARE(p.from->index(), 1);
        QCOMPARE(p.to->index(), 2);
        p.tabs.setCurrentIndex(0);
        QVERIFY(!p.from->isChecked() && !p.to->isChecked());
        p.tabs.setCurrentIndex(2);
        QVERIFY(!p.from->isChecked() && p.to->isChecked());
        p.tabs.setCurrentIndex(1);
        QVERIFY(p.from->isChecked() && !p.to->isChecked());
        p.tabs.setCurrentIndex(0);
        QVERIFY(!p.from->isChecked() && !p.to->isChecked());
    }

    void barKeepsItsLineOnceShown()
    {
        ThreePages p;
        p.tabs.setCurrentIndex(0);
        QCOMPARE(p.tabs.barLabel()->objectName(), StyleName::labelTabBarHide);
        p.tabs.setCurrentIndex(1);
        QCOMPARE(p.tabs.barLabel()->objectName(), StyleName::labelTabBar);
        p.tabs.setCurrentIndex(0);
        QCOMPARE(p.tabs.barLabel()->objectName(), StyleName::labelTabBar);

        TabWidget settings(StyleName::fileSettingsTab, StyleName::fileSettingsTabBar);
        QCOMPARE(settings.objectName(), StyleName::fileSettingsTab);
        settings.insertTab(new QWidget, 0, new TabButton);
        QCOMPARE(settings.barLabel()->objectName(), StyleName::labelTabBarHide);
        settings.setCurrentIndex(0);
        QCOMPARE(settings.barLabel()->objectName(), StyleName::fileSettingsTabBar);
    }

    void clickBeginsBeforeSwitching()
    {
        ThreePages p;
        p.tabs.resize(400, 300);
        p.tabs.show();
        p.tabs.setCurrentIndex(1);
        QStringList order;
        connect(&p.tabs, &TabWidget::beginIndexChanged, this, [&](int i) {
            order << QStringLiteral("begin%1 at %2").arg(i).arg(p.tabs.currentIndex());
        });
        connect(&p.tabs, &TabWidget::currentIndexChanged, this, [&](int i) { order << QStringLiteral("now%1").arg(i); });
        QTest::mouseClick(p.to, Qt::LeftButton);
        QCOMPARE(order, QStringList({QStringLiteral("begin2 at 1"), QStringLiteral("now2")}));
        // Clicking the current tab leaves it checked.
        QTest::mouseClick(p.to, Qt::LeftButton);
        QVERIFY(p.to->isChecked());
    }

    void barWidgetStaysAtTheRightEnd()
    {
        TabWidget tabs;
        auto* site = new QLabel(QStringLiteral("site"));
        auto* first = new TabButton;
        tabs.insertTab(new QWidget, 0, first);
        tabs.addBarWidget(site, Qt::AlignTop);
        auto* second = new TabButton;
        tabs.insertTab(new QWidget, 1, second);
        tabs.resize(500, 200);
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        QVERIFY(first->geometry().right() < second->geometry().left());
        QVERIFY(second->geometry().right() < site->geometry().left());
        QCOMPARE(site->geometry().right(), tabs.barLabel()->width() - 1);
    }
};

QTEST_MAIN(TestTabWidget)
#include "test_tabwidget.moc"
