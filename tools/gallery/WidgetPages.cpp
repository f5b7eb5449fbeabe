// Gallery pictures of the shared widgets and dialogs, in the states a user meets them.
#include "app/core/ProgramVersion.h"
#include "tools/gallery/Gallery.h"
#include "ui/kit/Button.h"
#include "ui/kit/StyleNames.h"
#include "ui/widgets/DropArea.h"
#include "ui/widgets/FlowLayout.h"
#include "ui/widgets/MessagePassword.h"
#include "ui/widgets/MessageView.h"
#include "ui/widgets/ProgressControl.h"
#include "ui/widgets/ProgressDialog.h"
#include "ui/widgets/SplashScreen.h"
#include "ui/widgets/StartView.h"
#include "ui/widgets/TableHeader.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("Gallery", text);
}

Button* button(const QString& name, const QString& text)
{
    auto* b = new Button;
    b->setObjectName(name);
    b->setText(text);
    return b;
}

QWidget* startView()
{
    auto* view = new StartView;
    fillStartPage(view, 60);
    return view;
}

QWidget* dropArea(bool formats)
{
    auto* area = new DropArea;
    if (formats) {
        area->setTitle(tr("Add file"));
        area->setFixedHeight(264);
        area->addFormat(QStringLiteral("JPG, PNG, BMP, TIFF"), QStringLiteral(":/style/images/formats_images.png"));
        area->addFormat(QStringLiteral("EPUB, MOBI, FB2"), QStringLiteral(":/style/images/formats_ebook.png"));
        area->addFormat(QStringLiteral("HTML, HTM"), QStringLiteral(":/style/images/formats_html.png"));
        area->addFormat(QStringLiteral("DOC, DOCX, XLS, XLSX, ODT, ODS"), QStringLiteral(":/style/images/formats_docs.png"));
    } else {
        area->setTitle(tr("Add PDF File"));
    }
    return area;
}

// Page-range chips wrapped by a flow layout on a side panel.
QWidget* rangeChips()
{
    auto* panel = new QFrame;
    panel->setObjectName(StyleName::settingsViewContent);
    auto* flow = new FlowLayout(panel, 12, 10, 10);
    const QStringList ranges{"1 - 3", "5", "8 - 12", "15", "21 - 30", "34", "40 - 41", "57"};
    for (const QString& range : ranges) {
        auto* chip = new QFrame;
        chip->setObjectName(StyleName::pageitemview);
        auto* row = new QHBoxLayout(chip);
        row->setContentsMargins(5, 5, 5, 5);
        row->addWidget(new QLabel(range));
        auto* remove = new QPushButton;
        remove->setObjectName(StyleName::deletelabel);
        row->addWidget(remove);
        flow->addWidget(chip);
    }
    return panel;
}

