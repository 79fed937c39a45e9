#pragma once
// The small built-in player of the tree pane: play/pause, stop, a position
// slider, the time and the title, and a close button. Playback goes through Qt
// Multimedia; when it cannot play (no sound device, no decoder for the file) the
// player says so in its own message line and stays usable.
#include <QFrame>
#include <QMediaPlayer>
#include <QStringList>

class QAudioOutput;
class QLabel;
class QSlider;
class QToolButton;

class MicroPlayer : public QFrame {
    Q_OBJECT
public:
    explicit MicroPlayer(QWidget* parent = nullptr);
    ~MicroPlayer() override;

    // Loads the file, shows the title and starts playing. flag is reserved (0).
    void Play(const QString& path, const QString& title, int flag = 0);
    void Resume();
    void Pause();
    void PlayPause();
    void Stop();

    QString title() const { return m_title; }
    QString path() const { return m_path; }
    // The loaded file's length in milliseconds (0 until known).
    qint64 duration() const;
    QMediaPlayer::PlaybackState playbackState() const;
    // The text of the message line; empty while all is well.
    QString message() const;
    // Re-reads the language texts of the buttons and messages.
    void applyLanguage();

    QMediaPlayer* mediaPlayer() const { return m_player; }

    // Parts of the control, for the window and tests.
    QToolButton* btPlay = nullptr;
    QToolButton* btStop = nullptr;
    QToolButton* btClose = nullptr;
    QSlider* sldPos = nullptr;
    QLabel* lblTime = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblMessage = nullptr;

signals:
    // The close button: the owner decides (the main window hides the player).
    void closeRequested();
    // The control changed its height (message line shown or hidden).
    void layoutChanged();
    // Title, file or playback state changed (for the desktop's media controls).
    void stateChanged();

private:
    // Shows language text `number` (english without a language), or nothing
    // when english is empty; kept so that a language switch composes it again.
    void showMessage(int number, const QString& english, const QStringList& args = {});
    void renderMessage();
    void updateTime();
    void updateButtons();
    bool hasAudioDevice() const;

    QMediaPlayer* m_player = nullptr;
    QAudioOutput* m_audio = nullptr;
    QString m_path;
    QString m_title;
    struct Message {
        int number = 0;
        QString english;
        QStringList args;
    } m_message;
};
