#include "shared/records/FileSettings.h"

FileSettings::FileSettings()
    : QObject(nullptr)
{
}

FileSettings::FileSettings(const FileSettingsData& data)
    : QObject(nullptr)
    , m_current(data)
    , m_saved(data)
{
}

void FileSettings::load(const FileSettingsData& data)
{
    m_current = data;
    m_saved = data;
    m_modified = false;
}

void FileSettings::edited()
{
    m_modified = true;
    emit changed();
}

void FileSettings::setFileName(const QString& value)
{
    m_current.fileName = value;
    edited();
}

void FileSettings::setTitle(const QString& value)
{
    m_current.title = value;
    edited();
}

void FileSettings::setPublisher(const QString& value)
{
    m_current.publisher = value;
    edited();
}

void FileSettings::setPassword(const QString& value)
{
    m_current.password = value;
    edited();
}

void FileSettings::revert()
{
    m_current = m_saved;
    m_modified = false;
    emit changed();
}

void FileSettings::save()
{
    m_saved = m_current;
    m_modified = false;
    emit changed();
}

FileSettingsData FileSettings::data() const
{
    return m_current;
}

bool FileSettings::isModified() const
{
    return m_modified;
}
