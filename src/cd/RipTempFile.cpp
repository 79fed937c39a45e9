#include "cd/RipTempFile.h"

#include "core/FileNameCodec.h"

#include <QDir>
#include <QRandomGenerator>

#include <fcntl.h>
#include <unistd.h>

namespace cd {

namespace {
constexpr int Draws = 20;
}

QString RipTempName(int number) {
    return QStringLiteral("~RIP%1.WAV").arg(number, 4, 10, QLatin1Char('0'));
}

Result<QString> CreateRipTempFile(const QString& folder, const std::function<double()>& random) {
    const QString base = QDir(folder).absolutePath() + QLatin1Char('/');
    for (int draw = 0; draw < Draws; ++draw) {
        const QString path = base + RipTempName(static_cast<int>(random() * 1000));
        // O_EXCL: the name is ours only when this call made the file.
        const int fd = ::open(FileNameCodec::encode(path).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
    }
    return Result<QString>::failure(
        QStringLiteral("no temporary file could be created in %1").arg(folder));
}

Result<QString> CreateRipTempFile() {
    return CreateRipTempFile(QDir::tempPath(),
                             [] { return QRandomGenerator::global()->generateDouble(); });
}

} // namespace cd
