#pragma once

class QString;

// Progress of a conversion as the worker threads see it. The worker sets the range, the position
// and the message line and polls isStopped() and isPaused() between its steps; the owning view
// resets it on the GUI thread before and after a run. Implementations must accept every call
// from any thread.
class IProgress
{
public:
    virtual void setMinimum(int value) = 0;
    virtual void setMaximum(int value) = 0;
    virtual void setValue(int value) = 0;
    virtual void setText(const QString& text) = 0;
    virtual void stop() = 0;
    virtual void reset() = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;
    virtual bool isStopped() const = 0;
    virtual bool isPaused() const = 0;

protected:
    // Never deleted through the interface: the progress widget owns itself.
    ~IProgress() = default;
};
