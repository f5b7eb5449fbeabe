#pragma once

#include "shared/records/FileSettingsData.h"
#include "shared/records/LayoutSettingsData.h"
#include "shared/records/ToPDFTask.h"
#include "topdf/engine/ToPDFAlgorithm.h"
#include "ui/widgets/ConversionTab.h"

#include <QModelIndex>
#include <QPointer>
#include <QStringList>

class QCheckBox;
class QLineEdit;
class QPushButton;
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
class ToPDFView : public ConversionTab
{
    Q_OBJECT

public:
    explicit ToPDFView(QWidget* parent = nullptr, FileDialogs dialogs = {});
    ~ToPDFView() override;

    // Files handed over by the main window (dropped on the start page): as onAdd.
    void addFiles(const QStringList& files);

    ToPDFModel* model() const { return m_model; }
    ToPDFTable* table() const { return m_table; }
    // "merged_<date and time>", the name a merged file gets unless the user gives another.
    static QString mergedFileName();

signals:
    // Opens the settings panel for row id (-1 for all files or the general settings) with a
    // copy of the task; editMode 0 one task, 1 all tasks, 2 the general settings.
    void edit(int id, ToPDFTask task, int editMode);

public slots:
    void updateFileSettings(int id, FileSettingsData fileSettings, int editMode);
    void updateLayoutSettings(int id, LayoutSettingsData layoutSettings, int editMode);
    void saveTask(int id, ToPDFTask task);
    void onButtonAdd();
    void onAdd(QStringList files);
    void onTableClicked(QModelIndex index);
    void onButtonConvert();
    void onButtonSettingsForAll();
    void onStarted() override;
    void onFinished() override;
    void readSettings();
    void updateSaveFolderView();
    void buttonMoveUp();
    void buttonMoveDown();
    void updateControls();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private slots:
    void onRunSummary(const ToPdfRunResult& result);

private:
    TaskTable* buildTable(QWidget* page) override;
    void addSideButtons(QWidget* page, QVBoxLayout* column) override;
    void fillAllFilesRow(QWidget* row, QHBoxLayout* layout) override;
    QWidget* buildFolderField(QWidget* row) override;
    void makeConnections();
    void retranslate() override;
    QString filter() const;
    void chooseFolder();
    void move(bool up);
    QList<QWidget*> runControls() const;
    void resetMergedFileName();
    void showCompletionMessage(bool stopped);
    void showMissingFiles(const QStringList& paths);

    ToPDFModel* m_model;
    ToPDFTable* m_table = nullptr;
    QPushButton* m_upButton = nullptr;
    QPushButton* m_downButton = nullptr;
    QPushButton* m_settingsForAll = nullptr;
    QCheckBox* m_merge = nullptr;
    QLineEdit* m_folderEdit = nullptr;
    QPushButton* m_folderButton = nullptr;
    QPointer<QThread> m_thread;
    ToPdfRunResult m_result;
    // The save mode of "settings.ini" last applied to the output folder.
    int m_storedSaveMode = -1;
    QString m_storedSavePath;
};
