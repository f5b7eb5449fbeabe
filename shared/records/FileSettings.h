#pragma once

#include "shared/records/FileSettingsData.h"

#include <QObject>

// Edit buffer of the settings panel for one FileSettingsData: a current and a saved copy.
// Every setter marks the buffer modified and emits changed(), even when the value is the same.
class FileSettings : public QObject
{
    Q_OBJECT
public:
    FileSettings();
    explicit FileSettings(const FileSettingsData& data);

    void load(const FileSettingsData& data);
    void setFileName(const QString& value);
    void setTitle(const QString& value);
    void setPublisher(const QString& value);
    void setPassword(const QString& value);
    void revert();
    void save();
    FileSettingsData data() const;
    bool isModified() const;

signals:
    void changed();

private:
    void edited();

    FileSettingsData m_current;
    FileSettingsData m_saved;
    bool m_modified = false;
};
