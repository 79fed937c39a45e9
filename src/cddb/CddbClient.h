#pragma once
// The CDDB client over HTTP: posts one command at a time to the server's CGI
// and waits for the answer in a local event loop, so that the caller's window
// stays responsive and Cancel() can end the transfer at once. Answers are
// handed on wrapped in "<PRE>" ... "</PRE>", as the parser expects them.
#include "cddb/CddbAnswer.h"
#include "cddb/CddbSettings.h"
#include "util/clsWEncode.h"

#include <QNetworkReply>
#include <QObject>
#include <QPointer>

class QEventLoop;
class QNetworkAccessManager;

namespace cddb {

class CddbClient : public QObject {
    Q_OBJECT
public:
    // With the stored settings, read again for every request.
    explicit CddbClient(QObject* parent = nullptr);
    explicit CddbClient(const ServerSettings& settings, QObject* parent = nullptr);
    ~CddbClient() override;

    // The form body of a command, as sent (Windows-1252 bytes).
    QByteArray Body(const QString& command) const;
    // The wrapped answer; "" when there was none (no connection, time-out,
    // cancelled), with the reason in LastError().
    QString Post(const QString& command);
    // Post and parse a query command.
    QueryAnswer Query(const QString& command);
    // Reads the record's disc (category and disc id) into it.
    Failure Read(CdInfo& record);
    // Ends the transfer under way; its Post returns "".
    void Cancel();
    bool Busy() const { return m_reply != nullptr; }
    QString LastError() const { return m_lastError; }
    const clsWEncode& Encoder() const { return m_encoder; }
    const ServerSettings& Settings() const { return m_settings; }

signals:
    // A transfer has started (tests and windows may act on it).
    void posting(const QString& command);

private:
    ServerSettings m_settings;
    clsWEncode m_encoder;
    QNetworkAccessManager* m_net = nullptr;
    QPointer<QNetworkReply> m_reply;
    QString m_lastError;
    bool m_cancelled = false;
    bool m_fromStore = false;
};

} // namespace cddb
