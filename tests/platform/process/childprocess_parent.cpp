// Stands in for the program in the child-process tests: runs one program through ChildProcess on
// a thread of its own, as the conversion runs do, and then waits to be killed, or crashes on its
// own once the given number of milliseconds has passed.
//
// Usage: childprocess_parent <milliseconds until the crash, 0 for none> <program> [arguments...]

#include "platform/process/ChildProcess.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdlib>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    if (argc < 3)
        return 2;
    const unsigned long crashAfterMs = std::strtoul(argv[1], nullptr, 10);
    const QString program = QString::fromLocal8Bit(argv[2]);
    QStringList arguments;
    for (int i = 3; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QThread* worker = QThread::create([&] { ChildProcess::run(program, arguments, 0); });
    worker->start();
    if (crashAfterMs > 0) {
        QThread::msleep(crashAfterMs);
        std::abort();
    }
    worker->wait();
    return 0;
}
