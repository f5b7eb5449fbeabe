#include "ui/widgets/ConversionTab.h"

#include "app/core/FileSystem.h"
#include "app/core/Logger.h"
#include "services/metrics/MetricSender.h"
#include "services/metrics/UsageStatistics.h"
#include "ui/kit/Button.h"
#include "ui/kit/StyleNames.h"
#include "ui/widgets/DropArea.h"
#include "ui/widgets/MessageView.h"
#include "ui/widgets/ProgressControl.h"
#include "ui/widgets/TaskTable.h"

#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedLayout>
#include <QThread>
#include <QVBoxLayout>

ConversionTab::ConversionTab(QWidget* parent, FileDialogs dialogs)
    : QFrame(parent)
    , m_dialogs(std::move(dialogs))
{
}

void ConversionTab::buildPages()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* pageFrame = new QFrame(this);
    m_pages = new QStackedLayout(pageFrame);
    m_pages->setContentsMargins(0, 0, 0, 0);
    m_dropArea = new DropArea(pageFrame, m_dialogs.openFiles);
    m_dropArea->setFixedHeight(264);
    m_pages->addWidget(m_dropArea);
    m_pages->addWidget(buildTablePage());
    outer->addWidget(pageFrame);
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
    outer->addWidget(bottomFrame);
    outer->addStretch();
    m_progress = m_progressControl;
}

QWidget* ConversionTab::buildTablePage()
{
    auto* page = new QFrame;
    page->setObjectName(StyleName::tableBox);
    page->setFixedHeight(264);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    m_taskTable = buildTable(page);
    m_taskTable->setFixedWidth(631);
    row->addWidget(m_taskTable);
    auto* side = new QVBoxLayout;
    side->setAlignment(Qt::AlignHCenter);
    side->setContentsMargins(10, 0, 10, 0);
    side->setSpacing(10);
    side->addSpacing(35);
    m_addButton = namedButton(StyleName::buttonTableAdd, page);
    side->addWidget(m_addButton);
    addSideButtons(page, side);
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
    allLayout->addSpacing(11);
    fillAllFilesRow(all, allLayout);
    layout->addWidget(all);
    return page;
}

void ConversionTab::addSideButtons(QWidget*, QVBoxLayout*)
{
}

void ConversionTab::makeDeleteAll(QWidget* row)
{
    m_deleteAll = new Button(row);
    m_deleteAll->setObjectName(StyleName::buttonDeleteAll);
    m_deleteAll->setFixedWidth(80);
}

QWidget* ConversionTab::buildSaveRow()
{
    auto* row = new QFrame;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_saveLabel = new QLabel(row);
    m_saveLabel->setObjectName(StyleName::labelSaveTo);
    m_saveLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QWidget* folderField = buildFolderField(row);
    m_convertButton = new Button(row);
    m_convertButton->setObjectName(StyleName::buttonConvert);
    m_convertButton->setMinimumWidth(164);
    layout->addStretch();
    layout->addWidget(m_saveLabel);
    layout->addSpacing(6);
    layout->addWidget(folderField, 1);
    layout->addSpacing(6);
    layout->addWidget(m_convertButton);
    layout->addSpacing(1);
    return row;
}

void ConversionTab::retranslate()
{
    m_allLabel->setText(tr("All files:"));
    m_deleteAll->setText(tr("Delete all"));
    m_saveLabel->setText(tr("Save to folder:"));
    m_convertButton->setText(tr("CONVERT"));
}

void ConversionTab::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        m_taskTable->viewport()->update();
    }
    QFrame::changeEvent(event);
}

QStringList ConversionTab::pickFiles(const QString& folder, const QString& filter)
{
    const QString caption = tr("Select one or more files to open");
    return m_dialogs.openFiles ? m_dialogs.openFiles(this, caption, folder, filter)
                               : QFileDialog::getOpenFileNames(this, caption, folder, filter);
}

