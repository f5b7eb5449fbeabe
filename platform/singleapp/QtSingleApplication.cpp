#include "platform/singleapp/QtSingleApplication.h"

#include "platform/singleapp/InstanceChannel.h"

#include <QWidget>

QtSingleApplication::QtSingleApplication(int& argc, char** argv, bool guiEnabled)
    : QApplication(argc, argv, guiEnabled)
{
    m_channel = new InstanceChannel(InstanceChannel::keyFor(applicationFilePath()), this);
    connect(m_channel, &InstanceChannel::messageReceived, this, &QtSingleApplication::messageReceived);
}

QtSingleApplication::~QtSingleApplication() = default;

bool QtSingleApplication::sendMessage(const QString& message, int timeoutMs)
{
    return m_channel->sendMessage(message, timeoutMs);
}

void QtSingleApplication::setActivationWindow(QWidget* window, bool activateOnMessage)
{
    m_activationWindow = window;
    disconnect(m_activateOnMessage);
    if (activateOnMessage)
        m_activateOnMessage = connect(this, &QtSingleApplication::messageReceived, this, &QtSingleApplication::activateWindow);
}

void QtSingleApplication::activateWindow()
{
    if (!m_activationWindow)
        return;
    m_activationWindow->setWindowState(m_activationWindow->windowState() & ~Qt::WindowMinimized);
    m_activationWindow->raise();
    m_activationWindow->activateWindow();
}
