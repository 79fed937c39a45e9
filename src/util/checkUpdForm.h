#pragma once
// One update check: fetches the update page, follows up to three redirects,
// compares the announced version with ours and reports the result once.
#include "util/UpdateAnswer.h"

#include <QDate>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

class checkUpdForm : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxRedirects = 3;
    static constexpr int DefaultTimeLimitMs = 15000;

    // endpoint: the address the request path is appended to; currentVersion:
    // the version we run; timeLimitMs: how long one page may take.
    explicit checkUpdForm(QString endpoint, QString currentVersion,
                          int timeLimitMs = DefaultTimeLimitMs, QObject* parent = nullptr);
    ~checkUpdForm() override;

    // Quiet: "no update" and failures are not reported (the daily check).
    bool Quiet = false;

    // Arms the one-shot timer; the check runs when it fires.
    void Start();

    // After Finished: what the last page said, how its version compares to
    // ours (as CompareVersions) and the failure text (empty when none).
    const mainMod::UpdateAnswer& answer() const { return m_answer; }
    int comparison() const { return m_comparison; }
    bool failed() const { return m_failed; }
    QString failureText() const { return m_failureText; }
    // The language text of the failure: 90 no answer in time, 88 a page that
    // cannot be read; 0 when none.
    int failureNumber() const { return m_failureNumber; }
    int redirectsFollowed() const { return m_redirects; }
    QString requestUrl() const { return m_url.toString(); }

signals:
    void UpdateAvailable(const QString& version, bool beta, const QDate& releaseDate,
                         const QString& message);
    void UpdateUnAvailable(const QString& text, bool error);
    // The check is over; the owner may delete the object.
    void Finished();

private:
    void tmrCheck_Timer();
    void navigate();
    void pageArrived();
    void pageTimedOut();
    void fail(int langText);
    void finish();

    QString m_currentVersion;
    int m_timeLimitMs;
    QUrl m_url;
    QTimer* m_tmrCheck;
    QTimer* m_limit;
    QNetworkAccessManager* m_net;
    QPointer<QNetworkReply> m_reply;
    int m_redirects = 0;
    mainMod::UpdateAnswer m_answer;
    int m_comparison = -1;
    bool m_failed = false;
    QString m_failureText;
    int m_failureNumber = 0;
    bool m_done = false;
};
