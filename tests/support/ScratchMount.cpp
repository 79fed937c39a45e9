#include "support/ScratchMount.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

ScratchMount::ScratchMount(const QString& folder, qint64 bytes) : m_folder(folder) {
    QDir().mkpath(folder);
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
    if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) !=
        0) {
        m_why = QStringLiteral("cannot mount a tmpfs at %1: %2")
                    .arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    m_mounted = true;
}

ScratchMount::~ScratchMount() {
    if (m_mounted) ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
}

bool ScratchMount::makeReadOnly() {
    return m_mounted && ::mount("tmpfs", QFile::encodeName(m_folder).constData(), "tmpfs",
                                MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}
