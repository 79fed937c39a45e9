// The external player: found through the class-root commands, one start per file.
#include "player/ExternalPlayer.h"
#include "core/Registry.h"
#include "core/Shell.h"
#include "support/RecordingShell.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>

namespace {

class ExternalPlayerTest : public ConfigDirTest {
protected:
    ~ExternalPlayerTest() override { ExternalPlayer::SetWinampPath(QString()); }
    void registerCommand(const QString& key, const QString& command) {
        ASSERT_TRUE(Registry::CreateKey(Registry::ClassesRoot, key));
        ASSERT_TRUE(Registry::SetValue(Registry::ClassesRoot, key, QString(), command));
    }
    QString program(const QString& name) {
        const QString path = configDir() + QStringLiteral("/bin/") + name;
        QDir().mkpath(configDir() + QStringLiteral("/bin"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        return path;
    }
};

} // namespace

TEST_F(ExternalPlayerTest, ProgramIsCutAfterTheLastExe) {
    using ExternalPlayer::ProgramOfCommand;
    EXPECT_EQ(ProgramOfCommand(R"("/opt/My Player/player.EXE" /ADD "%1")"),
              "/opt/My Player/player.EXE");
    EXPECT_EQ(ProgramOfCommand(R"(/opt/amp/amp.exe "%1")"), "/opt/amp/amp.exe");
    // The last ".exe" counts, even inside a folder name before it.
    EXPECT_EQ(ProgramOfCommand(R"("/x.exe.d/run.exe" "%1")"), "/x.exe.d/run.exe");
    // Linux programs carry no ".exe": their first word or quoted text.
    EXPECT_EQ(ProgramOfCommand(R"(/usr/bin/mpv --no-video "%1")"), "/usr/bin/mpv");
    EXPECT_EQ(ProgramOfCommand(R"("/opt/a b/play" "%1")"), "/opt/a b/play");
    EXPECT_EQ(ProgramOfCommand(QString()), QString());
}

TEST_F(ExternalPlayerTest, EnqueueCommandFirstThenPlayCommand) {
    RecordingShell shell;
    EXPECT_FALSE(ExternalPlayer::FindWinamp()) << "nothing registered";
    ExternalPlayer::PlayInWinamp("/m/a.mp3", false);
    EXPECT_TRUE(shell.calls.isEmpty()) << "no player: nothing happens";

    const QString play = program("play.exe");
    registerCommand(ExternalPlayer::PlayKey, QStringLiteral("\"%1\" \"%2\"").arg(play, "%1"));
    // An enqueue command naming a missing program falls through to the play command.
    registerCommand(ExternalPlayer::EnqueueKey, "\"/nowhere/amp.exe\" /ADD \"%1\"");
    EXPECT_TRUE(ExternalPlayer::FindWinamp());
    EXPECT_EQ(ExternalPlayer::WinampPath(), play);

    const QString enqueue = program("enqueue.exe");
    registerCommand(ExternalPlayer::EnqueueKey,
                    QStringLiteral("\"%1\" /ADD \"%2\"").arg(enqueue, "%1"));
    EXPECT_TRUE(ExternalPlayer::FindWinamp());
    EXPECT_EQ(ExternalPlayer::WinampPath(), enqueue);
}

TEST_F(ExternalPlayerTest, OneCallPerFileWithAddWhenEnqueuing) {
    RecordingShell shell;
    const QString amp = program("amp.exe");
    registerCommand(ExternalPlayer::EnqueueKey,
                    QStringLiteral("\"%1\" /ADD \"%2\"").arg(amp, "%1"));
    ASSERT_TRUE(ExternalPlayer::FindWinamp());

    ExternalPlayer::PlayInWinamp("/m/one.mp3\r\n  /m/two words.mp3 \r\n\r\n/m/three.wma", true);
    ASSERT_EQ(shell.calls.size(), 3);
    EXPECT_EQ(shell.calls[0].program, amp);
    EXPECT_EQ(shell.calls[0].arguments, QStringList({"/ADD", "/m/one.mp3"}));
    EXPECT_EQ(shell.calls[1].arguments, QStringList({"/ADD", "/m/two words.mp3"}));
    EXPECT_EQ(shell.calls[2].arguments, QStringList({"/ADD", "/m/three.wma"}));

    shell.calls.clear();
    ExternalPlayer::PlayInWinamp("/m/one.mp3\r\n/m/two.mp3", false);
    ASSERT_EQ(shell.calls.size(), 2);
    EXPECT_EQ(shell.calls[0].arguments, QStringList({"/m/one.mp3"}));
    EXPECT_EQ(shell.calls[1].arguments, QStringList({"/m/two.mp3"}));
}

TEST_F(ExternalPlayerTest, AHandWrittenClassRootFileAsTheReadmeShows) {
    const QString script = program("quavero-player.exe");
    writeFile(hivePath("HKEY_CLASSES_ROOT"),
              QStringLiteral("Windows Registry Editor Version 5.00\n\n"
                             "[HKEY_CLASSES_ROOT\\Applications\\Winamp.exe\\shell\\Play\\command]\n"
                             "@=\"\\\"%1\\\" \\\"%2\\\"\"\n\n"
                             "[HKEY_CLASSES_ROOT\\Applications\\Winamp.exe\\shell\\Enqueue\\"
                             "command]\n"
                             "@=\"\\\"%1\\\" /ADD \\\"%2\\\"\"\n")
                  .arg(script, "%1")
                  .toUtf8());
    ASSERT_TRUE(ExternalPlayer::FindWinamp());
    EXPECT_EQ(ExternalPlayer::WinampPath(), script);
}
