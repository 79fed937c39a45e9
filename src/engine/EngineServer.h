#pragma once
// The engine's service: listens on 127.0.0.1 only, speaks the framed protocol
// with any number of clients, runs one index pass at a time and tells every
// client its state, progress and report. Stops after an idle time without
// clients when one is set.
#include "engine/EngineFrames.h"
#include "engine/FolderWatcher.h"
#include "engine/IndexPass.h"

#include <QHash>
#include <QObject>
#include <QTcpServer>
#include <QTimer>

#include <functional>

class EngineLog;
class QTcpSocket;

// State numbers the engine sends; 1 or more means busy.
enum EngineState : qint32 { EngineIdle = 0, EngineScanning = 1 };

// Language texts of the engine's state lines.
enum EngineText : qint32 {
    TextScanning = 654,  // the media folders are being scanned
    TextCancelled = 655, // the pass was cancelled
    TextDone = 656,      // the pass is complete
    TextFailed = 657,    // the pass failed; the log says why
};

class EngineServer : public QObject {
    Q_OBJECT
public:
    EngineServer(QString databasePath, EngineLog& log, QObject* parent = nullptr);
    ~EngineServer() override;

    // Listens on 127.0.0.1 at the port.
    bool listen(quint16 port);
    QString errorString() const { return m_server.errorString(); }
    quint16 port() const { return m_server.serverPort(); }
    // 0: never stop for idleness.
    void setIdleStop(int seconds);

    // Starts a pass over some folders (empty: every media folder), as a start
    // frame would; false while one runs.
    bool startPass(const QStringList& folders, bool rereadAll, const QString& why);
    bool passRunning() const { return m_pass.running(); }
    // Watches the media folders and indexes what changes in them.
    void watchFolders(bool on);

signals:
    // The idle time passed with no client and no pass.
    void idleTimeout();
    void passFinished(const ScanCounts& counts);

private:
    struct Session {
        EngineFrames::FrameBuffer buffer;
    };
    void accept();
    void onData(QTcpSocket* socket);
    void onFrame(QTcpSocket* socket, const QString& frame);
    void send(QTcpSocket* socket, const QString& message);
    void broadcast(const QString& message);
    void setState(qint32 state, const QString& text);
    void onProgress(int percent);
    void onFinished(const ScanCounts& counts, const QString& error);
    void updateIdleTimer();
    void reloadWatchedFolders();
    void onFoldersChanged(const QStringList& folders);
    void startPending();

    QTcpServer m_server;
    IndexPass m_pass;
    EngineLog& m_log;
    QHash<QTcpSocket*, Session> m_sessions;
    qint32 m_state = EngineIdle;
    QString m_stateText;
    QTimer m_idle;
    QString m_dbPath;
    FolderWatcher* m_watcher = nullptr;
    // Passes asked for while one ran: changed folders, or a whole rescan.
    QSet<QString> m_pendingFolders;
    bool m_pendingWhole = false;
    bool m_passWhole = false; // the running pass covers every media folder
};
