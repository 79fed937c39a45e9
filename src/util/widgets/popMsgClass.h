#pragma once
// The notice interface: settings for the next popup, and the popups shown.
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

class popMsgForm;

class popMsgClass : public QObject {
    Q_OBJECT
public:
    explicit popMsgClass(QObject* parent = nullptr);
    ~popMsgClass() override;

    QString Title() const { return m_title; }
    void setTitle(const QString& v) { m_title = v; }
    QString Text() const { return m_text; }
    void setText(const QString& v) { m_text = v; }
    qint32 Icon() const { return m_icon; }
    void setIcon(qint32 v) { m_icon = v; }
    // Seconds, 1 to 32 (longer times are cut to 32).
    qint16 ShowTime() const { return m_showTime; }
    void setShowTime(qint16 v) { m_showTime = v; }
    qint16 IdleTimeout() const { return m_idleTimeout; }
    void setIdleTimeout(qint16 v) { m_idleTimeout = v; }
    QVariant MsgParams() const { return m_params; }
    void setMsgParams(const QVariant& v) { m_params = v; }

    // Shows one popup with the current settings and returns it.
    popMsgForm* PopMessage();
    void ResetDefaultValues();
    // Unloads every popup this instance has shown.
    void DestroyAll();

    // The popups still on screen, oldest first.
    QList<popMsgForm*> forms() const;

private:
    QString m_title;
    QString m_text;
    qint32 m_icon = 64;
    qint16 m_showTime = 10;
    qint16 m_idleTimeout = 60;
    QVariant m_params;
    QList<QPointer<popMsgForm>> m_forms;
};
