// Every executable answers --help and --version, refuses option-looking paths
// and writes nothing it was not asked to.
#include "cli/CliFixture.h"
#include "core/Database.h"

#include <QDir>
#include <QFileInfo>

namespace {

using Args = QStringList;

class ToolsCommandLineTest : public CliTest {
protected:
    // A tool that the build may leave out (the benchmarks) is skipped.
    bool built(const char* name) const { return QFileInfo(ToolPath(name)).isExecutable(); }
    QStringList workEntries() const {
        return QDir(work()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden);
    }
    void writeFile(const QString& path, const QByteArray& bytes) const {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readFile(const QString& path) const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(ToolsCommandLineTest, EveryToolHasHelpAndVersion) {
    // A window cannot open on this platform: a tool that tried would fail.
    ScopedEnv noDisplay("QT_QPA_PLATFORM", "no-such-platform");
    for (const char* tool :
         {"quavero", "qvr", "qvlang", "qvrmkdb", "make_corpus", "library_bench", "browser_bench",
          "tag_bench", "settings_bench", "encode_bench", "rip_bench"}) {
        if (!built(tool)) continue;
        for (const char* flag : {"--help", "-h"}) {
            const ProcessResult r = run(ToolPath(tool), {QString::fromLatin1(flag)});
            EXPECT_EQ(r.exitCode, 0) << tool << ' ' << flag << ": " << r.err.toStdString();
            EXPECT_TRUE(r.out.contains(QStringLiteral("Usage: ") + QLatin1String(tool)))
                << tool << ": " << r.out.toStdString();
        }
        const ProcessResult v = run(ToolPath(tool), {"--version"});
        EXPECT_EQ(v.exitCode, 0) << tool << ": " << v.err.toStdString();
        EXPECT_EQ(v.out, QLatin1String(tool) + QStringLiteral(" (Quavero) " QUAVERO_VERSION "\n"));
    }
    EXPECT_EQ(workEntries(), QStringList());
}

TEST_F(ToolsCommandLineTest, OptionLookingPathsAreRefused) {
    ScopedEnv noDisplay("QT_QPA_PLATFORM", "no-such-platform");
    const QList<QPair<const char*, Args>> refused = {
        {"make_corpus", {"--files", "1", "-x"}},
        {"make_corpus", {"corpus", "--files", "1", "--library", "--help"}},
        {"make_corpus", {"corpus", "--files", "0"}},
        {"qvrmkdb", {"-x"}},
        {"qvrmkdb", {}},
        {"qvlang", {"decode", "-x"}},
        {"qvlang", {"list", "-x"}},
        {"qvlang", {"check", "a.lng", "--against", "-x"}},
        {"library_bench", {"--work", "-x"}},
        {"browser_bench", {"--files", "ten"}},
        {"quavero", {"--screenshot=-x.png"}},
        {"quavero", {"--data-folder", "--help"}},
    };
    for (const auto& [tool, args] : refused) {
        if (!built(tool)) continue;
        const ProcessResult r = run(ToolPath(tool), args);
        const std::string name = tool + (' ' + args.join(' ').toStdString());
        EXPECT_EQ(r.exitCode, 2) << name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith(QLatin1String(tool))) << name << ": " << r.err.toStdString();
        EXPECT_EQ(workEntries(), QStringList()) << name;
    }
}

TEST_F(ToolsCommandLineTest, QvrmkdbReplacesAFileOnlyWhenForced) {
    const QString target = work() + QStringLiteral("/data.blk");
    writeFile(target, "someone's file");
    ProcessResult r = run(ToolPath("qvrmkdb"), {target});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("--force")) << r.err.toStdString();
    EXPECT_EQ(readFile(target), QByteArray("someone's file"));

    r = run(ToolPath("qvrmkdb"), {"--force", target});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(db::Database::open(target, db::Database::Mode::ReadOnly).ok());
    // A fresh target needs no --force; a path that starts with '-' is written as ./-x.
    r = run(ToolPath("qvrmkdb"), {"./-x"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(work() + QStringLiteral("/-x")));
}

TEST_F(ToolsCommandLineTest, MakeCorpusReplacesALibraryOnlyWhenForced) {
    const QString db = work() + QStringLiteral("/lib.qvd");
    writeFile(db, "someone's file");
    const Args args = {"corpus", "--files", "2", "--library", db};
    ProcessResult r = run(ToolPath("make_corpus"), args);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("--force")) << r.err.toStdString();
    EXPECT_EQ(readFile(db), QByteArray("someone's file"));
    r = run(ToolPath("make_corpus"), args + Args{"--force"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("\nadded\t2\n")) << r.out.toStdString();
}

} // namespace
