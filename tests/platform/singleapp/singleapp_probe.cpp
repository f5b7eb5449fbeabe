// A program for the single-instance test. "primary" shows a minimised window as the activation
// window and reports the first message it receives with the window's state; "hold" only stays
// running; "secondary <text>" sends text to the running instance and exits 0 when it answered.
#include "platform/singleapp/QtSingleApplication.h"

#include <QTimer>
#include <QWidget>

#include <cstdio>

int main(int argc, char* argv[])
{
    QtSingleApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    if (mode == QLatin1String("secondary"))
        return app.sendMessage(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString(), 5000) ? 0 : 1;

    QWidget window;
    window.resize(200, 100);
    window.show();
    window.showMinimized();
    app.setActivationWindow(&window, mode == QLatin1String("primary"));
    QObject::connect(&app, &QtSingleApplication::messageReceived, &app, [&](const QString& message) {
        // Report once the activation queued by the same message has been handled.
        QTimer::singleShot(200, &app, [&, message] {
            std::printf("message:%s minimized:%d active:%d\n", qPrintable(message),
                        window.windowState().testFlag(Qt::WindowMinimized) ? 1 : 0, window.isActiveWindow() ? 1 : 0);
            std::fflush(stdout);
            app.quit();
        });
    });
    QTimer::singleShot(60000, &app, [&] { app.exit(3); });
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
