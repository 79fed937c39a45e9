#include "player/widgets/MprisService.h"

#include "core/AppInfo.h"
#include "player/widgets/MicroPlayer.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>
#include <QWidget>

MprisService::MprisService(MicroPlayer* player, const QDBusConnection& bus, QObject* parent)
    : QObject(parent), m_player(player), m_bus(bus) {
    if (!m_bus.isConnected()) return;
    new MprisRootAdaptor(this);
    new MprisPlayerAdaptor(this);
    if (!m_bus.registerObject(QLatin1String(ObjectPath), this)) return;
    // A second running copy takes a name of its own, as MPRIS provides.
    QString name = QLatin1String(ServicePrefix);
    if (!m_bus.registerService(name)) {
        name += QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
        if (!m_bus.registerService(name)) {
            m_bus.unregisterObject(QLatin1String(ObjectPath));
            return;
        }
    }
    m_service = name;
    m_lastStatus = playbackStatus();
    m_lastMetadata = metadata();
    connect(player, &MicroPlayer::stateChanged, this, &MprisService::announce);
}

bool MprisService::SessionBusAvailable() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo(runtime + QStringLiteral("/bus")).exists();
}

MprisService::~MprisService() {
    if (m_service.isEmpty()) return;
    m_bus.unregisterService(m_service);
    m_bus.unregisterObject(QLatin1String(ObjectPath));
}

QString MprisService::playbackStatus() const {
    switch (m_player->playbackState()) {
    case QMediaPlayer::PlayingState:
        return QStringLiteral("Playing");
    case QMediaPlayer::PausedState:
        return QStringLiteral("Paused");
    default:
        return QStringLiteral("Stopped");
    }
}

QVariantMap MprisService::metadata() const {
    QVariantMap map;
    if (m_player->path().isEmpty()) return map;
    map.insert(QStringLiteral("mpris:trackid"),
               QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/quavero/track/current"))));
    map.insert(QStringLiteral("xesam:title"), m_player->title());
    map.insert(QStringLiteral("xesam:url"),
               QString::fromUtf8(QUrl::fromLocalFile(m_player->path()).toEncoded()));
    if (m_player->duration() > 0)
        map.insert(QStringLiteral("mpris:length"), qlonglong(m_player->duration()) * 1000);
    return map;
}

void MprisService::raise() {
    if (QWidget* window = m_player->window()) {
        window->show();
        window->raise();
        window->activateWindow();
    }
}

void MprisService::announce() {
    QVariantMap changed;
    const QString status = playbackStatus();
    const QVariantMap data = metadata();
    if (status != m_lastStatus) changed.insert(QStringLiteral("PlaybackStatus"), status);
    if (data != m_lastMetadata) changed.insert(QStringLiteral("Metadata"), data);
    m_lastStatus = status;
    m_lastMetadata = data;
    if (changed.isEmpty()) return;
    QDBusMessage signal = QDBusMessage::createSignal(
        QLatin1String(ObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << QStringLiteral("org.mpris.MediaPlayer2.Player") << changed << QStringList();
    m_bus.send(signal);
}

MprisRootAdaptor::MprisRootAdaptor(MprisService* service)
    : QDBusAbstractAdaptor(service), m_service(service) {}

QString MprisRootAdaptor::Identity() const {
    return mainMod::AppName();
}

QStringList MprisRootAdaptor::SupportedMimeTypes() const {
    return {QStringLiteral("audio/mpeg"), QStringLiteral("audio/x-ms-wma"),
            QStringLiteral("audio/x-wav")};
}

void MprisRootAdaptor::Raise() {
    m_service->raise();
}

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService* service)
    : QDBusAbstractAdaptor(service), m_service(service) {}

double MprisPlayerAdaptor::Volume() const {
    return 1.0;
}

qlonglong MprisPlayerAdaptor::Position() const {
    return m_service->player()->mediaPlayer()->position() * 1000;
}

bool MprisPlayerAdaptor::CanPlay() const {
    return !m_service->player()->path().isEmpty();
}

void MprisPlayerAdaptor::Play() {
    m_service->player()->Resume();
}

void MprisPlayerAdaptor::Pause() {
    m_service->player()->Pause();
}

void MprisPlayerAdaptor::PlayPause() {
    m_service->player()->PlayPause();
}

void MprisPlayerAdaptor::Stop() {
    m_service->player()->Stop();
}

void MprisPlayerAdaptor::Seek(qlonglong offset) {
    QMediaPlayer* player = m_service->player()->mediaPlayer();
    player->setPosition(std::max<qint64>(0, player->position() + offset / 1000));
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath&, qlonglong position) {
    m_service->player()->mediaPlayer()->setPosition(position / 1000);
}
