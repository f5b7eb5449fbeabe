// Gallery pictures of the main window, its settings panel and the update dialog.
#include "tools/gallery/Gallery.h"
#include "ui/mainwindow/MainView.h"
#include "ui/mainwindow/MessageUpdate.h"
#include "ui/mainwindow/SiteLinks.h"

#include <QPushButton>

namespace {

// The main window with its settings panel slid in (the fade and the slide take 400 ms).
QWidget* mainWindowWithSettings()
{
    auto* view = new MainView;
    view->show();
    settle(100);
    view->findChild<QPushButton*>(QStringLiteral("buttonSettings"))->click();
    settle(700);
    return view;
}

} // namespace

QList<GalleryItem> mainWindowItems()
{
    return {
        {QStringLiteral("mainwindow"), [] { return static_cast<QWidget*>(new MainView); }, QSize(), true},
        {QStringLiteral("mainwindow-settings"), &mainWindowWithSettings, QSize(), true},
        {QStringLiteral("mainwindow-settings-de"), [] { return inGerman(&mainWindowWithSettings); }, QSize(), true},
        {QStringLiteral("messageupdate"),
         [] {
             return static_cast<QWidget*>(new MessageUpdate(QStringLiteral("2.3.0"), SiteLinks::changeLog(), SiteLinks::download()));
         },
         QSize(), true},
    };
}
