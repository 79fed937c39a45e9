// The conversion job on real files: queue, steps, tags, library, clean-up,
// failures answered by the user, Cancel, and files that must never be touched.
#include "convert/ConvertJob.h"
#include "components/AudioFile.h"
#include "convert/ConvertTestAudio.h"
#include "convert/TagObject.h"
#include "core/FileNameCodec.h"
#include "support/LibraryFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <unistd.h>

using namespace convert;

namespace {

TEST(ConvertQueueTest, QueuesExistingFilesOnceAsTheFileSystemComparesThem) {
    QTemporaryDir dir;
    const QString a = dir.path() + "/Song.mp3";
    ASSERT_TRUE(fixtures::WriteBytes(a, "x"));
    ASSERT_TRUE(fixtures::WriteBytes(dir.path() + "/song.mp3", "y"));
    ConvertQueue queue;
    EXPECT_TRUE(queue.AddFile(a));
    EXPECT_FALSE(queue.AddFile(a));
    EXPECT_FALSE(queue.AddFile(dir.path() + "//./Song.mp3")); // the same file spelled otherwise
    EXPECT_TRUE(queue.AddFile(dir.path() + "/song.mp3"));     // another file here
    EXPECT_FALSE(queue.AddFile(dir.path() + "/missing.mp3"));
    EXPECT_FALSE(queue.AddFile(dir.path()));
    ASSERT_EQ(queue.Count(), 2);
    const ConvertItem& item = queue.Items().first();
    EXPECT_EQ(item.FullPath, a);
    EXPECT_EQ(item.Folder, dir.path() + "/");
    EXPECT_EQ(item.FileName, "Song.mp3");
    EXPECT_EQ(item.Title, "Song");
    EXPECT_EQ(ConvertQueue::MakeItem("/m/a.b.wma").Title, "a.b");
}

TEST(ConvertQueueTest, TargetsAndSteps) {
    const QList<ConvertItem> items = {ConvertQueue::MakeItem("/m/one.MP3"),
                                      ConvertQueue::MakeItem("/n/two.wma"),
                                      ConvertQueue::MakeItem("/n/three.wav")};
    ConvertOptions options;
    options.format = TargetMp3;
    QList<ConvertRow> rows = PlanRows(items, options);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].target, "/m/one.mp3");
    EXPECT_EQ(rows[1].target, "/n/two.mp3");
    EXPECT_EQ(rows[2].targetName, "three.mp3");
    EXPECT_EQ(CountSteps(rows, TargetMp3), 5); // decode steps for the MP3 and the WMA
    EXPECT_EQ(CountSteps(rows, TargetWma), 3);
    EXPECT_EQ(CountSteps(rows, TargetWav), 3);

    options.format = TargetWav;
    options.targetName = "Named";
    options.targetFolder = "/out";
    rows = PlanRows(items.mid(0, 1), options);
    EXPECT_EQ(rows[0].target, "/out/Named.wav");
    EXPECT_EQ(rows[0].state, RowState::Ready);
    EXPECT_EQ(StateColor(RowState::Failed), 0xFF0000);
    EXPECT_EQ(StateColor(RowState::Decoding), 0x006400);
    EXPECT_EQ(FormatOfText("Wma"), TargetWma);
    EXPECT_EQ(FormatOfText("ogg"), -1);
}

class ConvertJobTest : public LibraryTest {
protected:
    ConvertJobTest() : tmp("TMPDIR", m_dir.path() + "/tmp") {}
    void SetUp() override {
        LibraryTest::SetUp();
        ASSERT_TRUE(QDir().mkpath(m_dir.path() + "/tmp"));
        ASSERT_TRUE(QDir().mkpath(out()));
    }
    QString out() const { return dir() + "/out"; }
    QString at(const QString& name) const { return music() + "/" + name; }
    QStringList tempFiles() const {
        return QDir(dir() + "/tmp").entryList(QDir::Files | QDir::NoDotAndDotDot);
    }
    // Runs the job over the files to its end.
    std::unique_ptr<ConvertJob> run(const QStringList& files, const ConvertOptions& options) {
        ConvertQueue queue;
        for (const QString& f : files)
            EXPECT_TRUE(queue.AddFile(f)) << f.toStdString();
        auto job = std::make_unique<ConvertJob>(PlanRows(queue.Items(), options), options, &lib,
                                                DefaultSettings());
        job->Start();
        job->WaitForFinished();
        return job;
    }
    static QString artistOf(const QString& path, bool wma) {
        std::unique_ptr<AudioTagObject> tags;
        if (wma)
            tags = std::make_unique<WmaTagObject>();
        else
            tags = std::make_unique<Id3TagObject>();
        return tags->Open(path) ? tags->Artist() : QStringLiteral("<unreadable>");
    }

