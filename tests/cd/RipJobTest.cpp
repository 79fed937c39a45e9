#include "cd/RipJob.h"
#include "convert/AudioDecoder.h"
#include "convert/TagObject.h"
#include "convert/WavFile.h"
#include "support/CdImage.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QList<int64_t> kFrames = {44100 * 2 + 123, 44100 + 587, 44100 * 3 + 1};

struct Event {
    int index;
    int state;
    bool operator==(const Event& o) const { return index == o.index && state == o.state; }
};

class RipJobTest : public ConfigDirTest {
protected:
    RipJobTest() {
        image = fixtures::WriteCdImage(images.path(), "disc", kFrames, 0, 5);
        out = target.path() + QStringLiteral("/");
    }

    RipJob::Setup setup(int format, const QString& pattern = QStringLiteral("%N - %T")) {
        cd::RipPlanInput in;
        in.folder = target.path();
        in.subfolder = true;
        in.pattern = pattern;
        in.format = format;
        in.artist = QStringLiteral("Artist");
        in.album = QStringLiteral("Album");
        in.year = QStringLiteral("2001");
        for (int t = 1; t <= kFrames.size(); ++t)
            in.tracks << cd::RipPlanTrack{t, QStringLiteral("Track %1").arg(t)};
        RipJob::Setup s;
        s.drive = 1;
        s.imagesFolder = images.path();
        s.format = format;
        s.targets = cd::BuildRipPlan(in);
        s.album = in.album;
        s.artist = in.artist;
        s.year = in.year;
        s.genre = QStringLiteral("Rock");
        s.tempFolder = temp.path();
        return s;
    }

    // Runs the job and records every state change in order.
    RipJob::Outcome run(RipJob& job) {
        QObject::connect(&job, &RipJob::entryChanged, [this](int i, int s) {
            events.push_back({i, s});
        });
        QObject::connect(&job, &RipJob::overallProgress, [this](int done, int total) {
            EXPECT_GE(done, lastDone);
            lastDone = done;
            lastTotal = total;
        });
        return job.run();
    }

    QList<int> statesOf(int index) const {
        QList<int> states;
        for (const Event& e : events)
            if (e.index == index) states << e.state;
        return states;
    }

    qint64 decodedFrames(const QString& path, bool wma) {
        AudioDecoder decoder;
        const QString wav = checks.path() + "/check.wav";
        const bool ok = wma ? decoder.DecodeWmaToWav(path, wav) : decoder.DecodeMp3ToWav(path, wav);
        if (!ok) return -1;
        convert::WavReader reader;
        return reader.open(wav).ok() ? reader.frames() : -1;
    }

