// Build-time image generator: renders every picture of the program's style from the table
// images.tsv. Each row names an output file, its source (an SVG template under src/ or a picture
// drawn in code, written "@kind") and its pixel size, followed by key=value pairs that fill the
// {key} placeholders of the template. "@set key=value" rows give defaults for every later row, so
// the palette lives in one place and state variants (normal, hover, pressed) differ only by
// their colours.
//
// Usage: qp_imagegen <table> <source folder> <output folder>
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTextStream>

#include <cmath>
#include <cstdio>

namespace {

struct Row
{
    QString name;
    QString source;
    QSize size;
    QHash<QString, QString> values;
    int line = 0;
};

void fail(const QString& message)
{
    std::fprintf(stderr, "qp_imagegen: %s\n", qPrintable(message));
}

// One box pass along rows (horizontal) or columns; borders count as transparent.
void boxPass(const QVector<float>& in, QVector<float>& out, int w, int h, int radius, bool horizontal)
{
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float sum = 0;
            for (int k = -radius; k <= radius; ++k) {
                const int xx = horizontal ? x + k : x, yy = horizontal ? y : y + k;
                if (xx >= 0 && xx < w && yy >= 0 && yy < h) sum += in[yy * w + xx];
            }
            out[y * w + x] = sum / (2 * radius + 1);
        }
}

// Blurs the alpha channel of an image with three box passes each way (close to a Gaussian).
void boxBlur(QImage& image, int radius)
{
    const int w = image.width(), h = image.height();
    QVector<float> a(w * h), tmp(w * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            a[y * w + x] = qAlpha(image.pixel(x, y));
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(a, tmp, w, h, radius, true);
        boxPass(tmp, a, w, h, radius, false);
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgba(0, 0, 0, qBound(0, int(std::lround(a[y * w + x])), 255)));
}

// The main window's shadow: a soft dark band around a rectangle inset by "inset" pixels, for a
// border image sliced at that inset. The middle stays clear; the window's frame covers it.
QImage drawShadow(const Row& row)
{
    const int inset = row.values.value(QStringLiteral("inset"), QStringLiteral("20")).toInt();
    const int alpha = row.values.value(QStringLiteral("alpha"), QStringLiteral("70")).toInt();
    QImage image(row.size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.fillRect(QRect(QPoint(inset - 2, inset), QPoint(row.size.width() - inset + 1, row.size.height() - inset + 3)),
                   QColor(0, 0, 0, alpha));
    }
    boxBlur(image, inset / 3);
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.fillRect(QRect(QPoint(inset, inset), QPoint(row.size.width() - inset - 1, row.size.height() - inset - 1)), Qt::transparent);
    return image;
}

QImage renderSvg(const Row& row, const QString& sourceDir)
{
    QFile file(sourceDir + QLatin1Char('/') + row.source);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("line %1: cannot read %2").arg(row.line).arg(file.fileName()));
        return {};
    }
    QString text = QString::fromUtf8(file.readAll());
    for (auto it = row.values.cbegin(); it != row.values.cend(); ++it)
        text.replace(QLatin1Char('{') + it.key() + QLatin1Char('}'), it.value());
    const QRegularExpressionMatch left = QRegularExpression(QStringLiteral("\\{[a-zA-Z0-9_]+\\}")).match(text);
    if (left.hasMatch()) {
        fail(QStringLiteral("line %1: %2 has no value for %3").arg(row.line).arg(row.name, left.captured(0)));
        return {};
    }
    QSvgRenderer renderer(text.toUtf8());
    if (!renderer.isValid()) {
        fail(QStringLiteral("line %1: %2 is not a valid SVG").arg(row.line).arg(row.source));
        return {};
    }
    QImage image(row.size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(row.size)));
    return image;
}

bool save(QImage image, const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    QImageWriter writer(path, suffix.toLatin1());
    if (suffix == QLatin1String("jpg")) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter(&flat).drawImage(0, 0, image);
        image = flat;
        writer.setQuality(90);
    } else {
        image = image.convertToFormat(QImage::Format_ARGB32);
    }
    if (!writer.write(image)) {
        fail(QStringLiteral("cannot write %1: %2").arg(path, writer.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    // Runs during the build, where there is no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        fail(QStringLiteral("usage: qp_imagegen <table> <source folder> <output folder>"));
        return 2;
    }
    QFile table(args.at(1));
    if (!table.open(QIODevice::ReadOnly | QIODevice::Text)) {
        fail(QStringLiteral("cannot read %1").arg(args.at(1)));
        return 1;
    }
    QDir().mkpath(args.at(3));

    QHash<QString, QString> defaults;
    QTextStream in(&table);
    int lineNumber = 0, failures = 0;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        ++lineNumber;
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QRegularExpression(QStringLiteral("\\s+")));
        auto readPairs = [&](int from, QHash<QString, QString>& into) {
            for (int i = from; i < fields.size(); ++i) {
                const int eq = fields.at(i).indexOf(QLatin1Char('='));
                if (eq > 0) into.insert(fields.at(i).left(eq), fields.at(i).mid(eq + 1));
            }
        };
        if (fields.at(0) == QLatin1String("@set")) {
            readPairs(1, defaults);
            continue;
        }
        Row row;
        row.line = lineNumber;
        const QStringList size = fields.value(2).split(QLatin1Char('x'));
        if (fields.size() < 3 || size.size() != 2) {
            fail(QStringLiteral("line %1: expected <name> <source> <width>x<height>").arg(lineNumber));
            ++failures;
            continue;
        }
        row.name = fields.at(0);
        row.source = fields.at(1);
        row.size = QSize(size.at(0).toInt(), size.at(1).toInt());
        row.values = defaults;
        readPairs(3, row.values);
        // A value may name another value ("fg=accent"), so the palette is written once.
        for (auto it = row.values.begin(); it != row.values.end(); ++it)
            for (int depth = 0; depth < 4 && defaults.contains(it.value()); ++depth)
                it.value() = defaults.value(it.value());

        QImage image = row.source == QLatin1String("@shadow") ? drawShadow(row) : renderSvg(row, args.at(2));
        if (image.isNull() || !save(image, args.at(3) + QLatin1Char('/') + row.name))
            ++failures;
    }
    return failures == 0 ? 0 : 1;
}
