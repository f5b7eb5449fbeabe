// A benchmark run's file of tuning values: the values it names reach the stages that read them,
// and a file with a fault changes nothing (a run would otherwise measure values it did not try).

#include "platform/pdf2word/engine/TuningFile.h"
#include "platform/pdf2word/engine/document/DocumentTuning.h"
#include "platform/pdf2word/engine/layout/LayoutTuning.h"
#include "platform/pdf2word/engine/layout/PageLayout.h"
#include "platform/pdf2word/engine/read/ReadTuning.h"
#include "platform/pdf2word/engine/write/WriteTuning.h"
#include "tests/platform/pdf2word/engine/PageModels.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace p2w;
using PageModels::line;
using PageModels::shape;
using PageModels::texts;

namespace {

// Whether the layout stage takes an 8-point square before a label for a check box.
bool findsCheckBox()
{
    Shape square = shape(100, 92, 108, 100, Shape::Path, true);
    square.rectangle = true;
    QVector<Shape> shapes = {square};
    QVector<TextLine> lines = {line(QStringLiteral("Single"), 111, 99)};
    markCheckBoxes(shapes, lines);
    return shapes.isEmpty();
}

} // namespace

class TestPdf2WordTuning : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString file(const QByteArray& text)
    {
        const QString path = m_dir.filePath(QStringLiteral("tuning.txt"));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size())
            return QString();
        return path;
    }

private slots:
    void cleanup()
    {
        resetTuning();
    }

    // Every stage reads the values the file names, in each kind of number; the others keep
    // their defaults, and a reset brings the named ones back.
    void valuesReachTheStages()
    {
        QVERIFY(findsCheckBox());
        QString error;
        QVERIFY2(applyTuningFile(file("# a smaller check box\n"
                                      "layout.checkBoxes.largestBox = 6\n\n"
                                      "read.ocr.ink=100  # darker ink\n"
                                      "document.pictures.mostPixels = 4e6\n"
                                      "write.marginTextTwips = 500\n"),
                                 &error),
                 qPrintable(error));
        QVERIFY(!findsCheckBox());
        QCOMPARE(readTuning().ocr.ink, 100);
        QCOMPARE(documentTuning().pictures.mostPixels, 4e6);
        QCOMPARE(writeTuning().marginTextTwips, 500);
        QCOMPARE(layoutTuning().checkBoxes.smallestBox, LayoutTuning().checkBoxes.smallestBox);
        resetTuning();
        QVERIFY(findsCheckBox());
        QCOMPARE(readTuning().ocr.ink, ReadTuning().ocr.ink);
    }

    // An unknown name, a value that is no number of its kind, a line without "=" or a file that
    // is not there fail with the line at fault, and even the good lines before it change nothing.
    void faultyFileChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown name") << QByteArray("layout.checkBoxes.largest = 6") << QStringLiteral("line 2");
        QTest::newRow("stage missing") << QByteArray("checkBoxes.largestBox = 6") << QStringLiteral("line 2");
        QTest::newRow("no number") << QByteArray("layout.checkBoxes.largestBox = big") << QStringLiteral("line 2");
        QTest::newRow("fraction for a count") << QByteArray("read.ocr.ink = 1.5") << QStringLiteral("line 2");
        QTest::newRow("no equals sign") << QByteArray("write.floatGap 4") << QStringLiteral("line 2");
    }

    void faultyFileChangesNothing()
    {
        QFETCH(QByteArray, fault);
        QFETCH(QString, message);
        QString error;
        QVERIFY(!applyTuningFile(file("layout.checkBoxes.largestBox = 6\n" + fault + "\n"), &error));
        QVERIFY2(error.contains(message), qPrintable(error));
        QVERIFY(findsCheckBox());
        QCOMPARE(layoutTuning().checkBoxes.largestBox, LayoutTuning().checkBoxes.largestBox);
    }

    void missingFileFails()
    {
        QString error;
        QVERIFY(!applyTuningFile(m_dir.filePath(QStringLiteral("none.txt")), &error));
        QVERIFY(error.contains(QStringLiteral("none.txt")));
    }
};

QTEST_GUILESS_MAIN(TestPdf2WordTuning)
#include "test_pdf2wordtuning.moc"
