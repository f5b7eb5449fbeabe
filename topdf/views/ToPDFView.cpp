#include "ToPDFView.h"

#include "Application.h"
#include "Button.h"
#include "DebenuService.h"
#include "DropArea.h"
#include "Logger.h"
#include "MessageView.h"
#include "MetricSender.h"
#include "ProgressControl.h"
#include "Settings.h"
#include "StyleNames.h"
#include "ToPDFModel.h"
#include "ToPDFTable.h"
#include "ToPdfFiles.h"
#include "ToPdfRecords.h"
#include "UsageStatistics.h"
#include "UserContext.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStackedLayout>
#include <QStandardPaths>
#include <QThread>
#include <QVBoxLayout>

namespace {

// The folder dialogs open in and output goes to by default: the desktop when there is one.
QString desktopFolder()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return QFileInfo(desktop).isDir() ? desktop : QDir::homePath();
}

UserContext* userContext()
{
    return Application::instance()->userContext();
}

} // namespace

ToPDFView::ToPDFView(QWidget* parent, FileDialogs dialogs)
    : QFrame(parent)
    , m_model(new ToPDFModel(this))
    , m_dialogs(std::move(dialogs))
{
    registerToPdfRecordTypes();
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* topFrame = new QFrame(this);
    m_pages = new QStackedLayout(topFrame);
    m_pages->setContentsMargins(0, 0, 0, 0);
    m_dropArea = new DropArea(topFrame, m_dialogs.openFiles);
    m_dropArea->setFixedHeight(264);
    m_dropArea->setSuffixes(userContext()->supportedFormats());
    m_dropArea->addFormat(QStringLiteral("JPG, PNG, BMP, TIFF"), QStringLiteral(":/style/images/formats_images.png"));
    m_dropArea->addFormat(QStringLiteral("EPUB, MOBI, FB2"), QStringLiteral(":/style/images/formats_ebook.png"));
    m_dropArea->addFormat(QStringLiteral("HTML, HTM"), QStringLiteral(":/style/images/formats_html.png"));
    m_dropArea->addFormat(QStringLiteral("DOC, DOCX, XLS, XLSX, ODT, ODS"), QStringLiteral(":/style/images/formats_docs.png"));
    m_pages->addWidget(m_dropArea);
    m_pages->addWidget(buildTablePage());
    outer->addWidget(topFrame);
    outer->addStretch();

    auto* bottomFrame = new QFrame(this);
    m_bottom = new QStackedLayout(bottomFrame);
    m_bottom->setContentsMargins(0, 0, 0, 0);
    m_bottom->addWidget(buildSaveRow());
    auto* progressRow = new QFrame(bottomFrame);
    auto* progressLayout = new QHBoxLayout(progressRow);
    progressLayout->setContentsMargins(0, 7, 0, 0);
    m_progressControl = new ProgressControl(progressRow);
    progressLayout->addWidget(m_progressControl, 1);
    m_bottom->addWidget(progressRow);
    m_bottom->setCurrentIndex(0);
    outer->addWidget(bottomFrame);
    outer->addStretch();
    m_progress = m_progressControl;

    retranslate();
    makeConnections();
    m_pages->setCurrentIndex(0);
    updateControls();
    // Normally the "From PDF" tab has put the desktop here already.
    if (userContext()->saveToFolder().isEmpty())
        userContext()->setSaveToFolder(desktopFolder());
    readSettings();
    FileSettingsData general = userContext()->fileSettings();
    general.fileName = mergedFileName();
    userContext()->setFileSettings(general);
}

ToPDFView::~ToPDFView()
{
    // A run still under way uses the progress control: it ends before the control goes. Its
    // thread's own deletion may never come (the application drops queued calls while it stops
    // the workers at quit), so the thread goes with the tab.
    if (m_thread) {
        m_progress->stop();
        m_thread->wait();
        delete m_thread;
    }
}

