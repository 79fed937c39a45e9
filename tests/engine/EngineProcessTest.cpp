// The real engine program on a free loopback port: the handshake and state,
// passes that index real files, cancel, the lock, idle stop, the client
// starting the engine, and writes of the application during a pass.
#include "EngineFixture.h"

#include "components/ScanLock.h"
#include "core/AppSettings.h"
#include "core/Settings.h"
#include "engine/EngineServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <iostream>

namespace {

TEST_F(EngineTest, HandshakeStateAndBusy) {
    ASSERT_TRUE(startEngine());
    EXPECT_TRUE(lockHolder().contains(QStringLiteral("127.0.0.1:%1").arg(m_port)))
        << lockHolder().toStdString();
    IndexEngineForm client;
    ASSERT_TRUE(connectClient(client));
    EXPECT_TRUE(client.Connected());
    EXPECT_FALSE(client.Busy());
    EXPECT_EQ(client.LastState(), EngineIdle);
    // Any number of clients.
    IndexEngineForm second;
    ASSERT_TRUE(connectClient(second));
    EXPECT_FALSE(second.Busy());
    EXPECT_TRUE(QFile::exists(dir() + QStringLiteral("/qvrindex.log")));
}

TEST_F(EngineTest, StartIndexesFilesAndReports) {
    addMusicFolder();
    writeMp3s(3);
    ASSERT_TRUE(startEngine());
    IndexEngineForm client;
    ASSERT_TRUE(connectClient(client));
    QList<QPair<qint16, QString>> states;
    QList<qint16> progress;
    QObject::connect(&client, &IndexEngineForm::IndexStateChanged,
                     [&](qint16 s, const QString& t) { states << qMakePair(s, t); });
    QObject::connect(&client, &IndexEngineForm::IndexProgressChanged,
                     [&](qint16 p) { progress << p; });
    client.NotifyState = client.NotifyProgress = true;
    ASSERT_TRUE(client.Start(false));
    EXPECT_EQ(waitForReport(client), (QList<qint32>{3, 3, 0, 0}));
    EXPECT_EQ(rows("select md_artist from FILES order by md_artist", {"md_artist"}),
              (QStringList{"Artist 0", "Artist 1", "Artist 2"}));
    ASSERT_GE(states.size(), 2);
    EXPECT_EQ(states.first(), qMakePair(qint16(1), QStringLiteral("$654")));
    EXPECT_EQ(states.last(), qMakePair(qint16(0), QStringLiteral("$656")));
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last(), 100);
    EXPECT_FALSE(client.Busy());

    // A plain start reads nothing unchanged; a forced one reads every file again.
    ASSERT_TRUE(client.Start(false));
    EXPECT_EQ(waitForReport(client), (QList<qint32>{3, 0, 0, 0}));
    ASSERT_TRUE(client.Start(true));
    EXPECT_EQ(waitForReport(client), (QList<qint32>{3, 0, 3, 0}));
}

TEST_F(EngineTest, CancelEndsTheRunningPass) {
    addMusicFolder();
    writeMp3s(2);
    ASSERT_TRUE(startEngine());
    // Another scan of the library holds it, so the pass waits until cancelled.
    Result<std::unique_ptr<FileLock>> held =
        ScanLock::acquire(dbPath(), "engine test", {0, {}, nullptr});
    ASSERT_TRUE(held.ok()) << held.error().toStdString();
    IndexEngineForm client;
    ASSERT_TRUE(connectClient(client));
    QList<QPair<qint16, QString>> states;
    QObject::connect(&client, &IndexEngineForm::IndexStateChanged,
                     [&](qint16 s, const QString& t) { states << qMakePair(s, t); });
    client.NotifyState = true;
    ASSERT_TRUE(client.Start(false));
    EXPECT_TRUE(client.Busy());
    // A second start while one runs answers with the state and starts nothing.
    ASSERT_TRUE(client.Start(true));
    ASSERT_TRUE(client.Cancel());
    EXPECT_EQ(waitForReport(client), (QList<qint32>{0, 0, 0, 0}));
    ASSERT_FALSE(states.isEmpty());
    EXPECT_EQ(states.last(), qMakePair(qint16(0), QStringLiteral("$655")));
    EXPECT_FALSE(client.Busy());
    EXPECT_EQ(rows("select id from FILES", {"id"}).size(), 0);
}

TEST_F(EngineTest, SecondEngineRefusesToStartAndNamesTheFirst) {
    ASSERT_TRUE(startEngine());
    const ProcessResult second = runTool(QStringLiteral(QVRINDEX_EXECUTABLE), {}, 20000);
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_TRUE(second.err.contains("qvrindex listening on 127.0.0.1")) << second.err.toStdString();
    EXPECT_TRUE(second.err.contains(QString::number(m_engine.processId())));
}

TEST_F(EngineTest, InstallRegistersNothing) {
    const ProcessResult r = runTool(QStringLiteral(QVRINDEX_EXECUTABLE), {"/install"}, 20000);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(lockHolder().isEmpty());
    EXPECT_FALSE(QFile::exists(dir() + QStringLiteral("/qvrindex.log")));
}

TEST_F(EngineTest, ClientStartsTheEngineWhenNoneRuns) {
    IndexEngineForm client;
    client.setProgramFolder(QStringLiteral(QUAVERO_BIN_DIR));
    ASSERT_TRUE(lockHolder().isEmpty());
    ASSERT_TRUE(client.Connect());
    EXPECT_TRUE(client.Connected());
    EXPECT_TRUE(lockHolder().contains(QLatin1String("listening"))) << lockHolder().toStdString();
    EXPECT_FALSE(client.Busy());
}

