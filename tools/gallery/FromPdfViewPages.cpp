// Gallery pictures of the "From PDF" tab: its table with rows, the format pop-up, the page-range
// panel, the page preview and the tab in the main window, idle and converting.
#include "app/Application.h"
#include "frompdf/model/FromPDFModel.h"
#include "frompdf/views/DocumentViewer.h"
#include "frompdf/views/ExportFormatListView.h"
#include "frompdf/views/FromPDFTable.h"
#include "frompdf/views/FromPDFView.h"
#include "frompdf/views/PageRangesView.h"
#include "tools/gallery/Gallery.h"
#include "ui/kit/TabWidget.h"
#include "ui/mainwindow/MainView.h"
#include "ui/widgets/ProgressControl.h"

#include <QDir>
#include <QPainter>
#include <QPdfWriter>

namespace {

FromPDFTask task(const QString& name, int pages, const QString& format, const PageRangeList& ranges = {})
{
    FromPDFTask task;
    task.file = QFileInfo(QStringLiteral("/home/user/Documents/") + name);
    task.pageCount = pages;
    task.setFormat(format);
    task.ranges = ranges;
    return task;
}

FromPDFTaskList sampleTasks()
{
    FromPDFTask locked = task(QStringLiteral("Bank statement March.pdf"), 0, QStringLiteral("doc"));
    locked.passwordRequired = true;
    return {task(QStringLiteral("Annual report 2023 with appendices and the auditor's letter.pdf"), 48,
                 QStringLiteral("docx"), {{1, 3}, {5, 5}, {12, 20}}),
            task(QStringLiteral("Invoice 0042.pdf"), 1, QStringLiteral("docx")),
            locked,
            task(QStringLiteral("Brochure.pdf"), 12, QStringLiteral("png")),
            task(QStringLiteral("Drawings.pdf"), 6, QStringLiteral("wmf"))};
}

FromPDFView* fromPdfView(MainView* window)
{
    return window->findChild<FromPDFView*>();
}

// The main window on its "From PDF" tab with rows, the second one selected.
MainView* mainWindowWithRows()
{
    auto* window = new MainView;
    FromPDFView* view = fromPdfView(window);
    view->model()->add(sampleTasks());
    window->findChild<TabWidget*>()->setCurrentIndex(MainView::FromPdfTab);
    window->show();
    settle(100);
    view->table()->selectRow(1);
    return window;
}

// The main window with the page-range panel slid in for the first row.
QWidget* mainWindowWithPageRanges()
{
    MainView* window = mainWindowWithRows();
    FromPDFView* view = fromPdfView(window);
    view->onTableClicked(view->model()->index(0, FromPDFModel::PagesColumn));
    settle(700);
    return window;
}

// A few pages of text for the preview.
QString samplePdf()
{
    const QString path = QDir::temp().filePath(QStringLiteral("quillgallery-preview.pdf"));
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A5));
    writer.setResolution(72);
    QPainter painter(&writer);
    for (int page = 1; page <= 3; ++page) {
        if (page > 1)
            writer.newPage();
        QFont heading(QStringLiteral("DejaVu Serif"), 18, QFont::Bold);
        painter.setFont(heading);
        painter.drawText(QRect(36, 40, 340, 40), Qt::AlignLeft, QStringLiteral("Chapter %1").arg(page));
        painter.setFont(QFont(QStringLiteral("DejaVu Serif"), 10));
        painter.drawText(QRect(36, 90, 340, 420), Qt::TextWordWrap,
                         QStringLiteral("The river bent twice before it reached the mill, and the miller's daughter "
                                        "counted the boats that passed each morning. ")
                             .repeated(7));
    }
    return path;
}

} // namespace

QList<GalleryItem> fromPdfViewItems()
{
    return {
        {QStringLiteral("frompdf-table"),
         [] {
             auto* model = new FromPDFModel;
             model->add(sampleTasks());
             auto* table = new FromPDFTable(model);
             model->setParent(table);
             table->setFixedWidth(631);
             table->selectRow(3);
             return static_cast<QWidget*>(table);
         },
         QSize(655, 260)},
        {QStringLiteral("frompdf-formatpopup"),
         [] {
             auto* popup = new ExportFormatListView;
             popup->setCurrentFormat(QStringLiteral("docx"));
             return static_cast<QWidget*>(popup);
         },
         QSize(), true},
        {QStringLiteral("frompdf-pageranges"),
         [] {
             auto* panel = new PageRangesView;
             panel->setFixedSize(547, 500);
             panel->setTask(0, task(QStringLiteral("Annual report.pdf"), 48, QStringLiteral("docx"),
                                    {{1, 3}, {5, 5}, {12, 20}, {31, 48}}));
             return static_cast<QWidget*>(panel);
         },
         QSize(571, 524)},
        {QStringLiteral("frompdf-preview"),
         [] {
             auto* viewer = new DocumentViewer(Application::instance()->debenuService());
             viewer->setDocument(samplePdf(), QString());
             return static_cast<QWidget*>(viewer);
         },
         QSize(), true},
        {QStringLiteral("mainwindow-frompdf-empty"),
         [] {
             auto* window = new MainView;
             window->findChild<TabWidget*>()->setCurrentIndex(MainView::FromPdfTab);
             return static_cast<QWidget*>(window);
         },
         QSize(), true},
        {QStringLiteral("mainwindow-frompdf"), [] { return static_cast<QWidget*>(mainWindowWithRows()); }, QSize(), true},
        {QStringLiteral("mainwindow-frompdf-de"), [] { return inGerman([] { return mainWindowWithRows(); }); }, QSize(),
         true},
        {QStringLiteral("mainwindow-frompdf-running"),
         [] {
             MainView* window = mainWindowWithRows();
             FromPDFView* view = fromPdfView(window);
             view->onStarted();
             ProgressControl* progress = view->progressControl();
             progress->setMinimum(1);
             progress->setMaximum(67);
             progress->setValue(24);
             progress->setText(QCoreApplication::translate("FromPdfAlgorithm", "%1 of %2 converting. %3 of %4 pages")
                                   .arg(2)
                                   .arg(5)
                                   .arg(24)
                                   .arg(67));
             settle(300);
             return static_cast<QWidget*>(window);
         },
         QSize(), true},
        {QStringLiteral("mainwindow-frompdf-pageranges"), &mainWindowWithPageRanges, QSize(), true},
        {QStringLiteral("mainwindow-frompdf-pageranges-de"), [] { return inGerman(&mainWindowWithPageRanges); }, QSize(),
         true},
    };
}
