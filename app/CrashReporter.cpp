#include "app/CrashReporter.h"

#include "app/Application.h"
#include "app/ExitMarker.h"
#include "app/core/Logger.h"
#include "app/core/ProgramVersion.h"
#include "platform/crashguard/CrashGuard.h"
#include "platform/crashguard/CrashReportUploader.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <QWindow>

#ifndef QP_CRASH_REPORT_URL
#define QP_CRASH_REPORT_URL ""
#endif

namespace {

const int keptReports = 10;
const qint64 screenshotIntervalMs = 10000;

void onCrash()
{
    writeCrashedExitFlag();
}

QElapsedTimer& uptime()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer;
}

} // namespace

CrashReporter::CrashReporter()
{
    QString error;
    if (!CrashGuard::install(reportsFolder(), QStringLiteral("PDF Converter"), QStringLiteral(QUILLPRESS_VERSION), &error)) {
        Logger::instance()->log(QStringLiteral("Could not start crash reporter. %1").arg(error), Logger::Debug);
        return;
    }
    prepareCrashedExitFlag();
    CrashGuard::setCallback(onCrash);
    prepareFiles();
    prepareScreens();

    m_midnight = new QTimer(this);
    m_midnight->setSingleShot(true);
    connect(m_midnight, &QTimer::timeout, this, [this] {
        prepareFiles();
        scheduleMidnight();
    });
    scheduleMidnight();

    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(gui, &QGuiApplication::screenAdded, this, &CrashReporter::prepareScreens);
        connect(gui, &QGuiApplication::screenRemoved, this, &CrashReporter::prepareScreens);
        connect(gui, &QGuiApplication::focusWindowChanged, this, &CrashReporter::prepareScreenshot);
    }
}

CrashReporter::~CrashReporter()
{
    CrashGuard::uninstall();
}

QString CrashReporter::reportsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/crashreports");
}

QUrl CrashReporter::uploadAddress()
{
    const QString configured = qEnvironmentVariable("QUILLPRESS_CRASH_REPORT_URL", QStringLiteral(QP_CRASH_REPORT_URL));
    return QUrl(configured, QUrl::StrictMode);
}

void CrashReporter::uploadPendingReports()
{
    const QString folder = reportsFolder();
    CrashReportUploader::prune(folder, keptReports);
    const QUrl address = uploadAddress();
    if (!address.isValid() || address.isEmpty() || CrashReportUploader::pendingReports(folder, CrashGuard::reportFolder()).isEmpty())
        return;
    auto* uploader = new CrashReportUploader(QCoreApplication::instance());
    QObject::connect(uploader, &CrashReportUploader::finished, uploader, [uploader](int sent, int failed) {
        Logger::instance()->log(QStringLiteral("Crash reports sent:%1 failed:%2").arg(sent).arg(failed), Logger::Debug);
        uploader->deleteLater();
    });
    uploader->upload(folder, address, CrashGuard::reportFolder());
}

void CrashReporter::prepareFiles()
{
    // Today's log (the logger creates its folder), and the settings file.
    CrashGuard::setFiles({{Logger::instance()->filePath(), QStringLiteral("log.txt")},
                          {Application::instance()->settings()->fileName(), QStringLiteral("settings.ini")}});
}

void CrashReporter::prepareScreens()
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    QList<QPair<QString, QString>> properties{{QStringLiteral("Screen count"), QString::number(screens.size())}};
    for (int i = 0; i < screens.size(); ++i) {
        const QRect geometry = screens[i]->geometry();
        properties.append({QStringLiteral("Screen %1").arg(i), QStringLiteral("%1x%2").arg(geometry.width()).arg(geometry.height())});
    }
    CrashGuard::setProperties(properties);
}

void CrashReporter::prepareScreenshot()
{
    const qint64 now = uptime().elapsed();
    if (m_lastScreenshotMs >= 0 && now - m_lastScreenshotMs < screenshotIntervalMs)
        return;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    m_lastScreenshotMs = now;
    // The whole virtual desktop, as far as the window system lets a program read it.
    const QRect desktop = screen->virtualGeometry();
    const QPixmap shot = screen->grabWindow(0, desktop.x(), desktop.y(), desktop.width(), desktop.height());
    if (shot.isNull())
        return;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (shot.save(&buffer, "JPG", 80))
        CrashGuard::setScreenshot(bytes);
}

void CrashReporter::scheduleMidnight()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime midnight(now.date().addDays(1), QTime(0, 0));
    m_midnight->start(int(qBound<qint64>(1000, now.msecsTo(midnight) + 1000, 24 * 3600 * 1000)));
}
