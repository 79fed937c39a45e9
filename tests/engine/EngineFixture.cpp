#include "EngineFixture.h"

#include "core/Settings.h"
#include "engine/EngineInstance.h"

#include <QDir>
#include <QTcpServer>

#include <csignal>

quint16 FreeLoopbackPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

EngineTest::EngineTest()
    : m_configEnv("QUAVERO_CONFIG_DIR", m_config.path()),
      m_dataEnv("QUAVERO_DATA_DIR", m_dir.path()) {}

EngineTest::~EngineTest() = default;

void EngineTest::SetUp() {
    LibraryTest::SetUp();
    m_port = FreeLoopbackPort();
    ASSERT_TRUE(
        mainMod::WriteSetting("IndexingEngine\\ServicePort", QString::number(m_port), true));
}

void EngineTest::TearDown() {
    stopEngine();
}

QString EngineTest::lockHolder() const {
    return EngineInstance::holder(dir());
}

bool EngineTest::startEngine(const QStringList& args) {
    m_engine.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_engine.start(QStringLiteral(QVRINDEX_EXECUTABLE), args);
    if (!m_engine.waitForStarted()) return false;
    return YieldUntil([this] { return lockHolder().contains(QLatin1String("listening")); }, 10000);
}

void EngineTest::stopEngine() {
    if (m_engine.state() != QProcess::NotRunning) {
        m_engine.terminate();
        if (!m_engine.waitForFinished(10000)) m_engine.kill();
        m_engine.waitForFinished();
        return;
    }
    // One a client started: its process id leads the lock file's text.
    const qint64 pid = lockHolder().section(QLatin1Char(' '), 0, 0).toLongLong();
    if (pid <= 0) return;
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    YieldUntil([this] { return lockHolder().isEmpty(); }, 10000);
}

bool EngineTest::connectClient(IndexEngineForm& client) {
    client.setProgramFolder("/nonexistent"); // never starts one by itself
    return client.Connect();
}

QList<qint32> EngineTest::waitForReport(IndexEngineForm& client, int ms) {
    QList<qint32> report;
    const auto c = QObject::connect(&client, &IndexEngineForm::IndexCompleted,
                                    [&report](qint32 a, qint32 b, qint32 c2, qint32 d) {
                                        report = {a, b, c2, d};
                                    });
    client.NotifyReport = true;
    YieldUntil([&report] { return !report.isEmpty(); }, ms);
    QObject::disconnect(c);
    return report;
}

QStringList EngineTest::writeMp3s(int count, const QString& sub) {
    const QString folder = sub.isEmpty() ? music() : music() + QLatin1Char('/') + sub;
    QDir().mkpath(folder);
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString p = folder + QStringLiteral("/track%1.mp3").arg(i, 4, 10, QLatin1Char('0'));
        EXPECT_TRUE(
            fixtures::WriteMp3(p, fixtures::ArtistOnly(QStringLiteral("Artist %1").arg(i))));
        paths << p;
    }
    return paths;
}