    ScopedEnv tmp;
    ScriptedDialogs dialogs;
};

TEST_F(ConvertJobTest, Mp3ToMp3DecodesFirstAndRemovesItsTemporaryWav) {
    fixtures::TagFields tags;
    tags.artist = "Band";
    tags.title = "Song";
    ASSERT_TRUE(fixtures::WriteMp3(at("a.mp3"), tags));
    ConvertOptions options;
    options.targetFolder = out();
    auto job = run({at("a.mp3")}, options);
    ASSERT_EQ(job->Rows()[0].state, RowState::Completed) << job->Rows()[0].reason.toStdString();
    EXPECT_EQ(job->TotalSteps(), 2);
    EXPECT_EQ(job->StepsDone(), 2);
    EXPECT_EQ(job->Result(), ConvertJob::Completed);
    EXPECT_TRUE(tempFiles().isEmpty()) << tempFiles().join(' ').toStdString();
    EXPECT_EQ(artistOf(out() + "/a.mp3", false), "Band");
    EXPECT_TRUE(QFileInfo::exists(at("a.mp3")));
    EXPECT_GT(idOf("a.mp3"), 0); // the new file joined the library
    EXPECT_TRUE(job->LibraryChanged());
}

TEST_F(ConvertJobTest, WmaToMp3WithOverriddenTags) {
    fixtures::TagFields tags;
    tags.artist = "Old";
    tags.album = "Kept";
    ASSERT_TRUE(fixtures::WriteWma(at("w.wma"), tags));
    ConvertOptions options;
    options.targetFolder = out();
    options.overrides.artist = QStringLiteral("  New  ");
    options.addToLibrary = false;
    auto job = run({at("w.wma")}, options);
    ASSERT_EQ(job->Rows()[0].state, RowState::Completed) << job->Rows()[0].reason.toStdString();
    EXPECT_EQ(job->TotalSteps(), 2);
    Id3TagObject written;
    ASSERT_TRUE(written.Open(out() + "/w.mp3"));
    EXPECT_EQ(written.Artist(), "New");
    EXPECT_EQ(written.AlbumName(), "Kept");
    EXPECT_FALSE(job->LibraryChanged());
    EXPECT_TRUE(tempFiles().isEmpty());
}

TEST_F(ConvertJobTest, WavToWmaTakesOneStep) {
    ASSERT_TRUE(fixtures::WriteWav(at("s.wav"), 1.0));
    ConvertOptions options;
    options.format = TargetWma;
    options.overrides.title = QStringLiteral("Named");
    auto job = run({at("s.wav")}, options);
    ASSERT_EQ(job->Rows()[0].state, RowState::Completed) << job->Rows()[0].reason.toStdString();
    EXPECT_EQ(job->TotalSteps(), 1);
    WmaTagObject written;
    ASSERT_TRUE(written.Open(at("s.wma")));
    EXPECT_EQ(written.Title(), "Named");
    EXPECT_NEAR(ReadAudioFacts(at("s.wma")).duration, 1.0, 0.1);
}

TEST_F(ConvertJobTest, Mp3ToWavDeletesOriginalsAndUpdatesTheLibrary) {
    ASSERT_TRUE(fixtures::WriteMp3(at("one.mp3"), fixtures::ArtistOnly("A")));
    ASSERT_TRUE(fixtures::WriteMp3(at("two.mp3"), fixtures::ArtistOnly("B")));
    scan(music());
    ASSERT_GT(idOf("one.mp3"), 0);
    ConvertOptions options;
    options.format = TargetWav;
    options.deleteOriginals = true;
    auto job = run({at("one.mp3"), at("two.mp3")}, options);
    for (const ConvertRow& row : job->Rows())
        EXPECT_EQ(row.state, RowState::Completed) << row.reason.toStdString();
    EXPECT_FALSE(QFileInfo::exists(at("one.mp3")));
    EXPECT_FALSE(QFileInfo::exists(at("two.mp3")));
    EXPECT_EQ(idOf("one.mp3"), 0);
    EXPECT_EQ(idOf("two.mp3"), 0);
    EXPECT_GT(idOf("one.wav"), 0);
    EXPECT_GT(idOf("two.wav"), 0);
    EXPECT_TRUE(job->LibraryChanged());
    EXPECT_NEAR(ReadAudioFacts(at("one.wav")).duration, 0.5, 0.1);
}

