#pragma once

#include "shared/records/LayoutSettingsData.h"

#include <QObject>

// Edit buffer of the settings panel for one LayoutSettingsData: a current and a saved copy.
// Setters do no range check and always mark the buffer modified and emit changed().
class LayoutSettings : public QObject
{
    Q_OBJECT
public:
    LayoutSettings();

    void load(const LayoutSettingsData& data);
    void setImageSize(int value);
    void setPageSize(int value);
    void setMargin(int value);
    void setPosition(int value);
    void setRotate(int value);
    void setOrientation(int value);
    void revert();
    void save();
    LayoutSettingsData data() const;
    bool isModified() const;

signals:
    void changed();

private:
    void set(int LayoutSettingsData::*field, int value);

    bool m_modified = false;
    LayoutSettingsData m_current;
    LayoutSettingsData m_saved;
};
