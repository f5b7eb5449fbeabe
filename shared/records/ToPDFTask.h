#pragma once

#include "shared/records/FileSettingsData.h"
#include "shared/records/LayoutSettingsData.h"

#include <QFileInfo>
#include <QMetaType>

// One source file of the "To PDF" side with its own output settings.
struct ToPDFTask
{
    QFileInfo file;
    FileSettingsData fileSettings;
    bool fileSettingsEnabled = true; // the task's own file settings apply
    LayoutSettingsData layoutSettings;
    bool mergePart = false; // the run merges results: write a temporary file, no properties
};

Q_DECLARE_METATYPE(ToPDFTask)
