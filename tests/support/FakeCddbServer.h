#pragma once
// A CDDB server on 127.0.0.1 over HTTP: POSTs to "/~cddb/cddb.cgi" are answered
// from a script keyed by command prefix (the longest matching one wins), as
// bytes, so that tests can send Windows-1252 text as servers do.
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

class FakeCddbServer : public QObject {
public:
    struct Answer {
        QByteArray text;
        bool hang = false; // take the request and never answer
        int httpStatus = 200;
    };
    FakeCddbServer();
    // Points the CDDB settings at this server, with a time-out in seconds.
    void useInSettings(double timeoutSeconds = 5) const;
    void answer(const QString& prefix, const Answer& a) { m_answers.insert(prefix, a); }
    void answer(const QString& prefix, const QByteArray& text) { answer(prefix, Answer{text}); }
    QStringList commands; // the decoded "cmd" of every request, in order
    QList<QByteArray> bodies;
    QList<QByteArray> heads;

    // "211 ..." with the match lines; "210 ..." with the disc's lines.
    static QByteArray inexact(const QList<QByteArray>& matchLines);
    static QByteArray entry(const QByteArray& categoryAndId, const QList<QByteArray>& lines);

private:
    void serve(QTcpSocket* socket);
    QTcpServer m_server;
    QMap<QString, Answer> m_answers;
};
