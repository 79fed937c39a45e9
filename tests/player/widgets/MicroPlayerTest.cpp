// The micro player on real files, and its MPRIS2 face on a private bus.
#include "player/widgets/MicroPlayer.h"
#include "lang/AppLang.h"
#include "lang/Mui.h"
#include "player/widgets/MprisService.h"
#include "support/AudioFixtures.h"
#include "support/LangFixtures.h"

#include <QAudioDevice>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QLabel>
#include <QMediaDevices>
#include <QProcess>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

bool waitFor(const std::function<bool()>& done, int ms = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        QTest::qWait(20);
    return done();
}

bool hasAudioDevice() {
    return !QMediaDevices::audioOutputs().isEmpty();
}

} // namespace

TEST(MicroPlayerTest, LoadsARealMp3AndReportsItsLength) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/a song.mp3");
    ASSERT_TRUE(fixtures::WriteMp3(path, fixtures::ArtistOnly("X")));
    MicroPlayer player;
    player.Play(path, "A Song", 0);
    EXPECT_EQ(player.lblTitle->text(), "A Song");
    EXPECT_EQ(player.path(), path);
    if (!hasAudioDevice()) {
        // Nowhere to play to: said inside the player, nothing else happens.
        EXPECT_TRUE(player.message().contains("No sound device")) << player.message().toStdString();
        EXPECT_NE(player.playbackState(), QMediaPlayer::PlayingState);
    }
    // The length is known once the file was read. Without a sound device the
    // media framework may not preroll at all (seen under load): the message is
    // what the player owes then.
    const bool loaded = waitFor([&] { return player.duration() > 0; }, 20000);
    if (hasAudioDevice()) {
        ASSERT_TRUE(loaded) << "no length: " << player.message().toStdString();
    }
    if (loaded) {
        EXPECT_NEAR(player.duration(), 500, 80);
        EXPECT_EQ(player.sldPos->maximum(), player.duration());
        EXPECT_TRUE(player.lblTime->text().endsWith("/0:00"));
    }

    // Without a title tag the file's name stands in.
    player.Play(path, QString(), 0);
    EXPECT_EQ(player.lblTitle->text(), "a song");
}

TEST(MicroPlayerTest, AFileItCannotDecodeIsSaidInsideThePlayer) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/noise.mp3");
    ASSERT_TRUE(fixtures::WriteBytes(path, QByteArray(4096, '\x7f')));
    MicroPlayer player;
    int relayouts = 0;
    QObject::connect(&player, &MicroPlayer::layoutChanged, [&] { ++relayouts; });
    player.Play(path, "Noise", 0);
    ASSERT_TRUE(waitFor([&] { return player.message().contains("cannot be played"); }))
        << player.message().toStdString();
    EXPECT_GE(relayouts, 1);
    EXPECT_NE(player.playbackState(), QMediaPlayer::PlayingState);
    // A good file afterwards clears the message.
    const QString good = dir.path() + QStringLiteral("/good.mp3");
    ASSERT_TRUE(fixtures::WriteMp3(good, {}));
    player.Play(good, "Good", 0);
    if (hasAudioDevice()) {
        EXPECT_TRUE(player.message().isEmpty());
    }
}

