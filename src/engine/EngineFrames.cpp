#include "engine/EngineFrames.h"

#include "core/Ansi.h"

namespace EngineFrames {

QByteArray encode(const QString& text) {
    QByteArray frame = Ansi::fromUnicode(text).left(FrameSize);
    frame.append(FrameSize - frame.size(), '\0');
    return frame;
}

qint32 leadingNumber(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    qint64 value = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
        value = value * 10 + (text[i].unicode() - '0');
        if (value > std::numeric_limits<qint32>::max()) return 0; // overflow: not a number
    }
    return static_cast<qint32>(negative ? -value : value);
}

QStringList FrameBuffer::takeFrames() {
    QStringList frames;
    qsizetype at = 0;
    for (; m_pending.size() - at >= FrameSize; at += FrameSize) {
        QByteArray frame = m_pending.mid(at, FrameSize);
        const qsizetype nul = frame.indexOf('\0');
        if (nul >= 0) frame.truncate(nul);
        frames.append(Ansi::toUnicode(frame));
    }
    m_pending.remove(0, at);
    return frames;
}

EngineMessage parseEngineFrame(const QString& frame) {
    EngineMessage m;
    const auto valueOf = [&frame] { return frame.mid(frame.indexOf(QLatin1Char('=')) + 1); };
    if (frame == HandshakeReply) {
        m.kind = EngineMessage::HandshakeDone;
    } else if (frame.left(11) == VersionPrefix) {
        m.kind = EngineMessage::Version;
        m.text = valueOf();
    } else if (frame.left(9) == StatePrefix) {
        const QString value = valueOf();
        if (value.isEmpty()) return m;
        m.kind = EngineMessage::State;
        const QStringList parts = value.split(QLatin1Char('|'));
        if (parts.size() == 2) {
            m.number = leadingNumber(parts[0]);
            m.text = parts[1];
        } else {
            m.number = leadingNumber(value);
        }
    } else if (frame.left(12) == ProgressPrefix) {
        m.kind = EngineMessage::Progress;
        m.number = leadingNumber(valueOf());
    } else if (frame.left(10) == ReportPrefix) {
        const QString value = valueOf();
        const QStringList parts = value.split(QLatin1Char('|'));
        if (value.isEmpty() || parts.size() != 8) return m;
        m.kind = EngineMessage::Report;
        for (int i = 0; i < 4; ++i)
            m.counts[i] = leadingNumber(parts[2 * i + 1]);
    }
    return m;
}

QString stateMessage(qint32 state, const QString& text) {
    return text.isEmpty() ? StatePrefix + QString::number(state)
                          : StatePrefix + QString::number(state) + QLatin1Char('|') + text;
}

QString progressMessage(qint32 percent) {
    return ProgressPrefix + QString::number(percent);
}

QString reportMessage(qint32 checked, qint32 added, qint32 updated, qint32 removed) {
    return ReportPrefix + QStringLiteral("checked|%1|added|%2|updated|%3|removed|%4")
                              .arg(checked)
                              .arg(added)
                              .arg(updated)
                              .arg(removed);
}

QString versionMessage(const QString& version) {
    return VersionPrefix + version;
}

} // namespace EngineFrames
