#include "support/FakeCddbServer.h"

#include "core/Settings.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>

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
    mainMod::WriteSetting(QStringLiteral("CDDB\\Port"), QString::number(port()));
    mainMod::WriteSetting(QStringLiteral("CDDB\\Timeout"), QString::number(timeoutSeconds));
}

void FakeCddbServer::answer(const QString& commandPrefix, const Answer& answer) {
    m_answers.insert(commandPrefix, answer);
}

QStringList FakeCddbServer::commands() const {
    QStringList out;
    for (const Request& r : m_requests)
        out << r.command;
    return out;
}

QByteArray FakeCddbServer::exact(const QByteArray& matchLine) {
    return "200 " + matchLine + "\r\n";
}

QByteArray FakeCddbServer::inexact(const QList<QByteArray>& matchLines) {
    QByteArray out = "211 Found inexact matches, list follows (until terminating `.')\r\n";
    for (const QByteArray& line : matchLines)
        out += line + "\r\n";
    return out + ".\r\n";
}

QByteArray FakeCddbServer::noMatch() {
    return "202 No match found\r\n";
}

QByteArray FakeCddbServer::entry(const QByteArray& category, const QByteArray& discId,
                                 const QList<QByteArray>& lines) {
    QByteArray out = "210 " + category + ' ' + discId +
                     " CD database entry follows (until terminating `.')\r\n"
                     "# xmcd\r\n#\r\nDISCID=" +
                     discId + "\r\n";
    for (const QByteArray& line : lines)
        out += line + "\r\n";
    return out + "EXTD=\r\nPLAYORDER=\r\n.\r\n";
}

void FakeCddbServer::serve(QTcpSocket* socket) {
    QByteArray data = socket->property("data").toByteArray() + socket->readAll();
    const qsizetype headEnd = data.indexOf("\r\n\r\n");
    if (headEnd < 0) {
        socket->setProperty("data", data);
        return;
    }
    Request request;
    qsizetype length = 0;
    const QList<QByteArray> head = data.left(headEnd).split('\n');
    const QList<QByteArray> first = head.value(0).trimmed().split(' ');
    request.path = first.value(1);
    for (const QByteArray& line : head) {
        const qsizetype colon = line.indexOf(':');
        if (colon < 0) continue;
        const QByteArray name = line.left(colon).trimmed().toLower();
        if (name == "content-length") length = line.mid(colon + 1).trimmed().toLongLong();
        if (name == "content-type") request.contentType = line.mid(colon + 1).trimmed();
    }
    if (data.size() < headEnd + 4 + length) {
        socket->setProperty("data", data);
        return;
    }
    socket->setProperty("data", QByteArray());
    request.body = data.mid(headEnd + 4, length);
    for (const QByteArray& pair : request.body.split('&'))
        if (pair.startsWith("cmd=")) {
            QByteArray cmd = pair.mid(4);
            cmd.replace('+', ' ');
            request.command = QString::fromLatin1(QByteArray::fromPercentEncoding(cmd));
        }
    m_requests << request;

    Answer reply{"500 Unrecognized command.\r\n"};
    if (request.path != "/~cddb/cddb.cgi") reply = Answer{"Not found", 0, false, 404};
    qsizetype best = -1;
    for (auto it = m_answers.cbegin(); it != m_answers.cend(); ++it)
        if (request.command.startsWith(it.key()) && it.key().size() > best) {
            best = it.key().size();
            reply = it.value();
        }
    if (reply.hang) return;
    QByteArray out = "HTTP/1.1 " + QByteArray::number(reply.httpStatus) +
                     " Scripted\r\n"
                     "Content-Type: text/plain; charset=ISO-8859-1\r\n"
                     "Content-Length: " +
                     QByteArray::number(reply.text.size()) + "\r\nConnection: close\r\n\r\n" +
                     reply.text;
    QPointer<QTcpSocket> target(socket);
    QTimer::singleShot(reply.delayMs, this, [target, out] {
        if (!target) return;
        target->write(out);
        target->disconnectFromHost();
    });
}
