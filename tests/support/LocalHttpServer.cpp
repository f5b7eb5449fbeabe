#include "tests/support/LocalHttpServer.h"

#include <QHostAddress>
#include <QTcpSocket>

LocalHttpServer::LocalHttpServer(QObject* parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &LocalHttpServer::onNewConnection);
}

bool LocalHttpServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

quint16 LocalHttpServer::port() const
{
    return m_server.serverPort();
}

QString LocalHttpServer::url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
}

void LocalHttpServer::setAnswer(Answer answer, const QByteArray& body)
{
    m_answer = answer;
    m_body = body;
}

void LocalHttpServer::release(Answer answer, const QByteArray& body)
{
    const QList<QPointer<QTcpSocket>> held = m_held;
    m_held.clear();
    for (const QPointer<QTcpSocket>& socket : held) {
        if (socket)
            respond(socket, answer, body);
    }
}

int LocalHttpServer::heldCount() const
{
    return m_held.size();
}

QStringList LocalHttpServer::requestLines() const
{
    return m_requestLines;
}

QStringList LocalHttpServer::targets() const
{
    QStringList result;
    for (const QString& line : m_requestLines)
        result << line.section(QLatin1Char(' '), 1, 1);
    return result;
}

QList<QByteArray> LocalHttpServer::bodies() const
{
    return m_bodies;
}

void LocalHttpServer::clearRecords()
{
    m_requestLines.clear();
    m_bodies.clear();
}

void LocalHttpServer::onNewConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_partial.remove(socket);
            socket->deleteLater();
        });
    }
}

void LocalHttpServer::onReadyRead(QTcpSocket* socket)
{
    QByteArray& buffer = m_partial[socket];
    buffer += socket->readAll();
    // The head ends at the first empty line; a body follows when "Content-Length" announces one.
    // One request per connection is enough.
    const int end = buffer.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    int length = 0;
    for (const QByteArray& header : buffer.left(end).split('\n')) {
        if (header.toLower().startsWith("content-length:"))
            length = header.mid(15).trimmed().toInt();
    }
    if (buffer.size() < end + 4 + length)
        return;
    const QString line = QString::fromLatin1(buffer.left(buffer.indexOf("\r\n")));
    m_bodies << buffer.mid(end + 4, length);
    m_partial.remove(socket);
    m_requestLines << line;
    emit requestReceived(line.section(QLatin1Char(' '), 1, 1));
    if (m_answer == Hold)
        m_held << socket;
    else
        respond(socket, m_answer, m_body);
}

void LocalHttpServer::respond(QTcpSocket* socket, Answer answer, const QByteArray& body)
{
    QByteArray status;
    switch (answer) {
    case Ok:
        status = "200 OK";
        break;
    case NotFound:
        status = "404 Not Found";
        break;
    case ServerError:
        status = "500 Internal Server Error";
        break;
    case Drop:
        socket->abort();
        return;
    case Hold:
        m_held << socket;
        return;
    }
    const QByteArray content = answer == Ok ? body : status;
    socket->write("HTTP/1.1 " + status + "\r\nContent-Type: text/plain\r\nContent-Length: "
                  + QByteArray::number(content.size()) + "\r\nConnection: close\r\n\r\n" + content);
    socket->disconnectFromHost();
}
