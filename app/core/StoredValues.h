#pragma once

#include <QString>

// Where the user's settings file lies and the names of its keys. The file itself is opened only
// through Application::settings() (raw values) and Settings (the values the tabs share).
namespace StoredValues {

// "<per-user application config folder>/<fileName>" with native separators; the folder is not created.
QString configFilePath(const QString& fileName);

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
