#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;

// The channel between the instances of one program run by one user. The first channel to take
// the lock file becomes the running instance and listens on a local socket; every later channel
// finds the lock held and can hand a message to the running one.
//
// Messages travel as a 32-bit big-endian length and the UTF-8 text; the running instance answers
// each complete message with one acknowledgement byte before it emits messageReceived().
class InstanceChannel : public QObject
{
    Q_OBJECT
public:
    // key names the lock and the socket inside the user's runtime folder.
    explicit InstanceChannel(const QString& key, QObject* parent = nullptr);
    ~InstanceChannel() override;

    // A key made of the user id and the canonical path of the program file.
    static QString keyFor(const QString& programPath);

    // True when this channel holds the lock and listens.
    bool isRunningInstance() const;

    // Hands message to the running instance; true only when it acknowledged within timeoutMs.
    // Always false in the running instance itself.
    bool sendMessage(const QString& message, int timeoutMs);

signals:
    void messageReceived(const QString& message);

private slots:
    void onNewConnection();

private:
    void readMessage(QLocalSocket* socket);

    QString m_socketPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
