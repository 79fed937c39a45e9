// The engine client against a scripted server in this process: receiving
// across arrivals, the notify flags, Busy and its wait, sending.
#include "engine/IndexEngineForm.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

using namespace EngineFrames;

namespace {

// Answers the handshake and records what the client sent.
class ScriptedEngine : public QObject {
public:
    ScriptedEngine() {
        EXPECT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        connect(&server, &QTcpServer::newConnection, this, [this] {
            peer = server.nextPendingConnection();
            connect(peer, &QTcpSocket::readyRead, this, [this] {
                buffer.append(peer->readAll());
                for (const QString& f : buffer.takeFrames()) {
                    received << f;
                    if (f == Handshake && answerHandshake) peer->write(encode(HandshakeReply));
                    if (f == AskState && !stateReply.isEmpty()) peer->write(encode(stateReply));
                }
            });
        });
    }
    void sendRaw(const QByteArray& bytes) {
        peer->write(bytes);
        peer->flush();
    }
    QTcpServer server;
    QTcpSocket* peer = nullptr;
    FrameBuffer buffer;
    QStringList received;
    bool answerHandshake = true;
    QString stateReply = ">[state]=0";
};

// What the client raised.
struct Events {
    explicit Events(IndexEngineForm& c) {
        QObject::connect(&c, &IndexEngineForm::IndexProgressChanged,
                         [this](qint16 p) { progress << p; });
        QObject::connect(&c, &IndexEngineForm::IndexStateChanged,
                         [this](qint16 s, const QString& t) { states << qMakePair(s, t); });
        QObject::connect(&c, &IndexEngineForm::IndexCompleted,
                         [this](qint32 a, qint32 b, qint32 c2, qint32 d) {
                             reports << QList<qint32>{a, b, c2, d};
                         });
    }
    QList<qint16> progress;
    QList<QPair<qint16, QString>> states;
    QList<QList<qint32>> reports;
};

class IndexEngineFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        client.setPort(engine.server.serverPort());
        client.setProgramFolder("/nonexistent");
    }
    // Lets the client's socket take what the server wrote.
    void settle(int ms = 100) {
        YieldUntil([] { return false; }, ms);
    }
    ScriptedEngine engine;
    IndexEngineForm client;
};

TEST_F(IndexEngineFormTest, HandshakeMakesItConnected) {
    EXPECT_FALSE(client.Connected());
    ASSERT_TRUE(client.Connect());
    EXPECT_TRUE(client.Connected());
    EXPECT_EQ(engine.received.value(0), Handshake);
}

TEST_F(IndexEngineFormTest, NoHandshakeReplyFailsAndCloses) {
    engine.answerHandshake = false;
    // No engine program where it is looked for: no second attempt.
    EXPECT_FALSE(client.Connect());
    EXPECT_FALSE(client.Connected());
}

TEST_F(IndexEngineFormTest, FramesAcrossArrivalsAreDispatchedOnceInOrder) {
    ASSERT_TRUE(client.Connect());
    client.NotifyState = client.NotifyProgress = client.NotifyReport = true;
    Events ev(client);

    engine.sendRaw(encode(progressMessage(10)) + encode(stateMessage(2, "Scanning")));
    settle();
    EXPECT_EQ(ev.progress, QList<qint16>{10});
    ASSERT_EQ(ev.states.size(), 1);
    EXPECT_EQ(ev.states[0].first, 2);
    EXPECT_EQ(ev.states[0].second, "Scanning");

    const QByteArray f = encode(reportMessage(4, 3, 2, 1));
    engine.sendRaw(f.left(100));
    settle();
    engine.sendRaw(f.mid(100, 500));
    settle();
    EXPECT_TRUE(ev.reports.isEmpty());
    engine.sendRaw(f.mid(600));
    settle();
    EXPECT_EQ(ev.reports, (QList<QList<qint32>>{{4, 3, 2, 1}}));
    EXPECT_EQ(ev.progress.size(), 1);
}

TEST_F(IndexEngineFormTest, FlagsOffRaiseNothingButStateStillCounts) {
    ASSERT_TRUE(client.Connect());
    Events ev(client);
    engine.sendRaw(encode(">[state]=3") + encode(progressMessage(5)));
    settle();
    EXPECT_TRUE(ev.states.isEmpty());
    EXPECT_TRUE(ev.progress.isEmpty());
    EXPECT_EQ(client.LastState(), 3);
}

TEST_F(IndexEngineFormTest, BusyAsksForTheState) {
    EXPECT_TRUE(client.Busy()); // not connected
    ASSERT_TRUE(client.Connect());
    engine.stateReply = ">[state]=0";
    EXPECT_FALSE(client.Busy());
    engine.stateReply = ">[state]=1|$654";
    EXPECT_TRUE(client.Busy());
    EXPECT_EQ(engine.received.count(AskState), 2);
    // No answer: busy after the wait.
    engine.stateReply.clear();
    EXPECT_TRUE(client.Busy());
    EXPECT_EQ(client.LastState(), -1);
}

TEST_F(IndexEngineFormTest, StartAndCancelSendTheirFrames) {
    EXPECT_FALSE(client.Start(false));
    EXPECT_FALSE(client.Cancel());
    ASSERT_TRUE(client.Connect());
    EXPECT_TRUE(client.Start(false));
    EXPECT_TRUE(client.Start(true));
    EXPECT_TRUE(client.Cancel());
    settle();
    EXPECT_EQ(engine.received.mid(1), (QStringList{StartPass, ForcedStartPass, CancelPass}));
}

TEST_F(IndexEngineFormTest, FramesAfterCloseAreNotRead) {
    ASSERT_TRUE(client.Connect());
    client.NotifyProgress = true;
    Events ev(client);
    client.Close();
    engine.sendRaw(encode(progressMessage(1)));
    settle();
    EXPECT_TRUE(ev.progress.isEmpty());
    EXPECT_FALSE(client.Connected());
}

TEST(IndexEngineFormNoEngine, ConnectFailsWithoutEngineOrProgram) {
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close(); // nobody listens there now
    IndexEngineForm client;
    client.setPort(port);
    client.setProgramFolder("/nonexistent");
    EXPECT_FALSE(client.Connect());
    EXPECT_FALSE(client.Connected());
}

} // namespace
