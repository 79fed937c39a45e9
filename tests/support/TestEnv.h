#pragma once
// Per-test isolation: a private settings folder (and data folder) in a
// temporary directory, restored afterwards.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value);
    ~ScopedEnv();

private:
    QByteArray m_name;
    QByteArray m_old;
    bool m_had;
};

// A fixture whose settings hives live in a fresh temporary folder.
class ConfigDirTest : public ::testing::Test {
protected:
    ConfigDirTest();
    QString configDir() const { return m_dir.path(); }
    QString hivePath(const char* rootName) const;
    void writeFile(const QString& path, const QByteArray& bytes) const;
    QByteArray readFile(const QString& path) const;

    QTemporaryDir m_dir;
    ScopedEnv m_env;
};

struct ProcessResult {
    int exitCode = -1;
    QString out;
    QString err;
};
// Runs a program to its end (killed after timeoutMs), in workDir when one is given.
ProcessResult runTool(const QString& program, const QStringList& args, int timeoutMs = 30000,
                      const QString& workDir = QString());
