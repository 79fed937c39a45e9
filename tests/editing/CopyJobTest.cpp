// The copy loop shared by the copy dialog and qvr copy, and the questions of
// "Send to Folder/Disk".
#include "editing/CopyJob.h"
#include "editing/SendToFolder.h"
#include "lang/AppLang.h"
#include "lang/Mui.h"
#include "support/LangFixtures.h"
#include "support/ScratchMount.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class CopyTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(UseShippedLanguage(lang)); }
    void TearDown() override { mainMod::SetLang(nullptr); }
    QString path(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }
    void write(const QString& name, const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString& name) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QTemporaryDir dir;
    clsMUI lang;
};

} // namespace

TEST_F(CopyTest, ReplacesAnExistingFileWithoutAskingAndNeverCopiesTheExecuteBit) {
    write("src/a.mp3", QByteArray(200000, 'a'));
    QFile::setPermissions(path("src/a.mp3"), QFile::ReadOwner | QFile::WriteOwner |
                                                 QFile::ExeOwner | QFile::ReadOther);
    write("dst/a.mp3", "old and longer than nothing");
    ScriptedDialogs dialogs;
    CopyJob job;
    job.AddPair(path("src/a.mp3"), path("dst/a.mp3"));
    EXPECT_EQ(job.Run({}), CopyJob::Finished);
    EXPECT_TRUE(dialogs.asked.isEmpty());
    EXPECT_EQ(read("dst/a.mp3"), QByteArray(200000, 'a'));
    EXPECT_FALSE(QFileInfo(path("dst/a.mp3")).permissions() & QFile::ExeOwner);
    EXPECT_EQ(QFileInfo(path("dst/a.mp3")).lastModified(),
              QFileInfo(path("src/a.mp3")).lastModified());

    // Onto itself: the file stays whole.
    CopyJob self;
    self.AddPair(path("src/a.mp3"), path("src/a.mp3"));
    EXPECT_EQ(self.Run({}), CopyJob::Finished);
    EXPECT_EQ(read("src/a.mp3"), QByteArray(200000, 'a'));
}

TEST_F(CopyTest, AFailureIsAnsweredAbortRetryOrIgnore) {
    write("src/1.mp3", "one");
    write("src/2.mp3", "two");
    write("src/3.mp3", "three");
    // The first destination's folder does not exist until the user fixes it.
    const auto fill = [this](CopyJob& job) {
        job.AddPair(path("src/1.mp3"), path("missing/1.mp3"));
        job.AddPair(path("src/2.mp3"), path("dst/2.mp3"));
        job.AddPair(path("src/3.mp3"), path("dst/3.mp3"));
    };
    QDir().mkpath(path("dst"));

    { // Abort ends the whole loop, through the Dialogs seam by default.
        ScriptedDialogs dialogs;
        dialogs.answers = {Dialogs::Abort};
        CopyJob job;
        fill(job);
        EXPECT_EQ(job.Run({}), CopyJob::Finished) << "Abort is not Cancel";
        ASSERT_EQ(dialogs.asked.size(), 1);
        EXPECT_EQ(dialogs.asked[0].style, Dialogs::AbortRetryIgnore);
        EXPECT_EQ(dialogs.asked[0].title, QStringLiteral("Copy Error %1").arg(ENOENT));
        EXPECT_TRUE(dialogs.asked[0].text.contains(path("missing/1.mp3")));
        EXPECT_FALSE(QFile::exists(path("dst/2.mp3")));
    }
    { // Retry repeats the same copy: the user made the folder meanwhile.
        CopyJob job;
        fill(job);
        int asked = 0;
        CopyJob::Hooks hooks;
        hooks.failed = [&](const CopyFailure&) {
            ++asked;
            QDir().mkpath(path("missing"));
            return Dialogs::Retry;
        };
        EXPECT_EQ(job.Run(hooks), CopyJob::Finished);
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(read("missing/1.mp3"), "one");
        EXPECT_EQ(job.copied(), 3);
        QDir(path("missing")).removeRecursively();
        QFile::remove(path("dst/2.mp3"));
        QFile::remove(path("dst/3.mp3"));
    }
    { // Ignore goes on with the next pair.
        ScriptedDialogs dialogs;
        dialogs.answers = {Dialogs::Ignore};
        CopyJob job;
        fill(job);
        EXPECT_EQ(job.Run({}), CopyJob::Finished);
        EXPECT_EQ(dialogs.asked.size(), 1);
        EXPECT_EQ(read("dst/2.mp3"), "two");
        EXPECT_EQ(read("dst/3.mp3"), "three");
        EXPECT_EQ(job.failed(), 1);
        EXPECT_EQ(job.copied(), 2);
    }
}

