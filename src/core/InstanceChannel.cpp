#include "core/InstanceChannel.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

#include <unistd.h>

namespace {

constexpr quint32 Magic = 0x51564931; // "QVI1"
constexpr quint8 Taken = 1;

} // namespace

InstanceChannel::InstanceChannel(const QString& dataFolder, QObject* parent)
    : QObject(parent), m_path(SocketPath(dataFolder)) {}

InstanceChannel::~InstanceChannel() = default;

QString InstanceChannel::SocketPath(const QString& dataFolder) {
    const QString folder = QDir::cleanPath(QDir(dataFolder).absolutePath());
    const QByteArray key = QByteArray::number(::getuid()) + '\0' + folder.toUtf8();
    const QString name =
        QStringLiteral("quavero-") +
        QString::fromLatin1(
            QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16)) +
        QStringLiteral(".sock");
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (base.isEmpty() || !QDir(base).exists()) base = QDir::tempPath();
    return QDir(base).filePath(name);
}

bool InstanceChannel::HandOver(const QStringList& files, int timeoutMs) const {
    QLocalSocket socket;
    socket.connectToServer(m_path);
    if (!socket.waitForConnected(timeoutMs)) return false;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << Magic << files;
    socket.write(message);
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    // The window answers once it has the list; a socket that accepts and says
    // nothing is not a window of ours.
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(timeoutMs)) return false;
    char answer = 0;
    return socket.getChar(&answer) && static_cast<quint8>(answer) == Taken;
}

bool InstanceChannel::Listen() {
    if (m_server) return true;
    // Listening with access options puts the socket in place by a rename, which
    // would take the name from a window that runs: it is asked first.
    QLocalSocket probe;
    probe.connectToServer(m_path);
    if (probe.waitForConnected(500)) return false;
    QLocalServer::removeServer(m_path); // a socket left by a window that ended
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(m_path)) {
        delete server;
        return false;
    }
    m_server = server;
    connect(m_server, &QLocalServer::newConnection, this, &InstanceChannel::accept);
    return true;
}

bool InstanceChannel::isListening() const {
    return m_server && m_server->isListening();
}

void InstanceChannel::accept() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QPointer<QLocalSocket> guard(socket);
        connect(socket, &QLocalSocket::readyRead, this, [this, guard] {
            if (!guard) return;
            QDataStream in(guard.data());
            in.startTransaction();
            quint32 magic = 0;
            QStringList files;
            in >> magic >> files;
            if (!in.commitTransaction()) {
                // Incomplete so far; anything beyond a reasonable size is not ours.
                if (guard->bytesAvailable() > (1 << 20)) guard->abort();
                return;
            }
            if (magic != Magic) {
                guard->abort();
                return;
            }
            guard->putChar(static_cast<char>(Taken));
            guard->flush();
            guard->disconnectFromServer();
            emit filesReceived(files);
        });
    }
}
