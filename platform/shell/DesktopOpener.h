#pragma once

#include <QString>
#include <QUrl>

// Hands files, folders and links to the desktop: the program's one way to open something with
// another program. Tests install a recording opener with setInstance().
class DesktopOpener
{
public:
    virtual ~DesktopOpener();

    // Opens url with the desktop's associated program; false when nothing took it.
    virtual bool openUrl(const QUrl& url) = 0;
    // Shows the file selected in a file-manager window of its folder; false when that failed.
    virtual bool showInFolder(const QString& filePath) = 0;

    // The installed opener; a FreedesktopOpener unless a test set another.
    static DesktopOpener* instance();
    // Installs opener (not owned); null brings back the default.
    static void setInstance(DesktopOpener* opener);
};
