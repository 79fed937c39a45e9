#include "core/widgets/frmSplash.h"

#include "core/AppInfo.h"
#include "core/widgets/Artwork.h"
#include "lang/widgets/FormLang.h"

#include <QFrame>
#include <QLabel>
#include <algorithm>

frmSplash::frmSplash(const QString& versionWord, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(360, 220);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    auto* border = new QFrame(this);
    border->setFrameShape(QFrame::Box);
    border->setStyleSheet(QStringLiteral("color: #9aa7ad;"));
    border->setGeometry(rect());

    m_logo = new QLabel(this);
    m_logo->setObjectName(QStringLiteral("ilogo"));
    m_logo->setGeometry(60, 24, 240, 80);
    m_logo->setPixmap(Artwork::Picture(QStringLiteral("logo_small"), QSize(240, 80)));

    QString version = versionWord.toLower() + QLatin1Char(' ') + mainMod::AppVersion();
    if (mainMod::IsBeta()) version += QStringLiteral(" (Beta)");
    m_version = new QLabel(version, this);
    m_version->setObjectName(QStringLiteral("vrs"));
    m_version->setAlignment(Qt::AlignCenter);
    m_version->setProperty(FormLang::NoLangTextProperty, true);
    m_version->setGeometry(0, 110, width(), 20);

    m_action = new QLabel(this);
    m_action->setObjectName(QStringLiteral("act"));
    m_action->setGeometry(25, 150, width() - 50, 20);

    m_track = new QFrame(this);
    m_track->setGeometry(25, 176, FullWidth, 10);
    m_track->setStyleSheet(QStringLiteral("background: #e3e9ec;"));
    m_shape = new QFrame(m_track);
    m_shape->setObjectName(QStringLiteral("pbShape"));
    m_shape->setStyleSheet(QStringLiteral("background: #1f6f8b;"));
    m_shape->setGeometry(0, 0, 0, 10);
    m_shape->hide();
}

void frmSplash::setPB(int percent) {
    m_percent = std::clamp(percent, 0, 100);
    if (m_percent == 0) {
        m_shape->hide();
        return;
    }
    m_shape->resize(m_percent * FullWidth / 100, m_shape->height());
    m_shape->show();
}

void frmSplash::setAct(const QString& text) {
    m_action->setText(text);
}
QString frmSplash::act() const {
    return m_action->text();
}
QString frmSplash::vrs() const {
    return m_version->text();
}
int frmSplash::shapeWidth() const {
    return m_shape->width();
}
bool frmSplash::shapeVisible() const {
    return !m_shape->isHidden();
}