    QStringList tempFiles() const {
        return QDir(temp.path()).entryList(QDir::Files | QDir::Hidden);
    }
    QStringList targetFiles(const QString& sub) const {
        return QDir(out + sub).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    QTemporaryDir images, target, temp, checks;
    fixtures::CdImage image;
    QString out;
    std::vector<Event> events;
    int lastDone = 0;
    int lastTotal = 0;
};

TEST_F(RipJobTest, WavFilesAreBitExact) {
    RipJob job(setup(cd::RipWav));
    ASSERT_EQ(run(job), RipJob::Finished) << job.lastError().toStdString();
    EXPECT_EQ(targetFiles("Artist - Album"),
              (QStringList{"01 - Track 1.wav", "02 - Track 2.wav", "03 - Track 3.wav"}));
    for (int t = 1; t <= kFrames.size(); ++t) {
        convert::WavReader wav;
        ASSERT_TRUE(wav.open(out + QStringLiteral("Artist - Album/%1 - Track %2.wav")
                                       .arg(t, 2, 10, QLatin1Char('0'))
                                       .arg(t))
                        .ok());
        std::vector<int16_t> all, block;
        while (wav.read(block, 4096) > 0)
            all.insert(all.end(), block.begin(), block.end());
        EXPECT_TRUE(all == image.tracks.at(t - 1).samples) << t;
        EXPECT_EQ(statesOf(t - 1), (QList<int>{RipJob::Ripping, RipJob::Done}));
    }
    EXPECT_EQ(lastDone, 3);
    EXPECT_EQ(lastTotal, 3);
}

TEST_F(RipJobTest, EncodedFormatsCarryTagsAndLength) {
    for (const int format : {cd::RipMp3, cd::RipWma}) {
        SCOPED_TRACE(format);
        events.clear();
        lastDone = 0;
        const bool wma = format == cd::RipWma;
        RipJob job(setup(format, QStringLiteral("%n %t")));
        ASSERT_EQ(run(job), RipJob::Finished) << job.lastError().toStdString();
        EXPECT_EQ(lastDone, 6) << "two steps per track";
        EXPECT_EQ(lastTotal, 6);
        EXPECT_TRUE(tempFiles().isEmpty()) << tempFiles().join(' ').toStdString();
        const QString ext = wma ? ".wma" : ".mp3";
        for (int t = 1; t <= kFrames.size(); ++t) {
            const QString path = out + QStringLiteral("Artist - Album/0%1 Track %1").arg(t) + ext;
            ASSERT_TRUE(QFile::exists(path)) << path.toStdString();
            EXPECT_EQ(statesOf(t - 1),
                      (QList<int>{RipJob::Ripping, RipJob::Encoding, RipJob::Done}));
            std::unique_ptr<AudioTagObject> tag;
            if (wma)
                tag = std::make_unique<WmaTagObject>();
            else
                tag = std::make_unique<Id3TagObject>();
            ASSERT_TRUE(tag->Open(path));
            EXPECT_EQ(tag->Title(), QStringLiteral("Track %1").arg(t));
            EXPECT_EQ(tag->Artist(), "Artist");
            EXPECT_EQ(tag->AlbumName(), "Album");
            EXPECT_EQ(tag->YearText(), "2001");
            EXPECT_EQ(tag->GenreName(), "Rock");
            EXPECT_EQ(tag->TrackText(), QString::number(t));
            // The ripped length: the track's frames with its last sector's padding.
            const qint64 ripped = image.tracks.at(t - 1).samples.size() / 2;
            EXPECT_NEAR(decodedFrames(path, wma), ripped, wma ? 2048 : 1152);
        }
        EXPECT_EQ(targetFiles("Artist - Album").filter(ext).size(), 3)
            << "no temporary file left beside";
    }
}

TEST_F(RipJobTest, FileThatAppearsMeanwhileIsKept) {
    auto s = setup(cd::RipMp3);
    QDir().mkpath(out + "Artist - Album");
    const QString theirs = s.targets.at(1).path();
    RipJob job(s);
    // The file turns up after the plan was checked, while track 1 rips.
    QObject::connect(&job, &RipJob::entryChanged, [&](int index, int state) {
        if (index == 0 && state == RipJob::Ripping) {
            QFile f(theirs);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("not yours");
        }
    });
    ASSERT_EQ(run(job), RipJob::Finished);
    EXPECT_EQ(readFile(theirs), QByteArray("not yours"));
    EXPECT_EQ(statesOf(1).last(), RipJob::Failed);
    EXPECT_FALSE(job.entryError(1).isEmpty());
    EXPECT_EQ(statesOf(2).last(), RipJob::Done) << "the job goes on after a failed entry";
    EXPECT_EQ(targetFiles("Artist - Album").size(), 3);
}

TEST_F(RipJobTest, CancelMidRipLeavesNoPartialTarget) {
    for (const int format : {cd::RipWav, cd::RipMp3}) {
        SCOPED_TRACE(format);
        events.clear();
        lastDone = 0;
        RipJob job(setup(format));
        QObject::connect(&job, &RipJob::entryProgress, [&](int index, float percent) {
            if (index == 1 && percent > 10) job.cancel();
        });
        ASSERT_EQ(run(job), RipJob::Cancelled);
        EXPECT_EQ(statesOf(1).last(), RipJob::Failed);
        EXPECT_TRUE(statesOf(2).isEmpty()) << "nothing starts after a cancel";
        const QStringList left = targetFiles("Artist - Album");
        for (const QString& name : left)
            EXPECT_TRUE(name.startsWith("01 - ")) << name.toStdString();
        EXPECT_TRUE(tempFiles().isEmpty());
        QDir(out + "Artist - Album").removeRecursively();
    }
}

TEST_F(RipJobTest, NoTemporaryFileStopsBeforeRipping) {
    auto s = setup(cd::RipMp3);
    s.random = [] { return 0.0; }; // the same name every draw: the second one fails
    RipJob job(s);
    EXPECT_EQ(run(job), RipJob::NoTempFile);
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(tempFiles().isEmpty()) << "the first temporary file is removed again";
}

TEST_F(RipJobTest, MissingDiscFailsEveryEntry) {
    auto s = setup(cd::RipWav);
    s.drive = 2;
    RipJob job(s);
    EXPECT_EQ(run(job), RipJob::NoDisc);
    EXPECT_EQ(statesOf(0), QList<int>{RipJob::Failed});
    EXPECT_EQ(statesOf(2), QList<int>{RipJob::Failed});
    EXPECT_EQ(lastDone, lastTotal);
}

} // namespace
