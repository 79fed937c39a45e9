// How every qvr command takes its arguments: help, version, exit statuses.
#include "cli/CliFixture.h"

#include <QDir>

namespace {

using Args = QStringList;

class QvrCommandLineTest : public CliTest {};

TEST_F(QvrCommandLineTest, EveryCommandPrintsItsHelp) {
    const QList<Args> commands = {
        {},
        {"scan"},
        {"sql"},
        {"folders"},
        {"folders", "list"},
        {"folders", "add"},
        {"folders", "remove"},
        {"record"},
        {"tag"},
        {"tree"},
        {"list"},
        {"search"},
        {"settings"},
        {"settings", "get"},
        {"settings", "set"},
        {"settings", "delete"},
        {"settings", "effective"},
    };
    for (const Args& command : commands) {
        const ProcessResult r = qvr(command + Args{"--help"});
        const std::string name = command.join(' ').toStdString();
        EXPECT_EQ(r.exitCode, 0) << name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.out.contains("Usage:")) << name << ": " << r.out.toStdString();
        EXPECT_TRUE(r.out.contains(QStringLiteral("qvr ") + command.join(' ')))
            << name << ": " << r.out.toStdString();
        EXPECT_EQ(r.err, QString()) << name;
    }
    // "help COMMAND" says the same as "COMMAND --help".
    EXPECT_EQ(qvr({"help", "folders", "add"}).out, qvr({"folders", "add", "--help"}).out);
    // None of that touched a library.
    EXPECT_FALSE(QFile::exists(library()));
}

TEST_F(QvrCommandLineTest, UsageErrorsExitWithTwoAndSaySo) {
    const QList<Args> wrong = {
        {},
        {"frobnicate"},
        {"sql"},
        {"sql", "select 1", "select 2"},
        {"folders"},
        {"folders", "rename"},
        {"folders", "list", "--with-files"},
        {"record"},
        {"tag", "1", "x", "y"},
        {"tree", "--section", "9"},
        {"tree", "--section", "x"},
        {"list"},
        {"search"},
        {"search", "--nope", "text"},
        {"scan", "--nope"},
        {"settings", "get"},
        {"settings", "frobnicate"},
        {"sql", "--db"},
    };
    for (const Args& args : wrong) {
        const ProcessResult r = qvr(args);
        const std::string name = args.join(' ').toStdString();
        EXPECT_EQ(r.exitCode, 2) << name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith("qvr")) << name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("--help")) << name << ": " << r.err.toStdString();
        EXPECT_EQ(r.out, QString()) << name;
    }
    EXPECT_FALSE(QFile::exists(library()));
}

TEST_F(QvrCommandLineTest, OptionLookingPathsAreRefused) {
    const QList<Args> refused = {
        {"record", "-x"},
        {"scan", "-x"},
        {"folders", "add", "--with-file"},
        {"sql", "--db", "-x", "select 1"},
        {"sql", "--db=--help", "select 1"},
        {"tree", "--db", "-"},
    };
    for (const Args& args : refused) {
        const ProcessResult r = qvr(args);
        const std::string name = args.join(' ').toStdString();
        EXPECT_EQ(r.exitCode, 2) << name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("./")) << name << ": " << r.err.toStdString();
    }
    // The same names written as paths, or after "--", reach the command: there is
    // no library, which is a failure, not a usage error.
    for (const Args& args : QList<Args>{
             {"record", "--", "-x"}, {"record", "./-x"}, {"sql", "--db", "./-x", "select 1"}}) {
        const ProcessResult r = qvr(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString() << ": " << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(library()));
    EXPECT_EQ(QDir(work()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

} // namespace
