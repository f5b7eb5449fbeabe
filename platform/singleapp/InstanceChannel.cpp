#include "platform/singleapp/InstanceChannel.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

namespace {

const char acknowledgement = 'A';
// A message longer than this is not a start-up request; the connection is dropped.
const quint32 maximumMessageBytes = 1024 * 1024;
const char bufferProperty[] = "instanceChannelBuffer";

QString runtimeFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    QDir().mkpath(folder);
    return folder;
}

QByteArray frame(const QString& message)
{
    const QByteArray text = message.toUtf8();
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::BigEndian);
    stream << quint32(text.size());
    bytes.append(text);
    return bytes;
}

} // namespace

InstanceChannel::InstanceChannel(const QString& key, QObject* parent)
    : QObject(parent)
{
    const QString folder = runtimeFolder();
    m_socketPath = folder + QLatin1Char('/') + key + QStringLiteral(".socket");
    m_lock = std::make_unique<QLockFile>(folder + QLatin1Char('/') + key + QStringLiteral(".lock"));
    // A live owner keeps the lock however old it is; a lock whose owner process is gone is taken over.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0))
        return;

    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket file still there was left by a crashed instance.
    QLocalServer::removeServer(m_socketPath);
    if (!m_server->listen(m_socketPath))
        qWarning("Single instance: cannot listen on %s: %s", qPrintable(m_socketPath), qPrintable(m_server->errorString()));
    connect(m_server, &QLocalServer::newConnection, this, &InstanceChannel::onNewConnection);
}

InstanceChannel::~InstanceChannel()
{
    if (m_server)
        m_server->close();
    if (m_lock && m_lock->isLocked())
        m_lock->unlock();
}

QString InstanceChannel::keyFor(const QString& programPath)
{
    QString canonical = QFileInfo(programPath).canonicalFilePath();
    if (canonical.isEmpty())
        canonical = QFileInfo(programPath).absoluteFilePath();
    const QByteArray identity = QByteArray::number(qulonglong(::getuid())) + ':' + canonical.toUtf8();
    const QByteArray digest = QCryptographicHash::hash(identity, QCryptographicHash::Sha256).toHex().left(20);
    return QStringLiteral("qtsingleapp-") + QString::fromLatin1(digest);
}

bool InstanceChannel::isRunningInstance() const
{
    return m_server != nullptr;
}

bool InstanceChannel::sendMessage(const QString& message, int timeoutMs)
{
    if (isRunningInstance())
        return false;

    const QDeadlineTimer deadline(qMax(0, timeoutMs));
    QLocalSocket socket;
    // The running instance may hold the lock a moment before it listens: retry until the deadline.
    for (;;) {
        socket.connectToServer(m_socketPath);
        if (socket.waitForConnected(int(qMax<qint64>(0, deadline.remainingTime()))))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(qMin<qint64>(100, qMax<qint64>(1, deadline.remainingTime())));
        if (deadline.hasExpired())
            return false;
    }

    socket.write(frame(message));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(int(qMax<qint64>(0, deadline.remainingTime()))))
            return false;
    }
    while (socket.bytesAvailable() < 1) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(qMax<qint64>(0, deadline.remainingTime()))))
            return false;
    }
    char answer = 0;
    return socket.getChar(&answer) && answer == acknowledgement;
}

void InstanceChannel::onNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readMessage(socket); });
        readMessage(socket);
    }
}

void InstanceChannel::readMessage(QLocalSocket* socket)
{
    QByteArray buffer = socket->property(bufferProperty).toByteArray() + socket->readAll();
    if (buffer.size() < 4) {
        socket->setProperty(bufferProperty, buffer);
        return;
    }
    QDataStream stream(buffer);
    stream.setByteOrder(QDataStream::BigEndian);
    quint32 length = 0;
    stream >> length;
    if (length > maximumMessageBytes) {
        socket->abort();
        return;
    }
    if (quint32(buffer.size() - 4) < length) {
        socket->setProperty(bufferProperty, buffer);
        return;
    }
    socket->setProperty(bufferProperty, QVariant());
    disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
    const QString message = QString::fromUtf8(buffer.mid(4, int(length)));
    socket->putChar(acknowledgement);
    socket->flush();
    socket->disconnectFromServer();
    emit messageReceived(message);
}
