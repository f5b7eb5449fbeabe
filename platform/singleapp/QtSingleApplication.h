#pragma once

#include <QApplication>
#include <QPointer>

class InstanceChannel;

// A QApplication that lets one instance of the program run per user. The first process becomes
// the running instance; a later one hands its message over with sendMessage() and, when that
// returns true, exits. The running instance brings its activation window to the front.
class QtSingleApplication : public QApplication
{
    Q_OBJECT
public:
    QtSingleApplication(int& argc, char** argv, bool guiEnabled = true);
    ~QtSingleApplication() override;

    // True only when a running instance of this program and user acknowledged the message
    // within timeoutMs. False in the running instance itself.
    bool sendMessage(const QString& message, int timeoutMs = 5000);

    void setActivationWindow(QWidget* window, bool activateOnMessage = true);

public slots:
    // Restores the activation window from the minimised state, raises and activates it.
    void activateWindow();

signals:
    void messageReceived(const QString& message);

private:
    InstanceChannel* m_channel = nullptr;
    QPointer<QWidget> m_activationWindow;
    QMetaObject::Connection m_activateOnMessage;
};
