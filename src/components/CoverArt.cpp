#include "components/CoverArt.h"

#include "components/AudioFile.h"
#include "core/FileNameCodec.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <taglib/asffile.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

namespace CoverArt {

QString CacheFolder() {
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.cache");
    const QString folder = base + QStringLiteral("/quavero/covers/");
    QDir().mkpath(folder);
    return folder;
}

QByteArray Embedded(const QString& audioPath, QString* mimeType) {
    QuietTagLib();
    const QByteArray local = FileNameCodec::encode(audioPath);
    try {
        switch (AudioTypeOf(local)) {
        case AudioType::Mp3: {
            TagLib::MPEG::File f(local.constData(), false);
            if (!f.isValid() || !f.hasID3v2Tag()) return {};
            const TagLib::ID3v2::FrameList& frames = f.ID3v2Tag()->frameListMap()["APIC"];
            const TagLib::ID3v2::AttachedPictureFrame* best = nullptr;
            for (auto* frame : frames) {
                auto* pic = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame);
                if (!pic) continue;
                if (!best || pic->type() == TagLib::ID3v2::AttachedPictureFrame::FrontCover) {
                    best = pic;
                    if (pic->type() == TagLib::ID3v2::AttachedPictureFrame::FrontCover) break;
                }
            }
            if (!best) return {};
            if (mimeType) *mimeType = QString::fromStdString(best->mimeType().to8Bit(true));
            return QByteArray(best->picture().data(),
                              static_cast<qsizetype>(best->picture().size()));
        }
        case AudioType::Wma: {
            TagLib::ASF::File f(local.constData(), false);
            if (!f.isValid() || !f.tag()->contains("WM/Picture")) return {};
            const TagLib::ASF::AttributeList list = f.tag()->attribute("WM/Picture");
            for (const auto& a : list) {
                const TagLib::ASF::Picture pic = a.toPicture();
                if (!pic.isValid()) continue;
                if (mimeType) *mimeType = QString::fromStdString(pic.mimeType().to8Bit(true));
                return QByteArray(pic.picture().data(),
                                  static_cast<qsizetype>(pic.picture().size()));
            }
            return {};
        }
        default:
            return {};
        }
    } catch (...) {
        return {};
    }
}

namespace {

// A picture file in the folder, by the raw names, so that folders whose names
// are not UTF-8 are searched too.
QString folderPicture(const QByteArray& rawFolder) {
    DIR* d = ::opendir(rawFolder.constData());
    if (!d) return {};
    QByteArray found[std::size(kFolderNames)];
    while (const dirent* e = ::readdir(d))
        for (size_t i = 0; i < std::size(kFolderNames); ++i)
            if (found[i].isEmpty() && ::strcasecmp(e->d_name, kFolderNames[i]) == 0)
                found[i] = e->d_name;
    ::closedir(d);
    for (const QByteArray& name : found) {
        if (name.isEmpty()) continue;
        const QByteArray path = rawFolder + '/' + name;
        struct stat st {};
        if (::stat(path.constData(), &st) == 0 && S_ISREG(st.st_mode))
            return FileNameCodec::decode(path);
    }
    return {};
}

} // namespace

QString Find(const QString& audioPath, qint64 key) {
    const QByteArray raw = FileNameCodec::encode(audioPath);
    const qsizetype slash = raw.lastIndexOf('/');
    if (const QString picture = folderPicture(slash > 0 ? raw.left(slash) : QByteArray("/"));
        !picture.isEmpty())
        return picture;
    struct stat st {};
    if (::stat(raw.constData(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    const qint64 mtimeMs = static_cast<qint64>(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
    // The cache name follows the file and its time, so a changed file gets a new picture.
    const QByteArray id =
        QCryptographicHash::hash(
            (audioPath + QString::number(mtimeMs)).toUtf8(),
            QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    const QString folder = CacheFolder();
    for (const char* ext : {".jpg", ".png", ".gif", ".bmp"}) {
        const QString cached = folder + QString::number(key) + QLatin1Char('-') +
                               QString::fromLatin1(id) + QLatin1String(ext);
        if (QFileInfo::exists(cached)) return cached;
    }
    QString mime;
    const QByteArray bytes = Embedded(audioPath, &mime);
    if (bytes.isEmpty()) return {};
    const char* ext = mime.contains(QLatin1String("png"))   ? ".png"
                      : mime.contains(QLatin1String("gif")) ? ".gif"
                      : mime.contains(QLatin1String("bmp")) ? ".bmp"
                                                            : ".jpg";
    const QString target = folder + QString::number(key) + QLatin1Char('-') +
                           QString::fromLatin1(id) + QLatin1String(ext);
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return {};
    return target;
}

} // namespace CoverArt
