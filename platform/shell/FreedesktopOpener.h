#pragma once

#include "platform/shell/DesktopOpener.h"

// The opener of a freedesktop session: links and files go to QDesktopServices; a file is shown
// selected through the file manager's "ShowItems" call on the session bus
// (org.freedesktop.FileManager1), and when no file manager answers there, its folder is opened
// with QDesktopServices instead.
class FreedesktopOpener : public DesktopOpener
{
public:
    bool openUrl(const QUrl& url) override;
    bool showInFolder(const QString& filePath) override;

    // Asks the session's file manager to show the file selected; false when no file manager
    // answered within timeoutMs.
    static bool showItemsOverDBus(const QString& filePath, int timeoutMs = 5000);
};
