#pragma once

#include <QElapsedTimer>
#include <QFrame>
#include <QList>
#include <QStringList>

#include <functional>

class Button;
class DropArea;
class IProgress;
class MessageView;
class ProgressControl;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QStackedLayout;
class QThread;
class QVBoxLayout;
class TaskTable;

// What the "From PDF" and "To PDF" tabs share: the drop area that gives way to the task table
// once it has rows, the table's column of buttons and its "All files" row, the bottom row with
// the output folder and the convert button that a progress control stands in for while a
// conversion runs on a worker thread, the file dialogs (replaceable for tests), the metrics and
// the message that end a run. What a tab converts, and how, is the view's business: it builds
// its own parts through the hooks below and calls buildPages() once from its constructor.
class ConversionTab : public QFrame
{
    Q_OBJECT

public:
    // The file dialogs the tab opens (its drop area's too); an empty function stands for the
    // system's dialog. Tests pass their own so that nothing waits for a user.
    struct FileDialogs
    {
        // (parent, caption, start folder, name filter) -> the chosen files.
        std::function<QStringList(QWidget*, const QString&, const QString&, const QString&)> openFiles;
        // (parent, caption, start folder) -> the chosen folder, empty when cancelled.
        std::function<QString(QWidget*, const QString&, const QString&)> chooseFolder;
    };

    ProgressControl* progressControl() const { return m_progressControl; }
    bool isRunning() const { return m_running; }

    // An output folder that files cannot go into, and why (in the system's words).
    struct UnwritableFolder
    {
        QString folder;
        QString reason;
    };
    // The message that names the output folders which cannot be created or written to.
    static MessageView* unwritableFoldersMessage(const QList<UnwritableFolder>& folders, QWidget* parent = nullptr);

signals:
    void started();
    void finished();

public slots:
    // What the view does when its worker starts and when it finishes (see moveToWorker()).
    virtual void onStarted() = 0;
    virtual void onFinished() = 0;

protected:
    ConversionTab(QWidget* parent, FileDialogs dialogs);

    // Lays the tab out: the drop area (m_dropArea) and the table page stacked (m_pages), both
    // 264 px high, and under them the row "Save to folder:", folder field, convert button
    // stacked with the progress control (m_bottom). It calls the hooks below in the order they
    // are declared, so the widgets are made in the order they stand (their focus order).
    void buildPages();

    // The task table, 631 px wide on the table page.
    virtual TaskTable* buildTable(QWidget* page) = 0;
    // More buttons under m_addButton in the column at the table's right (none by default).
    virtual void addSideButtons(QWidget* page, QVBoxLayout* column);
    // The "All files" row under the table, which starts with 11 px: the view lays out
    // m_allLabel, its own controls and m_deleteAll (made by makeDeleteAll(row)).
    virtual void fillAllFilesRow(QWidget* row, QHBoxLayout* layout) = 0;
    // The field that shows or chooses the output folder, between the label and the button.
    virtual QWidget* buildFolderField(QWidget* row) = 0;

    void makeDeleteAll(QWidget* row);
    // Sets the texts the tabs share; a view adds its own.
    virtual void retranslate();
    void changeEvent(QEvent* event) override;

    // The files the user picks in the open dialog (in folder, by filter).
    QStringList pickFiles(const QString& folder, const QString& filter);
    // The folder the user picks, starting in start; empty when cancelled.
    QString pickFolder(const QString& start);

    // Moves algorithm (an object with the slot run() and the signals started() and finished())
    // to a new thread that runs it, quits when it finishes and then goes with it; its started()
    // and finished() reach onStarted() and onFinished(). The view registers the thread with
    // the application, then startWorker() starts it and the run's clock.
    QThread* moveToWorker(QObject* algorithm);
    void startWorker(QThread* thread);
    // While a run lasts: the progress control in the bottom row, the controls and the table
    // disabled, the table veiled; then emits started().
    void showRunStarted(const QList<QWidget*>& controls);
    // After a run: sends the "cancel" or "end" metric with the run's time, gives the bottom row,
    // the controls and the table back. Returns whether the user stopped the run.
    bool showRunEnded(const QList<QWidget*>& controls);
    // The message that ends a run, with an "OPEN FOLDER" button when offerFolder: true when the
    // user chose that button.
    bool askOpenFolder(const QString& title, const QString& text, bool offerFolder);
    // What that message says after a stop: a run that wrote nothing has no folder to show.
    QString cancelledText(bool nothingWritten) const;
    // Before a run: makes the output folders (with their parents) and checks that files can be
    // written into each. Those that cannot are named with the reason in a message and the log,
    // and the answer is false: nothing is converted then.
    bool prepareOutputFolders(const QStringList& folders);

    FileDialogs m_dialogs;
    QStackedLayout* m_pages = nullptr;
    DropArea* m_dropArea = nullptr;
    QPushButton* m_addButton = nullptr;
    QLabel* m_allLabel = nullptr;
    Button* m_deleteAll = nullptr;
    QStackedLayout* m_bottom = nullptr;
    QLabel* m_saveLabel = nullptr;
    Button* m_convertButton = nullptr;
    ProgressControl* m_progressControl = nullptr;
    IProgress* m_progress = nullptr;
    QElapsedTimer m_elapsed;
    bool m_running = false;

private:
    QWidget* buildTablePage();
    QWidget* buildSaveRow();

    TaskTable* m_taskTable = nullptr;
};
