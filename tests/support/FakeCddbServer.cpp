#include "support/FakeCddbServer.h"

#include "core/Settings.h"

#include <QHostAddress>
#include <QTcpSocket>

FakeCddbServer::FakeCddbServer() {
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        }
    });
}

void FakeCddbServer::useInSettings(double timeoutSeconds) const {
    mainMod::WriteSetting(QStringLiteral("CDDB\\Server"), QStringLiteral("127.0.0.1"));
    mainMod::WriteSetting(QStringLiteral("CDDB\\Port"), QString::number(m_server.serverPort()));
    mainMod::WriteSetting(QStringLiteral("CDDB\\Timeout"), QString::number(timeoutSeconds));
}

QByteArray FakeCddbServer::inexact(const QList<QByteArray>& matchLines) {
    return "211 Found inexact matches, list follows\r\n" + matchLines.join("\r\n") + "\r\n.\r\n";
}

QByteArray FakeCddbServer::entry(const QByteArray& categoryAndId, const QList<QByteArray>& lines) {
    return "210 " + categoryAndId + " CD database entry follows\r\n# xmcd\r\n" +
           lines.join("\r\n") + "\r\nEXTD=\r\n.\r\n";
}

void FakeCddbServer::serve(QTcpSocket* socket) {
    const QByteArray data = socket->property("data").toByteArray() + socket->readAll();
    socket->setProperty("data", data);
    const qsizetype headEnd = data.indexOf("\r\n\r\n");
    const qsizetype lengthAt = data.toLower().indexOf("content-length:");
    if (headEnd < 0 || lengthAt < 0) return;
    const qsizetype length = data.mid(lengthAt + 15, data.indexOf('\r', lengthAt) - lengthAt - 15)
                                 .trimmed()
                                 .toLongLong();
    if (data.size() < headEnd + 4 + length) return;
    heads << data.left(headEnd);
    bodies << data.mid(headEnd + 4, length);
    QByteArray cmd = bodies.last().split('&').value(0).mid(4);
    commands << QString::fromLatin1(QByteArray::fromPercentEncoding(cmd.replace('+', ' ')));

    Answer reply{"500 Unrecognized command.\r\n"};
    if (!data.startsWith("POST /~cddb/cddb.cgi ")) reply = Answer{"Not found", false, 404};
    qsizetype best = -1;
    for (auto it = m_answers.cbegin(); it != m_answers.cend(); ++it)
        if (commands.last().startsWith(it.key()) && it.key().size() > best) {
            best = it.key().size();
            reply = it.value();
        }
    if (reply.hang) return;
    socket->write("HTTP/1.1 " + QByteArray::number(reply.httpStatus) +
                  " Scripted\r\nContent-Type: text/plain\r\nContent-Length: " +
                  QByteArray::number(reply.text.size()) + "\r\nConnection: close\r\n\r\n" +
                  reply.text);
    socket->disconnectFromHost();
}
