#pragma once

#include <QMutex>
#include <QObject>
#include <QString>

// Carries the scanned-PDF question from the conversion thread to the GUI thread and the answer
// back. The worker calls ask(); the "From PDF" tab connects requestForScanned() to its slot with
// a blocking queued connection, shows the question and stores the answers, then sets the state
// to 0. The state has its own mutex, the file name and the answers share a second one; each
// accessor locks only the mutex of what it touches.
class CheckController : public QObject
{
    Q_OBJECT
public:
    struct Answer
    {
        bool useOcr = false;
        bool applyToAll = false;
    };

    explicit CheckController(QObject* parent = nullptr);

    void setFileName(const QString& fileName);
    QString fileName() const;
    void setUseOcr(bool useOcr);
    bool useOcr() const;
    void setApplyToAll(bool applyToAll);
    bool applyToAll() const;

    // 1 while a question waits for its answer, 0 otherwise.
    void setState(int state);
    int state() const;
    bool isWaiting() const;

    // Clears both answers, sets the state to 1 and emits requestForScanned(). Once close() has
    // run, it answers "without OCR" at once instead and emits nothing.
    void askScanned();

    // The whole question, on the conversion thread: names the file, asks and waits, polling the
    // state every 10 ms, until the GUI has answered. Never call it on the GUI thread.
    Answer ask(const QString& fileName);

    // At shutdown: no further question reaches the GUI, and a question still waiting ends now
    // with the answer "without OCR", so no conversion thread waits for a window that is gone.
    void close();

signals:
    void requestForScanned();

private:
    mutable QMutex m_stateMutex;
    int m_state = 0;
    bool m_closed = false;

    mutable QMutex m_answerMutex;
    QString m_fileName;
    bool m_applyToAll = false;
    bool m_useOcr = false;
};
