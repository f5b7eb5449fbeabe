#pragma once

#include <QSharedPointer>
#include <QString>

class QSettings;

// Access to the user's settings file. Every call hands out a new settings object that is released
// with its last holder: nothing caches settings in memory.
namespace StoredValues {

// "<per-user application config folder>/<fileName>" with native separators; the folder is not created.
QString configFilePath(const QString& fileName);

// A new QSettings over "settings.ini" in INI format.
QSharedPointer<QSettings> settings();

// Keys of "settings.ini".
namespace Keys {
inline const char* firstRun() { return "first_run"; }
inline const char* language() { return "Language"; }
inline const char* saveModeGroup() { return "SaveMode"; }
inline const char* saveModeMode() { return "Mode"; }
inline const char* saveModePath() { return "Path"; }
inline const char* defaultPublisher() { return "defaultPublisher"; }
inline const char* qualityImages() { return "quality_images"; }
inline const char* ocrLanguage() { return "ocr_language"; }
inline const char* autoUpdateEnabled() { return "auto_update_enabled"; }
inline const char* lastShowVersion() { return "last_show_version"; }
inline const char* lastSelectFolder() { return "last_select_folder"; }
// Kept in the second, organisation-named INI store, not in "settings.ini".
inline const char* mainViewScreen() { return "mainview.screen"; }
} // namespace Keys

} // namespace StoredValues
