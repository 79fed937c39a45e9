// Paths given to qvr whose names are not UTF-8 reach the very files.
#include "cli/CliFixture.h"
#include "support/AudioFixtures.h"

#include <QFile>

#include <cstdio>

TEST_F(CliTest, PathArgumentsThatAreNotUtf8FindTheirFiles) {
    const QString music = dir.path() + "/music";
    ASSERT_TRUE(QDir().mkpath(music));
    ASSERT_TRUE(fixtures::WriteMp3(music + "/temp.mp3", fixtures::ArtistOnly("Odd")));
    const QByteArray raw = QFile::encodeName(music) + "/bad\xff\xfename.mp3";
    ASSERT_EQ(std::rename(QFile::encodeName(music + "/temp.mp3").constData(), raw.constData()), 0);
    ASSERT_EQ(qvr({"scan", music}).exitCode, 0);

    // The shell hands the raw bytes on, as a user's shell would.
    QString octal;
    for (const char c : raw)
        octal += QStringLiteral("\\%1").arg(static_cast<unsigned char>(c), 3, 8, QLatin1Char('0'));
    auto viaShell = [&](const QString& command) {
        return run("sh", {"-c", QStringLiteral("p=$(printf '%1'); %2").arg(octal, command)});
    };
    const ProcessResult record = viaShell(QStringLiteral("'%1' record \"$p\"").arg(QVR_EXECUTABLE));
    EXPECT_EQ(record.exitCode, 0) << record.err.toStdString();
    EXPECT_TRUE(record.out.contains("artist\tOdd")) << record.out.toStdString();
    const ProcessResult tag =
        viaShell(QStringLiteral("'%1' tag \"$p\" 0 Even").arg(QVR_EXECUTABLE));
    EXPECT_EQ(tag.exitCode, 0) << tag.err.toStdString();
    EXPECT_TRUE(viaShell(QStringLiteral("'%1' record \"$p\"").arg(QVR_EXECUTABLE))
                    .out.contains("artist\tEven"));
    ::remove(raw.constData());
}
