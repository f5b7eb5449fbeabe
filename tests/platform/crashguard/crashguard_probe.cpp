// A program for the crash guard test: installs the guard with a report folder, two files (one
// missing), a screenshot, properties and a callback that writes a prepared marker file, then
// crashes the way its first argument names.
#include "platform/crashguard/CrashGuard.h"
#include "platform/crashguard/PreparedFile.h"

#include <QCoreApplication>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

PreparedFile marker;

void onCrash()
{
    marker.write();
}

volatile int zero = 0;
volatile int seven = 7;
volatile bool deeper = true;

int recurse(int depth)
{
    volatile char block[4096];
    block[0] = char(depth);
    return deeper ? recurse(depth + 1) + block[0] : 0;
}

void segv()
{
    *static_cast<volatile int*>(nullptr) = 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    const QString how = args[1];
    const QString root = args[2];

    QString error;
    if (!CrashGuard::install(root + QStringLiteral("/reports"), QStringLiteral("Probe"), QStringLiteral("1.2.3"), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 3;
    }
    CrashGuard::setFiles({{root + QStringLiteral("/input/log.txt"), QStringLiteral("log.txt")},
                          {root + QStringLiteral("/input/missing.ini"), QStringLiteral("settings.ini")}});
    CrashGuard::setScreenshot(QByteArray("jpeg bytes"));
    CrashGuard::setProperties({{QStringLiteral("Screen count"), QStringLiteral("2")},
                               {QStringLiteral("Screen 0"), QStringLiteral("1920x1080")},
                               {QStringLiteral("Screen 1"), QStringLiteral("1280x1024")}});
    marker.prepare(root + QStringLiteral("/marker.ini"), QByteArray("[General]\nuex=2\n"));
    CrashGuard::setCallback(onCrash);
    std::printf("%s\n", qPrintable(CrashGuard::reportFolder()));
    std::fflush(stdout);

    if (how == QLatin1String("uninstalled")) {
        CrashGuard::uninstall();
        segv();
    } else if (how == QLatin1String("segv")) {
        segv();
    } else if (how == QLatin1String("abort")) {
        std::abort();
    } else if (how == QLatin1String("fpe")) {
        std::printf("%d\n", seven / zero);
    } else if (how == QLatin1String("overflow")) {
        std::printf("%d\n", recurse(0));
    } else if (how == QLatin1String("thread")) {
        std::thread worker(segv);
        worker.join();
    } else if (how == QLatin1String("two threads")) {
        std::atomic<bool> go{false};
        auto crash = [&go] {
            while (!go.load())
                ;
            segv();
        };
        std::thread first(crash);
        std::thread second(crash);
        go.store(true);
        first.join();
        second.join();
    } else if (how == QLatin1String("external")) {
        // Stays alive until the test sends a crash signal from outside.
        std::printf("waiting\n");
        std::fflush(stdout);
        for (;;)
            ::pause();
    }
    return 0;
}
