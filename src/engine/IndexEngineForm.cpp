#include "engine/IndexEngineForm.h"

#include "core/AppSettings.h"
#include "core/LibraryPaths.h"
#include "core/PathHelpers.h"
#include "engine/EngineInstance.h"
#include "engine/modService.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <cerrno>
#include <csignal>

using namespace EngineFrames;

bool YieldUntil(const std::function<bool()>& done, int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    // The timer wakes the loop when no event comes.
    QTimer tick;
    tick.start(10);
    while (!done()) {
        const qint64 left = milliseconds - clock.elapsed();
        if (left <= 0) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

IndexEngineForm::IndexEngineForm(QObject* parent) : QObject(parent) {
    connect(&ws, &QTcpSocket::readyRead, this, &IndexEngineForm::onData);
    connect(&ws, &QTcpSocket::bytesWritten, this, [this] {
        if (ws.bytesToWrite() == 0) m_sending = false;
    });
    connect(&ws, &QTcpSocket::disconnected, this, [this] {
        m_handshake = false;
        m_sending = false;
    });
}

IndexEngineForm::~IndexEngineForm() {
    Close();
}

void IndexEngineForm::Close() {
    if (ws.state() != QAbstractSocket::UnconnectedState) ws.abort();
    m_handshake = false;
    m_sending = false;
    m_buffer.clear();
}

bool IndexEngineForm::Connected() const {
    return ws.state() == QAbstractSocket::ConnectedState && m_handshake;
}

bool IndexEngineForm::send(const QString& message) {
    const QByteArray frame = encode(message);
    // One frame in flight at a time; a message that cannot get its turn is dropped.
    if (!YieldUntil([this] { return !m_sending; }, WaitMs)) return false;
    if (ws.state() != QAbstractSocket::ConnectedState) return false;
    m_sending = true;
    ws.write(frame);
    YieldUntil([this] { return !m_sending || ws.state() != QAbstractSocket::ConnectedState; },
               WaitMs);
    return true;
}

void IndexEngineForm::onData() {
    const QByteArray bytes = ws.readAll();
    if (ws.state() != QAbstractSocket::ConnectedState) return;
    m_buffer.append(bytes);
    for (const QString& frame : m_buffer.takeFrames())
        dispatch(frame);
}

void IndexEngineForm::dispatch(const QString& frame) {
    const EngineMessage m = parseEngineFrame(frame);
    switch (m.kind) {
    case EngineMessage::HandshakeDone:
        m_handshake = true;
        break;
    case EngineMessage::State:
        m_lastState = static_cast<qint16>(m.number);
        if (NotifyState) emit IndexStateChanged(static_cast<qint16>(m.number), m.text);
        break;
    case EngineMessage::Progress:
        if (NotifyProgress) emit IndexProgressChanged(static_cast<qint16>(m.number));
        break;
    case EngineMessage::Report:
        if (NotifyReport) emit IndexCompleted(m.counts[0], m.counts[1], m.counts[2], m.counts[3]);
        break;
    case EngineMessage::Version:
    case EngineMessage::Ignored:
        break;
    }
}

bool IndexEngineForm::Busy() {
    if (!Connected()) return true;
    m_lastState = -1;
    send(AskState);
    YieldUntil([this] { return m_lastState != -1; }, WaitMs);
    return m_lastState == -1 || m_lastState >= 1;
}

bool IndexEngineForm::Start(bool force) {
    if (!Connected()) return false;
    send(force ? ForcedStartPass : StartPass);
    return true;
}

bool IndexEngineForm::Cancel() {
    if (!Connected()) return false;
    send(CancelPass);
    return true;
}

bool IndexEngineForm::connectAndShake() {
    Close();
    const quint16 port = m_port ? m_port : IndexingEnginePort();
    ws.connectToHost(QHostAddress(QHostAddress::LocalHost), port);
    YieldUntil(
        [this] {
            const auto s = ws.state();
            return s == QAbstractSocket::ConnectedState || s == QAbstractSocket::UnconnectedState ||
                   s == QAbstractSocket::ClosingState;
        },
        WaitMs);
    m_handshake = false;
    if (ws.state() != QAbstractSocket::ConnectedState) {
        Close();
        return false;
    }
    send(Handshake);
    // A peer that hangs up (not an engine, or one shutting down) is not waited for.
    if (!YieldUntil([this] { return m_handshake || ws.state() != QAbstractSocket::ConnectedState; },
                    WaitMs) ||
        !m_handshake)
        Close();
    return m_handshake;
}

QString IndexEngineForm::dataFolder() const {
    return m_dataFolder.isEmpty() ? mainMod::DataFolder()
                                  : QDir(m_dataFolder).absolutePath() + QLatin1Char('/');
}

bool IndexEngineForm::ConnectRunning() {
    return connectAndShake();
}

// Without a service manager: "/install" (which registers nothing here), then
// the program itself, detached so that it outlives this client.
bool IndexEngineForm::startEngine() {
    const QString folder = m_programFolder.isEmpty() ? mainMod::AppFolder() : m_programFolder;
    const QString program = QDir(folder).filePath(QStringLiteral("qvrindex"));
    if (!QFileInfo(program).isExecutable()) return false;
    const QString data = dataFolder();
    qint64 pid = 0;
    if (!EngineInstance::isRunning(data)) {
        if (modService::IsNTFamily()) {
            bool installed = false, running = false;
            modService::QueryService(modService::ServiceName, installed, running);
            if (installed && !running) modService::StartService(modService::ServiceName);
        } else {
            QProcess::execute(program, {QStringLiteral("/install")});
            YieldUntil([] { return false; }, 500);
            QStringList args;
            if (!m_dataFolder.isEmpty()) args << QStringLiteral("--data-folder") << data;
            // The engine outlives this process: it must not hold its terminal or
            // output pipes open (it writes its own log).
            QProcess engine;
            engine.setProgram(program);
            engine.setArguments(args);
            engine.setStandardInputFile(QProcess::nullDevice());
            engine.setStandardOutputFile(QProcess::nullDevice());
            engine.setStandardErrorFile(QProcess::nullDevice());
            if (!engine.startDetached(&pid)) return false;
        }
    }
    // Running means listening: the engine names its address in the lock file then.
    // An engine that ended (its port taken, its folder unwritable) is not waited for.
    bool ended = false;
    const bool listening = YieldUntil(
        [&data, &ended, pid] {
            if (EngineInstance::holder(data).contains(QLatin1String("listening"))) return true;
            ended = pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
            return ended;
        },
        WaitMs);
    return listening && !ended;
}

bool IndexEngineForm::Connect() {
    if (connectAndShake()) return true;
    if (!startEngine()) return false;
    return connectAndShake();
}
