#include "shared/records/LayoutSettings.h"

LayoutSettings::LayoutSettings()
    : QObject(nullptr)
{
}

void LayoutSettings::load(const LayoutSettingsData& data)
{
    m_current = data;
    m_saved = data;
    m_modified = false;
}

void LayoutSettings::set(int LayoutSettingsData::*field, int value)
{
    m_current.*field = value;
    m_modified = true;
    emit changed();
}

void LayoutSettings::setImageSize(int value) { set(&LayoutSettingsData::imageSize, value); }
void LayoutSettings::setPageSize(int value) { set(&LayoutSettingsData::pageSize, value); }
void LayoutSettings::setMargin(int value) { set(&LayoutSettingsData::margin, value); }
void LayoutSettings::setPosition(int value) { set(&LayoutSettingsData::position, value); }
void LayoutSettings::setRotate(int value) { set(&LayoutSettingsData::rotate, value); }
void LayoutSettings::setOrientation(int value) { set(&LayoutSettingsData::orientation, value); }

void LayoutSettings::revert()
{
    m_current = m_saved;
    m_modified = false;
    emit changed();
}

void LayoutSettings::save()
{
    m_saved = m_current;
    m_modified = false;
    emit changed();
}

LayoutSettingsData LayoutSettings::data() const
{
    return m_current;
}

bool LayoutSettings::isModified() const
{
    return m_modified;
}