TEST_F(EngineTest, StopsAfterTheIdleTimeWithoutClients) {
    ASSERT_TRUE(mainMod::WriteSetting("IndexingEngine\\IdleStopSeconds", "1"));
    ASSERT_TRUE(startEngine());
    {
        IndexEngineForm client;
        ASSERT_TRUE(connectClient(client));
        // A connected client keeps it running.
        YieldUntil([] { return false; }, 1500);
        EXPECT_EQ(m_engine.state(), QProcess::Running);
    }
    EXPECT_TRUE(m_engine.waitForFinished(10000));
    EXPECT_EQ(m_engine.exitCode(), 0);
    EXPECT_TRUE(lockHolder().isEmpty());
}

TEST_F(EngineTest, ApplicationWritesDuringAPassAreNotLost) {
    addMusicFolder();
    writeMp3s(1500);
    ASSERT_TRUE(startEngine());
    IndexEngineForm client;
    ASSERT_TRUE(connectClient(client));
    client.NotifyReport = true;
    QList<qint32> report;
    QObject::connect(&client, &IndexEngineForm::IndexCompleted,
                     [&](qint32 a, qint32 b, qint32 c, qint32 d) {
                         report = {a, b, c, d};
                     });
    ASSERT_TRUE(client.Start(false));
    // The application's own writes, one transaction each, while the engine writes.
    int written = 0, duringPass = 0;
    for (int i = 0; i < 200; ++i) {
        if (report.isEmpty()) ++duringPass;
        Result<db::Recordset> r =
            conn().prepare("insert into MFILTERS (DESCRIPT, QSQL) values (?1, 'x')");
        ASSERT_TRUE(r.ok()) << r.error().toStdString();
        r.value().bind(1, QStringLiteral("filter %1").arg(i));
        Status s = r.value().execute();
        ASSERT_TRUE(s.ok()) << s.error().toStdString();
        ++written;
        QCoreApplication::processEvents();
    }
    ASSERT_TRUE(YieldUntil([&] { return !report.isEmpty(); }, 60000));
    EXPECT_EQ(report, (QList<qint32>{1500, 1500, 0, 0}));
    EXPECT_GT(duringPass, 0);
    EXPECT_EQ(rows("select id from FILES", {"id"}).size(), 1500);
    EXPECT_EQ(rows("select id from MFILTERS", {"id"}).size(), written);
}

TEST_F(EngineTest, PortSettingOutOfRangeOrNotANumberMeans7009) {
    for (const char* text : {"70000", "abc", "-1", ""}) {
        ASSERT_TRUE(
            mainMod::WriteSetting("IndexingEngine\\ServicePort", QLatin1String(text), true));
        EXPECT_EQ(IndexingEnginePort(), 7009) << text;
    }
    ASSERT_TRUE(mainMod::WriteSetting("IndexingEngine\\ServicePort", "abc", true));
    // The engine listens at 7009 then, and a client finds it there.
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 7009))
        GTEST_SKIP() << "port 7009 is taken on this machine";
    probe.close();
    ASSERT_TRUE(startEngine());
    EXPECT_TRUE(lockHolder().contains(QLatin1String("127.0.0.1:7009")))
        << lockHolder().toStdString();
    IndexEngineForm client;
    ASSERT_TRUE(connectClient(client));
}

} // namespace

namespace {

TEST_F(EngineTest, WatchedFolderChangesReachTheLibrary) {
    addMusicFolder();
    writeMp3s(1, "old");
    ASSERT_TRUE(startEngine());
    IndexEngineForm client;
    ASSERT_TRUE(connectClient(client));
    ASSERT_TRUE(client.Start(false));
    ASSERT_EQ(waitForReport(client), (QList<qint32>{1, 1, 0, 0}));

    QList<QList<qint32>> reports;
    QObject::connect(&client, &IndexEngineForm::IndexCompleted,
                     [&](qint32 a, qint32 b, qint32 c, qint32 d) {
                         reports << QList{a, b, c, d};
                     });

    // A file copied into a folder that appeared after the engine started.
    QDir().mkpath(music() + QStringLiteral("/new"));
    const QString copy = music() + QStringLiteral("/new/copied.mp3");
    ASSERT_TRUE(QFile::copy(music() + QStringLiteral("/old/track0000.mp3"), copy));
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(YieldUntil([&] { return idOf("copied.mp3") > 0; }, 10000));
    std::cout << "[ note     ] a copied file was in the library after " << clock.elapsed()
              << " ms\n";
    // Clients hear of it as of any pass.
    EXPECT_TRUE(YieldUntil([&] { return !reports.isEmpty() && reports.last()[1] == 1; }, 5000));

    ASSERT_TRUE(QFile::remove(copy));
    EXPECT_TRUE(YieldUntil([&] { return idOf("copied.mp3") == 0; }, 10000));
    EXPECT_TRUE(YieldUntil([&] { return !reports.isEmpty() && reports.last()[3] == 1; }, 5000));
    EXPECT_EQ(idOf("track0000.mp3") > 0, true);
}

TEST_F(EngineTest, WatchingCanBeSwitchedOff) {
    ASSERT_TRUE(mainMod::WriteSetting("IndexingEngine\\WatchFolders", "0"));
    addMusicFolder();
    ASSERT_TRUE(startEngine());
    IndexEngineForm client;
    ASSERT_TRUE(connectClient(client));
    writeMp3s(1);
    EXPECT_TRUE(waitForReport(client, 3000).isEmpty());
    EXPECT_EQ(idOf("track0000.mp3"), 0);
}

} // namespace
