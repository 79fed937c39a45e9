#pragma once
// The engine's wire format, shared by the engine and its clients: every
// message is one frame of exactly 1024 single-byte (Windows-1252) characters,
// the text followed by NULs. TCP cuts the stream anywhere, so receivers keep
// what arrived until a whole frame is there.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <limits>

namespace EngineFrames {

constexpr int FrameSize = 1024;

// Client to engine.
inline const QString Handshake = QStringLiteral("[handshake]");
inline const QString AskState = QStringLiteral("<[state]");
inline const QString StartPass = QStringLiteral(">[start]");
inline const QString ForcedStartPass = QStringLiteral(">[forced-start]");
inline const QString CancelPass = QStringLiteral(">[cancel]");
// Engine to client.
inline const QString HandshakeReply = QStringLiteral("[backtoyou]");
inline const QString VersionPrefix = QStringLiteral(">[version]=");
inline const QString StatePrefix = QStringLiteral(">[state]=");
inline const QString ProgressPrefix = QStringLiteral(">[progress]=");
inline const QString ReportPrefix = QStringLiteral(">[report]=");

// The frame of a message; text longer than a frame is cut.
QByteArray encode(const QString& text);

// The leading decimal number of a text (after blanks, with an optional sign);
// 0 when the text does not start with one.
qint32 leadingNumber(const QString& text);

// Collects arrived bytes and hands out whole frames, each cut at its first NUL.
class FrameBuffer {
public:
    void append(const QByteArray& bytes) { m_pending.append(bytes); }
    // The whole frames received so far, in order; a partial one stays.
    QStringList takeFrames();
    qsizetype pending() const { return m_pending.size(); }
    void clear() { m_pending.clear(); }

private:
    QByteArray m_pending;
};

// What an engine frame means to a client.
struct EngineMessage {
    enum Kind { Ignored, HandshakeDone, Version, State, Progress, Report };
    Kind kind = Ignored;
    qint32 number = 0;              // state or percent
    QString text;                   // state text, version
    std::array<qint32, 4> counts{}; // report: fields 2, 4, 6 and 8
};

// Reads one frame (already cut at its NUL) by its exact, case-sensitive
// prefix. A state or report with an empty value, and a report without exactly
// eight fields, are Ignored.
EngineMessage parseEngineFrame(const QString& frame);

// The engine's side of the same messages.
QString stateMessage(qint32 state, const QString& text = QString());
QString progressMessage(qint32 percent);
QString reportMessage(qint32 checked, qint32 added, qint32 updated, qint32 removed);
QString versionMessage(const QString& version);

} // namespace EngineFrames
