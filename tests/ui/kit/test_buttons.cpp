// Buttons paint their icon and text colour from their properties, by state; the style sheet
// fills those properties; TabButton reports its index on release and click.
#include "tests/support/TestFiles.h"
#include "tests/ui/kit/PixelProbe.h"
#include "ui/kit/Button.h"
#include "ui/kit/ButtonDescription.h"
#include "ui/kit/Style.h"
#include "ui/kit/StyleNames.h"
#include "ui/kit/TabButton.h"

#include <QApplication>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QColor normal(200, 0, 0), hover(0, 160, 0), pressed(0, 0, 200), checked(200, 0, 200), disabled(0, 160, 160);

// A solid square picture in a file, so the test can find where the button drew it.
QString solidImage(const QString& name, const QColor& color, int side)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(color);
    const QString path = TestFiles::sandbox() + QLatin1Char('/') + name;
    image.save(path);
    return path;
}

void bigFont(QWidget* w)
{
    QFont font = w->font();
    font.setPixelSize(28);
    font.setBold(true);
    w->setFont(font);
}

void setColours(Button& b)
{
    b.setColorTextNormal(normal);
    b.setColorTextHover(hover);
    b.setColorTextPressed(pressed);
    b.setColorTextChecked(checked);
    b.setColorTextDisabled(disabled);
}

QImage render(QWidget& w)
{
    return w.grab().toImage();
}

} // namespace

class TestButtons : public QObject
{
    Q_OBJECT

private slots:
    void init() { qApp->setStyleSheet(QString()); }

    void textColourFollowsState()
    {
        Button b;
        bigFont(&b);
        b.setText(QStringLiteral("HHHH"));
        b.resize(220, 60);
        setColours(b);
        QVERIFY(PixelProbe::count(render(b), normal) > 20);

        b.setAttribute(Qt::WA_UnderMouse, true);
        QVERIFY(PixelProbe::count(render(b), hover) > 20);
        QCOMPARE(PixelProbe::count(render(b), normal), 0);

        b.setDown(true);
        QVERIFY(PixelProbe::count(render(b), pressed) > 20);

        // Checked wins over hover and pressed.
        b.setCheckable(true);
        b.setChecked(true);
        QVERIFY(PixelProbe::count(render(b), checked) > 20);
        QCOMPARE(PixelProbe::count(render(b), pressed), 0);

        b.setDown(false);
        b.setEnabled(false);
        QVERIFY(PixelProbe::count(render(b), disabled) > 20);
    }

    void unsetColourPaintsBlack()
    {
        Button b;
        bigFont(&b);
        b.setText(QStringLiteral("HHHH"));
        b.resize(220, 60);
        b.setEnabled(false);
        QVERIFY(PixelProbe::count(render(b), Qt::black, QRect(), 30) > 20);
    }

    void iconFollowsStateAndLayout()
    {
        const QString blue = solidImage(QStringLiteral("blue.png"), QColor(0, 0, 255), 16);
        const QString green = solidImage(QStringLiteral("green.png"), QColor(0, 255, 0), 16);
        Button b;
        b.resize(200, 40);
        b.setIconSize(QSize(16, 16));
        b.setIconNormal(blue);
        b.setIconHover(green);
        QImage image = render(b);
        QCOMPARE(PixelProbe::count(image, QColor(0, 0, 255), QRect(), 2), 256);
        // Centred layout without text: the icon sits around the middle.
        const int x = PixelProbe::firstColumn(image, QColor(0, 0, 255), 2);
        QVERIFY2(qAbs(x + 8 - 100) <= 6, qPrintable(QString::number(x)));

        // Left-aligned layout: the icon starts after the left padding.
        b.setIconAlignment(Qt::AlignLeft);
        b.setIconPaddingLeft(7);
        QCOMPARE(PixelProbe::firstColumn(render(b), QColor(0, 0, 255), 2), 7);

        b.setAttribute(Qt::WA_UnderMouse, true);
        image = render(b);
        QCOMPARE(PixelProbe::count(image, QColor(0, 255, 0), QRect(), 2), 256);
        QCOMPARE(PixelProbe::count(image, QColor(0, 0, 255), QRect(), 2), 0);

        // Disabled without a disabled picture keeps the picture of its other rules.
        b.setEnabled(false);
        QCOMPARE(PixelProbe::count(render(b), QColor(0, 255, 0), QRect(), 2), 256);
        b.setIconDisabled(blue);
        QCOMPARE(PixelProbe::count(render(b), QColor(0, 0, 255), QRect(), 2), 256);
    }

