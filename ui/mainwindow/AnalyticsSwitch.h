#pragma once

#include <QObject>
#include <QTimer>

// Applies the "Send anonymous analytics" choice of the settings panel. Switching off first
// queues the metric "dbled" and leaves sending on for three seconds so that it can still go out;
// the switch-off is then made by a timer that this object owns, so that
// - switching on again within those seconds cancels it (the user's later choice wins), and
// - quitting within those seconds does not lose it: the pending switch-off is applied and stored
//   when the application is about to quit or this object goes.
class AnalyticsSwitch : public QObject
{
    Q_OBJECT
public:
    explicit AnalyticsSwitch(QObject* parent = nullptr);
    ~AnalyticsSwitch() override;

    // The user's choice as saved in the panel.
    void apply(bool enabled);

    bool isSwitchOffPending() const { return m_switchOff.isActive(); }

    static constexpr int switchOffDelayMs = 3000;

private slots:
    void switchOffNow();
    void onAboutToQuit();

private:
    QTimer m_switchOff;
};
