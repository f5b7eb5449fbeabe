// The widget gallery: renders every widget of the look kit and of the shared widgets to PNG
// files in a folder, so that the look can be reviewed from pictures. For windows it also
// writes what the screen shows ("-screen.png"), which is where a missing compositor would show
// black corners. Writes "images.png", a sheet of every picture of the style, too.
//
// Usage: quillgallery <output folder>
// Exit code 0 when every picture was rendered, 1 otherwise.
#include "app/Application.h"
#include "tools/gallery/Gallery.h"
#include "ui/kit/Style.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFrame>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>
#include <memory>

void settle(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

QWidget* inGerman(const std::function<QWidget*()>& make)
{
    Application::instance()->setLanguage(QStringLiteral("de"));
    QWidget* widget = make();
    QObject::connect(widget, &QObject::destroyed, [] { Application::instance()->setLanguage(QStringLiteral("en")); });
    return widget;
}

namespace {

bool save(const QPixmap& pixmap, const QString& path)
{
    if (pixmap.isNull() || pixmap.width() < 2 || pixmap.height() < 2 || !pixmap.save(path)) {
        std::fprintf(stderr, "quillgallery: could not render %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s %dx%d\n", qPrintable(QDir::toNativeSeparators(path)), pixmap.width(), pixmap.height());
    return true;
}

bool render(const GalleryItem& item, const QString& folder)
{
    std::unique_ptr<QWidget> widget(item.make());
    if (!widget)
        return false;
    const QString base = folder + QLatin1Char('/') + item.name;
    if (item.window) {
        widget->show();
        settle(300);
        bool ok = save(widget->grab(), base + QStringLiteral(".png"));
        if (QGuiApplication::platformName() == QLatin1String("xcb"))
            ok = save(widget->screen()->grabWindow(0, widget->x(), widget->y(), widget->width(), widget->height()),
                      base + QStringLiteral("-screen.png"))
                 && ok;
        widget->hide();
        return ok;
    }
    std::unique_ptr<QWidget> host(hostFrame(widget.release()));
    host->resize(item.size);
    host->show();
    settle(150);
    const bool ok = save(host->grab(), base + QStringLiteral(".png"));
    host->hide();
    return ok;
}

// Every picture of the style on one sheet, each with its name and size.
bool renderImageSheet(const QString& folder)
{
    QStringList names;
    QDirIterator it(QStringLiteral(":/style/images"));
    while (it.hasNext())
        names << it.next();
    names.sort(Qt::CaseInsensitive);
    const int cell = 120, columns = 8;
    QImage sheet(columns * cell, ((names.size() + columns - 1) / columns) * cell, QImage::Format_ARGB32);
    sheet.fill(QColor(0xEE, 0xEC, 0xE8));
    QPainter painter(&sheet);
    QFont font = painter.font();
    font.setPixelSize(9);
    painter.setFont(font);
    for (int i = 0; i < names.size(); ++i) {
        const QImage image(names.at(i));
        const QRect box((i % columns) * cell, (i / columns) * cell, cell, cell);
        QSize shown = image.size();
        if (shown.width() > cell - 10 || shown.height() > cell - 30)
            shown.scale(cell - 10, cell - 30, Qt::KeepAspectRatio);
        const QRect target(box.x() + (cell - shown.width()) / 2, box.y() + 6 + (cell - 30 - shown.height()) / 2,
                           shown.width(), shown.height());
        painter.drawImage(target, image);
        painter.setPen(QColor(0x65, 0x65, 0x65));
        painter.drawText(box.adjusted(2, cell - 24, -2, 0), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                         QStringLiteral("%1 %2x%3").arg(names.at(i).section(QLatin1Char('/'), -1)).arg(image.width()).arg(image.height()));
    }
    painter.end();
    return save(QPixmap::fromImage(sheet), folder + QStringLiteral("/images.png"));
}

} // namespace

QWidget* hostFrame(QWidget* content, int margin)
{
    auto* host = new QFrame;
    host->setObjectName(QStringLiteral("galleryHost"));
    host->setStyleSheet(QStringLiteral("QFrame#galleryHost { background: #FAF8F5; }"));
    auto* layout = new QVBoxLayout(host);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->addWidget(content);
    return host;
}

int main(int argc, char* argv[])
{
    // The gallery lives outside the program folder; the application finds its translations
    // and tools there.
    if (qEnvironmentVariableIsEmpty("QUILLPRESS_PROGRAM_DIR"))
        qputenv("QUILLPRESS_PROGRAM_DIR", QP_PROGRAM_DIR);
    // The main window's pages need the application object and its services.
    Application app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: quillgallery <output folder>\n");
        return 2;
    }
    const QString folder = args.at(1);
    QDir().mkpath(folder);
    loadStyleSheet();

    // A plain light desktop behind the windows, so that the screen pictures show only what the
    // windows themselves put on the screen (the virtual server's own background is black).
    std::unique_ptr<QWidget> desktop;
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        desktop.reset(new QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint));
        desktop->setObjectName(QStringLiteral("galleryDesktop"));
        desktop->setStyleSheet(QStringLiteral("QWidget#galleryDesktop { background: #BFC5CC; }"));
        desktop->setGeometry(QGuiApplication::primaryScreen()->geometry());
        desktop->show();
        settle(200);
    }

    int failures = renderImageSheet(folder) ? 0 : 1;
    for (const GalleryItem& item : kitItems() + widgetItems() + fromPdfItems() + mainWindowItems() + fromPdfViewItems()
                                       + toPdfViewItems())
        failures += render(item, folder) ? 0 : 1;
    return failures == 0 ? 0 : 1;
}
