#include "engine/EngineLog.h"

#include <QDateTime>

EngineLog::EngineLog(const QString& path, qint64 rotateAt)
    : m_path(path), m_rotateAt(rotateAt), m_file(path) {}

void EngineLog::write(const QString& line) {
    const QByteArray text =
        (QDateTime::currentDateTime().toString(Qt::ISODateWithMs) + QLatin1Char(' ') + line)
            .toUtf8() +
        '\n';
    if (!m_file.isOpen() && !m_file.open(QIODevice::Append | QIODevice::Text)) return;
    if (m_file.size() > 0 && m_file.size() + text.size() > m_rotateAt) {
        m_file.close();
        const QString older = m_path + QStringLiteral(".1");
        QFile::remove(older);
        QFile::rename(m_path, older);
        if (!m_file.open(QIODevice::Append | QIODevice::Text)) return;
    }
    m_file.write(text);
    m_file.flush();
}