    void menuIconOnlyWithPath()
    {
        const QString red = solidImage(QStringLiteral("red.png"), QColor(255, 0, 0), 10);
        Button b;
        b.resize(120, 30);
        b.setMenuIconSize(QSize(10, 10));
        b.setMenuIconPaddingRight(4);
        b.setMenuIconNormal(red);
        const QImage image = render(b);
        QCOMPARE(PixelProbe::count(image, QColor(255, 0, 0), QRect(), 2), 100);
        QCOMPARE(PixelProbe::firstColumn(image, QColor(255, 0, 0), 2), 119 - 4 - 10);
        b.setEnabled(false);
        QCOMPARE(PixelProbe::count(render(b), QColor(255, 0, 0), QRect(), 2), 100);
    }

    void sizeHints()
    {
        Button empty;
        QVERIFY(empty.sizeHint().width() >= 10 && empty.sizeHint().height() >= 10);

        ButtonDescription d;
        const int textHeight = d.fontMetrics().size(Qt::TextShowMnemonic, QStringLiteral("XXXX")).height();
        QVERIFY(d.sizeHint().height() >= textHeight);

        Button withText;
        withText.setText(QStringLiteral("Convert all files"));
        QVERIFY(withText.sizeHint().width() > empty.sizeHint().width());
    }

    void descriptionStartsAfterIconAndPaddings()
    {
        const QString blue = solidImage(QStringLiteral("blue30.png"), QColor(0, 0, 255), 30);
        ButtonDescription b;
        bigFont(&b);
        b.resize(500, 50);
        b.setIconSize(QSize(30, 30));
        b.setIconNormal(blue);
        b.setIconAlignment(Qt::AlignLeft);
        b.setIconPaddingLeft(2);
        b.setIconPaddingRight(5);
        b.setDescription(QStringLiteral("HHH"));
        b.setText(QStringLiteral("HHH"));
        b.setColorDescriptionNormal(normal);
        b.setColorTextNormal(hover);
        const QImage image = render(b);
        QCOMPARE(PixelProbe::firstColumn(image, QColor(0, 0, 255), 2), 2);
        const int description = PixelProbe::firstColumn(image, normal);
        QVERIFY2(description >= 2 + 30 + 5 && description <= 2 + 30 + 5 + 4, qPrintable(QString::number(description)));
        QVERIFY(PixelProbe::firstColumn(image, hover) > description);
    }

    void styleSheetFillsProperties()
    {
        loadStyleSheet();
        ButtonDescription last;
        last.setObjectName(StyleName::buttonLastFolder);
        last.ensurePolished();
        QVERIFY(last.iconAlignment() != Qt::Alignment());
        QCOMPARE(last.iconPaddingLeft(), 2);
        QCOMPARE(last.iconPaddingRight(), 5);
        QCOMPARE(last.colorTextNormal(), QColor(QStringLiteral("#962A70")));
        QCOMPARE(last.colorDescriptionNormal(), QColor(QStringLiteral("#656565")));
        QCOMPARE(last.iconNormal(), QStringLiteral(":/style/images/foldernormal.png"));
        QCOMPARE(last.iconSize(), QSize(30, 30));
        QVERIFY(!QImage(last.iconNormal()).isNull());

        TabButton tab;
        tab.setObjectName(StyleName::buttonTabFromPDF);
        tab.ensurePolished();
        QCOMPARE(tab.colorTextChecked(), QColor(QStringLiteral("#791242")));
        QCOMPARE(tab.iconSize(), QSize(20, 20));
    }

    void tabButtonReportsIndex()
    {
        TabButton tab;
        tab.setIndex(3);
        tab.resize(80, 30);
        QVERIFY(tab.isCheckable());
        QStringList order;
        connect(&tab, &TabButton::beginClicked, this, [&](int i) { order << QStringLiteral("begin%1").arg(i); });
        connect(&tab, qOverload<int>(&TabButton::clicked), this, [&](int i) { order << QStringLiteral("click%1").arg(i); });
        QTest::mouseClick(&tab, Qt::LeftButton);
        QCOMPARE(order, QStringList({QStringLiteral("begin3"), QStringLiteral("click3")}));
    }
};

QTEST_MAIN(TestButtons)
#include "test_buttons.moc"
