// The engine's frames: padding, cutting the byte stream into frames, and what
// each frame means to a client.
#include "engine/EngineFrames.h"

#include <gtest/gtest.h>

using namespace EngineFrames;

namespace {

TEST(EngineFrames, EncodePadsWithNulsAndCutsLongText) {
    const QByteArray f = encode(QStringLiteral("[handshake]"));
    ASSERT_EQ(f.size(), FrameSize);
    EXPECT_EQ(f.left(11), QByteArray("[handshake]"));
    EXPECT_EQ(f.count('\0'), FrameSize - 11);
    EXPECT_EQ(encode(QString(3000, QLatin1Char('x'))).size(), FrameSize);
    // Single-byte characters: "é" is one byte, as Windows-1252 has it.
    EXPECT_EQ(encode(QStringLiteral("é")).at(0), '\xE9');
}

TEST(EngineFrames, BufferCutsFramesAcrossArrivals) {
    FrameBuffer b;
    // Two frames in one chunk come out once each, in order.
    b.append(encode(QStringLiteral("one")) + encode(QStringLiteral("two")));
    EXPECT_EQ(b.takeFrames(), (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
    EXPECT_TRUE(b.takeFrames().isEmpty());

    // One frame over three chunks comes out when its last byte is there.
    const QByteArray f = encode(QStringLiteral(">[progress]=42"));
    b.append(f.left(5));
    EXPECT_TRUE(b.takeFrames().isEmpty());
    b.append(f.mid(5, 600));
    EXPECT_TRUE(b.takeFrames().isEmpty());
    b.append(f.mid(605) + encode(QStringLiteral("next")).left(3));
    EXPECT_EQ(b.takeFrames(), QStringList{QStringLiteral(">[progress]=42")});
    EXPECT_EQ(b.pending(), 3);
}

TEST(EngineFrames, FrameIsCutAtItsFirstNul) {
    FrameBuffer b;
    QByteArray f = encode(QStringLiteral("[backtoyou]"));
    f.replace(12, 4, "junk"); // after the first NUL: ignored
    b.append(f);
    EXPECT_EQ(b.takeFrames(), QStringList{QStringLiteral("[backtoyou]")});
}

TEST(EngineFrames, LeadingNumber) {
    EXPECT_EQ(leadingNumber(QStringLiteral("42")), 42);
    EXPECT_EQ(leadingNumber(QStringLiteral(" 7abc")), 7);
    EXPECT_EQ(leadingNumber(QStringLiteral("-3")), -3);
    EXPECT_EQ(leadingNumber(QStringLiteral("abc")), 0);
    EXPECT_EQ(leadingNumber(QString()), 0);
    EXPECT_EQ(leadingNumber(QStringLiteral("99999999999")), 0);
}

TEST(EngineFrames, HandshakeAndVersion) {
    EXPECT_EQ(parseEngineFrame(QStringLiteral("[backtoyou]")).kind, EngineMessage::HandshakeDone);
    // The reply must be the whole frame.
    EXPECT_EQ(parseEngineFrame(QStringLiteral("[backtoyou]x")).kind, EngineMessage::Ignored);
    const EngineMessage v = parseEngineFrame(QStringLiteral(">[version]=1.2.3"));
    EXPECT_EQ(v.kind, EngineMessage::Version);
    EXPECT_EQ(v.text, QStringLiteral("1.2.3"));
}

TEST(EngineFrames, StateValues) {
    EngineMessage m = parseEngineFrame(QStringLiteral(">[state]=2|Scanning"));
    EXPECT_EQ(m.kind, EngineMessage::State);
    EXPECT_EQ(m.number, 2);
    EXPECT_EQ(m.text, QStringLiteral("Scanning"));
    m = parseEngineFrame(QStringLiteral(">[state]=0"));
    EXPECT_EQ(m.kind, EngineMessage::State);
    EXPECT_EQ(m.number, 0);
    EXPECT_TRUE(m.text.isEmpty());
    // An empty value changes nothing.
    EXPECT_EQ(parseEngineFrame(QStringLiteral(">[state]=")).kind, EngineMessage::Ignored);
    // Three parts: the whole value is read as a number, with no text.
    m = parseEngineFrame(QStringLiteral(">[state]=3|a|b"));
    EXPECT_EQ(m.number, 3);
    EXPECT_TRUE(m.text.isEmpty());
    m = parseEngineFrame(QStringLiteral(">[state]=1|$654"));
    EXPECT_EQ(m.text, QStringLiteral("$654"));
}

TEST(EngineFrames, PrefixesAreExactAndCaseSensitive) {
    EXPECT_EQ(parseEngineFrame(QStringLiteral(">[State]=1")).kind, EngineMessage::Ignored);
    EXPECT_EQ(parseEngineFrame(QStringLiteral("[state]=1")).kind, EngineMessage::Ignored);
    EXPECT_EQ(parseEngineFrame(QStringLiteral(">[progress]")).kind, EngineMessage::Ignored);
    EXPECT_EQ(parseEngineFrame(QStringLiteral("hello")).kind, EngineMessage::Ignored);
    const EngineMessage p = parseEngineFrame(QStringLiteral(">[progress]=55.5"));
    EXPECT_EQ(p.kind, EngineMessage::Progress);
    EXPECT_EQ(p.number, 55);
}

TEST(EngineFrames, ReportNeedsExactlyEightFields) {
    const EngineMessage r = parseEngineFrame(QStringLiteral(">[report]=a|10|b|2|c|3|d|4"));
    EXPECT_EQ(r.kind, EngineMessage::Report);
    EXPECT_EQ(r.counts, (std::array<qint32, 4>{10, 2, 3, 4}));
    EXPECT_EQ(parseEngineFrame(QStringLiteral(">[report]=a|10|b|2|c|3|d")).kind,
              EngineMessage::Ignored);
    EXPECT_EQ(parseEngineFrame(QStringLiteral(">[report]=a|10|b|2|c|3|d|4|e")).kind,
              EngineMessage::Ignored);
    EXPECT_EQ(parseEngineFrame(QStringLiteral(">[report]=")).kind, EngineMessage::Ignored);
    // What the engine sends reads back.
    EXPECT_EQ(parseEngineFrame(reportMessage(5, 6, 7, 8)).counts,
              (std::array<qint32, 4>{5, 6, 7, 8}));
}

} // namespace
