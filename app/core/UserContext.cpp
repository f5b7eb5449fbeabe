#include "app/core/UserContext.h"

#include "app/core/EbookFormats.h"

UserContext::UserContext(QObject* parent)
    : QObject(parent)
{
}

QString UserContext::saveToFolder() const
{
    return m_saveToFolder;
}

void UserContext::setSaveToFolder(const QString& folder)
{
    m_saveToFolder = folder;
    emit saveToFolderChanged(m_saveToFolder);
}

FileSettingsData UserContext::fileSettings() const
{
    return m_fileSettings;
}

void UserContext::setFileSettings(const FileSettingsData& data)
{
    m_fileSettings = data;
}

LayoutSettingsData UserContext::layoutSettings() const
{
    return m_layoutSettings;
}

void UserContext::setLayoutSettings(const LayoutSettingsData& data)
{
    m_layoutSettings = data;
}

QString UserContext::lastConvertedFile(int side) const
{
    switch (side) {
    case FromPdf:
        return m_lastConvertedFromPdf;
    case ToPdf:
        return m_lastConvertedToPdf;
    default:
        return QString();
    }
}

void UserContext::setLastConvertedFile(int side, const QString& path)
{
    if (side == FromPdf)
        m_lastConvertedFromPdf = path;
    else if (side == ToPdf)
        m_lastConvertedToPdf = path;
}

QStringList UserContext::supportedFormats() const
{
    return QStringList{QStringLiteral("doc"), QStringLiteral("docx"), QStringLiteral("xls"), QStringLiteral("odt"),
                       QStringLiteral("ods"), QStringLiteral("xlsx"), QStringLiteral("html"), QStringLiteral("htm"),
                       QStringLiteral("jpeg"), QStringLiteral("jpg"), QStringLiteral("png"), QStringLiteral("bmp")}
           + EbookFormats::suffixes() + QStringList{QStringLiteral("tif"), QStringLiteral("tiff")};
}
