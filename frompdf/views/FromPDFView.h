#pragma once

#include "DocumentViewer.h"
#include "FromPDFTask.h"
#include "FromPdfIntake.h"
#include "IIntakePrompts.h"

#include <QElapsedTimer>
#include <QFrame>
#include <QModelIndex>
#include <QPointer>
#include <QStringList>

#include <functional>

class Button;
class DropArea;
class FromPDFModel;
class FromPDFTable;
class IProgress;
class ProgressControl;
class ProgressDialog;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QStackedLayout;
class SaveFolderModel;

// The "From PDF" page of the main window: PDFs are added by the file dialog or by drops (on its
// drop area, its task table or, through the main window, the start page), edited in the task
// table (format pop-up, split, page ranges, password, preview, removal) and converted on a
// worker thread while a progress control stands in for the bottom row. It answers the worker's
// scanned-PDF question and ends a run with a message that can open the output folder.
//
// It is also the intake's view layer: the "Add files" progress dialog, the password prompts and
// the messages about wrong passwords and unreadable files.
class FromPDFView : public QFrame, public IIntakePrompts
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

    explicit FromPDFView(QWidget* parent = nullptr, FileDialogs dialogs = {});
    ~FromPDFView() override;

    void setPageRanges(int id, const PageRangeList& ranges);

    FromPDFModel* model() const { return m_model; }
    FromPDFTable* table() const { return m_table; }
    ProgressControl* progressControl() const { return m_progressControl; }
    DocumentViewer* documentViewer() const { return m_viewer; }
    bool isRunning() const { return m_running; }

    // IIntakePrompts
    IProgress* showAddProgress() override;
    void hideAddProgress() override;
    bool askPassword(const QString& fileName, QString* password) override;
    PasswordChoice askPasswordOrSkip(const QString& fileName, QString* password) override;
    void showWrongPassword(const QString& fileName) override;
    void showUnreadableFiles(const QStringList& fileNames) override;

signals:
    void selectRanges(int id, FromPDFTask task);
    void started();
    void finished();

public slots:
    void addFiles(QStringList files);
    void onButtonAdd();
    void onDataChanged();
    void onTableClicked(QModelIndex index);
    void onButtonSelectFormatForAll();
    void onButtonConvert();
    void onChangeOutFolder(int index);
    void onStarted();
    void onFinished();
    void readSettings();
    void onAddToModel(QStringList urls);
    void onAddFinished(bool successed, FromPDFTaskList items);
    void onAddComplete();
    void onAddStarted();
    void onCheckScanned();
    void onCheckQuestion(QString text, QString commitButton, QString discardButton);

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void onRunSummary(int taskCount, int failedCount);

private:
    QWidget* buildTablePage();
    QWidget* buildSaveRow();
    void makeConnections();
    void retranslate();
    // Asks for the password of a protected row that has none yet; true when the row can be used.
    bool askPassword(const QModelIndex& index);
    void openFormatPopup(const QModelIndex& index);
    void showCompletionMessage(bool stopped, const QString& file);
    QString saveFolderPath() const;

    FromPDFModel* m_model;
    FromPDFTable* m_table;
    FromPdfIntake m_intake;
    QStackedLayout* m_pages;
    DropArea* m_dropArea;
    QPushButton* m_addButton;
    QLabel* m_allLabel;
    QPushButton* m_formatButton;
    QCheckBox* m_splitAll;
    Button* m_deleteAll;
    QStackedLayout* m_bottom;
    QLabel* m_saveLabel;
    QComboBox* m_saveCombo;
    SaveFolderModel* m_saveModel;
    Button* m_convertButton;
    ProgressControl* m_progressControl;
    IProgress* m_progress;
    ProgressDialog* m_progressDialog;
    QPointer<DocumentViewer> m_viewer;
    int m_lastSaveIndex = 0;
    int m_popupRow = -1;
    bool m_popupOpen = false;
    QElapsedTimer m_elapsed;
    bool m_running = false;
    FileDialogs m_dialogs;
    int m_runTasks = 0;
    int m_runFailed = 0;
};
