#include "app/core/Settings.h"

#include "app/core/FileSystem.h"
#include "app/core/ImageQuality.h"
#include "app/core/StoredValues.h"

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

QSharedPointer<QSettings> Settings::openFile()
{
    return QSharedPointer<QSettings>::create(configFilePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
}

QString Settings::defaultPublisher() const
{
    return openFile()->value(Keys::defaultPublisher(), QStringLiteral("Zembrook PDF Converter")).toString();
}

QString Settings::language() const
{
    const QString value = openFile()->value(Keys::language(), QStringLiteral("en")).toString();
    return value.isEmpty() ? QStringLiteral("en") : value;
}

SaveMode Settings::saveMode() const
{
    auto file = openFile();
    file->beginGroup(Keys::saveModeGroup());
    SaveMode result;
    result.mode = file->value(Keys::saveModeMode(), SaveMode::SubFolder).toInt();
    result.path = file->value(Keys::saveModePath(), FileSystem::desktopFolder())
                      .toString();
    file->endGroup();
    return result;
}

int Settings::qualityImages() const
{
    bool ok = false;
    const int value = openFile()->value(Keys::qualityImages(), ImageQuality::Medium).toInt(&ok);
    return ok ? ImageQuality::fromNumber(value) : ImageQuality::Medium;
}

QString Settings::ocrLanguage() const
{
    return openFile()->value(Keys::ocrLanguage(), QStringLiteral("eng")).toString();
}

void Settings::notifyChanged()
{
    emit changed();
}
