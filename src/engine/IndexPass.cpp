#include "engine/IndexPass.h"

#include "core/Database.h"

#include <QMetaObject>

IndexPass::IndexPass(QString databasePath, QObject* parent)
    : QObject(parent), m_dbPath(std::move(databasePath)) {
    qRegisterMetaType<ScanCounts>("ScanCounts");
}

IndexPass::~IndexPass() {
    m_cancel = true;
    join();
}

void IndexPass::join() {
    if (m_thread.joinable()) m_thread.join();
}

bool IndexPass::start(const QStringList& folders, bool rereadAll) {
    if (m_running) return false;
    join();
    m_running = true;
    m_cancel = false;
    m_thread = std::thread([this, folders, rereadAll] {
        int lastPercent = -1;
        LibraryScanner::Callbacks cb;
        cb.progress = [this, &lastPercent](float p) {
            const int percent = static_cast<int>(p);
            if (percent == lastPercent) return;
            lastPercent = percent;
            QMetaObject::invokeMethod(
                this, [this, percent] { emit progressChanged(percent); }, Qt::QueuedConnection);
        };
        ScanCounts counts;
        QString error;
        Result<db::Database> d = db::Database::open(m_dbPath);
        if (!d) {
            error = d.error();
        } else {
            LibraryScanner scanner(d.value());
            scanner.setBatchSize(BatchRows);
            scanner.setLockOwner(QStringLiteral("qvrindex"));
            scanner.setRereadAll(rereadAll);
            Result<ScanCounts> r = scanner.run(folders, cb, &m_cancel);
            if (r)
                counts = r.value();
            else
                error = r.error();
        }
        QMetaObject::invokeMethod(
            this,
            [this, counts, error] {
                m_running = false;
                emit finished(counts, error);
            },
            Qt::QueuedConnection);
    });
    return true;
}

void IndexPass::cancel() {
    m_cancel = true;
}