TEST_F(ConvertJobTest, SourcesWhoseNamesAreNotUtf8) {
    // Names are bytes: an MP3 and a WAV whose names hold 0xFF convert, and the
    // original goes once its target reads back.
    const QByteArray mp3Raw = QFile::encodeName(music()) + "/odd\xff.mp3";
    const QByteArray wavRaw = QFile::encodeName(music()) + "/odd\xfe.wav";
    ASSERT_TRUE(fixtures::WriteMp3(at("plain.mp3"), fixtures::ArtistOnly("A")));
    ASSERT_TRUE(fixtures::WriteWav(at("plain.wav")));
    ASSERT_EQ(::rename(QFile::encodeName(at("plain.mp3")).constData(), mp3Raw.constData()), 0);
    ASSERT_EQ(::rename(QFile::encodeName(at("plain.wav")).constData(), wavRaw.constData()), 0);
    const QString mp3 = FileNameCodec::decode(mp3Raw);
    const QString wav = FileNameCodec::decode(wavRaw);
    scan(music());
    ConvertOptions options;
    options.format = TargetWav;
    options.deleteOriginals = true;
    auto job = run({mp3}, options);
    ASSERT_EQ(job->Rows().size(), 1);
    EXPECT_EQ(job->Rows()[0].state, RowState::Completed) << job->Rows()[0].reason.toStdString();
    EXPECT_NE(::access(mp3Raw.constData(), F_OK), 0) << "the original is deleted";
    EXPECT_TRUE(QFileInfo::exists(at(QStringLiteral("odd\uFFFD.wav"))));

    options.format = TargetMp3;
    options.deleteOriginals = false;
    options.targetFolder = out();
    job = run({wav}, options);
    EXPECT_EQ(job->Rows()[0].state, RowState::Completed) << job->Rows()[0].reason.toStdString();
    EXPECT_GT(ReadAudioFacts(out() + QStringLiteral("/odd\uFFFD.mp3")).duration, 0.3);
}

TEST_F(ConvertJobTest, FailedFileIsRetriedThenIgnored) {
    ASSERT_TRUE(fixtures::WriteBytes(at("bad.mp3"), QByteArray(4000, 'z')));
    ASSERT_TRUE(fixtures::WriteWav(at("good.wav")));
    dialogs.answers = {Dialogs::Retry, Dialogs::Ignore};
    ConvertOptions options;
    options.targetFolder = out();
    auto job = run({at("bad.mp3"), at("good.wav")}, options);
    ASSERT_EQ(dialogs.asked.size(), 2);
    for (const ScriptedDialogs::Asked& a : dialogs.asked) {
        EXPECT_EQ(a.text, "The current conversion was not completed successfully.");
        EXPECT_EQ(a.title, "Error");
        EXPECT_EQ(a.style & 7, Dialogs::AbortRetryIgnore);
    }
    EXPECT_EQ(job->Rows()[0].state, RowState::Failed);
    EXPECT_FALSE(job->Rows()[0].reason.isEmpty());
    EXPECT_EQ(job->Rows()[1].state, RowState::Completed);
    // The earlier failure still counts, though the last file succeeded.
    EXPECT_EQ(job->Result(), ConvertJob::CompletedWithErrors);
    // Two tries of the bad file's decode step, one step back, then the WAV.
    EXPECT_EQ(job->StepsDone(), 2);
    EXPECT_FALSE(QFileInfo::exists(out() + "/bad.mp3"));
    EXPECT_TRUE(tempFiles().isEmpty());
}

TEST_F(ConvertJobTest, AbortAfterAFailureLeavesTheRestReady) {
    ASSERT_TRUE(fixtures::WriteBytes(at("bad.wma"), QByteArray(4000, 'z')));
    ASSERT_TRUE(fixtures::WriteWav(at("good.wav")));
    dialogs.answers = {Dialogs::Abort};
    ConvertOptions options;
    options.format = TargetWav;
    auto job = run({at("bad.wma"), at("good.wav")}, options);
    EXPECT_EQ(job->Rows()[0].state, RowState::Failed);
    EXPECT_EQ(job->Rows()[1].state, RowState::Ready);
    EXPECT_EQ(job->Result(), ConvertJob::CompletedWithErrors);
}

