#pragma once
// One index pass of the engine: the library scanner on a thread of its own,
// with its own connection, writing in small batches so that a running
// application waits at most briefly for the database. Reports arrive as
// signals on the thread that owns the object.
#include "components/LibraryScanner.h"

#include <QObject>
#include <QStringList>

#include <atomic>
#include <thread>

class IndexPass : public QObject {
    Q_OBJECT
public:
    // Rows per transaction: small, so that the application's writes get their turn.
    static constexpr int BatchRows = 100;

    explicit IndexPass(QString databasePath, QObject* parent = nullptr);
    ~IndexPass() override; // cancels and waits

    bool running() const { return m_running; }
    // Starts a pass over the given folders (empty: every media folder); with
    // rereadAll every file is read again. False while one runs.
    bool start(const QStringList& folders, bool rereadAll);
    void cancel();

signals:
    void progressChanged(int percent);
    void finished(const ScanCounts& counts, const QString& error);

private:
    void join();
    QString m_dbPath;
    std::thread m_thread;
    std::atomic<bool> m_cancel{false};
    bool m_running = false;
};
