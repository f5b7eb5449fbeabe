#include "frompdf/views/FromPDFView.h"

#include "app/Application.h"
#include "app/core/FileSystem.h"
#include "app/core/Logger.h"
#include "app/core/Settings.h"
#include "app/core/UserContext.h"
#include "frompdf/check/CheckController.h"
#include "frompdf/checkview/CheckView.h"
#include "frompdf/engine/FromPdfAlgorithm.h"
#include "frompdf/engine/OutputFolder.h"
#include "frompdf/model/FromPDFModel.h"
#include "frompdf/views/DocumentViewer.h"
#include "frompdf/views/ExportFormatListView.h"
#include "frompdf/views/FromPDFTable.h"
#include "pdflib/service/DebenuService.h"
#include "services/metrics/UsageStatistics.h"
#include "ui/kit/Button.h"
#include "ui/kit/StyleNames.h"
#include "ui/savefolder/SaveFolderDelegate.h"
#include "ui/savefolder/SaveFolderModel.h"
#include "ui/widgets/DropArea.h"
#include "ui/widgets/MessagePassword.h"
#include "ui/widgets/MessageView.h"
#include "ui/widgets/ProgressControl.h"
#include "ui/widgets/ProgressDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedLayout>
#include <QThread>
#include <QVBoxLayout>

namespace {

void logDebug(const QString& text)
{
    Logger::instance()->log(text, Logger::Debug);
}

} // namespace

FromPDFView::FromPDFView(QWidget* parent, FileDialogs dialogs)
    : ConversionTab(parent, std::move(dialogs))
    , m_model(new FromPDFModel(this))
    , m_intake(Application::instance()->debenuService(), this)
{
    m_model->setIntake(&m_intake);
    m_model->setDefaultOcrLanguage([] { return Application::instance()->defaultOcrLanguage(); });

    buildPages();
    m_dropArea->setSuffixes({QStringLiteral("pdf")});

    // Windows of their own: neither keeps the program running once the main window is closed.
    m_progressDialog = new ProgressDialog(nullptr);
    m_progressDialog->setAttribute(Qt::WA_QuitOnClose, false);
    m_viewer = new DocumentViewer(Application::instance()->debenuService(), nullptr);
    m_viewer->setAttribute(Qt::WA_QuitOnClose, false);

    makeConnections();
    retranslate();
    m_pages->setCurrentIndex(0);
    Application::instance()->userContext()->setSaveToFolder(FileSystem::desktopFolder());
    readSettings();
}

FromPDFView::~FromPDFView()
{
    m_progress->stop();
    if (m_viewer)
        m_viewer->close();
    logDebug(QStringLiteral("FromPDFView::~FromPDFView"));
    delete m_progressDialog;
    delete m_viewer;
}

TaskTable* FromPDFView::buildTable(QWidget* page)
{
    m_table = new FromPDFTable(m_model, page);
    return m_table;
}

void FromPDFView::fillAllFilesRow(QWidget* row, QHBoxLayout* layout)
{
    m_formatButton = new QPushButton(QStringLiteral("doc"), row);
    m_formatButton->setObjectName(StyleName::buttonFormat);
    m_formatButton->setFixedWidth(40);
    m_splitAll = new QCheckBox(row);
    m_splitAll->setObjectName(StyleName::checkBoxSplitAll);
    m_splitAll->setFixedWidth(118);
    makeDeleteAll(row);
    layout->addWidget(m_allLabel, 1);
    layout->addWidget(m_formatButton);
    layout->addSpacing(7);
    layout->addWidget(m_splitAll);
    layout->addSpacing(5);
    layout->addWidget(m_deleteAll);
    layout->addSpacing(7);
}

