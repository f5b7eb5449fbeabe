#include "topdf/views/ToPDFView.h"

#include "app/Application.h"
#include "app/core/EbookFormats.h"
#include "app/core/FileSystem.h"
#include "app/core/Logger.h"
#include "app/core/Settings.h"
#include "app/core/UserContext.h"
#include "pdflib/service/DebenuService.h"
#include "services/metrics/UsageStatistics.h"
#include "shared/records/ToPdfRecords.h"
#include "topdf/model/ToPDFModel.h"
#include "topdf/model/ToPdfFiles.h"
#include "topdf/views/ToPDFTable.h"
#include "ui/kit/Button.h"
#include "ui/kit/StyleNames.h"
#include "ui/widgets/DropArea.h"
#include "ui/widgets/MessageView.h"
#include "ui/widgets/ProgressControl.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStackedLayout>
#include <QThread>
#include <QVBoxLayout>

namespace {

UserContext* userContext()
{
    return Application::instance()->userContext();
}

// "*.epub *.mobi *.fb2" for a file dialog's filter.
QString patterns(const QStringList& suffixes)
{
    QStringList patterns;
    for (const QString& suffix : suffixes)
        patterns << QStringLiteral("*.") + suffix;
    return patterns.join(QLatin1Char(' '));
}

} // namespace

