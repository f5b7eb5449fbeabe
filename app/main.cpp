// Entry point of quillpress: brings up the services in order, hands over to a running instance
// when there is one, shows the splash screen and the window, runs the event loop and tears
// everything down in reverse order.
#include "app/Application.h"
#include "app/CrashReporter.h"
#include "app/ExitMarker.h"
#include "app/QuitOnTerminate.h"
#include "app/core/Logger.h"
#include "services/metrics/MetricSender.h"
#include "ui/kit/Style.h"
#include "ui/mainwindow/MainView.h"
#include "ui/widgets/SplashScreen.h"

#include <QPixmap>
#include <QTimer>

#include <cstdlib>
#include <memory>

namespace {

// How long the end of the program waits for conversion threads to see their stop request: a
// closed window must not leave the process working on. Outside programs and OCR pages end at
// once; a thread still busy with a step it cannot leave is abandoned, and the program leaves
// without teardown (the programs it started end with it).
const int workerStopTimeoutMs = 1500;

} // namespace

int main(int argc, char* argv[])
{
    Application app(argc, argv);
    // Qt's warnings, and those of our own code that speak through Qt, reach the log file too.
    Logger::installMessageHandler();
    auto crashReporter = std::make_unique<CrashReporter>();

    if (app.sendMessage(QString(), 5000))
        return 0;
    app.removeLeftoverWork();

    QuitOnTerminate quitOnTerminate;
    MetricSender::init(app.productId(), QCoreApplication::applicationVersion());
    loadStyleSheet();

    auto splashPixmap = std::make_unique<QPixmap>(QStringLiteral(":/style/images/splash.png"));
    auto splash = std::make_unique<SplashScreen>(*splashPixmap);
    splash->setVersionText(app.displayVersion());
    splash->show();
    splash->showLoading(3);

    auto window = std::make_unique<MainView>();
    window->show();
    splash->finish(window.get());
    app.setActivationWindow(window.get(), true);
    app.start();
    // A picture of the started program for a crash report, once the window has painted.
    QTimer::singleShot(500, crashReporter.get(), &CrashReporter::prepareScreenshot);

    const int exitCode = app.exec();

    // Nothing a conversion thread uses may go while it runs.
    if (!app.stopWorkers(workerStopTimeoutMs)) {
        writeUnexpectedExitFlag(0);
        Logger::instance()->log(QStringLiteral("Conversion still running at exit; leaving without teardown"), Logger::Warning);
        crashReporter.reset();
        std::_Exit(exitCode);
    }
    writeUnexpectedExitFlag(0);

    window.reset();
    splash.reset();
    splashPixmap.reset();
    crashReporter.reset();
    return exitCode;
}
