// Gallery pictures of the "To PDF" tab: its table with rows, the PDF settings panel on both of
// its pages in the three edit modes, the page preview, and the tab in the main window, idle,
// converting and with the panel slid in.
#include "app/Application.h"
#include "tools/gallery/Gallery.h"
#include "topdf/model/ToPDFModel.h"
#include "topdf/model/ToPdfFiles.h"
#include "topdf/views/PreviewControl.h"
#include "topdf/views/ToPDFSettingsView.h"
#include "topdf/views/ToPDFTable.h"
#include "topdf/views/ToPDFView.h"
#include "ui/kit/TabWidget.h"
#include "ui/mainwindow/MainView.h"
#include "ui/widgets/MessageView.h"
#include "ui/widgets/ProgressControl.h"

#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLinearGradient>
#include <QPainter>

namespace {

// A landscape "photo": sky, sun and hills, so that placement and rotation can be seen.
QImage photo(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(0x4A, 0x90, 0xD9));
    sky.setColorAt(1, QColor(0xCF, 0xE8, 0xF7));
    painter.fillRect(image.rect(), sky);
    painter.setBrush(QColor(0xF5, 0xC5, 0x18));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(size.width() * 0.75, size.height() * 0.3), size.height() * 0.12, size.height() * 0.12);
    painter.setBrush(QColor(0x3E, 0x8E, 0x41));
    painter.drawEllipse(QRectF(-size.width() * 0.2, size.height() * 0.6, size.width() * 0.9, size.height() * 0.8));
    painter.setBrush(QColor(0x2E, 0x6B, 0x30));
    painter.drawEllipse(QRectF(size.width() * 0.4, size.height() * 0.65, size.width() * 0.9, size.height() * 0.7));
    return image;
}

// Sample files in a folder of their own: the model reads pictures' sizes, and a task needs a file.
QStringList sampleFiles()
{
    const QString folder = QDir::temp().filePath(QStringLiteral("quillgallery-topdf"));
    QDir().mkpath(folder);
    const QString beach = folder + QStringLiteral("/Holiday at the beach, day one with the whole family.jpg");
    const QString garden = folder + QStringLiteral("/Garden.png");
    photo(QSize(1920, 1080)).save(beach);
    photo(QSize(800, 600)).save(garden);
    QStringList paths = {beach, garden};
    for (const char* name : {"Scanned contract.tiff", "Quarterly report.docx", "Recipes.html", "Travel guide.epub"}) {
        const QString path = folder + QLatin1Char('/') + QLatin1String(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        paths << path;
    }
    return paths;
}

QList<ToPDFTask> sampleTasks()
{
    return ToPdfFiles::newTasks(sampleFiles(), QStringLiteral("Zembrook PDF Converter")).tasks;
}

ToPDFView* toPdfView(MainView* window)
{
    return window->findChild<ToPDFView*>();
}

// The main window on its "To PDF" tab with rows, the third one selected.
MainView* mainWindowWithRows()
{
    auto* window = new MainView;
    ToPDFView* view = toPdfView(window);
    view->model()->addTasks(sampleTasks());
    window->findChild<TabWidget*>()->setCurrentIndex(MainView::ToPdfTab);
    window->show();
    settle(100);
    view->table()->selectRow(2);
    return window;
}

// A photo with A4 landscape, a big margin and the picture at the bottom right.
LayoutSettingsData bottomRightLandscape()
{
    LayoutSettingsData layout;
    layout.orientation = LayoutSettingsData::Landscape;
    layout.margin = LayoutSettingsData::Big;
    layout.position = LayoutSettingsData::BottomRight;
    return layout;
}

// The settings panel alone, editing as the tab would ask it to.
QWidget* settingsPanel(int editMode, int page)
{
    auto* panel = new ToPDFSettingsView;
    panel->setFixedSize(547, 500);
    ToPDFTask task = sampleTasks().first();
    if (editMode == 0) {
        task.layoutSettings = bottomRightLandscape();
        task.fileSettings.title = QStringLiteral("Summer 2024");
    } else if (editMode == 2) {
        task = ToPDFTask();
        task.fileSettings.fileName = ToPDFView::mergedFileName();
        task.fileSettings.publisher = QStringLiteral("Zembrook PDF Converter");
    } else {
        task = ToPDFTask();
    }
    panel->editTask(editMode == 0 ? 0 : -1, task, editMode);
    panel->findChild<TabWidget*>()->setCurrentIndex(page);
    return panel;
}

// The main window with a photo's settings panel slid in on its layout page.
QWidget* mainWindowWithSettings()
{
    MainView* window = mainWindowWithRows();
    ToPDFView* view = toPdfView(window);
    ToPDFTask task = view->model()->task(0);
    task.layoutSettings = bottomRightLandscape();
    view->saveTask(0, task);
    view->onTableClicked(view->model()->index(0, ToPDFModel::SettingsColumn));
    window->findChild<ToPDFSettingsView*>()->findChild<TabWidget*>()->setCurrentIndex(ToPDFSettingsView::LayoutPage);
    settle(700);
    return window;
}

// Previews side by side: A4 portrait, A4 landscape with a big margin at the bottom right, a
// turned photo on A5, the photo at its own size on Letter, and a page that takes the photo's size.
QWidget* previews()
{
    const QString beach = sampleFiles().first();
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setSpacing(12);
    const auto add = [&](auto adjust) {
        auto* preview = new PreviewControl(row);
        preview->setPdfService(Application::instance()->debenuService());
        preview->loadImage(beach);
        LayoutSettingsData layout;
        adjust(layout);
        preview->setLayoutSettings(layout);
        row->layout()->addWidget(preview);
    };
    add([](LayoutSettingsData&) {});
    add([](LayoutSettingsData& l) { l = bottomRightLandscape(); });
    add([](LayoutSettingsData& l) { l.pageSize = LayoutSettingsData::A5; l.rotate = 90; l.position = LayoutSettingsData::TopCenter; });
    add([](LayoutSettingsData& l) { l.pageSize = LayoutSettingsData::Letter; l.imageSize = LayoutSettingsData::Original; l.position = LayoutSettingsData::TopLeft; });
    add([](LayoutSettingsData& l) { l.pageSize = LayoutSettingsData::FitImage; });
    auto* cover = new PreviewControl(row);
    layout->addWidget(cover);
    return row;
}

// The message before a run into a folder that cannot be written, with a long path.
QWidget* unwritableFolder()
{
    return ConversionTab::unwritableFoldersMessage(
        {{QStringLiteral("/media/anna/USB STICK/Quarterly reports 2024/Scans/Archive"), QStringLiteral("Read-only file system")}});
}

} // namespace

