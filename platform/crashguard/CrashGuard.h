#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// Catches the signals of a crash (SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL) on an alternate
// stack, runs the program's crash callback, writes a report folder and re-raises the signal so
// the process still ends as crashed.
//
// A signal handler may not allocate, lock or call into Qt, so everything the report needs is
// prepared beforehand with the set...() calls: file paths, the screenshot bytes and the property
// text. The handler only creates a folder and writes and copies files.
//
// Report folder "<reports folder>/<yyyyMMdd-hhmmss>-<pid>", written at the crash:
//   crash.txt       application, version, process id, signal number, time
//   backtrace.txt   the crashing thread's stack
//   <name>          a copy of each prepared file that exists at the crash
//   screenshot.jpg  the prepared screenshot, when there is one
//   properties.txt  the prepared properties, one "name=value" per line
class CrashGuard
{
public:
    // Runs first inside the signal handler, so it must be async-signal-safe itself.
    using Callback = void (*)();

    // Installs the handlers and creates reportsFolder. False, with the reason in error, when a
    // handler cannot be installed; the handlers that were installed are removed again.
    static bool install(const QString& reportsFolder, const QString& applicationName, const QString& version,
                        QString* error = nullptr);
    // Restores the handlers that were there before install(); harmless when not installed.
    static void uninstall();

    static void setCallback(Callback callback);
    // Files copied into the report: source path and the name inside the report folder.
    static void setFiles(const QList<QPair<QString, QString>>& files);
    static void setScreenshot(const QByteArray& jpegBytes);
    static void setProperties(const QList<QPair<QString, QString>>& properties);

    // The folder this process writes its report into when it crashes.
    static QString reportFolder();
};
