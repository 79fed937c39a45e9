#pragma once
// One notice window: borderless, topmost, never takes the focus. It slides up
// into the bottom-right corner of the screen, waits, and slides out again.
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

class QPropertyAnimation;
class QToolButton;
class QLabel;

class popMsgForm : public QWidget {
    Q_OBJECT
public:
    enum Phase { Unloading = 0, ShowTimeRunning = 1, IdleTimeRunning = 2 };

    explicit popMsgForm(QWidget* parent = nullptr);
    ~popMsgForm() override;

    int MIdleTimeout() const { return m_idleTimeout; }
    void setMIdleTimeout(int seconds) { m_idleTimeout = seconds; }
    QString mTitle() const { return m_title; }
    void setMTitle(const QString& title) { m_title = title; }
    QString MText() const { return m_text; }
    void setMText(const QString& text) { m_text = text; }
    // Redraws the title and text, the window as tall as the text needs.
    void refreshForm();
    // The text as it is shown, wrapped, line by line; textTop() is where the first begins.
    QStringList shownLines() const;
    int textTop() const;

    // icon: 0 none, 16 error, 32 question, 48 exclamation, 64 information; other
    // codes keep the designed picture.
    void setIcon(int code);
    // Slides in to the corner and starts the show time.
    void popUp(int showTimeSeconds);
    // Stops the timer and slides out; the window deletes itself below the screen.
    void slideOut();

    Phase phase() const { return m_phase; }
    bool closeButtonVisible() const;
    const QPixmap& iconPicture() const { return m_icon; }
    // Where every popup comes to rest, in global pixels.
    QPoint restingPosition() const;

signals:
    void slidIn();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void onTimer();
    void startTimer(int seconds);
    QRect textArea() const;
    QFont titleFont() const;
    QStringList textLines(int width) const;
    void fitHeight();

    QString m_title;
    QString m_text;
    QPixmap m_icon;
    int m_idleTimeout = 60;
    Phase m_phase = ShowTimeRunning;
    QTimer m_timer;
    QToolButton* m_closeButton = nullptr;
    QWidget* m_leftBar = nullptr;
    QPointer<QPropertyAnimation> m_slide;
    bool m_slidingOut = false;
};