QString ConversionTab::pickFolder(const QString& start)
{
    const QString caption = tr("Select destination folder");
    return m_dialogs.chooseFolder ? m_dialogs.chooseFolder(this, caption, start)
                                  : QFileDialog::getExistingDirectory(this, caption, start,
                                                                      QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
}

QThread* ConversionTab::moveToWorker(QObject* algorithm)
{
    auto* thread = new QThread;
    algorithm->moveToThread(thread);
    connect(thread, SIGNAL(started()), algorithm, SLOT(run()));
    connect(algorithm, SIGNAL(finished()), thread, SLOT(quit()));
    connect(algorithm, SIGNAL(started()), this, SLOT(onStarted()));
    connect(algorithm, SIGNAL(finished()), this, SLOT(onFinished()));
    connect(algorithm, SIGNAL(finished()), algorithm, SLOT(deleteLater()));
    connect(thread, SIGNAL(finished()), thread, SLOT(deleteLater()));
    return thread;
}

void ConversionTab::startWorker(QThread* thread)
{
    thread->start(QThread::InheritPriority);
    m_elapsed.restart();
}

void ConversionTab::showRunStarted(const QList<QWidget*>& controls)
{
    m_bottom->setCurrentIndex(1);
    for (QWidget* control : controls)
        control->setEnabled(false);
    m_taskTable->fadeIn();
    m_taskTable->setEnabled(false);
    emit started();
}

bool ConversionTab::showRunEnded(const QList<QWidget*>& controls)
{
    m_running = false;
    const bool stopped = m_progress->isStopped();
    const qint64 elapsed = m_elapsed.elapsed();
    if (stopped)
        MetricSender::sendMetric(QStringLiteral("cancel"), startWorkflow(), QString::number(elapsed));
    else
        MetricSender::sendMetricNumber(QStringLiteral("end"), int(elapsed));

    m_bottom->setCurrentIndex(0);
    for (QWidget* control : controls)
        control->setEnabled(true);
    m_taskTable->fadeOut();
    m_taskTable->setEnabled(true);
    return stopped;
}

bool ConversionTab::askOpenFolder(const QString& title, const QString& text, bool offerFolder)
{
    QScopedPointer<MessageView> message(MessageView::createOkMessage(title, text, this));
    if (offerFolder) {
        auto* openFolder = new Button(message.data());
        openFolder->setObjectName(StyleName::buttonMessageOpenFolder);
        openFolder->setText(tr("OPEN FOLDER"));
        message->addButton(openFolder, QDialogButtonBox::HelpRole);
    }
    return message->exec() == QDialogButtonBox::HelpRole;
}

QString ConversionTab::cancelledText(bool nothingWritten) const
{
    return nothingWritten ? tr("The operation was cancelled before any file was written.")
                          : tr("The operation was cancelled. You can open the folder to view the result.");
}

MessageView* ConversionTab::unwritableFoldersMessage(const QList<UnwritableFolder>& folders, QWidget* parent)
{
    QStringList named;
    for (const UnwritableFolder& folder : folders)
        named << QStringLiteral("%1 (%2)").arg(QDir::toNativeSeparators(folder.folder), folder.reason);
    const QString text =
        folders.size() == 1
            ? tr("The folder %1 cannot be created or written to. Choose another folder to save your files in.")
            : tr("The folders %1 cannot be created or written to. Choose another folder to save your files in.");
    return MessageView::createOkMessage(tr("Can not save files"), text.arg(named.join(QStringLiteral(", "))), parent);
}

bool ConversionTab::prepareOutputFolders(const QStringList& folders)
{
    QList<UnwritableFolder> unwritable;
    for (const QString& folder : folders) {
        QString reason;
        if (FileSystem::makeWritableFolder(folder, &reason))
            continue;
        Logger::instance()->log(QStringLiteral("Output folder not writable: %1 (%2)").arg(folder, reason), Logger::Warning);
        unwritable.append({folder, reason});
    }
    if (unwritable.isEmpty())
        return true;
    QScopedPointer<MessageView> message(unwritableFoldersMessage(unwritable, this));
    message->exec();
    return false;
}