QWidget* FromPDFView::buildFolderField(QWidget* row)
{
    m_saveCombo = new QComboBox(row);
    m_saveCombo->setFixedHeight(39);
    m_saveModel = new SaveFolderModel(m_saveCombo);
    m_saveCombo->setItemDelegate(new SaveFolderDelegate(m_saveCombo));
    m_saveCombo->setModel(m_saveModel);
    m_saveCombo->setModelColumn(SaveFolderModel::ShownColumn);
    return m_saveCombo;
}

void FromPDFView::makeConnections()
{
    connect(m_addButton, &QPushButton::clicked, this, &FromPDFView::onButtonAdd);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &FromPDFView::onDataChanged);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &FromPDFView::onDataChanged);
    connect(m_dropArea, &DropArea::droppedFiles, this, [this](const QStringList& files, int dropMode) {
        setAddSource(dropMode);
        emit m_model->addFiles(files);
    });
    connect(m_table, &QAbstractItemView::clicked, this, &FromPDFView::onTableClicked);
    connect(m_formatButton, &QPushButton::clicked, this, &FromPDFView::onButtonSelectFormatForAll);
    connect(m_deleteAll, &QPushButton::clicked, m_model, &FromPDFModel::clear);
    connect(m_splitAll, &QCheckBox::stateChanged, this, [this](int state) { m_model->setSplitForAll(state == Qt::Checked); });
    connect(m_model, &QAbstractItemModel::modelReset, this, &FromPDFView::onDataChanged);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &FromPDFView::onDataChanged);
    connect(m_saveCombo, SIGNAL(activated(int)), this, SLOT(onChangeOutFolder(int)));
    connect(m_convertButton, &QPushButton::clicked, this, &FromPDFView::onButtonConvert);
    connect(m_table, &FromPDFTable::droppedFiles, m_model, &FromPDFModel::addFiles);
    connect(Settings::instance(), &Settings::changed, this, &FromPDFView::readSettings);
    connect(m_model, &FromPDFModel::addFiles, this, &FromPDFView::onAddToModel);
    // The conversion thread waits until the question is answered here.
    connect(Application::instance()->checkController(), SIGNAL(requestForScanned()), this, SLOT(onCheckScanned()),
            Qt::BlockingQueuedConnection);
}

void FromPDFView::retranslate()
{
    ConversionTab::retranslate();
    m_splitAll->setText(tr("Split all"));
    m_dropArea->setFilter(tr("Files (*.pdf)"));
    m_dropArea->setTitle(tr("Add PDF File"));
}

void FromPDFView::closeEvent(QCloseEvent* event)
{
    delete m_viewer;
    event->accept();
}

void FromPDFView::addFiles(QStringList files)
{
    emit m_model->addFiles(files);
}

void FromPDFView::setPageRanges(int id, const PageRangeList& ranges)
{
    m_model->setPageRanges(id, ranges);
}

void FromPDFView::onDataChanged()
{
    m_pages->setCurrentIndex(m_model->isEmpty() ? 0 : 1);
}

void FromPDFView::onButtonAdd()
{
    const QStringList files = pickFiles(FileSystem::desktopFolder(), tr("Files (*.pdf)"));
    if (!files.isEmpty())
        emit m_model->addFiles(files);
}

void FromPDFView::onAddToModel(QStringList urls)
{
    logDebug(QStringLiteral("void FromPDFView::onAddToModel(QStringList)"));
    // A cancelled file dialog hands over nothing: there is nothing to read.
    if (urls.isEmpty())
        return;
    sendAddMetric(urls.size());
    const FromPDFTaskList tasks = m_intake.addFiles(urls);
    if (!tasks.isEmpty())
        m_model->add(tasks);
}

void FromPDFView::onAddFinished(bool successed, FromPDFTaskList items)
{
    logDebug(QStringLiteral("Add finished. Count:%1").arg(items.size()));
    if (successed)
        m_model->add(items);
}

