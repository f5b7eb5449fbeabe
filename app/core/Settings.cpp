#include "Settings.h"

#include "FileSystem.h"
#include "StoredValues.h"

#include <QSettings>

using namespace StoredValues;

Settings* Settings::instance()
{
    static Settings settings;
    return &settings;
}

Settings::Settings()
    : QObject(nullptr)
{
}

QString Settings::defaultPublisher() const
{
    return StoredValues::settings()->value(Keys::defaultPublisher(), QStringLiteral("Zembrook PDF Converter")).toString();
}

QString Settings::language() const
{
    const QString value = StoredValues::settings()->value(Keys::language(), QStringLiteral("en")).toString();
    return value.isEmpty() ? QStringLiteral("en") : value;
}

SaveMode Settings::saveMode() const
{
    auto file = StoredValues::settings();
    file->beginGroup(Keys::saveModeGroup());
    SaveMode result;
    result.mode = file->value(Keys::saveModeMode(), 0).toInt();
    result.path = file->value(Keys::saveModePath(), FileSystem::desktopFolder())
                      .toString();
    file->endGroup();
    return result;
}

int Settings::qualityImages() const
{
    bool ok = false;
    const int value = StoredValues::settings()->value(Keys::qualityImages(), 1).toInt(&ok);
    return (ok && value >= 0 && value <= 2) ? value : 1;
}

void Settings::notifyChanged()
{
    emit changed();
}