QWidget* ToPDFView::buildTablePage()
{
    auto* page = new QFrame;
    page->setObjectName(StyleName::tableBox);
    page->setFixedHeight(264);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    m_table = new ToPDFTable(m_model, page);
    m_table->setFixedWidth(631);
    m_table->setSupportedFormats(userContext()->supportedFormats());
    row->addWidget(m_table);
    auto* side = new QVBoxLayout;
    side->setAlignment(Qt::AlignHCenter);
    side->setContentsMargins(10, 0, 10, 0);
    side->setSpacing(10);
    side->addSpacing(35);
    m_addButton = namedButton(StyleName::buttonTableAdd, page);
    m_upButton = namedButton(StyleName::buttonMoveUp, page);
    m_downButton = namedButton(StyleName::buttonMoveDown, page);
    m_upButton->setEnabled(false);
    m_downButton->setEnabled(false);
    side->addWidget(m_addButton);
    side->addWidget(m_upButton);
    side->addWidget(m_downButton);
    side->addStretch();
    row->addLayout(side);
    layout->addLayout(row, 1);

    auto* all = new QFrame(page);
    all->setObjectName(StyleName::boxFromPDFAll);
    all->setFixedHeight(31);
    auto* allLayout = new QHBoxLayout(all);
    allLayout->setContentsMargins(0, 0, 0, 0);
    allLayout->setSpacing(0);
    m_allLabel = new QLabel(all);
    m_allLabel->setFixedWidth(106);
    m_merge = new QCheckBox(all);
    m_merge->setObjectName(StyleName::checkBoxSplitAll);
    m_merge->setFixedWidth(434);
    m_settingsForAll = namedButton(StyleName::settingsForAll, all);
    m_settingsForAll->setFixedSize(20, 20);
    m_deleteAll = new Button(all);
    m_deleteAll->setObjectName(StyleName::buttonDeleteAll);
    m_deleteAll->setFixedWidth(80);
    allLayout->addSpacing(11);
    allLayout->addWidget(m_allLabel);
    allLayout->addWidget(m_merge);
    allLayout->addWidget(m_settingsForAll);
    allLayout->addSpacing(25);
    allLayout->addWidget(m_deleteAll);
    allLayout->addStretch();
    layout->addWidget(all);
    return page;
}

QWidget* ToPDFView::buildSaveRow()
{
    auto* row = new QFrame;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_saveLabel = new QLabel(row);
    m_saveLabel->setObjectName(StyleName::labelSaveTo);
    m_saveLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* folderBox = new QFrame(row);
    folderBox->setObjectName(StyleName::box);
    folderBox->setFixedHeight(38);
    auto* folderLayout = new QHBoxLayout(folderBox);
    folderLayout->setContentsMargins(2, 2, 8, 2);
    m_folderEdit = new QLineEdit(folderBox);
    m_folderEdit->setObjectName(StyleName::cleanEdit);
    m_folderEdit->setReadOnly(true);
    m_folderButton = namedButton(StyleName::buttonInputFolder, folderBox);
    folderLayout->addWidget(m_folderEdit);
    folderLayout->addWidget(m_folderButton);
    m_convertButton = new Button(row);
    m_convertButton->setObjectName(StyleName::buttonConvert);
    m_convertButton->setMinimumWidth(164);
    layout->addStretch();
    layout->addWidget(m_saveLabel);
    layout->addSpacing(6);
    layout->addWidget(folderBox, 1);
    layout->addSpacing(6);
    layout->addWidget(m_convertButton);
    layout->addSpacing(1);
    return row;
}

void ToPDFView::makeConnections()
{
    connect(m_addButton, &QPushButton::clicked, this, &ToPDFView::onButtonAdd);
    connect(m_dropArea, &DropArea::droppedFiles, this, [this](const QStringList& files, int dropMode) {
        setAddSource(dropMode);
        onAdd(files);
    });
    auto showRows = [this] {
        m_pages->setCurrentIndex(m_model->isEmpty() ? 0 : 1);
        updateControls();
    };
    connect(m_model, &QAbstractItemModel::modelReset, this, showRows);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, showRows);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, showRows);
    connect(m_table, &QAbstractItemView::clicked, this, &ToPDFView::onTableClicked);
    connect(m_folderButton, &QPushButton::clicked, this, &ToPDFView::chooseFolder);
    connect(userContext(), &UserContext::saveToFolderChanged, this, &ToPDFView::updateSaveFolderView);
    connect(m_convertButton, &QPushButton::clicked, this, &ToPDFView::onButtonConvert);
    connect(m_table, &ToPDFTable::droppedFiles, this, &ToPDFView::onAdd);
    connect(m_deleteAll, &QPushButton::clicked, m_model, &ToPDFModel::clear);
    connect(Settings::instance(), SIGNAL(changed()), this, SLOT(readSettings()));
    connect(m_merge, &QCheckBox::stateChanged, this, [this] { m_model->setFileSettingsEnabled(!m_merge->isChecked()); });
    connect(m_settingsForAll, &QPushButton::clicked, this, &ToPDFView::onButtonSettingsForAll);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) {
                m_upButton->setEnabled(!selected.isEmpty());
                m_downButton->setEnabled(!selected.isEmpty());
            });
    connect(m_upButton, &QPushButton::clicked, this, &ToPDFView::buttonMoveUp);
    connect(m_downButton, &QPushButton::clicked, this, &ToPDFView::buttonMoveDown);
}

