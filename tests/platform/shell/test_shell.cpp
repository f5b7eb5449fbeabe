#include "platform/shell/DesktopOpener.h"
#include "platform/shell/FreedesktopOpener.h"
#include "tests/support/TestFiles.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QProcess>
#include <QThread>
#include <QtTest>

namespace {

// Stands in for the desktop's file manager on the private bus; it answers from its own thread
// because the opener's call blocks the main thread.
class FakeFileManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QStringList shown() const
    {
        QMutexLocker lock(&m_mutex);
        return m_shown;
    }

public slots:
    void ShowItems(const QStringList& uris, const QString& startupId)
    {
        QMutexLocker lock(&m_mutex);
        m_shown << uris;
    }

private:
    mutable QMutex m_mutex;
    QStringList m_shown;
};

const char busConfig[] =
    "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
    " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
    "<busconfig><type>session</type><listen>unix:dir=%1</listen><auth>EXTERNAL</auth>\n"
    "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
    "<allow own=\"*\"/></policy></busconfig>\n";

// Records what QDesktopServices was asked to open.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

} // namespace

class ShellTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A private bus with no service files, so no real file manager can be started on it.
        const QString folder = TestFiles::sandbox() + QStringLiteral("/bus");
        QVERIFY(QDir().mkpath(folder));
        const QString config = folder + QStringLiteral("/bus.conf");
        QVERIFY(TestFiles::writeFile(config, QString::fromLatin1(busConfig).arg(folder).toUtf8()));
        m_bus.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        QVERIFY2(m_bus.waitForStarted(), "dbus-daemon is missing");
        while (!m_bus.canReadLine())
            QVERIFY(m_bus.waitForReadyRead(10000));
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus.readLine().trimmed());
        QVERIFY(QDBusConnection::sessionBus().isConnected());

        QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_recorder, "open");
        m_file = TestFiles::sandbox() + QStringLiteral("/out folder/Report #1.docx");
        QVERIFY(TestFiles::writeFile(m_file, "x"));
    }

    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        m_bus.kill();
        m_bus.waitForFinished();
    }

    void withoutFileManagerTheFolderOpens()
    {
        m_recorder.opened.clear();
        QVERIFY(DesktopOpener::instance()->showInFolder(m_file));
        QCOMPARE(m_recorder.opened, QList<QUrl>{QUrl::fromLocalFile(TestFiles::sandbox() + QStringLiteral("/out folder"))});
    }

    void fileManagerShowsTheFileSelected()
    {
        QThread thread;
        FakeFileManager manager;
        manager.moveToThread(&thread);
        thread.start();
        QDBusConnection service = QDBusConnection::connectToBus(QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS")), QStringLiteral("fake"));
        QVERIFY(service.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &manager, QDBusConnection::ExportAllSlots));
        QVERIFY(service.registerService(QStringLiteral("org.freedesktop.FileManager1")));

        m_recorder.opened.clear();
        QVERIFY(DesktopOpener::instance()->showInFolder(m_file));
        QCOMPARE(manager.shown(), QStringList{QUrl::fromLocalFile(m_file).toString(QUrl::FullyEncoded)});
        QVERIFY(m_recorder.opened.isEmpty());

        service.unregisterService(QStringLiteral("org.freedesktop.FileManager1"));
        service.unregisterObject(QStringLiteral("/org/freedesktop/FileManager1"));
        QDBusConnection::disconnectFromBus(QStringLiteral("fake"));
        thread.quit();
        thread.wait();
    }

private:
    QProcess m_bus;
    UrlRecorder m_recorder;
    QString m_file;
};

QTEST_MAIN(ShellTest)
#include "test_shell.moc"
