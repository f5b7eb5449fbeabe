#pragma once

#include <QFrame>

class AnalyticsSwitch;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SaveFolderModel;

// The settings side panel: default publisher, image quality, OCR language, where output goes,
// interface language, automatic update checks and anonymous analytics. Every show reloads the
// controls from "settings.ini"; only SAVE SETTINGS writes them back, every other way out
// (CANCEL, back, close, Escape) discards the edits. The panel never hides itself: it asks the
// main window to with onHideWindow().
class SettingsView : public QFrame
{
    Q_OBJECT
public:
    explicit SettingsView(QWidget* parent = nullptr);

signals:
    void onHideWindow();

public slots:
    void saveSettings();
    void cancel();
    void onClose();
    void onChangeSaveMode(int index);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildLayout();
    void fillLanguages();
    void fillOcrLanguages();
    void fillQuality();
    void retranslate();
    void load();

    QLabel* m_saveLabel;
    QComboBox* m_saveCombo;
    SaveFolderModel* m_saveModel;
    int m_lastSaveIndex = 0;
    QLabel* m_languageLabel;
    QComboBox* m_languageCombo;
    QLabel* m_ocrLabel;
    QComboBox* m_ocrCombo;
    QLabel* m_publisherLabel;
    QLineEdit* m_publisherEdit;
    QCheckBox* m_updateCheck;
    QCheckBox* m_analyticsCheck;
    QLabel* m_qualityLabel;
    QComboBox* m_qualityCombo;
    QLabel* m_titleLabel;
    QPushButton* m_backButton;
    QPushButton* m_saveButton;
    QPushButton* m_cancelButton;
    QPushButton* m_closeButton;
    QLabel* m_versionLabel;
    AnalyticsSwitch* m_analytics;
};