ToPDFView::ToPDFView(QWidget* parent, FileDialogs dialogs)
    : ConversionTab(parent, std::move(dialogs))
    , m_model(new ToPDFModel(this))
{
    registerToPdfRecordTypes();
    buildPages();
    m_dropArea->setSuffixes(userContext()->supportedFormats());
    m_dropArea->addFormat(QStringLiteral("JPG, PNG, BMP, TIFF"), QStringLiteral(":/style/images/formats_images.png"));
    m_dropArea->addFormat(EbookFormats::suffixes().join(QStringLiteral(", ")).toUpper(),
                          QStringLiteral(":/style/images/formats_ebook.png"));
    m_dropArea->addFormat(QStringLiteral("HTML, HTM"), QStringLiteral(":/style/images/formats_html.png"));
    m_dropArea->addFormat(QStringLiteral("DOC, DOCX, XLS, XLSX, ODT, ODS"), QStringLiteral(":/style/images/formats_docs.png"));

    retranslate();
    makeConnections();
    m_pages->setCurrentIndex(0);
    updateControls();
    // Normally the "From PDF" tab has put the desktop here already.
    if (userContext()->saveToFolder().isEmpty())
        userContext()->setSaveToFolder(FileSystem::desktopFolder());
    readSettings();
    resetMergedFileName();
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

TaskTable* ToPDFView::buildTable(QWidget* page)
{
    m_table = new ToPDFTable(m_model, page);
    m_table->setSupportedFormats(userContext()->supportedFormats());
    return m_table;
}

void ToPDFView::addSideButtons(QWidget* page, QVBoxLayout* column)
{
    m_upButton = namedButton(StyleName::buttonMoveUp, page);
    m_downButton = namedButton(StyleName::buttonMoveDown, page);
    m_upButton->setEnabled(false);
    m_downButton->setEnabled(false);
    column->addWidget(m_upButton);
    column->addWidget(m_downButton);
}

void ToPDFView::fillAllFilesRow(QWidget* row, QHBoxLayout* layout)
{
    m_allLabel->setFixedWidth(106);
    m_merge = new QCheckBox(row);
    m_merge->setObjectName(StyleName::checkBoxSplitAll);
    m_merge->setFixedWidth(434);
    m_settingsForAll = namedButton(StyleName::settingsForAll, row);
    m_settingsForAll->setFixedSize(20, 20);
    makeDeleteAll(row);
    layout->addWidget(m_allLabel);
    layout->addWidget(m_merge);
    layout->addWidget(m_settingsForAll);
    layout->addSpacing(25);
    layout->addWidget(m_deleteAll);
    layout->addStretch();
}

QWidget* ToPDFView::buildFolderField(QWidget* row)
{
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
    return folderBox;
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
    const QString documents = patterns({"doc", "docx", "xls", "xlsx", "odt", "ods"});
    const QString html = patterns({"html", "htm"});
    const QString images = patterns({"jpeg", "jpg", "png", "bmp", "tiff", "tif"});
    const QString books = patterns(EbookFormats::suffixes());
    const QString all = QStringList({documents, html, images, books}).join(QLatin1Char(' '));
    return QStringLiteral("%1;;%2;;%3;;%4;;%5")
        .arg(tr("All supported formats (%1)").arg(all), tr("Images (%1)").arg(images),
             tr("Documents (%1)").arg(documents), tr("Ebook (%1)").arg(books), tr("HTML (%1)").arg(html));
}

void ToPDFView::retranslate()
{
    ConversionTab::retranslate();
    m_dropArea->setTitle(tr("Add file", "for drop area"));
    m_dropArea->setFilter(filter());
    m_merge->setText(tr("Merge all in one PDF file"));
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
    const QString folder =
        settings->value(QStringLiteral("last_select_folder"), FileSystem::desktopFolder()).toString();
    const QStringList files = pickFiles(folder, filter());
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
    const QString path = saveMode.mode == SaveMode::ChosenFolder ? saveMode.path : QString();
    if (saveMode.mode != m_storedSaveMode || path != m_storedSavePath) {
        m_storedSaveMode = saveMode.mode;
        m_storedSavePath = path;
        if (saveMode.mode == SaveMode::ChosenFolder)
            userContext()->setSaveToFolder(saveMode.path);
    }
    FileSettingsData general = userContext()->fileSettings();
    general.publisher = Settings::instance()->defaultPublisher();
    userContext()->setFileSettings(general);
}

void ToPDFView::chooseFolder()
{
    const QString folder = pickFolder(userContext()->saveToFolder());
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
    // Nothing is converted for a folder that cannot take the results.
    const QString folder = userContext()->saveToFolder();
    if (!prepareOutputFolders({folder}))
        return;
    m_running = true;
    m_result = ToPdfRunResult();
    m_result.taskCount = tasks.size();
    // Cleared before the worker starts, so that its result can never be overwritten.
    userContext()->setLastConvertedFile(UserContext::ToPdf, QString());

    auto* algorithm = new ToPDFAlgorithm(Application::instance()->debenuService(), m_progress, userContext());
    algorithm->setTasks(tasks);
    algorithm->setOutputFolder(folder);
    algorithm->setMerge(m_merge->isEnabled() && m_merge->isChecked());
    algorithm->setFileSettings(userContext()->fileSettings());
    algorithm->setLayoutSettings(userContext()->layoutSettings());
    QThread* thread = moveToWorker(algorithm);
    connect(algorithm, SIGNAL(summary(ToPdfRunResult)), this, SLOT(onRunSummary(ToPdfRunResult)));
    m_thread = thread;
    Application::instance()->registerWorker(thread, m_progress);
    startWorker(thread);
}

QList<QWidget*> ToPDFView::runControls() const
{
    return {m_addButton, m_upButton, m_downButton, m_deleteAll, m_settingsForAll};
}

void ToPDFView::onStarted()
{
    showRunStarted(runControls() << m_merge);
}

void ToPDFView::onRunSummary(const ToPdfRunResult& result)
{
    m_result = result;
}

void ToPDFView::onFinished()
{
    const bool stopped = showRunEnded(runControls());
    updateControls();
    resetMergedFileName();
    emit finished();

    showCompletionMessage(stopped);
    m_progress->reset();
}

void ToPDFView::resetMergedFileName()
{
    FileSettingsData general = userContext()->fileSettings();
    general.fileName = mergedFileName();
    userContext()->setFileSettings(general);
}

void ToPDFView::showCompletionMessage(bool stopped)
{
    const QString file = userContext()->lastConvertedFile(UserContext::ToPdf);
    const bool nothingWritten = file.isEmpty();
    QString title = tr("Conversion has been completed.");
    QString text;
    if (stopped) {
        text = cancelledText(nothingWritten);
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
    if (askOpenFolder(title, text, !nothingWritten))
        Application::instance()->openLinkInExplorer(file);
}
