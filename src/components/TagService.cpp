#include "components/TagService.h"

#include "components/AudioFile.h"
#include "components/FileRows.h"
#include "core/Database.h"
#include "core/LibrarySchema.h"
#include "core/OleDate.h"

#include <QFile>
#include <QRegularExpression>
#include <QVariant>

#include <taglib/asffile.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>

namespace {

TagLib::String tl(const QString& s) {
    return TagLib::String(s.toStdString(), TagLib::String::UTF8);
}

bool validValue(int code, const QString& text) {
    static const QRegularExpression year(QStringLiteral("^\\d{0,4}$"));
    static const QRegularExpression track(QStringLiteral("^(\\d{1,4}(/\\d{1,4})?)?$"));
    switch (code) {
    case TagService::Year:
        return year.match(text).hasMatch();
    case TagService::Track:
        return track.match(text).hasMatch();
    case TagService::GenreNumber_: {
        bool ok = false;
        const int n = text.trimmed().toInt(&ok);
        return ok && n >= 0 && n <= 255;
    }
    case TagService::Artist:
    case TagService::Album:
    case TagService::Title:
    case TagService::GenreText:
        return true;
    default:
        return false;
    }
}

unsigned leadingNumber(const QString& text) {
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d+)"));
    const auto m = re.match(text);
    return m.hasMatch() ? m.captured(1).toUInt() : 0;
}

bool writeMp3(const QByteArray& path, int code, const QString& text) {
    TagLib::MPEG::File f(path.constData(), false);
    // No MPEG frame at all: not an MP3 to write into.
    if (!f.isValid() || f.readOnly() || f.firstFrameOffset() < 0) return false;
    TagLib::ID3v2::Version version = TagLib::ID3v2::v3;
    if (f.hasID3v2Tag() && f.ID3v2Tag()->header()->majorVersion() == 4) version = TagLib::ID3v2::v4;
    const bool hadV1 = f.hasID3v1Tag();
    TagLib::ID3v2::Tag* v2 = f.ID3v2Tag(true);
    TagLib::ID3v1::Tag* v1 = hadV1 ? f.ID3v1Tag() : nullptr;
    const TagLib::String value = tl(text);
    switch (code) {
    case TagService::Artist:
        v2->setArtist(value);
        if (v1) v1->setArtist(value);
        break;
    case TagService::Album:
        v2->setAlbum(value);
        if (v1) v1->setAlbum(value);
        break;
    case TagService::Title:
        v2->setTitle(value);
        if (v1) v1->setTitle(value);
        break;
    case TagService::Year:
        v2->setYear(text.toUInt());
        if (v1) v1->setYear(text.toUInt());
        break;
    case TagService::Track: {
        v2->removeFrames("TRCK");
        if (!text.isEmpty()) {
            auto* frame =
                new TagLib::ID3v2::TextIdentificationFrame("TRCK", TagLib::String::Latin1);
            frame->setText(value);
            v2->addFrame(frame);
        }
        if (v1) v1->setTrack(leadingNumber(text));
        break;
    }
    case TagService::GenreNumber_: {
        const int n = text.trimmed().toInt();
        v2->setGenre(tl(LibrarySchema::GenreName(n)));
        if (v1) v1->setGenreNumber(n <= 147 ? static_cast<unsigned>(n) : 255u);
        break;
    }
    case TagService::GenreText:
        v2->setGenre(value);
        if (v1) v1->setGenreNumber(static_cast<unsigned>(LibrarySchema::GenreNumber(text)));
        break;
    default:
        return false;
    }
    const int tags = TagLib::MPEG::File::ID3v2 | (hadV1 ? TagLib::MPEG::File::ID3v1 : 0);
    return f.save(tags, TagLib::File::StripNone, version, TagLib::File::DoNotDuplicate);
}