QString ToPDFView::filter() const
{
    return QStringLiteral("%1;;%2;;%3;;%4;;%5")
        .arg(tr("All supported formats (*.doc *.docx *.xls *.xlsx *.odt *.ods *.html *.htm *.jpeg *.jpg *.png *.bmp "
                "*.tiff *.tif *.epub *.mobi *.fb2)"),
             tr("Images (*.jpeg *.jpg *.png *.bmp *.tiff *.tif)"), tr("Documents (*.doc *.docx *.xls *.xlsx *.odt *.ods)"),
             tr("Ebook (*.epub *.mobi *.fb2)"), tr("HTML (*.html *.htm)"));
}

void ToPDFView::retranslate()
{
    m_dropArea->setTitle(tr("Add file", "for drop area"));
    m_dropArea->setFilter(filter());
    m_allLabel->setText(tr("All files:"));
    m_merge->setText(tr("Merge all in one PDF file"));
    m_deleteAll->setText(tr("Delete all"));
    m_saveLabel->setText(tr("Save to folder:"));
    m_convertButton->setText(tr("CONVERT"));
}

void ToPDFView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        m_table->viewport()->update();
    }
    QFrame::changeEvent(event);
}

void ToPDFView::showEvent(QShowEvent* event)
{
    updateSaveFolderView();
    QFrame::showEvent(event);
}

void ToPDFView::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    updateSaveFolderView();
}

QString ToPDFView::mergedFileName()
{
    return tr("merged_%1").arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy_MM_dd__HH-mm-ss")));
}

void ToPDFView::addFiles(const QStringList& files)
{
    onAdd(files);
}

void ToPDFView::onButtonAdd()
{
    QSharedPointer<QSettings> settings = Application::instance()->settings();
    const QString folder = settings->value(QStringLiteral("last_select_folder"), desktopFolder()).toString();
    const QString caption = tr("Select one or more files to open");
    const QStringList files = m_dialogs.openFiles ? m_dialogs.openFiles(this, caption, folder, filter())
                                                  : QFileDialog::getOpenFileNames(this, caption, folder, filter());
    if (files.isEmpty())
        return;
    settings->setValue(QStringLiteral("last_select_folder"), QFileInfo(files.first()).absolutePath());
    settings->sync();
    onAdd(files);
}

void ToPDFView::onAdd(QStringList files)
{
    if (files.isEmpty())
        return;
    sendAddMetric(files.size());
    ToPdfFiles::NewTasks added = ToPdfFiles::newTasks(files, Settings::instance()->defaultPublisher());
    // While the results are merged, a task has no file settings of its own, also a new one.
    for (ToPDFTask& task : added.tasks)
        task.fileSettingsEnabled = !m_merge->isChecked();
    if (!added.tasks.isEmpty())
        m_model->addTasks(added.tasks);
    if (!added.missing.isEmpty())
        showMissingFiles(added.missing);
}

void ToPDFView::showMissingFiles(const QStringList& paths)
{
    Logger::instance()->log(QStringLiteral("Files not found: %1").arg(paths.join(QStringLiteral(", "))), Logger::Warning);
    QStringList names;
    for (const QString& path : paths)
        names << QDir::toNativeSeparators(path);
    QScopedPointer<MessageView> message(MessageView::createOkMessage(
        tr("Can not open file"),
        tr("These files could not be found and were not added: %1").arg(names.join(QStringLiteral(", "))), this));
    message->exec();
}

