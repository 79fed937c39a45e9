#include "editing/CopyJob.h"

#include "core/FileNameCodec.h"
#include "lang/AppLang.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum Text { CopyErrorTitle = 7 };

bool fail(CopyFailure* failure, int error, const QString& path) {
    if (failure) {
        failure->number = error;
        failure->description =
            QString::fromLocal8Bit(std::strerror(error)) + QStringLiteral(": ") + path;
    }
    return false;
}

struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

bool writeAll(int fd, const char* data, ssize_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

Dialogs::Answer askUser(const CopyFailure& failure) {
    QString title = mainMod::LangText(CopyErrorTitle);
    if (title.isEmpty()) title = QStringLiteral("Copy Error");
    return Dialogs::current().MsgBox(failure.description, Dialogs::AbortRetryIgnore,
                                     title + QLatin1Char(' ') + QString::number(failure.number));
}

} // namespace

void CopyJob::AddPair(const QString& source, const QString& destination) {
    m_sources << source;
    m_destinations << destination;
}

bool CopyJob::CopyFile(const QString& source, const QString& destination, CopyFailure* failure) {
    const QByteArray from = FileNameCodec::encode(source);
    const QByteArray to = FileNameCodec::encode(destination);
    // Only regular files: opening a FIFO or a device would wait or never end.
    struct stat st {};
    if (::stat(from.constData(), &st) != 0) return fail(failure, errno, source);
    if (!S_ISREG(st.st_mode)) return fail(failure, S_ISDIR(st.st_mode) ? EISDIR : EINVAL, source);
    Fd in;
    in.fd = ::open(from.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (in.fd < 0) return fail(failure, errno, source);
    if (::fstat(in.fd, &st) != 0) return fail(failure, errno, source);
    if (!S_ISREG(st.st_mode)) return fail(failure, EINVAL, source);
    // A file copied onto itself stays as it is (removing it first would lose it).
    struct stat target {};
    if (::stat(to.constData(), &target) == 0 && target.st_dev == st.st_dev &&
        target.st_ino == st.st_ino)
        return true;
    // Replaced without asking; a failure to remove shows in the open below.
    ::unlink(to.constData());
    Fd out;
    out.fd = ::open(to.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC,
                    st.st_mode & 0666 ? st.st_mode & 0666 : 0644);
    if (out.fd < 0) return fail(failure, errno, destination);
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(in.fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0 && errno == EINTR) continue;
        const int error = n < 0 ? errno : 0;
        if (n < 0 || !writeAll(out.fd, buffer, n)) {
            const int e = error ? error : errno;
            ::close(out.fd);
            out.fd = -1;
            ::unlink(to.constData());
            return fail(failure, e, error ? source : destination);
        }
    }
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ::futimens(out.fd, times);
    if (::close(out.fd) != 0) {
        const int e = errno;
        out.fd = -1;
        ::unlink(to.constData());
        return fail(failure, e, destination);
    }
    out.fd = -1;
    return true;
}

CopyJob::Result CopyJob::Run(const Hooks& hooks) {
    const auto yield = [&hooks] {
        if (hooks.yield) hooks.yield();
    };
    bool cancelled = false;
    for (int i = 0; i < count(); ++i) {
        if (hooks.starting) hooks.starting(i, m_sources[i], m_destinations[i]);
        yield();
        bool abort = false;
        for (;;) {
            CopyFailure failure;
            if (CopyFile(m_sources[i], m_destinations[i], &failure)) {
                ++m_copied;
                break;
            }
            const Dialogs::Answer answer = hooks.failed ? hooks.failed(failure) : askUser(failure);
            if (answer == Dialogs::Retry) continue;
            ++m_failed;
            abort = answer != Dialogs::Ignore;
            break;
        }
        if (abort) break;
        yield();
        if (hooks.cancelled && hooks.cancelled()) {
            cancelled = true;
            break;
        }
    }
    return cancelled ? Cancelled : Finished;
}
