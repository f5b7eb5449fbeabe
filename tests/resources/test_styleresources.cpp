// The style bundle keeps its promises: every picture of the table exists at its size, every
// picture the sheet names exists, every object name the sheet addresses is in the code's list,
// and state-driven looks switch after a re-polish.
#include "resources/Resources.h"
#include "tests/support/TestFiles.h"
#include "tests/ui/kit/PixelProbe.h"
#include "ui/kit/Style.h"
#include "ui/kit/StyleNames.h"

#include <QApplication>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

namespace {
QString sheetText()
{
    return QString::fromUtf8(TestFiles::readFile(QStringLiteral(QP_STYLE_SHEET_SOURCE)));
}
} // namespace

class TestStyleResources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initStyleResources(); }

    void everyTablePictureExistsAtItsSize()
    {
        const QStringList rows = QString::fromUtf8(TestFiles::readFile(QStringLiteral(QP_IMAGE_TABLE)))
                                     .split(QLatin1Char('\n'));
        int pictures = 0;
        for (const QString& row : rows) {
            if (row.isEmpty() || !row.at(0).isLetter())
                continue;
            const QStringList fields = row.split(QRegularExpression(QStringLiteral("\\s+")));
            const QStringList size = fields.at(2).split(QLatin1Char('x'));
            const QImage image(QStringLiteral(":/style/images/") + fields.at(0));
            QVERIFY2(!image.isNull(), qPrintable(fields.at(0)));
            if (!fields.at(0).endsWith(QLatin1String(".ico")))
                QCOMPARE(image.size(), QSize(size.at(0).toInt(), size.at(1).toInt()));
            ++pictures;
        }
        QVERIFY(pictures > 100);
        // Sizes other parts of the program rely on.
        QCOMPARE(QImage(QStringLiteral(":/style/images/logo.png")).size(), QSize(438, 114));
        QCOMPARE(QImage(QStringLiteral(":/style/images/splash.png")).size(), QSize(370, 189));
        QCOMPARE(QImage(QStringLiteral(":/style/images/AppIconPdf256.png")).size(), QSize(256, 256));
        QCOMPARE(QImage(QStringLiteral(":/style/images/icon16.png")).size(), QSize(16, 16));
    }

    void everyPictureOfTheSheetExists()
    {
        const QString sheet = sheetText();
        QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral(":/style/images/[A-Za-z0-9_.]+")).globalMatch(sheet);
        int names = 0;
        while (it.hasNext()) {
            const QString path = it.next().captured(0);
            QVERIFY2(!QImage(path).isNull(), qPrintable(path));
            ++names;
        }
        QVERIFY(names > 80);
    }

    void sheetAddressesOnlyListedNames()
    {
        QStringList listed;
        for (const QString& row : QString::fromUtf8(TestFiles::readFile(QStringLiteral(QP_STYLE_NAMES_TABLE))).split('\n'))
            if (!row.isEmpty() && row.at(0).isLetter())
                listed << row.trimmed();
        // Selectors only: strip comments and declaration blocks first (colours also start with '#').
        QString selectors = sheetText();
        selectors.remove(QRegularExpression(QStringLiteral("/\\*.*?\\*/"), QRegularExpression::DotMatchesEverythingOption));
        selectors.remove(QRegularExpression(QStringLiteral("\\{[^}]*\\}")));
        QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral("#([A-Za-z_][A-Za-z0-9_]*)")).globalMatch(selectors);
        int ids = 0;
        while (it.hasNext()) {
            const QString id = it.next().captured(1);
            QVERIFY2(listed.contains(id), qPrintable(id + QStringLiteral(" is not in stylenames.txt")));
            ++ids;
        }
        QVERIFY(ids > 60);
        QVERIFY(selectors.contains(QStringLiteral("[%1=\"true\"]").arg(StyleProperty::thePaused)));
    }

    void loadingSetsSheetAndFont()
    {
        loadStyleSheet();
        QVERIFY(qApp->styleSheet().contains(QStringLiteral("#mainViewShadow")));
        QCOMPARE(QApplication::font().styleStrategy(), QFont::PreferAntialias);
    }

    void propertySelectorAppliesAfterRepolish()
    {
        loadStyleSheet();
        QPushButton pause;
        pause.setObjectName(StyleName::buttonPause);
        pause.resize(30, 30);
        pause.ensurePolished();
        const QImage pauseLook = pause.grab().toImage();
        pause.setProperty(qPrintable(StyleProperty::thePaused), true);
        repolish(&pause);
        const QImage playLook = pause.grab().toImage();
        QVERIFY(playLook != pauseLook);
        QVERIFY(PixelProbe::sameWhereOpaque(playLook, QImage(QStringLiteral(":/style/images/progressPlay.png"))));
        pause.setProperty(qPrintable(StyleProperty::thePaused), false);
        repolish(&pause);
        QCOMPARE(pause.grab().toImage(), pauseLook);
    }
};

QTEST_MAIN(TestStyleResources)
#include "test_styleresources.moc"
