// The splash screen's version text, its loading dots on a fake clock, and its placement.
#include "ui/widgets/SplashScreen.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QSettings>
#include <QtTest>

namespace {
QPixmap plainPicture()
{
    QPixmap picture(370, 189);
    picture.fill(QColor(0x96, 0x2A, 0x70));
    return picture;
}
} // namespace

class TestSplashScreen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Zembrook"));
        QCoreApplication::setApplicationName(QStringLiteral("Zembrook PDF Converter"));
    }

    void versionSitsInTheLowerRightCorner()
    {
        SplashScreen splash(plainPicture());
        splash.setVersionText(QStringLiteral("2.2.6"));
        splash.showStatus(QString(), Qt::white);
        QImage image(370, 189, QImage::Format_ARGB32);
        image.fill(QColor(0x96, 0x2A, 0x70));
        {
            QPainter painter(&image);
            QFont font = painter.font();
            font.setPixelSize(14);
            painter.setFont(font);
            splash.render(&painter);
        }
        // The bounding box of the white text pixels.
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qRed(image.pixel(x, y)) > 200 && qGreen(image.pixel(x, y)) > 200)
                    box |= QRect(x, y, 1, 1);
        QVERIFY(!box.isNull());
        QVERIFY2(box.right() <= 349 && box.right() >= 330, qPrintable(QString::number(box.right())));
        QVERIFY2(box.bottom() <= 168 && box.bottom() >= 150, qPrintable(QString::number(box.bottom())));
        QVERIFY(box.left() > 250);
    }

    void loadingCyclesDotsOnTheClock()
    {
        QTime now(10, 0, 0);
        QStringList shown;
        SplashScreen splash(plainPicture());
        SplashScreen::setClock({[&] { return now; }, [&](int ms) {
                                    shown << splash.currentMessage();
                                    now = now.addMSecs(ms); }});
        splash.showLoading(3);
        QCOMPARE(shown, QStringList({"Loading.", "Loading..", "Loading...", "Loading.", "Loading..", "Loading...",
                                     "Loading."}));
        QCOMPARE(splash.messageColour(), QColor(Qt::white));
        QCOMPARE(now, QTime(10, 0, 3, 500));

        // An end time past midnight returns at once and shows nothing.
        now = QTime(23, 59, 58);
        shown.clear();
        splash.showLoading(3);
        QVERIFY(shown.isEmpty());
        SplashScreen::setClock({});
    }

    void placedOnTheConfiguredScreen()
    {
        for (int index : {-1, 5}) {
            QSettings(QSettings::IniFormat, QSettings::UserScope, QCoreApplication::organizationName(),
                      QCoreApplication::applicationName())
                .setValue(QStringLiteral("mainview.screen"), index);
            SplashScreen splash(plainPicture());
            splash.show();
            const QRect screen = QGuiApplication::primaryScreen()->geometry();
            QVERIFY((splash.geometry().center() - screen.center()).manhattanLength() <= 2);
            splash.close();
        }
    }
};

QTEST_MAIN(TestSplashScreen)
#include "test_splashscreen.moc"
