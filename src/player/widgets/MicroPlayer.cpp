#include "player/widgets/MicroPlayer.h"

#include "core/FileNameCodec.h"
#include "lang/AppLang.h"
#include "lang/widgets/FormLang.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMediaDevices>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// Language texts of the player; the English words stand in without a language.
enum Text {
    NoDeviceText = 990,
    CannotPlayText = 991,
    PlayText = 992,
    PauseText = 993,
    StopText = 994,
    CloseText = 995,
};

QString text(int number, const QString& english, const QStringList& args = {}) {
    const QString t = mainMod::LangText(number, args);
    if (!t.isEmpty()) return t;
    QString s = english;
    for (int i = 0; i < args.size(); ++i)
        s.replace(QStringLiteral("%") + QString::number(i), args[i]);
    return s;
}

QToolButton* button(QWidget* parent, const char* name, QStyle::StandardPixmap icon) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setIcon(parent->style()->standardIcon(icon));
    b->setAutoRaise(true);
    b->setProperty(FormLang::NoLangTextProperty, true);
    return b;
}

QString clock(qint64 ms) {
    const qint64 s = ms / 1000;
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

MicroPlayer::MicroPlayer(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("MicroPlayer"));
    setFrameShape(QFrame::StyledPanel);

    m_player = new QMediaPlayer(this);
    m_audio = new QAudioOutput(this);
    m_player->setAudioOutput(m_audio);

    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setProperty(FormLang::NoLangTextProperty, true);
    lblTitle->setTextFormat(Qt::PlainText);
    lblTitle->setMinimumWidth(20);
    lblTitle->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    btClose = button(this, "btClose", QStyle::SP_TitleBarCloseButton);

    btPlay = button(this, "btPlay", QStyle::SP_MediaPlay);
    btStop = button(this, "btStop", QStyle::SP_MediaStop);
    sldPos = new QSlider(Qt::Horizontal, this);
    sldPos->setObjectName(QStringLiteral("sldPos"));
    sldPos->setRange(0, 0);
    lblTime = new QLabel(clock(0), this);
    lblTime->setObjectName(QStringLiteral("lblTime"));
    lblTime->setProperty(FormLang::NoLangTextProperty, true);

    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setProperty(FormLang::NoLangTextProperty, true);
    lblMessage->setTextFormat(Qt::PlainText);
    lblMessage->setWordWrap(true);
    lblMessage->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(lblTitle, 1);
    top->addWidget(btClose);
    auto* controls = new QHBoxLayout;
    controls->addWidget(btPlay);
    controls->addWidget(btStop);
    controls->addWidget(sldPos, 1);
    controls->addWidget(lblTime);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);
    layout->addLayout(top);
    layout->addLayout(controls);
    layout->addWidget(lblMessage);

    connect(btPlay, &QToolButton::clicked, this, &MicroPlayer::PlayPause);
    connect(btStop, &QToolButton::clicked, this, &MicroPlayer::Stop);
    connect(btClose, &QToolButton::clicked, this, &MicroPlayer::closeRequested);
    connect(sldPos, &QSlider::sliderMoved, m_player, &QMediaPlayer::setPosition);
    connect(m_player, &QMediaPlayer::durationChanged, this, [this](qint64 ms) {
        sldPos->setRange(0, static_cast<int>(ms));
        updateTime();
    });
    connect(m_player, &QMediaPlayer::positionChanged, this, [this](qint64 ms) {
        if (!sldPos->isSliderDown()) sldPos->setValue(static_cast<int>(ms));
        updateTime();
    });
    connect(m_player, &QMediaPlayer::playbackStateChanged, this, [this] {
        updateButtons();
        emit stateChanged();
    });
    connect(m_player, &QMediaPlayer::errorOccurred, this,
            [this](QMediaPlayer::Error error, const QString& description) {
                if (error == QMediaPlayer::NoError) return;
                showMessage(CannotPlayText, QStringLiteral("This file cannot be played: %0"),
                            {description.isEmpty() ? m_path : description});
            });
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus s) {
        // Says more than a missing sound device: the file itself is the problem.
        if (s == QMediaPlayer::InvalidMedia)
            showMessage(CannotPlayText, QStringLiteral("This file cannot be played: %0"),
                        {m_player->errorString().isEmpty() ? m_path : m_player->errorString()});
    });
    applyLanguage();
    updateButtons();
}

MicroPlayer::~MicroPlayer() {
    m_player->stop();
}

void MicroPlayer::applyLanguage() {
    btPlay->setToolTip(text(PlayText, QStringLiteral("Play")) + QLatin1Char('/') +
                       text(PauseText, QStringLiteral("Pause")));
    btStop->setToolTip(text(StopText, QStringLiteral("Stop")));
    btClose->setToolTip(text(CloseText, QStringLiteral("Close")));
    renderMessage(); // a message on show follows the language too
}

bool MicroPlayer::hasAudioDevice() const {
    return !QMediaDevices::audioOutputs().isEmpty();
}

void MicroPlayer::Play(const QString& path, const QString& title, int /*flag*/) {
    m_player->stop();
    m_path = path;
    m_title = title;
    // A file without a title tag is still named: its file title.
    lblTitle->setText(title.isEmpty() ? QFileInfo(path).completeBaseName() : title);
    lblTitle->setToolTip(path);
    showMessage(0, QString());
    sldPos->setRange(0, 0);
    m_player->setSource(QUrl::fromEncoded(FileNameCodec::fileUrl(path)));
    if (!hasAudioDevice()) {
        // Loading still works (the length shows); there is nowhere to play to.
        showMessage(NoDeviceText, QStringLiteral("No sound device was found: Quavero cannot "
                                                 "play the file."));
    } else {
        m_player->play();
    }
    emit stateChanged();
}

void MicroPlayer::Resume() {
    if (m_player->source().isEmpty()) return;
    if (!hasAudioDevice()) {
        showMessage(NoDeviceText, QStringLiteral("No sound device was found: Quavero cannot "
                                                 "play the file."));
        return;
    }
    m_player->play();
}

void MicroPlayer::Pause() {
    if (m_player->playbackState() == QMediaPlayer::PlayingState) m_player->pause();
}

void MicroPlayer::PlayPause() {
    if (m_player->playbackState() == QMediaPlayer::PlayingState)
        m_player->pause();
    else
        Resume();
}

void MicroPlayer::Stop() {
    m_player->stop();
}

qint64 MicroPlayer::duration() const {
    return m_player->duration();
}

QMediaPlayer::PlaybackState MicroPlayer::playbackState() const {
    return m_player->playbackState();
}

QString MicroPlayer::message() const {
    return lblMessage->isHidden() ? QString() : lblMessage->text();
}

void MicroPlayer::showMessage(int number, const QString& english, const QStringList& args) {
    m_message = {number, english, args};
    renderMessage();
}

void MicroPlayer::renderMessage() {
    const QString message = m_message.english.isEmpty()
                                ? QString()
                                : text(m_message.number, m_message.english, m_message.args);
    const bool wasShown = !lblMessage->isHidden();
    lblMessage->setText(message);
    lblMessage->setVisible(!message.isEmpty());
    if (wasShown != !message.isEmpty()) emit layoutChanged();
}

void MicroPlayer::updateTime() {
    lblTime->setText(clock(m_player->position()) + QLatin1Char('/') + clock(m_player->duration()));
}

void MicroPlayer::updateButtons() {
    const bool playing = m_player->playbackState() == QMediaPlayer::PlayingState;
    btPlay->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
}
