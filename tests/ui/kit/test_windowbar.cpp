// The window bar's buttons and double-click only emit signals; the maximise button switches
// its look by object name; ElidedLabel cuts its text to its width.
#include "tests/ui/kit/PixelProbe.h"
#include "ui/kit/ElidedLabel.h"
#include "ui/kit/Style.h"
#include "ui/kit/StyleNames.h"
#include "ui/kit/WindowBar.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class TestWindowBar : public QObject
{
    Q_OBJECT

private slots:
    void buttonsEmitSignals()
    {
        WindowBar bar;
        QSignalSpy minimize(&bar, &WindowBar::minimizeWindow);
        QSignalSpy maximize(&bar, &WindowBar::maximizeWindow);
        QSignalSpy close(&bar, &WindowBar::closeWindow);
        bar.findChild<QPushButton*>(StyleName::windowMinimize)->click();
        bar.findChild<QPushButton*>(StyleName::windowMaximize)->click();
        bar.findChild<QPushButton*>(StyleName::windowClose)->click();
        QCOMPARE(minimize.count(), 1);
        QCOMPARE(maximize.count(), 1);
        QCOMPARE(close.count(), 1);
        QCOMPARE(bar.height(), 22);
    }

    void doubleClickOnlyWithLeftButton()
    {
        WindowBar bar;
        bar.resize(300, 22);
        QSignalSpy maximize(&bar, &WindowBar::maximizeWindow);
        QTest::mouseDClick(&bar, Qt::RightButton, Qt::NoModifier, QPoint(150, 10));
        QCOMPARE(maximize.count(), 0);
        QTest::mouseDClick(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(150, 10));
        QCOMPARE(maximize.count(), 1);
    }

    void maximizedLookSwitchesByName()
    {
        loadStyleSheet();
        WindowBar bar;
        bar.resize(300, 22);
        bar.show();
        auto* button = bar.findChild<QPushButton*>(StyleName::windowMaximize);
        const QImage normal = button->grab().toImage();
        bar.setMaximized(true);
        QCOMPARE(button->objectName(), StyleName::windowMaximized);
        const QImage windowed = button->grab().toImage();
        QVERIFY(normal != windowed);
        QVERIFY(PixelProbe::sameWhereOpaque(windowed, QImage(QStringLiteral(":/style/images/windowed.png"))));
        bar.setMaximized(false);
        QCOMPARE(button->grab().toImage(), normal);
        qApp->setStyleSheet(QString());
    }

    void hiddenButtons()
    {
        WindowBar bar;
        bar.hideMaximizeButton(true);
        bar.hideMinimizeButton(true);
        bar.show();
        QVERIFY(!bar.findChild<QPushButton*>(StyleName::windowMaximize)->isVisible());
        QVERIFY(!bar.findChild<QPushButton*>(StyleName::windowMinimize)->isVisible());
        QVERIFY(bar.findChild<QPushButton*>(StyleName::windowClose)->isVisible());
    }

    // The title has all the bar but the two equal sides, so a message's title is not cut.
    void titleTakesTheMiddleOfTheBar()
    {
        loadStyleSheet();
        WindowBar bar;
        bar.hideMaximizeButton(true);
        bar.hideMinimizeButton(true);
        bar.setTitle(QStringLiteral("Conversion has been completed."));
        bar.resize(432, 22);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        auto* title = bar.findChild<ElidedLabel*>();
        QCOMPARE(title->elidedText(), QStringLiteral("Conversion has been completed."));
        const QRect close = bar.findChild<QPushButton*>(StyleName::windowClose)->geometry();
        QCOMPARE(title->geometry().left(), bar.width() - 1 - title->geometry().right());
        QVERIFY(title->geometry().right() < close.left());
        qApp->setStyleSheet(QString());
    }

    void labelElidesToWidth()
    {
        const QString title = QStringLiteral("Converting a rather long document name.pdf");
        ElidedLabel label;
        label.resize(80, 20);
        label.show();
        label.setText(title);
        QVERIFY(label.elidedText().endsWith(QChar(0x2026)));
        QVERIFY(title.startsWith(label.elidedText().chopped(1)));
        const int shortLength = label.elidedText().size();
        label.resize(2000, 20);
        QCOMPARE(label.elidedText(), title);
        QVERIFY(label.elidedText().size() > shortLength);
        // A new text is elided at once to the current width.
        label.resize(80, 20);
        label.setText(QStringLiteral("Another very long title for the bar"));
        QVERIFY(label.elidedText().startsWith(QStringLiteral("An")));
        QVERIFY(label.elidedText().endsWith(QChar(0x2026)));
        QCOMPARE(label.sizePolicy().horizontalPolicy(), QSizePolicy::Ignored);
    }

    void mnemonicShownAsMnemonic()
    {
        ElidedLabel label;
        label.resize(400, 20);
        label.setText(QStringLiteral("Save && close"));
        QCOMPARE(label.elidedText(), QStringLiteral("Save && close"));
        QCOMPARE(label.fontMetrics().size(Qt::TextShowMnemonic, label.elidedText()).width(),
                 label.fontMetrics().size(Qt::TextShowMnemonic, QStringLiteral("Save && close")).width());
    }

    void elideNonePaintsLikeLabel()
    {
        ElidedLabel elided(QStringLiteral("Plain text"), Qt::ElideNone);
        QLabel plain(QStringLiteral("Plain text"));
        elided.resize(120, 24);
        plain.resize(120, 24);
        elided.setSizePolicy(plain.sizePolicy());
        QCOMPARE(elided.grab().toImage(), plain.grab().toImage());
    }
};

QTEST_MAIN(TestWindowBar)
#include "test_windowbar.moc"
