#pragma once

#include "shared/records/FileSettings.h"
#include "shared/records/FileSettingsData.h"
#include "shared/records/LayoutSettings.h"
#include "shared/records/LayoutSettingsData.h"
#include "shared/records/ToPDFTask.h"

#include <QFrame>

class PositionControl;
class PreviewControl;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TabButton;
class TabWidget;

// The side panel in which the user edits the PDF settings of one "To PDF" task (editMode 0), of
// all tasks at once (1) or the general settings of the merged file (2): a "File settings" tab
// (file name, title, publisher, password) and, for pictures, a "Layout settings" tab (image
// size, page size, margin, position, rotation, orientation, with a preview). Edits go into two
// buffers; saving one hands it back through updateFileSettings or updateLayoutSettings, and the
// panel stays open until onHideWindow. It never touches the task list itself.
class ToPDFSettingsView : public QFrame
{
    Q_OBJECT

public:
    enum Page {
        FilePage = 0,
        LayoutPage = 1
    };

    explicit ToPDFSettingsView(QWidget* parent = nullptr);

    // Loads a task (or, for modes 1 and 2, a task that carries the settings to start from).
    void editTask(int id, ToPDFTask task, int editMode);

    int currentPage() const;
    const FileSettings& fileSettings() const { return m_file; }
    const LayoutSettings& layoutSettings() const { return m_layout; }
    PreviewControl* preview() const { return m_preview; }
    PositionControl* positionControl() const { return m_position; }

signals:
    void onHideWindow();
    void updateFileSettings(int id, FileSettingsData fileSettings, int editMode);
    void updateLayoutSettings(int id, LayoutSettingsData layoutSettings, int editMode);

public slots:
    void cancel();
    void onPageSizeChanged(int index);
    void onOrientationChanged(int index);
    void onMarginChanged(int index);
    void onRotateChanged(int index);
    void onImageSizeChanged(int index);
    void onButtonSave();
    void onButtonCancel();
    void onEditPasswordChanged(QString text);
    void saveFileSettings();
    void saveLayoutSettings();
    void onFileSettingsChanged();

protected:
    void changeEvent(QEvent* event) override;
    // Escape closes the panel, as the close button does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* buildFilePage();
    QWidget* buildLayoutPage();
    QWidget* buildCommandBox();
    void makeConnections();
    void retranslate();
    void fillCombos();
    void onLayoutSettingsChanged();
    // Asks about unsaved edits of the page being left before the tab changes to index.
    void onBeginPageChange(int index);
    bool askToSave(const QString& what);
    void showFileSettings();
    void showLayoutSettings();
    void setLayoutPageEnabled(bool enabled);

    int m_id = -1;
    int m_editMode = 0;
    bool m_fileSettingsEnabled = true;
    FileSettings m_file;
    LayoutSettings m_layout;

    TabWidget* m_tabs;
    TabButton* m_fileTab;
    TabButton* m_layoutTab;
    QWidget* m_layoutPageWidget = nullptr;
    QLabel* m_caption;
    QPushButton* m_closeButton;
    QPushButton* m_backButton;
    QPushButton* m_cancelButton;
    QPushButton* m_saveButton;

    QLabel* m_fileNameLabel;
    QLabel* m_titleLabel;
    QLabel* m_publisherLabel;
    QLabel* m_passwordLabel;
    QFrame* m_fileNameBox;
    QLineEdit* m_fileNameEdit;
    QLabel* m_extensionLabel;
    QLineEdit* m_titleEdit;
    QLineEdit* m_publisherEdit;
    QLineEdit* m_passwordEdit;

    QLabel* m_imageSizeLabel;
    QLabel* m_pageSizeLabel;
    QLabel* m_marginLabel;
    QLabel* m_positionLabel;
    QLabel* m_rotateLabel;
    QLabel* m_orientationLabel;
    QLabel* m_previewLabel;
    QComboBox* m_imageSizeCombo;
    QComboBox* m_pageSizeCombo;
    QComboBox* m_marginCombo;
    QComboBox* m_rotateCombo;
    QComboBox* m_orientationCombo;
    PositionControl* m_position;
    PreviewControl* m_preview;
};