QList<GalleryItem> toPdfViewItems()
{
    QList<GalleryItem> items = {
        {QStringLiteral("topdf-table"),
         [] {
             auto* model = new ToPDFModel;
             model->addTasks(sampleTasks());
             auto* table = new ToPDFTable(model);
             model->setParent(table);
             table->setFixedWidth(631);
             table->selectRow(3);
             return static_cast<QWidget*>(table);
         },
         QSize(655, 260)},
        {QStringLiteral("topdf-preview"), &previews, QSize(900, 170)},
        {QStringLiteral("topdf-message-unwritable"), &unwritableFolder, QSize(), true},
        {QStringLiteral("topdf-message-unwritable-de"), [] { return inGerman(&unwritableFolder); }, QSize(), true},
        {QStringLiteral("mainwindow-topdf-empty"),
         [] {
             auto* window = new MainView;
             window->findChild<TabWidget*>()->setCurrentIndex(MainView::ToPdfTab);
             return static_cast<QWidget*>(window);
         },
         QSize(), true},
        {QStringLiteral("mainwindow-topdf"), [] { return static_cast<QWidget*>(mainWindowWithRows()); }, QSize(), true},
        {QStringLiteral("mainwindow-topdf-de"), [] { return inGerman([] { return mainWindowWithRows(); }); }, QSize(), true},
        {QStringLiteral("mainwindow-topdf-running"),
         [] {
             MainView* window = mainWindowWithRows();
             ToPDFView* view = toPdfView(window);
             view->onStarted();
             ProgressControl* progress = view->progressControl();
             progress->setMinimum(1);
             progress->setMaximum(6);
             progress->setValue(2);
             progress->setText(QCoreApplication::translate("ToPDFAlgorithm", "%1 of %2 converting").arg(3).arg(6));
             settle(300);
             return static_cast<QWidget*>(window);
         },
         QSize(), true},
        {QStringLiteral("mainwindow-topdf-settings"), &mainWindowWithSettings, QSize(), true},
        {QStringLiteral("mainwindow-topdf-settings-de"), [] { return inGerman(&mainWindowWithSettings); }, QSize(), true},
    };
    // The panel in each edit mode on each page it offers (a photo's row, for all files, general),
    // in English and German.
    const struct
    {
        const char* name;
        int mode;
        int page;
    } panels[] = {
        {"file", 0, ToPDFSettingsView::FilePage}, {"layout", 0, ToPDFSettingsView::LayoutPage}, {"all-file", 1, ToPDFSettingsView::FilePage}, {"all-layout", 1, ToPDFSettingsView::LayoutPage}, {"general-file", 2, ToPDFSettingsView::FilePage}, {"general-layout", 2, ToPDFSettingsView::LayoutPage}};
    for (const auto& panel : panels) {
        const int mode = panel.mode, page = panel.page;
        const QString name = QStringLiteral("topdf-settings-") + QLatin1String(panel.name);
        items << GalleryItem{name, [mode, page] { return settingsPanel(mode, page); }, QSize(571, 524)};
        items << GalleryItem{name + QStringLiteral("-de"),
                             [mode, page] { return inGerman([mode, page] { return settingsPanel(mode, page); }); },
                             QSize(571, 524)};
    }
    return items;
}
