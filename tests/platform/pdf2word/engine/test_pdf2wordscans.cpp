// The reading of scans and CJK text, stage by stage on hand-built inputs: spaces between Chinese
// characters, a text layer's split lines, and the parts of a scan that hold no text.

#include "platform/mupdf/FitzContext.h"
#include "platform/pdf2word/engine/read/CjkText.h"
#include "platform/pdf2word/engine/read/HiddenText.h"
#include "platform/pdf2word/engine/read/ScanFigures.h"
#include "tests/platform/pdf2word/engine/PageModels.h"

#include <QPainter>
#include <QPainterPath>
#include <QtTest>

#include <cmath>
#include <cstring>

using namespace p2w;
using PageModels::line;
using PageModels::texts;

namespace {

// Page points to the pixels of a page drawn at 100 dpi.
const double kScale = 100.0 / 72.0;

QRectF pixels(const fz_rect& box)
{
    return QRectF(box.x0 * kScale, box.y0 * kScale, (box.x1 - box.x0) * kScale, (box.y1 - box.y0) * kScale);
}

// Ink where a line of print stands: strokes as thick and as close as letters'.
void printLine(QPainter& painter, const TextLine& text)
{
    const QRectF area = pixels(text.box);
    for (double x = area.left(); x < area.right() - 2; x += 4)
        painter.fillRect(QRectF(x, area.top() + 2, 2, area.height() - 3), Qt::black);
}

bool near(const fz_rect& a, const QRectF& b, float by)
{
    return std::abs(a.x0 - b.left()) < by && std::abs(a.y0 - b.top()) < by && std::abs(a.x1 - b.right()) < by
           && std::abs(a.y1 - b.bottom()) < by;
}

} // namespace

class Pdf2WordScansTest : public QObject
{
    Q_OBJECT

private:
    qpmupdf::ContextPtr m_context = qpmupdf::newContext();

