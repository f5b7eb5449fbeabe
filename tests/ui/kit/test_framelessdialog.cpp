// The frameless dialog body: margins, frame and shadow, bar buttons, centring and dragging.
#include "ui/kit/FramelessDialog.h"
#include "ui/kit/Style.h"
#include "ui/kit/StyleNames.h"
#include "ui/kit/WindowBar.h"

#include <QFrame>
#include <QGraphicsDropShadowEffect>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

namespace {
FramelessDialog::Frame look(bool centre = true)
{
    return {StyleName::messageBox, QSize(450, 190), QMargins(9, 5, 8, 15), centre};
}
} // namespace

class TestFramelessDialog : public QObject
{
    Q_OBJECT

private slots:
    void bodyAndShadow()
    {
        FramelessDialog dialog(look(), nullptr);
        QVERIFY(dialog.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(dialog.testAttribute(Qt::WA_TranslucentBackground));
        QCOMPARE(dialog.layout()->contentsMargins(), QMargins(20, 20, 20, 20));
        QCOMPARE(dialog.frame()->objectName(), StyleName::messageBox);
        QCOMPARE(dialog.frame()->minimumSize(), QSize(450, 190));
        QCOMPARE(dialog.contentLayout()->contentsMargins(), QMargins(9, 5, 8, 15));
        QCOMPARE(dialog.contentLayout()->itemAt(0)->widget(), dialog.windowBar());
        auto* shadow = qobject_cast<QGraphicsDropShadowEffect*>(dialog.frame()->graphicsEffect());
        QVERIFY(shadow);
        QCOMPARE(shadow->offset(), QPointF(0, 0));
        QCOMPARE(shadow->blurRadius(), 20.0);
        dialog.show();
        QVERIFY(!dialog.windowBar()->findChild<QPushButton*>(StyleName::windowMinimize)->isVisible());
        QVERIFY(!dialog.windowBar()->findChild<QPushButton*>(StyleName::windowMaximize)->isVisible());
    }

    void centresOnParentWindow()
    {
        QWidget parent;
        parent.setGeometry(100, 80, 800, 600);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        FramelessDialog dialog(look(), &parent);
        dialog.show();
        const QPoint centre = dialog.geometry().center();
        const QPoint parentCentre = parent.frameGeometry().topLeft() + parent.rect().center();
        QVERIFY2((centre - parentCentre).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("%1,%2").arg(centre.x()).arg(centre.y())));

        FramelessDialog stays(look(false), &parent);
        stays.move(5, 7);
        stays.show();
        QCOMPARE(stays.pos(), QPoint(5, 7));
    }

    void dragsWithTheMouse()
    {
        FramelessDialog dialog(look(), nullptr);
        dialog.move(200, 150);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QPoint start = dialog.pos();
        QTest::mousePress(&dialog, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
        QVERIFY(dialog.isDragging());
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(start + QPoint(65, 45)), Qt::NoButton,
                         Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &move);
        QCOMPARE(dialog.pos(), start + QPoint(60, 40));
        QTest::mouseRelease(&dialog, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
        QVERIFY(!dialog.isDragging());
    }
};

QTEST_MAIN(TestFramelessDialog)
#include "test_framelessdialog.moc"