TEST_F(CopyTest, ASourceThatIsNoRegularFileFailsInsteadOfWaiting) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.mp3")).constData(), 0600), 0);
    QDir().mkpath(path("dst"));
    CopyJob job;
    job.AddPair(path("pipe.mp3"), path("dst/pipe.mp3"));
    job.AddPair(path("dst"), path("dst/dir.mp3"));
    QList<int> errors;
    CopyJob::Hooks hooks;
    hooks.failed = [&](const CopyFailure& failure) {
        errors << failure.number;
        return Dialogs::Ignore;
    };
    EXPECT_EQ(job.Run(hooks), CopyJob::Finished);
    EXPECT_EQ(errors, QList<int>({EINVAL, EISDIR}));
    EXPECT_FALSE(QFile::exists(path("dst/pipe.mp3")));
}

TEST_F(CopyTest, AFullDiskLeavesNoHalfFileAndTheNextFileFits) {
    ScratchMount disk(path("disk"), 1 << 20);
    if (!disk.ok()) GTEST_SKIP() << disk.why().toStdString();
    write("src/big.mp3", QByteArray(3 << 20, 'b'));
    write("src/small.mp3", "small");
    CopyJob job;
    job.AddPair(path("src/big.mp3"), path("disk/big.mp3"));
    job.AddPair(path("src/small.mp3"), path("disk/small.mp3"));
    QList<int> errors;
    CopyJob::Hooks hooks;
    hooks.failed = [&](const CopyFailure& failure) {
        errors << failure.number;
        EXPECT_FALSE(QFile::exists(path("disk/big.mp3"))) << "half-written file left";
        return Dialogs::Ignore;
    };
    EXPECT_EQ(job.Run(hooks), CopyJob::Finished);
    EXPECT_EQ(errors, QList<int>({ENOSPC}));
    EXPECT_EQ(read("disk/small.mp3"), "small") << "the space was given back";
}

TEST_F(CopyTest, CancelLetsTheCurrentFileFinishThenStops) {
    write("src/1.mp3", "one");
    write("src/2.mp3", "two");
    QDir().mkpath(path("dst"));
    CopyJob job;
    job.AddPair(path("src/1.mp3"), path("dst/1.mp3"));
    job.AddPair(path("src/2.mp3"), path("dst/2.mp3"));
    bool cancel = false;
    CopyJob::Hooks hooks;
    hooks.starting = [&](int, const QString&, const QString&) { cancel = true; };
    hooks.cancelled = [&] { return cancel; };
    EXPECT_EQ(job.Run(hooks), CopyJob::Cancelled);
    EXPECT_EQ(read("dst/1.mp3"), "one");
    EXPECT_FALSE(QFile::exists(path("dst/2.mp3")));
}

TEST_F(CopyTest, SendToFolderAsksForTheTreeNodesSubfolder) {
    QDir().mkpath(path("disk"));
    { // Blanks around the node's text go; Yes creates the subfolder.
        ScriptedDialogs dialogs;
        dialogs.answers = {Dialogs::Yes};
        dialogs.folders = {path("disk")};
        EXPECT_EQ(SendToFolder::ChooseTarget("  Abba  "), path("disk/Abba/"));
        ASSERT_EQ(dialogs.asked.size(), 1);
        EXPECT_TRUE(dialogs.asked[0].text.contains("\"Abba\"")) << "text 3";
        EXPECT_TRUE(QFileInfo(path("disk/Abba")).isDir());
        // Asked again for an existing subfolder: its creation error is ignored.
        dialogs.answers = {Dialogs::Yes};
        dialogs.folders = {path("disk")};
        EXPECT_EQ(SendToFolder::ChooseTarget("Abba"), path("disk/Abba/"));
    }
    { // No copies straight into the chosen folder.
        ScriptedDialogs dialogs;
        dialogs.answers = {Dialogs::No};
        dialogs.folders = {path("disk")};
        EXPECT_EQ(SendToFolder::ChooseTarget("Abba"), path("disk/"));
    }
    { // No folder chosen: nothing, no message.
        ScriptedDialogs dialogs;
        EXPECT_EQ(SendToFolder::ChooseTarget(QString()), QString());
        EXPECT_TRUE(dialogs.asked.isEmpty());
    }
    { // A target that is not there is said, and nothing is copied.
        ScriptedDialogs dialogs;
        dialogs.folders = {path("gone")};
        EXPECT_EQ(SendToFolder::ChooseTarget(QString()), QString());
        ASSERT_EQ(dialogs.asked.size(), 1);
        EXPECT_EQ(dialogs.asked[0].style, Dialogs::OkOnly | Dialogs::Exclamation);
        EXPECT_TRUE(dialogs.asked[0].text.contains(path("gone/")));
    }
    const auto pairs = SendToFolder::Pairs(path("disk/"), {"/m/x y.mp3"});
    ASSERT_EQ(pairs.size(), 1);
    EXPECT_EQ(pairs[0].second, path("disk/x y.mp3"));
}
