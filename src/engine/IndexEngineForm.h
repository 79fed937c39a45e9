#pragma once
// The client of the indexing engine: one TCP connection to 127.0.0.1 at the
// engine's port, the framed protocol, and the engine's start when none runs.
// Every wait yields to the event loop with a fixed limit, so the caller's
// window keeps working; all of it runs on the thread that owns the object.
#include "engine/EngineFrames.h"

#include <QObject>
#include <QTcpSocket>

#include <functional>

class IndexEngineForm : public QObject {
    Q_OBJECT
public:
    static constexpr int WaitMs = 5000; // handshake, state reply, send slot, engine start

    explicit IndexEngineForm(QObject* parent = nullptr);
    ~IndexEngineForm() override; // closes the connection

    bool NotifyState = false;
    bool NotifyReport = false;
    bool NotifyProgress = false;

    // Connected and the handshake answered.
    bool Connected() const;
    // Asks the engine for its state; true when it is busy, not connected, or
    // gives no answer within 5 s.
    bool Busy();
    bool Start(bool force);
    bool Cancel();
    // Connects, starting the engine when none runs.
    bool Connect();
    // Connects to a running engine only.
    bool ConnectRunning();

    // Where the engine program is looked for (default: the application
    // folder) and the data folder it is started for (default: its own).
    void setProgramFolder(const QString& folder) { m_programFolder = folder; }
    void setDataFolder(const QString& folder) { m_dataFolder = folder; }
    // Overrides the port setting (0: the setting).
    void setPort(quint16 port) { m_port = port; }
    // The state number of the last state frame; -1 while a query waits.
    qint16 LastState() const { return m_lastState; }
    void Close();

signals:
    void IndexProgressChanged(qint16 percent);
    void IndexStateChanged(qint16 state, const QString& text);
    void IndexCompleted(qint32 checked, qint32 added, qint32 updated, qint32 removed);

private:
    bool connectAndShake();
    bool startEngine();
    bool send(const QString& message);
    void onData();
    void dispatch(const QString& frame);
    QString dataFolder() const;

    QTcpSocket ws;
    EngineFrames::FrameBuffer m_buffer;
    bool m_handshake = false;
    bool m_sending = false;
    qint16 m_lastState = 0;
    QString m_programFolder;
    QString m_dataFolder;
    quint16 m_port = 0;
};

// Yields to the event loop until the condition holds or the time is up;
// returns the condition.
bool YieldUntil(const std::function<bool()>& done, int milliseconds);