void ToPDFView::onTableClicked(QModelIndex index)
{
    if (!index.isValid())
        return;
    if (index.column() == ToPDFModel::SettingsColumn) {
        emit edit(index.row(), m_model->task(index.row()), 0);
    } else if (index.column() == ToPDFModel::RemoveColumn) {
        m_model->removeRow(index.row());
        m_table->clearSelection();
    }
}

void ToPDFView::buttonMoveUp()
{
    move(true);
}

void ToPDFView::buttonMoveDown()
{
    move(false);
}

void ToPDFView::move(bool up)
{
    const QModelIndex current = m_table->currentIndex();
    if (!current.isValid())
        return;
    const int row = current.row();
    if (!(up ? m_model->moveUp(row) : m_model->moveDown(row)))
        return;
    m_table->setCurrentIndex(m_model->index(up ? row - 1 : row + 1, 0));
    m_table->selectRow(up ? row - 1 : row + 1);
}

void ToPDFView::updateControls()
{
    if (m_model->rowCount() >= 2) {
        m_merge->setEnabled(true);
        return;
    }
    m_merge->setChecked(false);
    m_merge->setEnabled(false);
}

void ToPDFView::onButtonSettingsForAll()
{
    ToPDFTask task;
    if (m_merge->isChecked()) {
        task.fileSettings = userContext()->fileSettings();
        task.layoutSettings = userContext()->layoutSettings();
        emit edit(-1, task, 2);
        return;
    }
    // What all files get unless the user changes it: the default publisher, no password.
    task.fileSettings.publisher = Settings::instance()->defaultPublisher();
    emit edit(-1, task, 1);
}

void ToPDFView::updateFileSettings(int id, FileSettingsData fileSettings, int editMode)
{
    switch (editMode) {
    case 0:
        m_model->setFileSettings(id, fileSettings);
        break;
    case 1:
        m_model->setFileSettingsForAll(fileSettings);
        break;
    case 2:
        userContext()->setFileSettings(fileSettings);
        break;
    default:
        break;
    }
}

void ToPDFView::updateLayoutSettings(int id, LayoutSettingsData layoutSettings, int editMode)
{
    switch (editMode) {
    case 0:
        m_model->setLayoutSettings(id, layoutSettings);
        break;
    case 2:
        userContext()->setLayoutSettings(layoutSettings);
        Q_FALLTHROUGH();
    case 1:
        m_model->setLayoutSettingsForAll(layoutSettings);
        break;
    default:
        break;
    }
}

void ToPDFView::saveTask(int id, ToPDFTask task)
{
    m_model->setTask(id, task);
}

void ToPDFView::readSettings()
{
    // A folder chosen in this tab lasts for the session: a stored save mode replaces it only
    // when the stored one changed (saving other settings leaves it alone).
    const SaveMode saveMode = Settings::instance()->saveMode();
    const QString path = saveMode.mode == 2 ? saveMode.path : QString();
    if (saveMode.mode != m_storedSaveMode || path != m_storedSavePath) {
        m_storedSaveMode = saveMode.mode;
        m_storedSavePath = path;
        if (saveMode.mode == 2)
            userContext()->setSaveToFolder(saveMode.path);
    }
    FileSettingsData general = userContext()->fileSettings();
    general.publisher = Settings::instance()->defaultPublisher();
    userContext()->setFileSettings(general);
}