bool writeWma(const QByteArray& path, int code, const QString& text) {
    TagLib::ASF::File f(path.constData(), false);
    if (!f.isValid() || f.readOnly()) return false;
    TagLib::ASF::Tag* t = f.tag();
    const TagLib::String value = tl(text);
    auto setOrRemove = [t](const char* name, const TagLib::String& v) {
        if (v.isEmpty())
            t->removeItem(name);
        else
            t->setAttribute(name, TagLib::ASF::Attribute(v));
    };
    switch (code) {
    case TagService::Artist:
        t->setArtist(value);
        break;
    case TagService::Album:
        setOrRemove("WM/AlbumTitle", value);
        break;
    case TagService::Title:
        t->setTitle(value);
        break;
    case TagService::Year:
        setOrRemove("WM/Year", value);
        break;
    case TagService::Track:
        if (text.isEmpty())
            t->removeItem("WM/TrackNumber");
        else if (!text.contains(QLatin1Char('/')))
            t->setAttribute("WM/TrackNumber", TagLib::ASF::Attribute(text.toUInt()));
        else
            t->setAttribute("WM/TrackNumber", TagLib::ASF::Attribute(value));
        break;
    case TagService::GenreNumber_:
        setOrRemove("WM/Genre", tl(LibrarySchema::GenreName(text.trimmed().toInt())));
        break;
    case TagService::GenreText:
        setOrRemove("WM/Genre", value);
        break;
    default:
        return false;
    }
    return f.save();
}

// The column(s) a tag code changes, with their values.
void rowChange(int code, const QString& text, QString& sql, QList<QVariant>& args) {
    static const char* const textColumns[] = {"md_artist", "md_album", "md_year", "md_track",
                                              "md_title"};
    if (code >= TagService::Artist && code <= TagService::Title) {
        sql = QLatin1String(textColumns[code]) + QStringLiteral("=?");
        args = {text};
    } else if (code == TagService::GenreNumber_) {
        const int n = text.trimmed().toInt();
        sql = QStringLiteral("MD_GENREID=?, md_genredesc=?");
        args = {n <= 147 ? n : 255, LibrarySchema::GenreName(n)};
    } else if (code == TagService::GenreText) {
        sql = QStringLiteral("MD_GENREID=?, md_genredesc=?");
        args = {LibrarySchema::GenreNumber(text), text};
    }
}

void bindVariant(db::Recordset& st, int index, const QVariant& v) {
    if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong)
        st.bind(index, v.toLongLong());
    else if (v.typeId() == QMetaType::Double)
        st.bind(index, v.toDouble());
    else
        st.bind(index, v.toString());
}

} // namespace

TagService::TagService(db::Database* connection) : m_db(connection) {}

int TagService::GenreNumber(const QString& name) {
    return LibrarySchema::GenreNumber(name);
}
QString TagService::GenreName(int number) {
    return LibrarySchema::GenreName(number);
}
QList<QPair<QString, int>> TagService::GenreList(bool includeNone) {
    return LibrarySchema::GenreList(includeNone);
}

bool TagService::WriteFileTag(const QString& path, int code, const QString& text) {
    if (!validValue(code, text)) return false;
    QuietTagLib();
    const QByteArray local = QFile::encodeName(path);
    try {
        switch (AudioTypeOf(local)) {
        case AudioType::Mp3:
            return writeMp3(local, code, text);
        case AudioType::Wma:
            return writeWma(local, code, text);
        default:
            return false;
        }
    } catch (...) {
        return false;
    }
}

