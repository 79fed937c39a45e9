#include "util/checkUpdForm.h"

#include "lang/AppLang.h"
#include "util/UpdateSettings.h"
#include "util/VersionCompare.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace {

constexpr int NoAnswerText = 90;
constexpr int BadAnswerText = 88;

} // namespace

checkUpdForm::checkUpdForm(QString endpoint, QString currentVersion, int timeLimitMs,
                           QObject* parent)
    : QObject(parent), m_currentVersion(std::move(currentVersion)), m_timeLimitMs(timeLimitMs),
      m_url(mainMod::UpdateRequestUrl(endpoint, m_currentVersion)), m_tmrCheck(new QTimer(this)),
      m_limit(new QTimer(this)), m_net(new QNetworkAccessManager(this)) {
    m_tmrCheck->setSingleShot(true);
    m_tmrCheck->setInterval(10);
    connect(m_tmrCheck, &QTimer::timeout, this, &checkUpdForm::tmrCheck_Timer);
    m_limit->setSingleShot(true);
    connect(m_limit, &QTimer::timeout, this, &checkUpdForm::pageTimedOut);
}

checkUpdForm::~checkUpdForm() {
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

void checkUpdForm::Start() {
    m_tmrCheck->start();
}

void checkUpdForm::tmrCheck_Timer() {
    m_tmrCheck->stop();
    m_redirects = 0;
    m_done = false;
    m_failed = false;
    m_failureNumber = 0;
    m_failureText.clear();
    m_comparison = -1;
    navigate();
}

void checkUpdForm::navigate() {
    m_answer = {};
    QNetworkRequest request(m_url);
    // Every check asks the server: nothing is read from or kept in a cache.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setRawHeader("Cache-Control", "no-cache");
    // HTTP redirects are counted with the page's own "redir" lines.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    m_reply = m_net->get(request);
    connect(m_reply, &QNetworkReply::finished, this, &checkUpdForm::pageArrived);
    m_limit->start(m_timeLimitMs);
}

void checkUpdForm::pageTimedOut() {
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
    fail(NoAnswerText);
    finish();
}

void checkUpdForm::pageArrived() {
    m_limit->stop();
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    reply->deleteLater();

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QUrl location = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
    const QString page = QString::fromUtf8(reply->readAll());
    if (status >= 300 && status < 400 && location.isValid() && m_redirects < MaxRedirects) {
        m_url = reply->url().resolved(location);
        ++m_redirects;
        navigate();
        return;
    }
    if (!mainMod::EndsWithEof(page)) {
        fail(BadAnswerText);
        finish();
        return;
    }
    m_answer = mainMod::ParseUpdateAnswer(page, m_redirects < MaxRedirects);
    if (!m_answer.redirect.isEmpty()) {
        m_url = reply->url().resolved(QUrl(m_answer.redirect));
        ++m_redirects;
        navigate();
        return;
    }
    if (m_answer.version.isEmpty()) {
        fail(BadAnswerText);
        finish();
        return;
    }
    m_comparison = mainMod::CompareVersions(m_currentVersion, m_answer.version);
    finish();
}

void checkUpdForm::fail(int langText) {
    m_failed = true;
    m_failureNumber = langText;
    m_failureText = mainMod::LangText(langText);
}

void checkUpdForm::finish() {
    if (m_done) return;
    m_done = true;
    if (!m_failed && m_comparison == 2)
        emit UpdateAvailable(m_answer.version, m_answer.beta, m_answer.releaseDate,
                             m_answer.message());
    else if (!Quiet)
        emit UpdateUnAvailable(m_failureText, m_failed);
    emit Finished();
}
