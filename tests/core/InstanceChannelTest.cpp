// One window per library: hand-over between two starts on real local sockets.
#include "core/InstanceChannel.h"
#include "support/TestEnv.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <future>

#include <gtest/gtest.h>

namespace {

class InstanceChannelTest : public ::testing::Test {
protected:
    InstanceChannelTest() : runtime("XDG_RUNTIME_DIR", dir.path()) {}
    // HandOver blocks for the answer, so it runs beside the loop that answers.
    bool handOver(const InstanceChannel& channel, const QStringList& files) {
        auto result = std::async(std::launch::async, [&] { return channel.HandOver(files); });
        while (result.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
            QCoreApplication::processEvents();
        return result.get();
    }
    QTemporaryDir dir;
    ScopedEnv runtime;
};

TEST_F(InstanceChannelTest, SecondStartHandsItsFilesToTheRunningWindow) {
    InstanceChannel second(QStringLiteral("/music/lib"));
    EXPECT_FALSE(handOver(second, {QStringLiteral("/a.mp3")})) << "no window runs yet";

    InstanceChannel window(QStringLiteral("/music/lib/"));
    ASSERT_TRUE(window.Listen());
    EXPECT_TRUE(InstanceChannel::SocketPath("/music/lib").startsWith(dir.path()));
    QSignalSpy received(&window, &InstanceChannel::filesReceived);
    const QStringList files = {QStringLiteral("/m/é \"q\".mp3"), QStringLiteral("/m/b.wma")};
    EXPECT_TRUE(handOver(second, files));
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received.at(0).at(0).toStringList(), files);
    EXPECT_TRUE(handOver(second, {})) << "a plain second start just brings the window up";

    // Another library has its own window; a second listener on this one is refused.
    EXPECT_FALSE(handOver(InstanceChannel(QStringLiteral("/other/lib")), files));
    InstanceChannel rival(QStringLiteral("/music/lib"));
    EXPECT_FALSE(rival.Listen());
    EXPECT_TRUE(window.isListening());
}

TEST_F(InstanceChannelTest, SocketLeftByAWindowThatDiedIsReplaced) {
    const QString path = InstanceChannel::SocketPath(QStringLiteral("/lib"));
    QFile stale(path);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    InstanceChannel window(QStringLiteral("/lib"));
    EXPECT_TRUE(window.Listen());
    QSignalSpy received(&window, &InstanceChannel::filesReceived);
    EXPECT_TRUE(handOver(InstanceChannel(QStringLiteral("/lib")), {QStringLiteral("/x.mp3")}));
    EXPECT_EQ(received.size(), 1);
}

} // namespace
