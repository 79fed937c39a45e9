// qvr engine status|start|cancel|watch against a real engine.
#include "EngineFixture.h"

#include "components/ScanLock.h"

namespace {

ProcessResult qvrEngine(const QStringList& args) {
    return runTool(QStringLiteral(QVR_EXECUTABLE), QStringList{"engine"} + args, 30000);
}

TEST_F(EngineTest, CommandStatusSaysWhetherItRuns) {
    ProcessResult r = qvrEngine({"status"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains("running\tno")) << r.out.toStdString();
    EXPECT_EQ(qvrEngine({"cancel"}).exitCode, 1);
    EXPECT_EQ(qvrEngine({"watch"}).exitCode, 1);

    ASSERT_TRUE(startEngine());
    r = qvrEngine({"status"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(
        r.out.contains(QStringLiteral("running\tyes\nport\t%1\nstate\t0\nbusy\tno").arg(m_port)))
        << r.out.toStdString();
    r = qvrEngine({"watch"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains("no pass is running"));
}

TEST_F(EngineTest, CommandStartStartsTheEngineAndAPass) {
    addMusicFolder();
    writeMp3s(2);
    const ProcessResult r = qvrEngine({"start"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("pass started"));
    EXPECT_TRUE(lockHolder().contains(QLatin1String("listening")));
    EXPECT_TRUE(YieldUntil([this] { return idOf("track0001.mp3") > 0; }, 10000));
}

TEST_F(EngineTest, CommandWatchFollowsThePassToItsReport) {
    addMusicFolder();
    writeMp3s(2);
    ASSERT_TRUE(startEngine());
    // The pass waits for this scan lock, so watch finds it running.
    Result<std::unique_ptr<FileLock>> held =
        ScanLock::acquire(dbPath(), "engine test", {0, {}, nullptr});
    ASSERT_TRUE(held.ok());
    ASSERT_EQ(qvrEngine({"start"}).exitCode, 0);
    QProcess watch;
    watch.start(QStringLiteral(QVR_EXECUTABLE), {"engine", "watch"});
    ASSERT_TRUE(watch.waitForStarted());
    YieldUntil([] { return false; }, 1000);
    held.value()->release();
    ASSERT_TRUE(watch.waitForFinished(30000));
    EXPECT_EQ(watch.exitCode(), 0);
    const QString out = QString::fromUtf8(watch.readAllStandardOutput());
    EXPECT_TRUE(out.contains("progress\t100\n")) << out.toStdString();
    // The state's language reference is printed as its text.
    EXPECT_TRUE(out.contains("state\t0\tThe library refresh is complete.")) << out.toStdString();
    EXPECT_TRUE(out.endsWith("checked\t2\nadded\t2\nupdated\t0\nremoved\t0\n"))
        << out.toStdString();
}

} // namespace
