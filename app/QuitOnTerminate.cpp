#include "app/QuitOnTerminate.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int socketPair[2] = {-1, -1};
const int quitSignals[] = {SIGTERM, SIGHUP, SIGINT};

void onQuitSignal(int)
{
    const char byte = 1;
    const ssize_t written = ::write(socketPair[0], &byte, 1);
    (void)written;
}

} // namespace

QuitOnTerminate::QuitOnTerminate(QObject* parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, socketPair) != 0)
        return;
    m_notifier = new QSocketNotifier(socketPair[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitOnTerminate::onSignal);

    struct sigaction action = {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : quitSignals)
        ::sigaction(signalNumber, &action, nullptr);
}

QuitOnTerminate::~QuitOnTerminate()
{
    if (!m_notifier)
        return;
    for (int signalNumber : quitSignals)
        ::signal(signalNumber, SIG_DFL);
    delete m_notifier;
    ::close(socketPair[0]);
    ::close(socketPair[1]);
    socketPair[0] = socketPair[1] = -1;
}

void QuitOnTerminate::onSignal()
{
    char bytes[16];
    while (::read(socketPair[1], bytes, sizeof bytes) > 0) {
    }
    QCoreApplication::quit();
}
