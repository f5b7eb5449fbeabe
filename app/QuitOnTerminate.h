#pragma once

#include <QObject>

class QSocketNotifier;

// Ends the event loop normally when the session asks the program to end (SIGTERM, SIGHUP) or
// the user interrupts it (SIGINT), so that the run is recorded as a clean exit and everything is
// torn down in order. The signal handler only writes a byte to a socket pair; the quit itself
// happens on the GUI thread.
class QuitOnTerminate : public QObject
{
    Q_OBJECT
public:
    explicit QuitOnTerminate(QObject* parent = nullptr);
    ~QuitOnTerminate() override;

private slots:
    void onSignal();

private:
    QSocketNotifier* m_notifier = nullptr;
};
