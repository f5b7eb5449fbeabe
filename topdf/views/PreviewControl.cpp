#include "topdf/views/PreviewControl.h"

#include "topdf/workers/ToPdfWorkerImages.h"

#include <QImageReader>
#include <QPainter>
#include <QTransform>

namespace {

// Paper sizes in millimetres, portrait, by LayoutSettingsData::PageSize: Letter, A3, A4, A5, B5.
const QSize paperMillimetres[] = {{216, 279}, {297, 420}, {210, 297}, {148, 210}, {176, 250}};

// A picture is read at most this big: enough for a preview, small for a big photo.
constexpr int largestSide = 1200;

int points(int millimetres)
{
    // 25.4 as the single-precision number, so that the page sizes come out as the workers' ones.
    return int(millimetres * 72 / double(25.4f));
}

QSize points(const QSize& millimetres)
{
    return QSize(points(millimetres.width()), points(millimetres.height()));
}

// A picture's size in points when nothing tells its resolution.
QSize pointsAt96Dpi(QSize pixels)
{
    return (QSizeF(pixels) * 72.0 / 96.0).toSize();
}

bool isNamedPageSize(int pageSize)
{
    return pageSize >= LayoutSettingsData::Letter && pageSize <= LayoutSettingsData::B5;
}

} // namespace

PreviewControl::PreviewControl(QWidget* parent)
    : QFrame(parent)
{
    setFixedSize(135, 135);
}

void PreviewControl::setLayoutSettings(const LayoutSettingsData& settings)
{
    m_settings = settings;
    update();
}

bool PreviewControl::loadImage(const QString& path)
{
    m_picture = QImage();
    m_pictureSize = QSize();
    if (path.isEmpty()) {
        update();
        return false;
    }
    QImageReader reader(path);
    const QSize pixels = reader.size();
    if (pixels.isValid() && (pixels.width() > largestSide || pixels.height() > largestSide))
        reader.setScaledSize(pixels.scaled(largestSide, largestSide, Qt::KeepAspectRatio));
    m_picture = reader.read();
    if (!m_picture.isNull()) {
        const QSizeF points = m_service ? ToPdfWorkerImages::pictureSize(m_service, path) : QSizeF();
        m_pictureSize = points.isEmpty() ? pointsAt96Dpi(pixels.isValid() ? pixels : m_picture.size()) : points.toSize();
    }
    update();
    return !m_picture.isNull();
}

QImage PreviewControl::renderPage(const LayoutSettingsData& settings, const QImage& picture, QSize pictureSize)
{
    QTransform rotation;
    if (settings.rotate > 0)
        rotation.rotate(settings.rotate);
    // A picture turned by a quarter turn is as wide as it was high.
    const QSize turned = rotation.mapRect(QRect(QPoint(0, 0), pictureSize)).size();

    QRect page;
    QRect content;
    if (isNamedPageSize(settings.pageSize)) {
        const int margin = LayoutSettingsData::marginMillimetres(settings.margin);
        QSize paper = paperMillimetres[settings.pageSize];
        if (settings.orientation == LayoutSettingsData::Landscape)
            paper.transpose();
        page = QRect(QPoint(0, 0), points(paper));
        content = QRect(QPoint(0, 0), points(paper - QSize(2 * margin, 2 * margin)));
    } else {
        // The page takes the picture's own size, turned with it, without margins.
        page = QRect(QPoint(0, 0), turned);
        content = page;
    }
    content.moveCenter(page.center());
    if (page.isEmpty())
        return QImage();

    QImage image(page.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(page, Qt::white);
    painter.setPen(QPen(Qt::red, 1));
    painter.drawRect(page.adjusted(0, 0, -1, -1));

    const QSize shown = settings.imageSize == LayoutSettingsData::ScaleToFit ? turned.scaled(content.size(), Qt::KeepAspectRatio) : turned;
    const int w = shown.width(), h = shown.height();
    const int left = content.left(), top = content.top(), right = content.right(), bottom = content.bottom();
    const int centreX = (left + right) / 2 - w / 2, middleY = (top + bottom) / 2 - h / 2;
    const int xs[] = {left, centreX, right - w};
    const int ys[] = {top, middleY, bottom - h};
    QPoint corner(0, 0);
    if (settings.position >= LayoutSettingsData::TopLeft && settings.position <= LayoutSettingsData::BottomRight)
        corner = QPoint(xs[settings.position % 3], ys[settings.position / 3]);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(corner, shown), picture.transformed(rotation, Qt::SmoothTransformation));
    return image;
}

void PreviewControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x4C, 0x4C, 0x4C));
    if (m_picture.isNull()) {
        m_picture = QImage(QStringLiteral(":/style/images/defaultcover.jpg"));
        m_pictureSize = pointsAt96Dpi(m_picture.size());
    }
    const QImage page = renderPage(m_settings, m_picture, m_pictureSize);
    if (page.isNull())
        return;
    const QImage shown = page.scaled(width() - 10, height() - 10, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QRect target(QPoint(0, 0), shown.size());
    target.moveCenter(QPoint((rect().left() + rect().right()) / 2, (rect().top() + rect().bottom()) / 2));
    painter.drawImage(target, shown);
    painter.setPen(QColor(0xAC, 0xAC, 0xAC));
    painter.drawRect(target);
}
