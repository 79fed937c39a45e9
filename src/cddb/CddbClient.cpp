#include "cddb/CddbClient.h"

#include "core/Ansi.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace cddb {

CddbClient::CddbClient(QObject* parent) : CddbClient(ReadServerSettings(), parent) {
    m_fromStore = true;
}

CddbClient::CddbClient(const ServerSettings& settings, QObject* parent)
    : QObject(parent), m_settings(settings), m_net(new QNetworkAccessManager(this)) {}

CddbClient::~CddbClient() {
    Cancel();
}

QByteArray CddbClient::Body(const QString& command) const {
    const QString body = QStringLiteral("cmd=") + m_encoder.ksEncodeURL(command) +
                         QStringLiteral("&hello=") + m_encoder.ksEncodeURL(m_settings.helloUser) +
                         QLatin1Char('+') + m_encoder.ksEncodeURL(m_settings.helloHost) +
                         QStringLiteral("+Quavero+1.0&proto=5");
    return Ansi::fromUnicode(body);
}

QString CddbClient::Post(const QString& command) {
    Cancel();
    if (m_fromStore) m_settings = ReadServerSettings(); // changes apply to the next request
    m_lastError.clear();
    m_cancelled = false;
    QNetworkRequest request{QUrl(CgiUrl(m_settings))};
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/x-www-form-urlencoded"));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = m_net->post(request, Body(command));
    m_reply = reply;
    emit posting(command);

    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    bool timedOut = false;
    connect(&limit, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    limit.start(m_settings.timeoutMs);
    if (!reply->isFinished()) loop.exec();
    limit.stop();
    m_reply = nullptr;
    reply->deleteLater();

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray bytes = reply->isOpen() ? reply->readAll() : QByteArray();
    if (timedOut) {
        m_lastError = QStringLiteral("no answer from %1 within %2 s")
                          .arg(m_settings.host)
                          .arg(m_settings.timeoutMs / 1000.0);
        return QString();
    }
    if (m_cancelled) {
        m_lastError = QStringLiteral("cancelled");
        return QString();
    }
    if (status == 0) {
        m_lastError = reply->errorString();
        return QString();
    }
    // The server answered: its text, line ends made CR LF. An HTTP error page
    // is handed on unwrapped, so that it counts as an answer that cannot be read.
    QString text = Ansi::toUnicode(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    if (status != 200) {
        m_lastError = QStringLiteral("HTTP status %1").arg(status);
        return text.trimmed().isEmpty() ? QStringLiteral("HTTP %1").arg(status) : text;
    }
    return QStringLiteral("<PRE>") + text + QStringLiteral("</PRE>");
}

QueryAnswer CddbClient::Query(const QString& command) {
    return ParseQuery(Post(command), m_encoder);
}

Failure CddbClient::Read(CdInfo& record) {
    return ParseRead(Post(ReadCommand(record)), record, m_encoder);
}

void CddbClient::Cancel() {
    if (!m_reply) return;
    m_cancelled = true;
    m_reply->abort();
}

} // namespace cddb
