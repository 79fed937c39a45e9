#pragma once
// The engine's log: one line per event, with the time, in the data folder.
// When the file would pass 1 MiB it becomes NAME.1 (replacing the older one),
// so the log never takes more than about 2 MiB.
#include <QFile>
#include <QString>

class EngineLog {
public:
    static constexpr qint64 RotateAt = 1024 * 1024;

    explicit EngineLog(const QString& path, qint64 rotateAt = RotateAt);
    const QString& path() const { return m_path; }
    // Appends a line; a log that cannot be written is left alone.
    void write(const QString& line);

private:
    QString m_path;
    qint64 m_rotateAt;
    QFile m_file;
};
