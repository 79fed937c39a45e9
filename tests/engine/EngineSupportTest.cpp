// The engine's log rotation and the service names' NUL cut.
#include "engine/EngineLog.h"
#include "engine/modService.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(EngineLog, RotatesWhenTheFileWouldPassTheLimit) {
    QTemporaryDir dir;
    const QString path = dir.filePath("qvrindex.log");
    EngineLog log(path, 1000);
    for (int i = 0; i < 40; ++i)
        log.write(QStringLiteral("line %1 ").arg(i) + QString(40, 'x'));
    EXPECT_TRUE(QFile::exists(path + QStringLiteral(".1")));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".2")));
    EXPECT_LE(QFile(path).size(), 1000);
    EXPECT_LE(QFile(path + QStringLiteral(".1")).size(), 1000);
    QFile last(path);
    ASSERT_TRUE(last.open(QIODevice::ReadOnly));
    EXPECT_TRUE(last.readAll().contains("line 39 "));
}

TEST(modService, CutAtNul) {
    const QChar nul(0);
    EXPECT_EQ(modService::CutAtNul(QStringLiteral("abc") + nul + QStringLiteral("def")), "abc");
    EXPECT_EQ(modService::CutAtNul("abc"), "abc");
    const QString leading = nul + QStringLiteral("abc");
    EXPECT_EQ(modService::CutAtNul(leading), leading);
}

} // namespace
