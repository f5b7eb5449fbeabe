#pragma once

#include "FileSettingsData.h"
#include "LayoutSettingsData.h"
#include "ToPDFAlgorithm.h"
#include "ToPDFTask.h"

#include <QElapsedTimer>
#include <QFrame>
#include <QModelIndex>
#include <QPointer>
#include <QStringList>

#include <functional>

class Button;
class DropArea;
class IProgress;
class ProgressControl;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedLayout;
class QThread;
class ToPDFModel;
class ToPDFTable;

// The "To PDF" page of the main window: office documents, web pages, pictures, TIFF files and
// e-books are added by the file dialog or by drops (on its drop area, its task table or, through
// the main window, the start page), ordered and removed in the task table, given PDF settings in
// the side panel that the main window slides in (edit -> ToPDFSettingsView, whose saves come back
// through updateFileSettings/updateLayoutSettings), and converted one PDF each or merged into
// one on a worker thread while a progress control stands in for the bottom row. A run ends with
// a message that counts the failed files and can open the output folder.
class ToPDFView : public QFrame
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

    explicit ToPDFView(QWidget* parent = nullptr, FileDialogs dialogs = {});
    ~ToPDFView() override;

    // Files handed over by the main window (dropped on the start page): as onAdd.
    void addFiles(const QStringList& files);

    ToPDFModel* model() const { return m_model; }
    ToPDFTable* table() const { return m_table; }
    ProgressControl* progressControl() const { return m_progressControl; }
    bool isRunning() const { return m_running; }
    // "merged_<date and time>", the name a merged file gets unless the user gives another.
    static QString mergedFileName();

signals:
    // Opens the settings panel for row id (-1 for all files or the general settings) with a
    // copy of the task; editMode 0 one task, 1 all tasks, 2 the general settings.
    void edit(int id, ToPDFTask task, int editMode);
    void started();
    void finished();

public slots:
    void updateFileSettings(int id, FileSettingsData fileSettings, int editMode);
    void updateLayoutSettings(int id, LayoutSettingsData layoutSettings, int editMode);
    void saveTask(int id, ToPDFTask task);
    void onButtonAdd();
    void onAdd(QStringList files);
    void onTableClicked(QModelIndex index);
    void onButtonConvert();
    void onButtonSettingsForAll();
    void onStarted();
    void onFinished();
    void readSettings();
    void updateSaveFolderView();
    void buttonMoveUp();
    void buttonMoveDown();
    void updateControls();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private slots:
    void onRunSummary(const ToPdfRunResult& result);

private:
    QWidget* buildTablePage();
    QWidget* buildSaveRow();
    void makeConnections();
    void retranslate();
    QString filter() const;
    void chooseFolder();
    void move(bool up);
    void setRunControlsEnabled(bool enabled);
    void showCompletionMessage(bool stopped);
    void showMissingFiles(const QStringList& paths);

    ToPDFModel* m_model;
    ToPDFTable* m_table;
    QPushButton* m_addButton;
    QPushButton* m_upButton;
    QPushButton* m_downButton;
    QStackedLayout* m_pages;
    DropArea* m_dropArea;
    ProgressControl* m_progressControl;
    IProgress* m_progress;
    QStackedLayout* m_bottom;
    QElapsedTimer m_elapsed;
    QLabel* m_allLabel;
    QPushButton* m_settingsForAll;
    QCheckBox* m_merge;
    Button* m_deleteAll;
    QLabel* m_saveLabel;
    QLineEdit* m_folderEdit;
    QPushButton* m_folderButton;
    Button* m_convertButton;
    FileDialogs m_dialogs;
    bool m_running = false;
    QPointer<QThread> m_thread;
    ToPdfRunResult m_result;
    // The save mode of "settings.ini" last applied to the output folder.
    int m_storedSaveMode = -1;
    QString m_storedSavePath;
};
