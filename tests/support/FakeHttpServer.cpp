#include "support/FakeHttpServer.h"

#include <QHostAddress>
#include <QTcpSocket>

FakeHttpServer::FakeHttpServer() {
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        }
    });
}

QString FakeHttpServer::url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
}

void FakeHttpServer::script(const QString& path, const Reply& reply) {
    m_replies.insert(path, reply);
}

void FakeHttpServer::serve(QTcpSocket* socket) {
    // Keep what arrived until the head is complete.
    QByteArray head = socket->property("head").toByteArray() + socket->readAll();
    if (!head.contains("\r\n\r\n")) {
        socket->setProperty("head", head);
        return;
    }
    socket->setProperty("head", QByteArray());
    const QList<QByteArray> first = head.left(head.indexOf("\r\n")).split(' ');
    const QString target = first.size() > 1 ? QString::fromUtf8(first[1]) : QString();
    m_requests << target;
    const QString path = target.section(QLatin1Char('?'), 0, 0);
    const Reply reply = m_replies.value(path, Reply{404, {}, {}, false});
    if (reply.silent) return;
    QByteArray out = "HTTP/1.1 " + QByteArray::number(reply.status) + " Scripted\r\n";
    out += "Content-Type: text/plain; charset=utf-8\r\n";
    if (!reply.location.isEmpty()) out += "Location: " + reply.location + "\r\n";
    out += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    out += "Connection: close\r\n\r\n" + reply.body;
    socket->write(out);
    socket->disconnectFromHost();
}
