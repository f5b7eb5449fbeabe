#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

// A minimal HTTP server on 127.0.0.1 for network tests: it records the request line and the
// target of every request and answers each one as told. Tests never reach any other address.
class LocalHttpServer : public QObject
{
    Q_OBJECT
public:
    enum Answer {
        Ok,          // 200 with the body
        NotFound,    // 404
        ServerError, // 500
        Drop,        // close the connection without an answer
        Hold,        // keep the request open until release()
    };

    explicit LocalHttpServer(QObject* parent = nullptr);

    // Listens on a free port of 127.0.0.1.
    bool listen();
    quint16 port() const;
    // "http://127.0.0.1:<port><path>"
    QString url(const QString& path = QStringLiteral("/")) const;

    // How the following requests are answered.
    void setAnswer(Answer answer, const QByteArray& body = QByteArray());
    // Answers every held request now.
    void release(Answer answer, const QByteArray& body = QByteArray());
    int heldCount() const;

    // "GET /?a=1 HTTP/1.1", in arrival order.
    QStringList requestLines() const;
    // "/?a=1", in arrival order.
    QStringList targets() const;
    // The body of each request (empty without one), in arrival order.
    QList<QByteArray> bodies() const;
    void clearRecords();

signals:
    void requestReceived(const QString& target);

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket* socket);
    void respond(QTcpSocket* socket, Answer answer, const QByteArray& body);

    QTcpServer m_server;
    Answer m_answer = Ok;
    QByteArray m_body;
    QHash<QTcpSocket*, QByteArray> m_partial;
    QList<QPointer<QTcpSocket>> m_held;
    QStringList m_requestLines;
    QList<QByteArray> m_bodies;
};
