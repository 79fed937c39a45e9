#pragma once
// Runs the command-line tools as a user would, with their own data and
// settings folders, so that nothing they do reaches the built tree.
#include "support/TestEnv.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The path of one of the built executables.
inline QString ToolPath(const char* name) {
    return QStringLiteral(QUAVERO_BIN_DIR "/") + QLatin1String(name);
}

// Runs a program in a working folder; the environment is the test's.
inline ProcessResult RunIn(const QString& program, const QStringList& args,
                           const QString& workDir) {
    return runTool(program, args, 60000, workDir);
}

class CliTest : public ::testing::Test {
protected:
    CliTest()
        : data("QUAVERO_DATA_DIR", dir.path() + QStringLiteral("/data")),
          config("QUAVERO_CONFIG_DIR", dir.path() + QStringLiteral("/config")) {}
    ProcessResult qvr(const QStringList& args) const { return run(QVR_EXECUTABLE, args); }
    ProcessResult run(const QString& program, const QStringList& args) const {
        return RunIn(program, args, work());
    }
    // The working folder of every run: empty unless a tool writes where it should not.
    QString work() const { return dir.path() + QStringLiteral("/work"); }
    QString library() const { return dir.path() + QStringLiteral("/data/data.qvd"); }
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(work()));
        ASSERT_TRUE(QDir().mkpath(dir.path() + QStringLiteral("/data")));
    }

    QTemporaryDir dir;
    ScopedEnv data;
    ScopedEnv config;
};
