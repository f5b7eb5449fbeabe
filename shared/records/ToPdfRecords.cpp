#include "shared/records/ToPdfRecords.h"

#include "shared/records/FileSettingsData.h"
#include "shared/records/LayoutSettingsData.h"
#include "shared/records/ToPDFTask.h"

#include <QMetaType>

int LayoutSettingsData::marginMillimetres(int margin)
{
    switch (margin) {
    case Small:
        return 10;
    case Big:
        return 20;
    default:
        return 0;
    }
}

int LayoutSettingsData::horizontalAlignment(int position)
{
    if (position == TopLeft || position == MiddleLeft || position == BottomLeft)
        return 0;
    if (position == TopRight || position == MiddleRight || position == BottomRight)
        return 2;
    return 1;
}

int LayoutSettingsData::verticalAlignment(int position)
{
    if (position >= TopLeft && position <= TopRight)
        return 0;
    if (position >= BottomLeft && position <= BottomRight)
        return 2;
    return 1;
}

void registerToPdfRecordTypes()
{
    qRegisterMetaType<FileSettingsData>("FileSettingsData");
    qRegisterMetaType<LayoutSettingsData>("LayoutSettingsData");
    qRegisterMetaType<ToPDFTask>("ToPDFTask");
    qRegisterMetaType<LayoutSettingsData::ImageSize>("LayoutSettingsData::ImageSize");
    qRegisterMetaType<LayoutSettingsData::PageSize>("LayoutSettingsData::PageSize");
    qRegisterMetaType<LayoutSettingsData::Position>("LayoutSettingsData::Position");
    qRegisterMetaType<LayoutSettingsData::Margin>("LayoutSettingsData::Margin");
    qRegisterMetaType<LayoutSettingsData::Orientation>("LayoutSettingsData::Orientation");
}