QWidget* headerTable()
{
    auto* table = new QTableView;
    auto* model = new QStandardItemModel(4, 4, table);
    const QStringList names{"annual report 2023.pdf", "contract.pdf", "invoice-0042.pdf", "scan_0007.pdf"};
    const QStringList pages{"48", "12", "1", "7"};
    for (int r = 0; r < 4; ++r) {
        model->setItem(r, 1, new QStandardItem(names.at(r)));
        model->setItem(r, 3, new QStandardItem(pages.at(r)));
    }
    model->setHorizontalHeaderLabels({QString(), QString(), QString(), QString()});
    table->setModel(model);
    auto* header = new TableHeaderView(table);
    header->setSortIndicatorShown(true);
    header->setSectionsClickable(true);
    auto* name = new TableHeaderDelegate(header, table);
    name->setMargins(QMargins(8, 0, 8, 0));
    name->setSortable(true);
    name->setText(tr("Filename"));
    auto* count = new TableHeaderDelegate(header, table);
    count->setMargins(QMargins(8, 0, 8, 0));
    count->setText(tr("Pages"));
    header->setSectionDelegate(1, name);
    header->setSectionDelegate(3, count);
    table->setHorizontalHeader(header);
    header->setSortIndicator(1, Qt::AscendingOrder);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(28);
    table->setShowGrid(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->selectRow(1);
    table->setColumnWidth(0, 29);
    table->setColumnWidth(1, 380);
    table->setColumnWidth(2, 25);
    table->setColumnWidth(3, 127);
    return table;
}

QWidget* comboRow()
{
    auto* panel = new QFrame;
    panel->setObjectName(StyleName::settingsViewContent);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(20, 20, 20, 20);
    auto* label = new QLabel(tr("Quality images"));
    label->setObjectName(StyleName::title);
    label->setFixedSize(160, 42);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row->addWidget(label);
    auto* combo = new QComboBox;
    combo->setItemDelegate(new ComboBoxItemDelegate(combo));
    combo->addItems({tr("Low"), tr("Medium"), tr("High")});
    combo->setCurrentIndex(1);
    combo->setFixedSize(354, 37);
    row->addWidget(combo);
    row->addStretch();
    return panel;
}

ProgressControl* progress(bool paused)
{
    auto* control = new ProgressControl;
    static qint64 now = 0;
    control->setClock([] { return now; });
    control->reset();
    control->onRestartTimer();
    now += 83000;
    control->setMaximum(10);
    control->setValue(4);
    control->setText(tr("Converting annual report 2023.pdf (4 of 10)"));
    if (paused)
        control->onButtonPause();
    control->onUpdateViewTimer();
    QCoreApplication::processEvents();
    return control;
}

QWidget* progressBox(bool paused)
{
    auto* box = new QFrame;
    box->setObjectName(StyleName::tableBox);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addWidget(progress(paused));
    return box;
}

QWidget* completionMessage()
{
    MessageView* message = MessageView::createOkMessage(
        tr("Zembrook PDF Converter"), tr("Conversion completed successfully.\n3 files were converted."));
    auto* open = button(StyleName::buttonMessageOpenFolder, tr("OPEN FOLDER"));
    open->setFixedHeight(42);
    open->setMinimumWidth(180);
    message->addButton(open, QDialogButtonBox::HelpRole);
    return message;
}

QWidget* passwordPrompt()
{
    auto* prompt = new MessagePassword;
    prompt->setText(tr("The file \"contract.pdf\" is protected by a password."));
    prompt->setSkipVisible(true);
    prompt->setSkipAllVisible(true);
    return prompt;
}

QWidget* progressDialog()
{
    auto* dialog = new ProgressDialog;
    dialog->setTitle(QString());
    dialog->progress()->setMaximum(5);
    dialog->progress()->setValue(2);
    dialog->progress()->setText(tr("Reading contract.pdf"));
    QCoreApplication::processEvents();
    return dialog;
}

QWidget* splash()
{
    auto* s = new SplashScreen(QPixmap(QStringLiteral(":/style/images/splash.png")));
    s->setVersionText(QStringLiteral(QUILLPRESS_VERSION));
    s->showStatus(tr("Loading..."), Qt::white);
    return s;
}

} // namespace

QList<GalleryItem> widgetItems()
{
    return {
        {QStringLiteral("startview"), startView, QSize(703, 420)},
        {QStringLiteral("splashscreen"), splash, QSize(), true},
        {QStringLiteral("droparea-from"), [] { return dropArea(false); }, QSize(685, 380)},
        {QStringLiteral("droparea-to"), [] { return dropArea(true); }, QSize(685, 300)},
        {QStringLiteral("flowlayout-ranges"), rangeChips, QSize(420, 150)},
        {QStringLiteral("tableheader"), headerTable, QSize(660, 200)},
        {QStringLiteral("combobox"), comboRow, QSize(600, 110)},
        {QStringLiteral("progresscontrol"), [] { return progressBox(false); }, QSize(640, 110)},
        {QStringLiteral("progresscontrol-paused"), [] { return progressBox(true); }, QSize(640, 110)},
        {QStringLiteral("messageview"), completionMessage, QSize(), true},
        {QStringLiteral("messagepassword"), passwordPrompt, QSize(), true},
        {QStringLiteral("progressdialog"), progressDialog, QSize(), true},
    };
}
