#include "cli/CliFixture.h"
#include "convert/WavFile.h"
#include "support/CdImage.h"

#include <QFile>

namespace {

class CdCommandTest : public CliTest {
protected:
    QString images() const { return dir.path() + QStringLiteral("/data/cd-images"); }
    QString at(const char* name) const { return work() + QLatin1Char('/') + QLatin1String(name); }
};

TEST_F(CdCommandTest, ListTocAndRip) {
    ProcessResult r = qvr({"cd", "list"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty()) << "no drives, no images: no CDs";

    const auto image = fixtures::WriteCdImage(images(), "album", {44100 * 65 + 17, 2000}, 300);
    r = qvr({"cd", "list"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("1\talbum.cue\t" + image.cuePath + '\t')) << r.out.toStdString();

    r = qvr({"cd", "toc", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("track 01\t1:05\ntrack 02\t0:00\ntracks\t2\n"))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("length\t1:09\n")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("\nquery\tcddb query ")) << r.out.toStdString();
    EXPECT_TRUE(
        r.out.contains(QStringLiteral(" 3 150 450 %1 71\n").arg(450 + image.tracks.at(1).sectors)))
        << r.out.toStdString();

    r = qvr({"cd", "rip", "1", "2", at("two.wav")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("100%")) << r.err.toStdString();
    convert::WavReader wav;
    ASSERT_TRUE(wav.open(at("two.wav")).ok());
    std::vector<int16_t> samples;
    wav.read(samples, 10000);
    EXPECT_EQ(samples, image.tracks.at(2).samples);
}

TEST_F(CdCommandTest, FailuresSayWhyAndExitWithOne) {
    ProcessResult r = qvr({"cd", "toc", "1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("no audio CD number 1")) << r.err.toStdString();

    fixtures::WriteCdImage(images(), "one", {1000});
    r = qvr({"cd", "rip", "1", "2", at("x.wav")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("no audio track 2")) << r.err.toStdString();
    r = qvr({"cd", "rip", "1", "1", work() + "/missing/folder/x.wav"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("cannot write")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(at("x.wav")));
}

} // namespace
