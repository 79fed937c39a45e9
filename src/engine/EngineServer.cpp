#include "engine/EngineServer.h"

#include "core/AppInfo.h"
#include "core/Database.h"
#include "engine/EngineLog.h"

#include <QTcpSocket>

using namespace EngineFrames;

namespace {
QString textRef(qint32 number) {
    return QStringLiteral("$%1").arg(number);
}
} // namespace

EngineServer::EngineServer(QString databasePath, EngineLog& log, QObject* parent)
    : QObject(parent), m_pass(databasePath), m_log(log), m_dbPath(databasePath) {
    connect(&m_server, &QTcpServer::newConnection, this, &EngineServer::accept);
    connect(&m_pass, &IndexPass::progressChanged, this, &EngineServer::onProgress);
    connect(&m_pass, &IndexPass::finished, this, &EngineServer::onFinished);
    m_idle.setSingleShot(true);
    connect(&m_idle, &QTimer::timeout, this, [this] {
        if (m_sessions.isEmpty() && !m_pass.running()) emit idleTimeout();
    });
}

EngineServer::~EngineServer() {
    m_pass.cancel();
}

bool EngineServer::listen(quint16 port) {
    return m_server.listen(QHostAddress::LocalHost, port);
}

void EngineServer::setIdleStop(int seconds) {
    m_idle.setInterval(seconds * 1000);
    updateIdleTimer();
}

void EngineServer::updateIdleTimer() {
    if (m_idle.interval() > 0 && m_sessions.isEmpty() && !m_pass.running())
        m_idle.start();
    else
        m_idle.stop();
}

void EngineServer::accept() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        // Bound to the loopback address, but a client from elsewhere is never served.
        if (!socket->peerAddress().isLoopback()) {
            m_log.write(
                QStringLiteral("refused a client from %1").arg(socket->peerAddress().toString()));
            socket->abort();
            socket->deleteLater();
            continue;
        }
        m_sessions.insert(socket, Session{});
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onData(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_sessions.remove(socket);
            socket->deleteLater();
            updateIdleTimer();
        });
        updateIdleTimer();
    }
}

void EngineServer::onData(QTcpSocket* socket) {
    auto it = m_sessions.find(socket);
    if (it == m_sessions.end()) return;
    it->buffer.append(socket->readAll());
    for (const QString& frame : it->buffer.takeFrames())
        onFrame(socket, frame);
}

void EngineServer::onFrame(QTcpSocket* socket, const QString& frame) {
    if (frame == Handshake) {
        send(socket, HandshakeReply);
        send(socket, versionMessage(mainMod::AppVersion()));
    } else if (frame == AskState) {
        send(socket, stateMessage(m_state, m_stateText));
    } else if (frame == StartPass || frame == ForcedStartPass) {
        const bool forced = frame == ForcedStartPass;
        // A whole pass that already runs is the answer to a second start; one
        // over a few changed folders is followed by a whole one.
        if (!startPass({}, forced,
                       forced ? QStringLiteral("forced start") : QStringLiteral("start"))) {
            if (!m_passWhole) m_pendingWhole = true;
            send(socket, stateMessage(m_state, m_stateText));
        }
    } else if (frame == CancelPass) {
        if (m_pass.running()) {
            m_log.write(QStringLiteral("cancel asked"));
            m_pass.cancel();
        }
    } else {
        m_log.write(QStringLiteral("ignored a frame: %1").arg(frame.left(80)));
    }
}

bool EngineServer::startPass(const QStringList& folders, bool rereadAll, const QString& why) {
    if (!m_pass.start(folders, rereadAll)) return false;
    m_passWhole = folders.isEmpty();
    m_log.write(
        folders.isEmpty()
            ? QStringLiteral("pass started (%1)").arg(why)
            : QStringLiteral("pass started (%1): %2").arg(why, folders.join(QStringLiteral(", "))));
    updateIdleTimer();
    setState(EngineScanning, textRef(TextScanning));
    broadcast(progressMessage(0));
    return true;
}

void EngineServer::send(QTcpSocket* socket, const QString& message) {
    socket->write(encode(message));
}

void EngineServer::broadcast(const QString& message) {
    for (auto it = m_sessions.cbegin(); it != m_sessions.cend(); ++it)
        send(it.key(), message);
}

void EngineServer::setState(qint32 state, const QString& text) {
    m_state = state;
    m_stateText = text;
    broadcast(stateMessage(state, text));
}

void EngineServer::onProgress(int percent) {
    broadcast(progressMessage(percent));
}

void EngineServer::onFinished(const ScanCounts& counts, const QString& error) {
    QString text = textRef(TextDone);
    if (!error.isEmpty()) {
        m_log.write(QStringLiteral("pass failed: %1").arg(error));
        text = textRef(TextFailed);
    } else if (counts.outcome == ScanCancelled) {
        text = textRef(TextCancelled);
    } else if (counts.outcome != ScanDone) {
        text = textRef(TextFailed);
    }
    m_log.write(
        QStringLiteral("pass ended: %1 checked, %2 added, %3 updated, %4 removed, outcome %5")
            .arg(counts.seen)
            .arg(counts.added)
            .arg(counts.updated)
            .arg(counts.removed)
            .arg(counts.outcome));
    // The state goes first: a client stops listening to states at the report.
    setState(EngineIdle, text);
    broadcast(reportMessage(counts.seen, counts.added, counts.updated, counts.removed));
    updateIdleTimer();
    emit passFinished(counts);
    // Media folders may have been added or removed since.
    reloadWatchedFolders();
    startPending();
}

void EngineServer::watchFolders(bool on) {
    if (!on) {
        delete m_watcher;
        m_watcher = nullptr;
        return;
    }
    if (m_watcher) return;
    m_watcher = new FolderWatcher(this);
    connect(m_watcher, &FolderWatcher::changed, this, &EngineServer::onFoldersChanged);
    connect(m_watcher, &FolderWatcher::rescanDue, this, [this] {
        m_pendingWhole = true;
        startPending();
    });
    reloadWatchedFolders();
}

void EngineServer::reloadWatchedFolders() {
    if (!m_watcher) return;
    QStringList roots;
    if (Result<db::Database> d = db::Database::open(m_dbPath, db::Database::Mode::ReadOnly)) {
        if (Result<db::Recordset> r =
                d.value().prepare(QStringLiteral("select path from MMFOLDERS order by path"))) {
            while (r.value().next())
                roots << r.value().text(0);
        }
    }
    if (roots == m_watcher->roots()) return;
    m_watcher->setRoots(roots);
    if (m_watcher->overLimit())
        m_log.write(QStringLiteral("too many folders to watch: rescanning every %1 s instead")
                        .arg(FolderWatcher::RescanMs / 1000));
    else
        m_log.write(QStringLiteral("watching %1 folders under %2 media folders")
                        .arg(m_watcher->watchCount())
                        .arg(roots.size()));
}

void EngineServer::onFoldersChanged(const QStringList& folders) {
    for (const QString& f : folders)
        m_pendingFolders.insert(f);
    startPending();
}

// A burst is one pass; changes during a pass wait for its end.
void EngineServer::startPending() {
    if (m_pass.running() || (!m_pendingWhole && m_pendingFolders.isEmpty())) return;
    QStringList folders;
    if (!m_pendingWhole) {
        folders = QStringList(m_pendingFolders.cbegin(), m_pendingFolders.cend());
        folders.sort();
    }
    const QString why = m_pendingWhole ? QStringLiteral("rescan") : QStringLiteral("changes");
    m_pendingWhole = false;
    m_pendingFolders.clear();
    startPass(folders, false, why);
}