TEST_F(ConvertJobTest, ExistingTargetsAreNeverOverwritten) {
    ASSERT_TRUE(fixtures::WriteWav(at("x.wav")));
    ASSERT_TRUE(fixtures::WriteBytes(out() + "/x.mp3", "keep me"));
    ASSERT_TRUE(fixtures::WriteMp3(at("same.mp3"), fixtures::ArtistOnly("S")));
    const QByteArray source = fixtures::ReadBytes(at("same.mp3"));
    dialogs.answers = {Dialogs::Ignore, Dialogs::Ignore};
    ConvertOptions options;
    options.deleteOriginals = true;
    // x.wav goes to out/, where x.mp3 exists; same.mp3 would become itself.
    ConvertQueue queue;
    ASSERT_TRUE(queue.AddFile(at("x.wav")));
    ASSERT_TRUE(queue.AddFile(at("same.mp3")));
    QList<ConvertRow> rows = PlanRows(queue.Items(), options);
    rows[0].target = out() + "/x.mp3";
    ConvertJob job(rows, options, &lib, DefaultSettings());
    job.Start();
    job.WaitForFinished();
    EXPECT_EQ(job.Rows()[0].state, RowState::Failed);
    EXPECT_EQ(job.Rows()[0].reason, "the target file already exists");
    EXPECT_EQ(job.Rows()[1].state, RowState::Failed);
    EXPECT_EQ(job.Rows()[1].reason, "the target is the source file itself");
    EXPECT_EQ(fixtures::ReadBytes(out() + "/x.mp3"), "keep me");
    EXPECT_EQ(fixtures::ReadBytes(at("same.mp3")), source);
    EXPECT_TRUE(QFileInfo::exists(at("x.wav")));
    EXPECT_TRUE(tempFiles().isEmpty());

    // A file that appears under the target's name while the encoder runs stays.
    ASSERT_TRUE(QFile::remove(out() + "/x.mp3"));
    ConvertJob late(rows.mid(0, 1), options, &lib, DefaultSettings());
    QObject::connect(&late, &ConvertJob::currentProgress, [&] {
        if (!QFileInfo::exists(out() + "/x.mp3"))
            fixtures::WriteBytes(out() + "/x.mp3", "arrived meanwhile");
    });
    late.Start();
    late.WaitForFinished();
    EXPECT_EQ(late.Rows()[0].state, RowState::Failed);
    EXPECT_EQ(fixtures::ReadBytes(out() + "/x.mp3"), "arrived meanwhile");
    EXPECT_EQ(QDir(out()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no file left over";
    EXPECT_TRUE(QFileInfo::exists(at("x.wav"))) << "the original stays";
}

TEST_F(ConvertJobTest, CancelMarksTheCurrentRowAndLeavesTheRestReady) {
    for (const char* name : {"1.wav", "2.wav", "3.wav"})
        ASSERT_TRUE(WriteToneWav(at(name), 20.0));
    ConvertOptions options;
    options.targetFolder = out();
    ConvertQueue queue;
    for (const char* name : {"1.wav", "2.wav", "3.wav"})
        ASSERT_TRUE(queue.AddFile(at(name)));
    ConvertJob job(PlanRows(queue.Items(), options), options, &lib, DefaultSettings());
    int lastPercent = -1;
    QObject::connect(&job, &ConvertJob::currentProgress, [&](int percent) {
        lastPercent = percent;
        if (percent >= 1) job.Cancel();
    });
    job.Start();
    job.WaitForFinished();
    EXPECT_LT(lastPercent, 100);
    EXPECT_EQ(job.Rows()[0].state, RowState::Canceled);
    EXPECT_EQ(job.Rows()[1].state, RowState::Ready);
    EXPECT_EQ(job.Rows()[2].state, RowState::Ready);
    EXPECT_EQ(job.Result(), ConvertJob::Canceled);
    EXPECT_FALSE(QFileInfo::exists(out() + "/1.mp3")); // no partial target
    EXPECT_TRUE(dialogs.asked.isEmpty());
    EXPECT_FALSE(job.LibraryChanged());
}

} // namespace
