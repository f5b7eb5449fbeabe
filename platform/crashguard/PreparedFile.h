#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <memory>

// A value that normal code replaces now and then and a signal handler reads at any moment.
// publish() swaps in a new immutable copy with one atomic store; the previous copy stays alive,
// so a handler that took it just before the swap still reads valid memory.
template <typename T>
class Published
{
public:
    void publish(std::unique_ptr<const T> value)
    {
        m_previous = std::move(m_latest);
        m_latest = std::move(value);
        m_current.store(m_latest.get(), std::memory_order_release);
    }
    // Async-signal-safe; null before the first publish().
    const T* get() const { return m_current.load(std::memory_order_acquire); }

private:
    std::atomic<const T*> m_current{nullptr};
    std::unique_ptr<const T> m_latest;
    std::unique_ptr<const T> m_previous;
};

// A file whose whole content is prepared beforehand and written only when a crash happens, for
// example a settings file that must record that the run crashed.
class PreparedFile
{
public:
    // Replaces what write() will write. Call from one thread only.
    void prepare(const QString& path, const QByteArray& bytes);
    // Writes the prepared bytes; async-signal-safe. False when nothing is prepared or the write failed.
    bool write() const;

private:
    struct Content
    {
        QByteArray path;
        QByteArray bytes;
    };
    Published<Content> m_content;
};
