#pragma once

#include "app/core/IProgress.h"

#include <QFrame>
#include <QMutex>
#include <QProgressBar>
#include <QTimer>

#include <functional>

class QLabel;
class QPushButton;

Q_DECLARE_INTERFACE(IProgress, "IProgress")

// The bar inside ProgressControl: draws its own percentage text, in the text colour over the
// groove and in the highlighted-text colour over the chunk.
class ProgressBar : public QProgressBar
{
    Q_OBJECT
public:
    explicit ProgressBar(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The progress widget of every long operation and the only way a worker thread reaches the
// GUI: the four setters may be called from any thread and reach the widgets as queued calls in
// the order posted; stop and pause are flags that the worker polls, answered under the
// control's own mutex. reset() touches the widgets and belongs to the GUI thread.
class ProgressControl : public QFrame, public IProgress
{
    Q_OBJECT
    Q_INTERFACES(IProgress)
public:
    // Milliseconds of a monotonic clock; tests replace it so they never wait real seconds.
    using Clock = std::function<qint64()>;

    explicit ProgressControl(QWidget* parent = nullptr);

    void setMinimum(int value) override;
    void setMaximum(int value) override;
    void setValue(int value) override;
    void setText(const QString& text) override;
    void stop() override;
    void reset() override;
    void pause() override;
    void resume() override;
    bool isStopped() const override;
    bool isPaused() const override;

    void hidePauseButton(bool hide);
    void updatePauseButton(bool paused);
    void setClock(Clock clock);

    static QString formatTime(quint64 ms);

public slots:
    // Shows the elapsed time; driven every 1000 ms while the control is shown.
    void onUpdateViewTimer();
    void onRestartTimer();
    void onButtonPause();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    qint64 segmentElapsed() const;

    ProgressBar* m_bar;
    QPushButton* m_stopButton;
    QPushButton* m_pauseButton;
    QLabel* m_message;
    QLabel* m_elapsed;
    QLabel* m_remaining;
    mutable QMutex m_mutex;
    bool m_stopped = false;
    bool m_paused = false;
    QTimer m_viewTimer;
    Clock m_clock;
    qint64 m_segmentStart = -1; // start of the current run segment; -1 before the first restart
    qint64 m_banked = 0;        // time of the finished run segments
};
