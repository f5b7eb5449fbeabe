#include "platform/crashguard/CrashGuard.h"

#include "platform/crashguard/PreparedFile.h"
#include "platform/crashguard/SignalSafe.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <execinfo.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace {

const int crashSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};
const int signalCount = int(sizeof crashSignals / sizeof crashSignals[0]);

// Everything the handler reads, as plain bytes with full paths.
struct Report
{
    QByteArray folder;
    QByteArray crashInfoPath;
    QByteArray crashInfoHead;
    QByteArray backtracePath;
    std::vector<QPair<QByteArray, QByteArray>> files; // source, target
    QByteArray screenshotPath;
    QByteArray screenshot;
    QByteArray propertiesPath;
    QByteArray properties;
};

struct Prepared
{
    QString folder;
    QString applicationName;
    QString version;
    QList<QPair<QString, QString>> files;
    QByteArray screenshot;
    QList<QPair<QString, QString>> properties;
};

Prepared prepared;
Published<Report> report;
std::atomic<CrashGuard::Callback> callback{nullptr};
std::atomic<bool> installed{false};
// The thread id that is handling a crash, 0 while none is.
std::atomic<long> handlingThread{0};
struct sigaction previousActions[signalCount];
char alternateStack[64 * 1024];

QByteArray inFolder(const QString& folder, const QString& name)
{
    return QFile::encodeName(folder + QLatin1Char('/') + name);
}

void publishReport()
{
    if (prepared.folder.isEmpty())
        return;
    auto next = std::make_unique<Report>();
    next->folder = QFile::encodeName(prepared.folder);
    next->crashInfoPath = inFolder(prepared.folder, QStringLiteral("crash.txt"));
    next->crashInfoHead = QStringLiteral("Application=%1\nVersion=%2\nProcess=%3\n")
                              .arg(prepared.applicationName, prepared.version)
                              .arg(QCoreApplication::applicationPid())
                              .toUtf8();
    next->backtracePath = inFolder(prepared.folder, QStringLiteral("backtrace.txt"));
    for (const auto& file : prepared.files) {
        // A report name is a plain file name: no separators, so it never leaves the folder.
        const QString name = QString(file.second).replace(QLatin1Char('/'), QLatin1Char('_'));
        next->files.emplace_back(QFile::encodeName(file.first), inFolder(prepared.folder, name));
    }
    next->screenshotPath = inFolder(prepared.folder, QStringLiteral("screenshot.jpg"));
    next->screenshot = prepared.screenshot;
    next->propertiesPath = inFolder(prepared.folder, QStringLiteral("properties.txt"));
    for (const auto& property : prepared.properties)
        next->properties += (property.first + QLatin1Char('=') + property.second + QLatin1Char('\n')).toUtf8();
    report.publish(std::move(next));
}

long currentThreadId()
{
    return long(::syscall(SYS_gettid));
}

void writeReport(const Report& r, int signalNumber)
{
    if (::mkdir(r.folder.constData(), 0700) != 0 && errno != EEXIST)
        return;

    int fd = ::open(r.crashInfoPath.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd >= 0) {
        SignalSafe::writeAll(fd, r.crashInfoHead.constData(), std::size_t(r.crashInfoHead.size()));
        SignalSafe::writeText(fd, "Signal=");
        SignalSafe::writeNumber(fd, signalNumber);
        SignalSafe::writeText(fd, "\nTime=");
        SignalSafe::writeNumber(fd, static_cast<long long>(std::time(nullptr)));
        SignalSafe::writeText(fd, "\n");
        ::close(fd);
    }

    for (const auto& file : r.files)
        SignalSafe::copyFile(file.first.constData(), file.second.constData());
    if (!r.screenshot.isEmpty())
        SignalSafe::writeFile(r.screenshotPath.constData(), r.screenshot.constData(), std::size_t(r.screenshot.size()));
    SignalSafe::writeFile(r.propertiesPath.constData(), r.properties.constData(), std::size_t(r.properties.size()));

    fd = ::open(r.backtracePath.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd >= 0) {
        void* frames[64];
        const int count = ::backtrace(frames, 64);
        ::backtrace_symbols_fd(frames, count, fd);
        ::close(fd);
    }
}

void onCrashSignal(int signalNumber, siginfo_t*, void*)
{
    long expected = 0;
    if (!handlingThread.compare_exchange_strong(expected, currentThreadId())) {
        // Another thread is writing the report; its re-raise ends the process.
        for (;;)
            ::pause();
    }

    if (CrashGuard::Callback run = callback.load())
        run();
    if (const Report* r = report.get())
        writeReport(*r, signalNumber);

    // Back to the default action; the signal stays blocked until this handler returns, so the
    // raised signal then ends the process the usual way. (The action is not reset on entry:
    // another thread crashing meanwhile must wait above, not end the process mid-report.)
    struct sigaction standard = {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    ::sigaction(signalNumber, &standard, nullptr);
    ::raise(signalNumber);
}

} // namespace

bool CrashGuard::install(const QString& reportsFolder, const QString& applicationName, const QString& version, QString* error)
{
    if (installed.load())
        uninstall();

    prepared.folder = reportsFolder + QLatin1Char('/') + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"))
                      + QLatin1Char('-') + QString::number(QCoreApplication::applicationPid());
    prepared.applicationName = applicationName;
    prepared.version = version;
    QDir().mkpath(reportsFolder);
    publishReport();

    // backtrace() loads its unwinder on first use, which allocates: do that now, not in the handler.
    void* warmUp[2];
    ::backtrace(warmUp, 2);

    stack_t stack{};
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof alternateStack;
    if (::sigaltstack(&stack, nullptr) != 0) {
        if (error)
            *error = QStringLiteral("sigaltstack failed: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }

    struct sigaction action = {};
    action.sa_sigaction = onCrashSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    // One crash report at a time per thread: the other crash signals wait while the handler runs.
    for (int signalNumber : crashSignals)
        sigaddset(&action.sa_mask, signalNumber);

    for (int i = 0; i < signalCount; ++i) {
        if (::sigaction(crashSignals[i], &action, &previousActions[i]) != 0) {
            const int failure = errno;
            for (int j = 0; j < i; ++j)
                ::sigaction(crashSignals[j], &previousActions[j], nullptr);
            if (error)
                *error = QStringLiteral("sigaction(%1) failed: %2").arg(crashSignals[i]).arg(QString::fromLocal8Bit(std::strerror(failure)));
            return false;
        }
    }
    installed.store(true);
    return true;
}

void CrashGuard::uninstall()
{
    if (!installed.exchange(false))
        return;
    for (int i = 0; i < signalCount; ++i)
        ::sigaction(crashSignals[i], &previousActions[i], nullptr);
}

void CrashGuard::setCallback(Callback run)
{
    callback.store(run);
}

void CrashGuard::setFiles(const QList<QPair<QString, QString>>& files)
{
    prepared.files = files;
    publishReport();
}

void CrashGuard::setScreenshot(const QByteArray& jpegBytes)
{
    prepared.screenshot = jpegBytes;
    publishReport();
}

void CrashGuard::setProperties(const QList<QPair<QString, QString>>& properties)
{
    prepared.properties = properties;
    publishReport();
}

QString CrashGuard::reportFolder()
{
    return prepared.folder;
}