void FromPDFView::onAddStarted()
{
    QWidget* window = this->window();
    const QRect frame = window->frameGeometry();
    const QRect area = window->rect();
    const int x = frame.left() + (area.left() + area.right()) / 2 - 215;
    const int y = frame.top() + (area.top() + area.bottom()) / 2 - 50;
    m_progressDialog->setModal(true);
    m_progressDialog->show();
    m_progressDialog->move(x, y);
    m_progressDialog->setTitle(QString());
}

void FromPDFView::onAddComplete()
{
    QMetaObject::invokeMethod(m_progressDialog, "hide", Qt::QueuedConnection);
}

IProgress* FromPDFView::showAddProgress()
{
    onAddStarted();
    return m_progressDialog->progress();
}

void FromPDFView::hideAddProgress()
{
    onAddComplete();
}

bool FromPDFView::askPassword(const QString& fileName, QString* password)
{
    MessagePassword prompt(this);
    prompt.setText(fileName);
    prompt.setSkipVisible(false);
    prompt.setSkipAllVisible(false);
    if (prompt.exec() == QDialog::Rejected)
        return false;
    *password = prompt.password();
    return true;
}

IIntakePrompts::PasswordChoice FromPDFView::askPasswordOrSkip(const QString& fileName, QString* password)
{
    MessagePassword prompt(this);
    prompt.setText(fileName);
    prompt.setSkipVisible(true);
    prompt.setSkipAllVisible(true);
    if (prompt.exec() == QDialog::Rejected)
        return PasswordChoice::Closed;
    if (prompt.isSkipAll())
        return PasswordChoice::SkipAll;
    if (prompt.isSkip())
        return PasswordChoice::Skip;
    *password = prompt.password();
    return PasswordChoice::Ok;
}

void FromPDFView::showWrongPassword(const QString& fileName)
{
    QScopedPointer<MessageView> message(
        MessageView::createOkMessage(tr("Can not open file"), tr("The password for %1 is incorrect").arg(fileName), this));
    message->exec();
}

void FromPDFView::showUnreadableFiles(const QStringList& fileNames)
{
    QScopedPointer<MessageView> message(MessageView::createOkMessage(
        tr("Can not open file"),
        tr("These files could not be opened as PDF documents and were not added: %1").arg(fileNames.join(QStringLiteral(", "))),
        this));
    message->exec();
}

bool FromPDFView::askPassword(const QModelIndex& index)
{
    const bool needsPassword = index.data(FromPDFModel::NeedsPasswordRole).toBool();
    if (!needsPassword || index.data(FromPDFModel::FilePathRole).toString().isEmpty())
        return !needsPassword;
    FromPDFTask task = m_model->task(index.row());
    m_intake.unlock(&task);
    m_model->setTask(index.row(), task);
    return !task.needsPassword();
}

void FromPDFView::onTableClicked(QModelIndex index)
{
    if (!index.isValid())
        return;
    const int row = index.row();
    switch (index.column()) {
    case FromPDFModel::RemoveColumn:
        m_model->removeRow(row, QModelIndex());
        m_table->clearSelection();
        break;
    case FromPDFModel::SplitColumn:
        if (!index.data(FromPDFModel::ForcedSplitRole).toBool())
            m_model->toggleSplit(row);
        break;
    case FromPDFModel::FormatColumn:
        openFormatPopup(index);
        break;
    case FromPDFModel::PreviewColumn:
        if (!askPassword(index) || !m_viewer)
            break;
        m_viewer->setDocument(index.data(FromPDFModel::FilePathRole).toString(),
                              index.data(FromPDFModel::PasswordRole).toString());
        m_viewer->show();
        m_viewer->raise();
        m_viewer->activateWindow();
        break;
    case FromPDFModel::PagesColumn:
        if (askPassword(index))
            emit selectRanges(row, m_model->task(row));
        break;
    case FromPDFModel::PasswordColumn:
        askPassword(index);
        break;
    default:
        break;
    }
}

