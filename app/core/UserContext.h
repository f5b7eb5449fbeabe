#pragma once

#include "shared/records/FileSettingsData.h"
#include "shared/records/LayoutSettingsData.h"

#include <QObject>
#include <QString>
#include <QStringList>

// Application-wide state the views share while the program runs (not stored between runs): the
// to-PDF output folder, the general to-PDF file and layout settings, the last file each side
// produced, and the suffixes the "To PDF" side accepts.
//
// Used on the GUI thread, except setLastConvertedFile(), which the conversion workers call; the
// GUI reads a side's path only while no run of that side is active.
class UserContext : public QObject
{
    Q_OBJECT
public:
    enum Side {
        FromPdf = 0,
        ToPdf = 1
    };

    explicit UserContext(QObject* parent = nullptr);

    QString saveToFolder() const;
    // Always emits saveToFolderChanged, also when the folder did not change.
    void setSaveToFolder(const QString& folder);

    FileSettingsData fileSettings() const;
    void setFileSettings(const FileSettingsData& data);
    LayoutSettingsData layoutSettings() const;
    void setLayoutSettings(const LayoutSettingsData& data);

    // side 0 "From PDF", 1 "To PDF"; other sides read as empty and are not written.
    QString lastConvertedFile(int side) const;
    void setLastConvertedFile(int side, const QString& path);

    QStringList supportedFormats() const;

signals:
    void saveToFolderChanged(QString path);

private:
    QString m_saveToFolder;
    FileSettingsData m_fileSettings;
    LayoutSettingsData m_layoutSettings;
    QString m_lastConvertedToPdf;
    QString m_lastConvertedFromPdf;
};