bool TagService::WriteTag(const QString& file, int code, const QString& text) {
    if (!validValue(code, text)) return false;
    qint64 id = 0;
    QString path = file;
    const bool open = m_db && m_db->isOpen();
    bool isId = false;
    const qint64 asId = file.trimmed().toLongLong(&isId);
    if (isId && !file.contains(QLatin1Char('/'))) {
        if (!open) return false;
        Result<db::Recordset> r =
            m_db->prepare(QStringLiteral("select fullpath from FILES where id=?"));
        if (!r) return false;
        r.value().bind(1, asId);
        if (!r.value().next()) return false;
        id = asId;
        path = r.value().text(0);
    } else if (open) {
        Result<db::Recordset> r =
            m_db->prepare(QStringLiteral("select id from FILES where fullpath=?"));
        if (r) {
            r.value().bind(1, file);
            if (r.value().next()) id = r.value().integer(0);
        }
    }
    if (!WriteFileTag(path, code, text)) return false;
    if (id <= 0) return true;
    QString set;
    QList<QVariant> args;
    rowChange(code, text, set, args);
    // The file's new size and time go in too, so that a rescan need not re-read it.
    FileFacts facts;
    const bool stat = StatFile(QFile::encodeName(path), facts);
    QString sql = QStringLiteral("update FILES set ") + set + QStringLiteral(", date_updated=?");
    args.append(OleDate::now());
    if (stat) {
        sql += QStringLiteral(", size=?, file_mtime=?, DATETIME=?");
        args << facts.size << facts.mtimeNs << facts.fileDate;
    }
    sql += QStringLiteral(" where id=?");
    args.append(id);
    Result<db::Recordset> up = m_db->prepare(sql);
    if (!up) return true;
    for (int i = 0; i < args.size(); ++i)
        bindVariant(up.value(), i + 1, args[i]);
    up.value().execute();
    return true;
}

int TagService::retag(const QString& where, const QList<QVariant>& args, int code,
                      const QString& value, bool writeFiles) {
    if (!m_db || !m_db->isOpen()) return -1;
    Result<db::Recordset> r =
        m_db->prepare(QStringLiteral("select id, fullpath from FILES where ") + where);
    if (!r) return -1;
    for (int i = 0; i < args.size(); ++i)
        bindVariant(r.value(), i + 1, args[i]);
    QList<QPair<qint64, QString>> files;
    while (r.value().next())
        files.append({r.value().integer(0), r.value().text(1)});
    if (!r.value().error().isEmpty()) return -1;
    r.value().close();
    int changed = 0;
    for (const auto& f : files) {
        if (writeFiles) {
            if (WriteTag(QString::number(f.first), code, value)) ++changed;
            continue;
        }
        QString set;
        QList<QVariant> a;
        rowChange(code, value, set, a);
        Result<db::Recordset> up = m_db->prepare(QStringLiteral("update FILES set ") + set +
                                                 QStringLiteral(", date_updated=? where id=?"));
        if (!up) continue;
        a << OleDate::now() << f.first;
        for (int i = 0; i < a.size(); ++i)
            bindVariant(up.value(), i + 1, a[i]);
        if (up.value().execute()) ++changed;
    }
    return changed;
}

namespace {
QString matchOf(const char* column, const QString& value, QList<QVariant>& args) {
    if (value.trimmed().isEmpty()) return QStringLiteral("trim(%1)=''").arg(QLatin1String(column));
    args.append(value);
    return QStringLiteral("%1=? COLLATE BINARY").arg(QLatin1String(column));
}
} // namespace

int TagService::ChangeArtist(const QString& oldArtist, const QString& newArtist,
                             const std::optional<QString>& album, bool writeFiles) {
    QList<QVariant> args;
    QString where = matchOf("md_artist", oldArtist, args);
    if (album) where += QStringLiteral(" and ") + matchOf("md_album", *album, args);
    return retag(where, args, Artist, newArtist, writeFiles);
}

int TagService::ChangeAlbum(const QString& oldAlbum, const QString& newAlbum, const QString& artist,
                            bool writeFiles) {
    QList<QVariant> args;
    QString where = matchOf("md_artist", artist, args);
    where += QStringLiteral(" and ") + matchOf("md_album", oldAlbum, args);
    return retag(where, args, Album, newAlbum, writeFiles);
}
