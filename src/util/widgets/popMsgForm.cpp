#include "util/widgets/popMsgForm.h"

#include "core/widgets/Artwork.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QScreen>
#include <QTextLayout>

#include <QToolButton>
#include <algorithm>

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 112;
constexpr int kLeftBarWidth = 8;
constexpr int kSlideMs = 280;

QPixmap stockPicture(const char* name) {
    return Artwork::Picture(QLatin1String(name), QSize(32, 32));
}

// Lets clicks on the coloured bar count as clicks on the notice.
class LeftBar : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void mousePressEvent(QMouseEvent* event) override { event->ignore(); }
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, QColor(0x2a, 0x86, 0xa6));
        g.setColorAt(1, QColor(0x1f, 0x5f, 0x7b));
        p.fillRect(rect(), g);
    }
};

} // namespace

popMsgForm::popMsgForm(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus) {
    setObjectName(QStringLiteral("popMsgForm"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(kWidth, kHeight);

    m_leftBar = new LeftBar(this);
    m_leftBar->setObjectName(QStringLiteral("leftBar"));

    m_closeButton = new QToolButton(this);
    m_closeButton->setObjectName(QStringLiteral("xBut"));
    m_closeButton->setText(QStringLiteral("✕"));
    m_closeButton->setAutoRaise(true);
    m_closeButton->setFocusPolicy(Qt::NoFocus);
    m_closeButton->setCursor(Qt::PointingHandCursor);
    m_closeButton->hide();
    connect(m_closeButton, &QToolButton::clicked, this, [this] {
        m_timer.stop();
        m_closeButton->hide();
        slideOut();
    });

    m_timer.setObjectName(QStringLiteral("ctlTimer"));
    m_timer.setSingleShot(false);
    connect(&m_timer, &QTimer::timeout, this, &popMsgForm::onTimer);

    m_icon = stockPicture("msg_information"); // the designed picture
}

popMsgForm::~popMsgForm() {
    m_phase = Unloading;
    m_timer.stop();
}

void popMsgForm::resizeEvent(QResizeEvent*) {
    m_leftBar->setGeometry(0, 0, kLeftBarWidth, height());
    m_closeButton->setGeometry(width() - 24, 4, 20, 20);
}

bool popMsgForm::closeButtonVisible() const {
    return !m_closeButton->isHidden();
}

void popMsgForm::setIcon(int code) {
    switch (code) {
    case 0:
        m_icon = QPixmap();
        break;
    case 16:
        m_icon = stockPicture("msg_error");
        break;
    case 48:
        m_icon = stockPicture("msg_exclamation");
        break;
    case 64:
        m_icon = stockPicture("msg_information");
        break;
    case 32:
        m_icon = stockPicture("msg_question");
        break;
    default:
        break; // keep the designed picture
    }
    update();
}

void popMsgForm::refreshForm() {
    fitHeight();
    update();
}

QRect popMsgForm::textArea() const {
    const int left = kLeftBarWidth + 10 + (m_icon.isNull() ? 0 : 40);
    return QRect(left, 8, width() - left - 28, height() - 16);
}

QFont popMsgForm::titleFont() const {
    QFont bold = font();
    bold.setBold(true);
    return bold;
}

QStringList popMsgForm::shownLines() const {
    return textLines(textArea().width());
}

int popMsgForm::textTop() const {
    return textArea().top() + QFontMetrics(titleFont()).height() + 3 + 5;
}

QStringList popMsgForm::textLines(int width) const {
    // Lines break at CR LF and wrap to the width.
    QStringList lines;
    QString text = m_text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font());
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
            line.setLineWidth(width);
        layout.endLayout();
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            lines.append(paragraph.mid(line.textStart(), line.textLength()));
        }
        if (layout.lineCount() == 0) lines.append(QString());
    }
    return lines;
}

void popMsgForm::fitHeight() {
    // Every line is shown: a long notice (a translation's, say) makes the window taller.
    const int lines = static_cast<int>(textLines(textArea().width()).size());
    const int needed = textTop() + lines * QFontMetrics(font()).height() + 4 + 8;
    setFixedHeight(std::max(kHeight, needed));
}

void popMsgForm::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Base));
    p.setPen(QColor(0xb0, 0xb0, 0xb0));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (!m_icon.isNull()) p.drawPixmap(kLeftBarWidth + 10, 30, m_icon);

    const QRect area = textArea();
    p.setFont(titleFont());
    p.setPen(palette().color(QPalette::Text));
    const QFontMetrics titleMetrics(titleFont());
    p.drawText(area.left(), area.top() + titleMetrics.ascent(),
               titleMetrics.elidedText(m_title, Qt::ElideRight, area.width()));
    const int ruleY = area.top() + titleMetrics.height() + 3;
    p.setPen(QColor(128, 128, 128));
    p.drawLine(area.left(), ruleY, area.right(), ruleY);

    p.setFont(font());
    p.setPen(palette().color(QPalette::Text));
    const QFontMetrics fm(font());
    int y = textTop();
    for (const QString& line : textLines(area.width())) {
        p.drawText(area.left(), y + fm.ascent(), line);
        y += fm.height();
    }
}

QPoint popMsgForm::restingPosition() const {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect full = screen->geometry();
    const QRect work = screen->availableGeometry();
    const int strip = full.bottom() - work.bottom();
    return QPoint(full.right() + 1 - width(), full.bottom() + 1 - strip - height());
}

void popMsgForm::startTimer(int seconds) {
    m_timer.stop();
    m_timer.setInterval(seconds * 1000);
    m_timer.start();
}

void popMsgForm::popUp(int showTimeSeconds) {
    fitHeight();
    const QPoint target = restingPosition();
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    m_timer.stop();
    m_timer.setInterval(showTimeSeconds * 1000);
    move(target.x(), screen->geometry().bottom() + 1 + 6);
    m_closeButton->hide();
    show();
    raise();

    m_slide = new QPropertyAnimation(this, "pos", this);
    m_slide->setDuration(kSlideMs);
    m_slide->setStartValue(pos());
    m_slide->setEndValue(target);
    m_slide->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_slide, &QPropertyAnimation::finished, this, [this, target] {
        move(target);
        m_closeButton->show();
        m_timer.start();
        emit slidIn();
    });
    m_slide->start(QAbstractAnimation::DeleteWhenStopped);
}

void popMsgForm::slideOut() {
    if (m_slidingOut) return;
    m_slidingOut = true;
    m_timer.stop();
    m_closeButton->hide();
    if (m_slide) m_slide->stop();
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    auto* anim = new QPropertyAnimation(this, "pos", this);
    anim->setDuration(kSlideMs);
    anim->setStartValue(pos());
    anim->setEndValue(QPoint(x(), screen->geometry().bottom() + 1));
    anim->setEasingCurve(QEasingCurve::InCubic);
    connect(anim, &QPropertyAnimation::finished, this, [this] {
        m_phase = Unloading;
        close(); // deletes the window
    });
    anim->start(QAbstractAnimation::DeleteWhenStopped);
}

void popMsgForm::onTimer() {
    if (m_phase == ShowTimeRunning) {
        m_timer.stop();
        slideOut();
    } else if (m_phase == IdleTimeRunning) {
        m_timer.stop();
        m_closeButton->hide();
        slideOut();
    }
}

void popMsgForm::mousePressEvent(QMouseEvent* event) {
    // A click keeps the notice for the idle timeout instead of the show time.
    if (m_phase == ShowTimeRunning && closeButtonVisible()) {
        m_phase = IdleTimeRunning;
        startTimer(m_idleTimeout);
    }
    event->accept();
}
