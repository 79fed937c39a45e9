#pragma once
// The micro player on the desktop's session bus as an MPRIS2 media player, so
// that media keys and sound applets can play, pause and stop it. Without a
// session bus, or when the name cannot be had, nothing is published and the
// player works as before.
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

class MicroPlayer;

class MprisService : public QObject {
    Q_OBJECT
public:
    static constexpr const char* ObjectPath = "/org/mpris/MediaPlayer2";
    static constexpr const char* ServicePrefix = "org.mpris.MediaPlayer2.quavero";

    // Publishes the player on the connection (the session bus by default).
    MprisService(MicroPlayer* player, const QDBusConnection& bus = QDBusConnection::sessionBus(),
                 QObject* parent = nullptr);
    ~MprisService() override;

    // True when a session bus is announced (its address, or the user's bus
    // socket). Asking for the bus otherwise could start one through autolaunch.
    static bool SessionBusAvailable();

    // The bus name taken, or "" when nothing was published.
    QString serviceName() const { return m_service; }
    MicroPlayer* player() const { return m_player; }

    QString playbackStatus() const;
    QVariantMap metadata() const;
    // Called when the window is to be raised.
    void raise();

private:
    void announce();

    MicroPlayer* m_player;
    QDBusConnection m_bus;
    QString m_service;
    QString m_lastStatus;
    QVariantMap m_lastMetadata;
};

// org.mpris.MediaPlayer2
class MprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ CanQuit)
    Q_PROPERTY(bool CanRaise READ CanRaise)
    Q_PROPERTY(bool HasTrackList READ HasTrackList)
    Q_PROPERTY(QString Identity READ Identity)
    Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)
public:
    explicit MprisRootAdaptor(MprisService* service);
    bool CanQuit() const { return false; }
    bool CanRaise() const { return true; }
    bool HasTrackList() const { return false; }
    QString Identity() const;
    QString DesktopEntry() const { return QStringLiteral("quavero"); }
    QStringList SupportedUriSchemes() const { return {QStringLiteral("file")}; }
    QStringList SupportedMimeTypes() const;
public slots:
    void Raise();
    void Quit() {}

private:
    MprisService* m_service;
};

// org.mpris.MediaPlayer2.Player
class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(double Rate READ Rate)
    Q_PROPERTY(double MinimumRate READ Rate)
    Q_PROPERTY(double MaximumRate READ Rate)
    Q_PROPERTY(double Volume READ Volume)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(bool CanGoNext READ False)
    Q_PROPERTY(bool CanGoPrevious READ False)
    Q_PROPERTY(bool CanPlay READ CanPlay)
    Q_PROPERTY(bool CanPause READ CanPlay)
    Q_PROPERTY(bool CanSeek READ CanPlay)
    Q_PROPERTY(bool CanControl READ True)
public:
    explicit MprisPlayerAdaptor(MprisService* service);
    QString PlaybackStatus() const { return m_service->playbackStatus(); }
    QVariantMap Metadata() const { return m_service->metadata(); }
    double Rate() const { return 1.0; }
    double Volume() const;
    qlonglong Position() const;
    bool False() const { return false; }
    bool True() const { return true; }
    bool CanPlay() const;
public slots:
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next() {}
    void Previous() {}
    void Seek(qlonglong offset);
    void SetPosition(const QDBusObjectPath& track, qlonglong position);
    void OpenUri(const QString&) {}
signals:
    void Seeked(qlonglong position);

private:
    MprisService* m_service;
};
