#include "platform/shell/FreedesktopOpener.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>

bool FreedesktopOpener::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

bool FreedesktopOpener::showInFolder(const QString& filePath)
{
    if (showItemsOverDBus(filePath))
        return true;
    return openUrl(QUrl::fromLocalFile(QFileInfo(filePath).absolutePath()));
}

bool FreedesktopOpener::showItemsOverDBus(const QString& filePath, int timeoutMs)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.FileManager1"),
                                                       QStringLiteral("/org/freedesktop/FileManager1"),
                                                       QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    const QString uri = QUrl::fromLocalFile(QFileInfo(filePath).absoluteFilePath()).toString(QUrl::FullyEncoded);
    call << QStringList{uri} << QString();
    const QDBusMessage reply = bus.call(call, QDBus::Block, timeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}