void ToPDFView::chooseFolder()
{
    const QString caption = tr("Select destination folder");
    const QString start = userContext()->saveToFolder();
    const QString folder = m_dialogs.chooseFolder
                               ? m_dialogs.chooseFolder(this, caption, start)
                               : QFileDialog::getExistingDirectory(this, caption, start,
                                                                   QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    if (!folder.isEmpty())
        userContext()->setSaveToFolder(folder);
}

void ToPDFView::updateSaveFolderView()
{
    const QString folder = QDir::toNativeSeparators(userContext()->saveToFolder());
    m_folderEdit->setText(m_folderEdit->fontMetrics().elidedText(folder, Qt::ElideMiddle, m_folderEdit->contentsRect().width() - 12));
    m_folderEdit->setToolTip(folder);
}

void ToPDFView::onButtonConvert()
{
    if (m_running)
        return;
    m_progress->reset();
    const QList<ToPDFTask> tasks = m_model->tasks();
    if (tasks.isEmpty())
        return;
    m_running = true;
    m_result = ToPdfRunResult();
    m_result.taskCount = tasks.size();
    // Cleared before the worker starts, so that its result can never be overwritten.
    userContext()->setLastConvertedFile(UserContext::ToPdf, QString());

    auto* algorithm = new ToPDFAlgorithm(Application::instance()->debenuService(), m_progress, userContext());
    algorithm->setTasks(tasks);
    algorithm->setOutputFolder(userContext()->saveToFolder());
    algorithm->setMerge(m_merge->isEnabled() && m_merge->isChecked());
    algorithm->setFileSettings(userContext()->fileSettings());
    algorithm->setLayoutSettings(userContext()->layoutSettings());
    auto* thread = new QThread;
    algorithm->moveToThread(thread);
    connect(thread, SIGNAL(started()), algorithm, SLOT(run()));
    connect(algorithm, SIGNAL(finished()), thread, SLOT(quit()));
    connect(algorithm, SIGNAL(started()), this, SLOT(onStarted()));
    connect(algorithm, SIGNAL(summary(ToPdfRunResult)), this, SLOT(onRunSummary(ToPdfRunResult)));
    connect(algorithm, SIGNAL(finished()), this, SLOT(onFinished()));
    connect(algorithm, SIGNAL(finished()), algorithm, SLOT(deleteLater()));
    connect(thread, SIGNAL(finished()), thread, SLOT(deleteLater()));
    m_thread = thread;
    Application::instance()->registerWorker(thread, m_progress);
    thread->start(QThread::InheritPriority);
    m_elapsed.restart();
}

void ToPDFView::setRunControlsEnabled(bool enabled)
{
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_addButton, m_upButton, m_downButton, m_deleteAll, m_settingsForAll})
        control->setEnabled(enabled);
    m_table->setEnabled(enabled);
}

void ToPDFView::onStarted()
{
    m_bottom->setCurrentIndex(1);
    setRunControlsEnabled(false);
    m_merge->setEnabled(false);
    m_table->dim();
    emit started();
}

void ToPDFView::onRunSummary(const ToPdfRunResult& result)
{
    m_result = result;
}

void ToPDFView::onFinished()
{
    m_running = false;
    const bool stopped = m_progress->isStopped();
    const qint64 elapsed = m_elapsed.elapsed();
    if (stopped)
        MetricSender::sendMetric(QStringLiteral("cancel"), startWorkflow(), QString::number(elapsed));
    else
        MetricSender::sendMetricNumber(QStringLiteral("end"), int(elapsed));

    m_bottom->setCurrentIndex(0);
    setRunControlsEnabled(true);
    updateControls();
    m_table->undim();
    FileSettingsData general = userContext()->fileSettings();
    general.fileName = mergedFileName();
    userContext()->setFileSettings(general);
    emit finished();

    showCompletionMessage(stopped);
    m_progress->reset();
}

void ToPDFView::showCompletionMessage(bool stopped)
{
    const QString file = userContext()->lastConvertedFile(UserContext::ToPdf);
    const bool nothingWritten = file.isEmpty();
    QString title = tr("Conversion has been completed.");
    QString text;
    if (stopped) {
        text = nothingWritten ? tr("The operation was cancelled before any file was written.")
                              : tr("The operation was cancelled. You can open the folder to view the result.");
    } else if (nothingWritten) {
        title = tr("Conversion has failed.");
        text = tr("None of your files could be converted.");
    } else if (m_result.mergeFailed) {
        text = tr("The files could not be merged into one PDF file. Each converted file is in the folder under its "
                  "own name.");
    } else if (m_result.failedCount > 0) {
        text = tr("%1 of %2 files could not be converted. You can open the folder to view the result.")
                   .arg(m_result.failedCount)
                   .arg(m_result.taskCount);
    } else {
        text = tr("Congratulations to all of your files in the folder, open it to view them!");
    }
    QScopedPointer<MessageView> message(MessageView::createOkMessage(title, text, this));
    if (!nothingWritten) {
        auto* openFolder = new Button(message.data());
        openFolder->setObjectName(StyleName::buttonMessageOpenFolder);
        openFolder->setText(tr("OPEN FOLDER"));
        message->addButton(openFolder, QDialogButtonBox::HelpRole);
    }
    if (message->exec() == QDialogButtonBox::HelpRole)
        Application::instance()->openLinkInExplorer(file);
}
