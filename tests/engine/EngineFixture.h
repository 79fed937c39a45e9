#pragma once
// A real qvrindex on a free loopback port, for a library in a temporary data
// folder with settings of its own.
#include "engine/IndexEngineForm.h"
#include "support/LibraryFixture.h"
#include "support/TestEnv.h"

#include <QProcess>
#include <QTemporaryDir>

class EngineTest : public LibraryTest {
protected:
    EngineTest();
    ~EngineTest() override;
    void SetUp() override;
    void TearDown() override;

    // Starts the engine and waits until it listens; false when it did not.
    bool startEngine(const QStringList& args = {});
    // Stops the engine this test started, or the one the lock file names.
    void stopEngine();
    QString lockHolder() const;
    // A client connected to the running engine.
    bool connectClient(IndexEngineForm& client);
    // Waits for the next report of a pass on a client with NotifyReport set.
    QList<qint32> waitForReport(IndexEngineForm& client, int ms = 30000);
    QStringList writeMp3s(int count, const QString& sub = QString());

    QTemporaryDir m_config;
    ScopedEnv m_configEnv;
    ScopedEnv m_dataEnv;
    quint16 m_port = 0;
    QProcess m_engine;
};

quint16 FreeLoopbackPort();
