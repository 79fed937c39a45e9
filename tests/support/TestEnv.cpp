#include "support/TestEnv.h"

#include <QFile>

ScopedEnv::ScopedEnv(const char* name, const QString& value)
    : m_name(name), m_old(qgetenv(name)), m_had(qEnvironmentVariableIsSet(name)) {
    qputenv(name, value.toLocal8Bit());
}

ScopedEnv::~ScopedEnv() {
    if (m_had)
        qputenv(m_name.constData(), m_old);
    else
        qunsetenv(m_name.constData());
}

ConfigDirTest::ConfigDirTest() : m_env("QUAVERO_CONFIG_DIR", m_dir.path()) {}

QString ConfigDirTest::hivePath(const char* rootName) const {
    return m_dir.path() + QLatin1Char('/') + QLatin1String(rootName) + QStringLiteral(".reg");
}

void ConfigDirTest::writeFile(const QString& path, const QByteArray& bytes) const {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray ConfigDirTest::readFile(const QString& path) const {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

ProcessResult runTool(const QString& program, const QStringList& args, int timeoutMs,
                      const QString& workDir) {
    QProcess p;
    if (!workDir.isEmpty()) p.setWorkingDirectory(workDir);
    p.start(program, args);
    ProcessResult r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}
