// The engine's frames: padding, cutting the byte stream into frames, and what
// each frame means to a client.
#include "engine/EngineFrames.h"

#include <gtest/gtest.h>

using namespace EngineFrames;

namespace {

TEST(EngineFrames, EncodePadsWithNulsAndCutsLongText) {
    const QByteArray f = encode("[handshake]");
    ASSERT_EQ(f.size(), FrameSize);
    EXPECT_EQ(f.left(11), QByteArray("[handshake]"));
    EXPECT_EQ(f.count('\0'), FrameSize - 11);
    EXPECT_EQ(encode(QString(3000, QLatin1Char('x'))).size(), FrameSize);
    // Single-byte characters: "é" is one byte, as Windows-1252 has it.
    EXPECT_EQ(encode("é").at(0), '\xE9');
}

TEST(EngineFrames, BufferCutsFramesAcrossArrivals) {
    FrameBuffer b;
    // Two frames in one chunk come out once each, in order.
    b.append(encode("one") + encode("two"));
    EXPECT_EQ(b.takeFrames(), (QStringList{"one", "two"}));
    EXPECT_TRUE(b.takeFrames().isEmpty());

    // One frame over three chunks comes out when its last byte is there.
    const QByteArray f = encode(">[progress]=42");
    b.append(f.left(5));
    EXPECT_TRUE(b.takeFrames().isEmpty());
    b.append(f.mid(5, 600));
    EXPECT_TRUE(b.takeFrames().isEmpty());
    b.append(f.mid(605) + encode("next").left(3));
    EXPECT_EQ(b.takeFrames(), QStringList{">[progress]=42"});
    EXPECT_EQ(b.pending(), 3);

    // A frame ends at its first NUL: what follows is ignored.
    FrameBuffer c;
    QByteArray junk = encode("[backtoyou]");
    junk.replace(12, 4, "junk");
    c.append(junk);
    EXPECT_EQ(c.takeFrames(), QStringList{"[backtoyou]"});
}

TEST(EngineFrames, LeadingNumber) {
    const std::pair<const char*, int> cases[] = {{"42", 42}, {" 7abc", 7}, {"-3", -3},
                                                 {"abc", 0}, {"", 0},      {"99999999999", 0}};
    for (const auto& [text, number] : cases)
        EXPECT_EQ(leadingNumber(text), number) << text;
}

// Each frame is read by its exact, case-sensitive prefix.
TEST(EngineFrames, MessagesByPrefix) {
    using K = EngineMessage;
    const struct {
        const char* frame;
        EngineMessage::Kind kind;
        int number;
        const char* text;
    } cases[] = {
        {"[backtoyou]", K::HandshakeDone, 0, ""},
        {"[backtoyou]x", K::Ignored, 0, ""}, // the reply must be the whole frame
        {">[version]=1.2.3", K::Version, 0, "1.2.3"},
        {">[state]=2|Scanning", K::State, 2, "Scanning"},
        {">[state]=0", K::State, 0, ""},
        {">[state]=", K::Ignored, 0, ""},    // an empty value changes nothing
        {">[state]=3|a|b", K::State, 3, ""}, // three parts: a number, no text
        {">[state]=1|$654", K::State, 1, "$654"},
        {">[State]=1", K::Ignored, 0, ""},
        {"[state]=1", K::Ignored, 0, ""},
        {">[progress]", K::Ignored, 0, ""},
        {">[progress]=55.5", K::Progress, 55, ""},
        {"hello", K::Ignored, 0, ""},
    };
    for (const auto& c : cases) {
        const EngineMessage m = parseEngineFrame(c.frame);
        EXPECT_EQ(m.kind, c.kind) << c.frame;
        EXPECT_EQ(m.number, c.number) << c.frame;
        EXPECT_EQ(m.text, c.text) << c.frame;
    }
}

TEST(EngineFrames, ReportNeedsExactlyEightFields) {
    const EngineMessage r = parseEngineFrame(">[report]=a|10|b|2|c|3|d|4");
    EXPECT_EQ(r.kind, EngineMessage::Report);
    EXPECT_EQ(r.counts, (std::array<qint32, 4>{10, 2, 3, 4}));
    EXPECT_EQ(parseEngineFrame(">[report]=a|10|b|2|c|3|d").kind, EngineMessage::Ignored);
    EXPECT_EQ(parseEngineFrame(">[report]=a|10|b|2|c|3|d|4|e").kind, EngineMessage::Ignored);
    EXPECT_EQ(parseEngineFrame(">[report]=").kind, EngineMessage::Ignored);
    // What the engine sends reads back.
    EXPECT_EQ(parseEngineFrame(reportMessage(5, 6, 7, 8)).counts,
              (std::array<qint32, 4>{5, 6, 7, 8}));
}

} // namespace
