#pragma once
// A scripted HTTP server on 127.0.0.1 for clients under test: each path gets a
// body, a redirect, or no answer at all.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTcpServer>

class QTcpSocket;

class FakeHttpServer : public QObject {
public:
    struct Reply {
        int status = 200;
        QByteArray body;
        QByteArray location; // sent as the Location header when not empty
        bool silent = false; // take the request and never answer
    };

    FakeHttpServer();
    bool listening() const { return m_server.isListening(); }
    // "http://127.0.0.1:PORT" + path.
    QString url(const QString& path = QStringLiteral("/")) const;
    // The reply to requests for path (the query is not part of it). Unknown paths
    // get 404 with an empty body.
    void script(const QString& path, const Reply& reply);
    void page(const QString& path, const QByteArray& body) { script(path, {200, body, {}, false}); }
    void redirect(const QString& path, const QString& to) {
        script(path, {302, {}, to.toUtf8(), false});
    }
    // The request targets received, path and query, in order.
    const QList<QString>& requests() const { return m_requests; }

private:
    void serve(QTcpSocket* socket);

    QTcpServer m_server;
    QHash<QString, Reply> m_replies;
    QList<QString> m_requests;
};
