#pragma once

#include "frompdf/engine/FromPDFTask.h"
#include "frompdf/engine/FromPdfIntake.h"
#include "frompdf/engine/IIntakePrompts.h"
#include "frompdf/views/DocumentViewer.h"
#include "ui/widgets/ConversionTab.h"

#include <QModelIndex>
#include <QPointer>
#include <QStringList>

class FromPDFModel;
class FromPDFTable;
class ProgressDialog;
class QCheckBox;
class QComboBox;
class QPushButton;
class SaveFolderModel;

// The "From PDF" page of the main window: PDFs are added by the file dialog or by drops (on its
// drop area, its task table or, through the main window, the start page), edited in the task
// table (format pop-up, split, page ranges, password, preview, removal) and converted on a
// worker thread while a progress control stands in for the bottom row. It answers the worker's
// scanned-PDF question and ends a run with a message that can open the output folder.
//
// It is also the intake's view layer: the "Add files" progress dialog, the password prompts and
// the messages about wrong passwords and unreadable files.
class FromPDFView : public ConversionTab, public IIntakePrompts
{
    Q_OBJECT

public:
    explicit FromPDFView(QWidget* parent = nullptr, FileDialogs dialogs = {});
    ~FromPDFView() override;

    void setPageRanges(int id, const PageRangeList& ranges);

    FromPDFModel* model() const { return m_model; }
    FromPDFTable* table() const { return m_table; }
    DocumentViewer* documentViewer() const { return m_viewer; }

    // IIntakePrompts
    IProgress* showAddProgress() override;
    void hideAddProgress() override;
    bool askPassword(const QString& fileName, QString* password) override;
    PasswordChoice askPasswordOrSkip(const QString& fileName, QString* password) override;
    void showWrongPassword(const QString& fileName) override;
    void showUnreadableFiles(const QStringList& fileNames) override;

signals:
    void selectRanges(int id, FromPDFTask task);

public slots:
    void addFiles(QStringList files);
    void onButtonAdd();
    void onDataChanged();
    void onTableClicked(QModelIndex index);
    void onButtonSelectFormatForAll();
    void onButtonConvert();
    void onChangeOutFolder(int index);
    void onStarted() override;
    void onFinished() override;
    void readSettings();
    void onAddToModel(QStringList urls);
    void onAddFinished(bool successed, FromPDFTaskList items);
    void onAddComplete();
    void onAddStarted();
    void onCheckScanned();
    void onCheckQuestion(QString text, QString commitButton, QString discardButton);

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void onRunSummary(int taskCount, int failedCount);

private:
    TaskTable* buildTable(QWidget* page) override;
    void fillAllFilesRow(QWidget* row, QHBoxLayout* layout) override;
    QWidget* buildFolderField(QWidget* row) override;
    void makeConnections();
    void retranslate() override;
    QList<QWidget*> runControls() const;
    // Asks for the password of a protected row that has none yet; true when the row can be used.
    bool askPassword(const QModelIndex& index);
    void openFormatPopup(const QModelIndex& index);
    void showCompletionMessage(bool stopped, const QString& file);
    QString saveFolderPath() const;

    FromPDFModel* m_model;
    FromPDFTable* m_table = nullptr;
    FromPdfIntake m_intake;
    QPushButton* m_formatButton = nullptr;
    QCheckBox* m_splitAll = nullptr;
    QComboBox* m_saveCombo = nullptr;
    SaveFolderModel* m_saveModel = nullptr;
    ProgressDialog* m_progressDialog;
    QPointer<DocumentViewer> m_viewer;
    int m_lastSaveIndex = 0;
    // The stored save mode last applied to the combo (-1 before the first reading).
    int m_storedSaveMode = -1;
    QString m_storedSavePath;
    int m_popupRow = -1;
    bool m_popupOpen = false;
    int m_runTasks = 0;
    int m_runFailed = 0;
};
