#pragma once
// One window per library. A second start on the same data folder hands its
// files to the window that runs and ends, instead of opening the library again
// beside it. The window listens on a local socket named after the user and
// the data folder, so that libraries in other folders (and tests) keep their
// own windows.
#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

class InstanceChannel : public QObject {
    Q_OBJECT
public:
    explicit InstanceChannel(const QString& dataFolder, QObject* parent = nullptr);
    ~InstanceChannel() override;

    // The socket's path for the data folder (in XDG_RUNTIME_DIR, else the
    // temporary folder).
    static QString SocketPath(const QString& dataFolder);

    // From a second start: gives the files (absolute paths; may be none) to the
    // running window and waits for its answer. False when no window answers.
    bool HandOver(const QStringList& files, int timeoutMs = 2000) const;

    // From the running window: takes the hand-overs from now on. A socket left
    // by a window that ended is replaced; false when another window listens.
    bool Listen();
    bool isListening() const;

signals:
    // A second start handed these files over (empty: it was started plainly).
    void filesReceived(const QStringList& files);

private:
    void accept();

    QString m_path;
    QLocalServer* m_server = nullptr;
};
