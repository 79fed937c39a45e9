#pragma once
// A CDDB server on 127.0.0.1 speaking the protocol over HTTP: POSTs to
// "/~cddb/cddb.cgi" are answered from a script keyed by the command (the
// longest scripted prefix of the decoded "cmd" wins). Answers are bytes, so
// that tests can send Windows-1252 text as a server does.
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

class FakeCddbServer : public QObject {
public:
    struct Answer {
        QByteArray text;
        int delayMs = 0;   // answer after this long
        bool hang = false; // take the request and never answer
        int httpStatus = 200;
    };
    struct Request {
        QString command; // the decoded "cmd" field
        QByteArray body; // as received
        QByteArray contentType;
        QByteArray path;
    };

    FakeCddbServer();
    quint16 port() const { return m_server.serverPort(); }
    // Points the CDDB settings at this server, with a time-out in seconds.
    void useInSettings(double timeoutSeconds = 5) const;
    void answer(const QString& commandPrefix, const Answer& answer);
    void answer(const QString& commandPrefix, const QByteArray& text) {
        answer(commandPrefix, Answer{text});
    }
    const QList<Request>& requests() const { return m_requests; }
    QStringList commands() const;

    // Answer texts, CR LF line ends.
    static QByteArray exact(const QByteArray& matchLine); // "200 " + line
    static QByteArray inexact(const QList<QByteArray>& matchLines);
    static QByteArray noMatch();
    // A 210 read answer: the disc's lines (DTITLE=, DYEAR=, TTITLE0=, ...) in order.
    static QByteArray entry(const QByteArray& category, const QByteArray& discId,
                            const QList<QByteArray>& lines);

private:
    void serve(QTcpSocket* socket);

    QTcpServer m_server;
    QMap<QString, Answer> m_answers;
    QList<Request> m_requests;
};
