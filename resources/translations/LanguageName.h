#pragma once

#include <QtGlobal>

// The name of a translation's language in that language. The settings panel lists each installed
// translation under its translation of this text in the context "SettingsView", so every
// translation source must translate it ("English" in quillpress_en.ts, "Deutsch" in quillpress_de.ts).
inline const char* languageNameContext() { return "SettingsView"; }
inline const char* languageNameSource() { return QT_TRANSLATE_NOOP("SettingsView", "English"); }
