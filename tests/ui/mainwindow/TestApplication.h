#pragma once

#include "app/Application.h"
#include "app/core/StoredValues.h"
#include "platform/registry/RegistryStore.h"
#include "platform/shell/DesktopOpener.h"
#include "services/metrics/MetricSender.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/TestFiles.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QSettings>
#include <QTimer>
#include <QUrl>
#include <QtTest>

#include <functional>
#include <memory>

// What the main-window tests share: the application object over a fake tessdata folder, a
// local server that takes the metrics and update requests, and a desktop opener that records.
namespace TestApp {

class RecordingOpener : public DesktopOpener
{
public:
    QStringList calls;
    bool openUrl(const QUrl& url) override
    {
        calls << QStringLiteral("open ") + url.toString();
        return true;
    }
    bool showInFolder(const QString& path) override
    {
        calls << QStringLiteral("show ") + path;
        return true;
    }
};

inline QString settingsPath()
{
    return StoredValues::configFilePath(QStringLiteral("settings.ini"));
}

inline QVariant stored(const QString& key, const QVariant& fallback = QVariant())
{
    return QSettings(settingsPath(), QSettings::IniFormat).value(key, fallback);
}

inline void store(const QString& key, const QVariant& value)
{
    QSettings settings(settingsPath(), QSettings::IniFormat);
    settings.setValue(key, value);
}

inline void clearSettings()
{
    QSettings settings(settingsPath(), QSettings::IniFormat);
    settings.clear();
}

// The metric items the server received, decoded ("&m1=set:1"), without the base query.
inline QStringList metricItems(const LocalHttpServer& server)
{
    QStringList items;
    for (const QString& target : server.targets()) {
        if (target.startsWith(QLatin1String("/metrics")))
            items << QUrl::fromPercentEncoding(target.section(QLatin1Char('&'), 3).prepend(QLatin1Char('&')).toUtf8());
    }
    return items;
}

// Drops the local files on target as a file manager would (straight to the widget: the
// application routes only drops that a drag manager started).
inline void dropFiles(QWidget* target, const QStringList& paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject*>(target)->event(&event);
}

// Answers the next modal dialog that opens while the returned timer lives: calls answer with it.
inline std::unique_ptr<QTimer> answerNextDialog(std::function<void(QWidget*)> answer)
{
    std::unique_ptr<QTimer> timer(new QTimer);
    QTimer* watch = timer.get();
    QObject::connect(watch, &QTimer::timeout, [watch, answer] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog && dialog->isVisible()) {
            watch->stop();
            answer(dialog);
        }
    });
    watch->start(20);
    return timer;
}

// Sets up what the application finds when it is constructed, builds it and runs the test.
template <class Test>
int run(int argc, char* argv[])
{
    const QString tessdata = TestFiles::sandbox() + QStringLiteral("/tessdata");
    for (const char* name : {"eng", "deu", "fra"})
        TestFiles::writeFile(tessdata + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".traineddata"), "x");
    qputenv("QUILLPRESS_TESSDATA", tessdata.toLocal8Bit());
    // Requests that a test does not point at its own server stay on this machine.
    qputenv("QUILLPRESS_METRICS_URL", "http://127.0.0.1:9/");
    qputenv("QUILLPRESS_UPDATE_URL", "http://127.0.0.1:9/check.php");
    RegistryStore(QLatin1String(RegistryKeys::product())).setValue(QStringLiteral("SendData"), 1);

    Application app(argc, argv);
    RecordingOpener opener;
    DesktopOpener::setInstance(&opener);
    Test test(&opener);
    const int result = QTest::qExec(&test, argc, argv);
    DesktopOpener::setInstance(nullptr);
    return result;
}

} // namespace TestApp