namespace {

// A private session bus for one test.
class PrivateBus {
public:
    PrivateBus() {
        const QString daemon = QStandardPaths::findExecutable("dbus-daemon");
        if (daemon.isEmpty()) return;
        m_process.start(daemon, {"--session", "--nofork", "--print-address=1"});
        if (!m_process.waitForStarted(5000)) return;
        while (!m_process.canReadLine() && m_process.waitForReadyRead(5000)) {
        }
        address = QString::fromUtf8(m_process.readLine()).trimmed();
    }
    ~PrivateBus() {
        QDBusConnection::disconnectFromBus("mpris-service");
        QDBusConnection::disconnectFromBus("mpris-client");
        QDBusConnection::disconnectFromBus("mpris-service2");
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    QString address;

private:
    QProcess m_process;
};

// Asynchronous calls: the service answers on this same thread.
QDBusMessage callAndWait(QDBusConnection& bus, const QDBusMessage& message) {
    QDBusPendingCall call = bus.asyncCall(message, 5000);
    waitFor([&] { return call.isFinished(); }, 6000);
    return call.reply();
}

QVariant property(QDBusConnection& bus, const QString& service, const QString& name) {
    QDBusMessage get = QDBusMessage::createMethodCall(
        service, QLatin1String(MprisService::ObjectPath), "org.freedesktop.DBus.Properties", "Get");
    get << "org.mpris.MediaPlayer2.Player" << name;
    const QDBusMessage reply = callAndWait(bus, get);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
    return qvariant_cast<QDBusVariant>(reply.arguments().first()).variant();
}

void invoke(QDBusConnection& bus, const QString& service, const QString& method) {
    const QDBusMessage reply = callAndWait(
        bus, QDBusMessage::createMethodCall(service, QLatin1String(MprisService::ObjectPath),
                                            "org.mpris.MediaPlayer2.Player", method));
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
}

} // namespace

TEST(MicroPlayerTest, PublishesMprisOnTheSessionBus) {
    PrivateBus bus;
    if (bus.address.isEmpty()) GTEST_SKIP() << "dbus-daemon is not installed";
    QDBusConnection serviceBus = QDBusConnection::connectToBus(bus.address, "mpris-service");
    QDBusConnection client = QDBusConnection::connectToBus(bus.address, "mpris-client");
    ASSERT_TRUE(serviceBus.isConnected());

    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/song.mp3");
    ASSERT_TRUE(fixtures::WriteMp3(path, {}));
    MicroPlayer player;
    MprisService service(&player, serviceBus);
    const QString name = service.serviceName();
    EXPECT_EQ(name, "org.mpris.MediaPlayer2.quavero");
    EXPECT_EQ(property(client, name, "PlaybackStatus").toString(), "Stopped");

    player.Play(path, "Song Title", 0);
    QVariant metadata = property(client, name, "Metadata");
    const QVariantMap map = qdbus_cast<QVariantMap>(metadata);
    EXPECT_EQ(map.value("xesam:title").toString(), "Song Title");

    invoke(client, name, "Stop");
    EXPECT_EQ(player.playbackState(), QMediaPlayer::StoppedState);
    EXPECT_EQ(property(client, name, "PlaybackStatus").toString(), "Stopped");
    invoke(client, name, "PlayPause");
    if (hasAudioDevice()) {
        EXPECT_TRUE(waitFor([&] { return player.playbackState() == QMediaPlayer::PlayingState; }));
        invoke(client, name, "Pause");
        EXPECT_EQ(property(client, name, "PlaybackStatus").toString(), "Paused");
    } else {
        EXPECT_TRUE(player.message().contains("No sound device"));
    }

    // A second copy of the program takes a name of its own.
    MicroPlayer other;
    MprisService second(&other, QDBusConnection::connectToBus(bus.address, "mpris-service2"));
    EXPECT_TRUE(second.serviceName().startsWith(name + QStringLiteral(".instance")));
}

TEST(MicroPlayerTest, WithoutABusNothingIsPublished) {
    MicroPlayer player;
    MprisService service(&player, QDBusConnection("no-such-connection"));
    EXPECT_TRUE(service.serviceName().isEmpty());
}

TEST(MicroPlayerTest, SpeaksTheCurrentLanguage) {
    clsMUI german;
    ASSERT_TRUE(UseShippedLanguage(german, 1031));
    MicroPlayer player;
    EXPECT_EQ(player.btStop->toolTip(), "Stopp");
    QTemporaryDir dir;
    ASSERT_TRUE(fixtures::WriteBytes(dir.path() + QStringLiteral("/x.mp3"), QByteArray(64, 'x')));
    player.Play(dir.path() + QStringLiteral("/x.mp3"), "X", 0);
    EXPECT_TRUE(waitFor([&] {
        return player.message().contains("Audiogerät") ||
               player.message().contains("kann nicht abgespielt");
    })) << player.message().toStdString();
    mainMod::SetLang(nullptr);
    player.applyLanguage();
    EXPECT_EQ(player.btStop->toolTip(), "Stop");
    // The message on show follows the switch too.
    EXPECT_TRUE(player.message().contains("sound device") ||
                player.message().contains("cannot be played"))
        << player.message().toStdString();
}