void FromPDFView::openFormatPopup(const QModelIndex& index)
{
    const int row = index.row();
    // The click that closed the pop-up on this very cell must not open it again.
    if (row == m_popupRow && m_popupOpen) {
        m_popupOpen = false;
        return;
    }
    m_popupRow = row;
    m_popupOpen = true;
    auto* popup = new ExportFormatListView(this);
    popup->setCurrentFormat(index.data(Qt::DisplayRole).toString());
    popup->setId(row);
    connect(popup, &ExportFormatListView::formatSelected, this, [this](int id, const QString& format) {
        m_model->setFormat(id, format);
        m_popupOpen = false;
    });
    // Dismissed elsewhere: the next click on the cell opens it again. Dismissed by a click on the
    // cell itself: that click is still on its way and must find the flag set.
    connect(popup, &ExportFormatListView::onClose, this, [this](bool picked) {
        if (picked)
            return;
        const QModelIndex under = m_table->indexAt(m_table->viewport()->mapFromGlobal(QCursor::pos()));
        if (under.row() != m_popupRow || under.column() != FromPDFModel::FormatColumn)
            m_popupOpen = false;
    });
    const QPoint cell(m_table->columnViewportPosition(index.column()), m_table->rowViewportPosition(row));
    popup->move(m_table->viewport()->mapToGlobal(cell) + QPoint(-1, 27));
    popup->show();
}

void FromPDFView::onButtonSelectFormatForAll()
{
    auto* popup = new ExportFormatListView(this);
    popup->setCurrentFormat(m_formatButton->text());
    connect(popup, &ExportFormatListView::formatSelected, this, [this](int, const QString& format) {
        m_formatButton->setText(format);
        m_model->setFormatForAll(format);
    });
    popup->move(m_formatButton->mapToGlobal(m_formatButton->rect().bottomLeft()) + QPoint(6, 6));
    popup->show();
}

void FromPDFView::readSettings()
{
    // A folder chosen here lasts for the session: when the settings panel saves other settings
    // the stored save mode is unchanged and the choice stays; a newly stored one replaces it.
    // (The path counts only for the chosen-folder mode: the others store none.)
    const SaveMode saveMode = Settings::instance()->saveMode();
    const QString path = saveMode.mode == SaveFolderModel::ChosenFolderRow ? saveMode.path : QString();
    if (saveMode.mode == m_storedSaveMode && path == m_storedSavePath)
        return;
    m_storedSaveMode = saveMode.mode;
    m_storedSavePath = path;
    if (saveMode.mode == SaveFolderModel::ChosenFolderRow)
        m_saveModel->setData(m_saveModel->index(SaveFolderModel::ChosenFolderRow, SaveFolderModel::ShownColumn),
                             saveMode.path, Qt::EditRole);
    m_saveCombo->setCurrentIndex(saveMode.mode >= 0 && saveMode.mode < m_saveCombo->count() ? saveMode.mode : 0);
    m_lastSaveIndex = m_saveCombo->currentIndex();
}

void FromPDFView::onChangeOutFolder(int index)
{
    const int mode = m_saveModel->index(index, SaveFolderModel::ModeColumn).data().toInt();
    if (mode == SaveFolderModel::ChosenFolderRow) {
        const QModelIndex path = m_saveModel->index(index, SaveFolderModel::ShownColumn);
        const QString folder = pickFolder(path.data().toString());
        if (folder.isEmpty()) {
            m_saveCombo->setCurrentIndex(m_lastSaveIndex);
            return;
        }
        m_saveModel->setData(path, folder, Qt::EditRole);
    }
    m_lastSaveIndex = index;
}

QString FromPDFView::saveFolderPath() const
{
    if (m_saveCombo->currentIndex() != SaveFolderModel::ChosenFolderRow)
        return QString();
    return m_saveModel->index(SaveFolderModel::ChosenFolderRow, SaveFolderModel::ShownColumn).data().toString();
}