    // An A4 scan at 100 dpi of the page drawn in grey.
    Shape scanOf(const QImage& page, fz_image** image)
    {
        fz_context* ctx = m_context.get();
        fz_pixmap* pixmap = nullptr;
        *image = nullptr;
        qpmupdf::fzRun(ctx, [&] {
            pixmap = fz_new_pixmap(ctx, fz_device_gray(ctx), page.width(), page.height(), nullptr, 0);
            for (int y = 0; y < page.height(); ++y)
                std::memcpy(pixmap->samples + y * pixmap->stride, page.constScanLine(y), size_t(page.width()));
            *image = fz_new_image_from_pixmap(ctx, pixmap, nullptr);
        });
        fz_drop_pixmap(ctx, pixmap);
        Shape scan = PageModels::shape(0, 0, 595, 842, Shape::Picture);
        scan.image = *image;
        scan.ctm = fz_make_matrix(595, 0, 0, 842, 0, 0);
        return scan;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_context);
    }

    // A space between two Chinese or Japanese characters (fullwidth punctuation too) goes unless
    // the page draws it; spaces beside Latin letters and between Korean words stay.
    void spacesBetweenCjkCharactersGo()
    {
        TextLine mixed = line(QStringLiteral("关于 浙江 ， 山田 太郎 Linux 版 한국어 문장"), 72, 100);
        QVector<bool> drawn(mixed.glyphs.size(), false);
        drawn[mixed.text().indexOf(QStringLiteral(" 太郎"))] = true;
        closeCjkGaps(mixed.glyphs, drawn);
        QCOMPARE(mixed.text(), QStringLiteral("关于浙江，山田 太郎 Linux 版 한국어 문장"));

        DrawnSpaces spaces;
        spaces.add(fz_make_point(100.2f, 700));
        QVERIFY(spaces.contains(fz_make_point(100, 700.1f)));
        QVERIFY(!spaces.contains(fz_make_point(101.5f, 700)));
    }

    // A text layer's pieces in the order it draws them: overlapping pieces of one baseline are one
    // line (without a space between Chinese characters); a piece on another baseline, or starting
    // left of the piece before, stays a line of its own.
    void layerPiecesJoinInDrawingOrder()
    {
        QVector<TextLine> pieces = {line(QStringLiteral("关于浙江"), 72, 100, 12), line(QStringLiteral("菲达环保"), 90, 100, 12),
                                    line(QStringLiteral("the year"), 72, 130, 12), line(QStringLiteral("Each"), 110, 130.5f, 12),
                                    line(QStringLiteral("basin"), 80, 160, 12), line(QStringLiteral("left"), 72, 160, 12)};
        joinLayerPieces(pieces);
        QCOMPARE(texts(pieces), QStringList({QStringLiteral("关于浙江菲达环保"), QStringLiteral("the year Each"),
                                             QStringLiteral("basin"), QStringLiteral("left")}));
    }

    // A scan's parts: print under the lines' boxes, a ruled table around lines, a long rule and
    // specks are no figure; a drawing and a signature (read by OCR as a short word, in too little
    // ink for print) are, at their places, and the word is taken for the signature's.
    void scanPartsWithoutTextAreFigures()
    {
        QVector<TextLine> lines;
        for (int i = 0; i < 6; ++i)
            lines << line(QStringLiteral("printed words of a paragraph in a column"), 72, 100 + 14 * i, 11);
        for (int row = 0; row < 3; ++row)
            lines << line(QStringLiteral("cell"), 80, 420 + 20 * row, 11) << line(QStringLiteral("12.5"), 230, 420 + 20 * row, 11);
        lines << line(QStringLiteral("he ea"), 380, 700, 30);
        QImage page(827, 1170, QImage::Format_Grayscale8);
        page.fill(255);
        QPainter painter(&page);
        for (int i = 0; i < lines.size() - 1; ++i)
            printLine(painter, lines[i]);
        painter.setPen(QPen(Qt::black, 1.5));
        for (int row = 0; row <= 3; ++row)
            painter.drawLine(QPointF(72, 405 + 20 * row) * kScale, QPointF(372, 405 + 20 * row) * kScale);
        for (const double x : {72.0, 222.0, 372.0})
            painter.drawLine(QPointF(x, 405) * kScale, QPointF(x, 465) * kScale);
        painter.drawLine(QPointF(72, 520) * kScale, QPointF(500, 520) * kScale);
        for (const QPointF speck : {QPointF(300, 560), QPointF(320, 600), QPointF(520, 200)})
            painter.fillRect(QRectF(speck * kScale, QSizeF(1, 1)), Qt::black);
        const QRectF drawing(100, 200, 160, 90);
        painter.setBrush(QColor(90, 90, 90));
        painter.drawEllipse(QRectF(drawing.topLeft() * kScale, drawing.size() * kScale));
        QPainterPath signature(QPointF(380, 700) * kScale);
        for (int i = 1; i <= 60; ++i)
            signature.lineTo(QPointF(380 + 2 * i, 690 + 12 * std::sin(i / 3.0)) * kScale);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::black, 2));
        painter.drawPath(signature);
        painter.end();

        fz_image* image = nullptr;
        const Shape scan = scanOf(page, &image);
        QVERIFY(image);
        const ScanParts parts = scanParts(m_context.get(), scan, lines, nullptr);
        fz_drop_image(m_context.get(), image);
        QCOMPARE(parts.figures.size(), 2);
        QVERIFY2(near(parts.figures[0], drawing, 6), qPrintable(QString::number(parts.figures[0].x0)));
        QVERIFY(near(parts.figures[1], QRectF(380, 678, 120, 24), 8));
        QCOMPARE(parts.drawnLines, QVector<int>{int(lines.size()) - 1});
    }

    // A scan's layer whose words stand where the scan is inked is the page's text; one whose words
    // stand on blank paper (another page's layer) is not, nor is any layer on a page that prints a
    // paragraph of its own: the scan stays whole, without its blank paper, the layer's words its
    // description.
    void layerOffItsInkStaysWithItsScan()
    {
        QVector<TextLine> printed;
        QVector<TextLine> elsewhere;
        for (int i = 0; i < 6; ++i) {
            printed << line(QStringLiteral("printed words of a paragraph in a column"), 72, 100 + 14 * i, 11);
            elsewhere << line(QStringLiteral("printed words of a paragraph in a column"), 72, 500 + 14 * i, 11);
        }
        QImage page(827, 1170, QImage::Format_Grayscale8);
        page.fill(255);
        QPainter painter(&page);
        for (const TextLine& text : printed)
            printLine(painter, text);
        painter.end();
        fz_image* image = nullptr;
        PageGraphics graphics;
        graphics.shapes << scanOf(page, &image);
        QVERIFY(image);
        fz_context* ctx = m_context.get();
        QCOMPARE(wordsOnInk(ctx, graphics.shapes[0], printed, nullptr), 1.0f);
        QCOMPARE(wordsOnInk(ctx, graphics.shapes[0], elsewhere, nullptr), 0.0f);
        const auto keep = [&](const QVector<TextLine>& shown, QVector<TextLine> layer, PageGraphics* kept) {
            *kept = graphics;
            QVector<bool> scans = {true};
            keepLayersUnread(ctx, shown, &layer, &scans, kept, nullptr, nullptr);
            return scans.front() ? layer.size() : -1;
        };
        PageGraphics kept;
        QCOMPARE(keep({}, printed, &kept), printed.size());
        QCOMPARE(kept.shapes[0].description, QString());
        QCOMPARE(keep({}, elsewhere, &kept), -1);
        QCOMPARE(kept.shapes[0].description.count(QStringLiteral("printed")), elsewhere.size());
        // The scan less its blank paper: the print's lines with a margin.
        QVERIFY2(kept.shapes[0].box.y0 > 70 && kept.shapes[0].box.y1 < 200, qPrintable(QString::number(kept.shapes[0].box.y1)));
        const QVector<TextLine> paragraph = {line(QStringLiteral("A paragraph the page prints of its own"), 72, 700, 11),
                                             line(QStringLiteral("in two lines one under the other"), 72, 714, 11)};
        QCOMPARE(keep(paragraph, printed, &kept), -1);
        QCOMPARE(keep(paragraph.mid(0, 1), printed, &kept), printed.size());
        fz_drop_image(ctx, image);
    }
};

QTEST_MAIN(Pdf2WordScansTest)
#include "test_pdf2wordscans.moc"