void FromPDFView::onButtonConvert()
{
    if (m_running)
        return;
    const FromPDFTaskList tasks = m_model->tasks();
    if (tasks.isEmpty())
        return;
    // Nothing is converted while an output folder cannot take the results.
    QStringList folders;
    for (const FromPDFTask& task : tasks) {
        const QString folder = OutputFolder::forSource(task.file, m_saveCombo->currentIndex(), saveFolderPath());
        if (!folders.contains(folder))
            folders << folder;
    }
    if (!prepareOutputFolders(folders))
        return;
    m_progress->reset();
    // Cleared before the worker starts, so that its result can never be overwritten.
    Application::instance()->userContext()->setLastConvertedFile(UserContext::FromPdf, QString());
    m_runTasks = tasks.size();
    m_runFailed = 0;
    m_running = true;

    Application* app = Application::instance();
    FromPdfAlgorithm::Host host;
    host.checkController = app->checkController();
    host.userContext = app->userContext();
    host.canBuildParagraphs = [app](const QString& code) { return app->canBuildParagraphs(code); };
    host.tesseractLanguage = [app](const QString& code) { return app->tesseractLanguage(code); };
    auto* algorithm = new FromPdfAlgorithm(app->debenuService(), m_progress, host);
    algorithm->setTasks(tasks);
    algorithm->setImageQuality(Settings::instance()->qualityImages());
    algorithm->setSaveMode(m_saveCombo->currentIndex(), saveFolderPath());
    QThread* thread = moveToWorker(algorithm);
    connect(algorithm, SIGNAL(summary(int, int)), this, SLOT(onRunSummary(int, int)));
    Application::instance()->registerWorker(thread, m_progress);
    startWorker(thread);
}

QList<QWidget*> FromPDFView::runControls() const
{
    return {m_splitAll, m_formatButton, m_deleteAll, m_addButton};
}

void FromPDFView::onStarted()
{
    showRunStarted(runControls());
}

void FromPDFView::onRunSummary(int taskCount, int failedCount)
{
    m_runTasks = taskCount;
    m_runFailed = failedCount;
}

void FromPDFView::onFinished()
{
    const bool stopped = showRunEnded(runControls());
    emit finished();

    showCompletionMessage(stopped, Application::instance()->userContext()->lastConvertedFile(UserContext::FromPdf));
    m_progress->reset();
    Application::instance()->activateWindow();
}

void FromPDFView::showCompletionMessage(bool stopped, const QString& file)
{
    const bool nothingWritten = file.isEmpty();
    QString title = tr("Convert complete");
    QString text;
    if (stopped)
        text = cancelledText(nothingWritten);
    else if (nothingWritten) {
        title = tr("Convert failed");
        text = tr("None of your files could be converted.");
    } else if (m_runFailed > 0)
        text = tr("%1 of %2 files could not be converted. You can open the folder to view the result.")
                   .arg(m_runFailed)
                   .arg(m_runTasks);
    else
        text = tr("All of your files has been converted. You can open the folder to view the result.");
    if (askOpenFolder(title, text, !nothingWritten))
        Application::instance()->openLinkInExplorer(file);
}

void FromPDFView::onCheckScanned()
{
    onCheckQuestion(tr("This file appears to be a scanned PDF. We recommended to use OCR for conversion."),
                    tr("UCE OCR"), tr("WITHOUT OCR"));
}

void FromPDFView::onCheckQuestion(QString text, QString commitButton, QString discardButton)
{
    CheckController* controller = Application::instance()->checkController();
    CheckView view(this);
    view.setTitle(controller->fileName());
    view.setText(text);
    view.setUseOcrText(commitButton);
    view.setWithoutOcrText(discardButton);
    view.exec();
    controller->setUseOcr(view.resultCode() == 1);
    controller->setApplyToAll(view.isApplyToAllChecked());
    controller->setState(0);
}
