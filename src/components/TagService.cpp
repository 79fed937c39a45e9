#include "components/TagService.h"
#include "components/HeadHash.h"

#include "components/AudioFile.h"
#include "components/FileReplacer.h"
#include "components/FileRows.h"
#include "components/TagWriters.h"
#include "core/Database.h"
#include "core/FileNameCodec.h"
#include "core/LibrarySchema.h"
#include "core/OleDate.h"

#include <QRegularExpression>
#include <QVariant>

#include <cerrno>
#include <exception>

namespace {

// Empty when the value suits the code, else why not.
QString valueProblem(int code, const QString& text) {
    static const QRegularExpression year(QStringLiteral("^\\d{0,4}$"));
    static const QRegularExpression track(QStringLiteral("^(\\d{1,4}(/\\d{1,4})?)?$"));
    switch (code) {
    case TagService::Year:
        return year.match(text).hasMatch() ? QString()
                                           : QStringLiteral("a year is up to four digits");
    case TagService::Track:
        return track.match(text).hasMatch()
                   ? QString()
                   : QStringLiteral("a track is a number or \"number/number\"");
    case TagService::GenreNumber_: {
        bool ok = false;
        const int n = text.trimmed().toInt(&ok);
        return ok && n >= 0 && n <= 255 ? QString() : QStringLiteral("a genre number is 0 to 255");
    }
    case TagService::Artist:
    case TagService::Album:
    case TagService::Title:
    case TagService::GenreText:
        return QString();
    default:
        return QStringLiteral("unknown tag code %1").arg(code);
    }
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
    if (!v.isValid())
        st.bindNull(index);
    else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong)
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

Status TagService::WriteFileTag(const QString& path, int code, const QString& text) {
    if (const QString problem = valueProblem(code, text); !problem.isEmpty())
        return Status::failure(problem);
    const QByteArray name = FileNameCodec::encode(path);
    const AudioType type = AudioTypeOf(name);
    if (type != AudioType::Mp3 && type != AudioType::Wma)
        return Status::failure(QStringLiteral("only MP3 and WMA files take tags"));
    // A link is followed: the file it names is the one rewritten.
    const QByteArray target = ResolvedPath(name);
    if (target.isEmpty())
        return Status::failure(QStringLiteral("cannot find the file: ") + SystemError(errno));
    try {
        return type == AudioType::Mp3 ? TagWriters::WriteMp3(target, code, text)
                                      : TagWriters::WriteWma(target, code, text);
    } catch (const std::exception& e) {
        return Status::failure(QStringLiteral("TagLib failed: ") +
                               QString::fromLocal8Bit(e.what()));
    }
}

Status TagService::WriteTag(const QString& file, int code, const QString& text) {
    if (const QString problem = valueProblem(code, text); !problem.isEmpty())
        return Status::failure(problem);
    qint64 id = 0;
    QString path = file;
    const bool open = m_db && m_db->isOpen();
    bool isId = false;
    const qint64 asId = file.trimmed().toLongLong(&isId);
    if (isId && !file.contains(QLatin1Char('/'))) {
        if (!open) return Status::failure(QStringLiteral("the library is not open"));
        Result<db::Recordset> r =
            m_db->prepare(QStringLiteral("select fullpath from FILES where id=?"));
        if (!r) return Status::failure(QStringLiteral("cannot read the library: ") + r.error());
        r.value().bind(1, asId);
        if (!r.value().next()) {
            if (!r.value().error().isEmpty())
                return Status::failure(QStringLiteral("cannot read the library: ") +
                                       r.value().error());
            return Status::failure(QStringLiteral("no library file has the id %1").arg(asId));
        }
        id = asId;
        path = r.value().text(0);
    } else if (open) {
        Result<db::Recordset> r =
            m_db->prepare(QStringLiteral("select id from FILES where fullpath=?"));
        if (!r) return Status::failure(QStringLiteral("cannot read the library: ") + r.error());
        r.value().bind(1, file);
        if (r.value().next()) id = r.value().integer(0);
    }
    if (Status s = WriteFileTag(path, code, text); !s) return s;
    if (id <= 0) return Status();
    return updateRow(id, path, code, text);
}

Status TagService::updateRow(qint64 id, const QString& path, int code, const QString& text) {
    QString set;
    QList<QVariant> args;
    rowChange(code, text, set, args);
    // The file's new size and time go in too, so that a rescan need not re-read it.
    FileFacts facts;
    const bool stat = StatFile(path.toUtf8(), facts);
    QString sql = QStringLiteral("update FILES set ") + set + QStringLiteral(", date_updated=?");
    args.append(OleDate::now());
    if (stat) {
        sql += QStringLiteral(", size=?, file_mtime=?, DATETIME=?, head_hash=?");
        args << facts.size << facts.mtimeNs << facts.fileDate;
        // The tag is at the start of the file: its checksum changed with it.
        const std::optional<qint64> hash =
            HeadHash::ofFile(FileNameCodec::encode(path).constData());
        args << (hash ? QVariant(*hash) : QVariant());
    }
    sql += QStringLiteral(" where id=?");
    args.append(id);
    Result<db::Recordset> up = m_db->prepare(sql);
    Status done = up ? Status() : Status::failure(up.error());
    if (up) {
        for (int i = 0; i < args.size(); ++i)
            bindVariant(up.value(), i + 1, args[i]);
        done = up.value().execute();
    }
    if (done) return Status();
    // The row keeps the old size and time of the file, so that the next rescan
    // sees the file changed and reads it again; a zero time makes sure of it
    // where the row can still be changed.
    if (Result<db::Recordset> stale =
            m_db->prepare(QStringLiteral("update FILES set file_mtime=0 where id=?"))) {
        stale.value().bind(1, id);
        stale.value().execute();
    }
    return Status::failure(QStringLiteral("the file was written, but its library row could not be "
                                          "updated (%1); the next rescan will read the file again")
                               .arg(done.error()));
}

int TagService::retag(const QList<Match>& match, int code, const QString& value, bool writeFiles,
                      int* failed) {
    if (failed) *failed = 0;
    if (!m_db || !m_db->isOpen()) return -1;
    // The tree shows tags trimmed, so " ABBA " is one of the files of "ABBA". SQL
    // narrows the rows down by the text they contain; the exact test is made here.
    QString where;
    QList<QByteArray> needles;
    for (const Match& m : match) {
        if (m.text.isEmpty()) continue;
        where += (where.isEmpty() ? QStringLiteral(" where ") : QStringLiteral(" and ")) +
                 QStringLiteral("instr(%1, ?) > 0").arg(QLatin1String(m.column));
        needles << m.text.toUtf8();
    }
    QString columns;
    for (const Match& m : match)
        columns += QStringLiteral(", ") + QLatin1String(m.column);
    Result<db::Recordset> r = m_db->prepare(QStringLiteral("select id, fullpath") + columns +
                                            QStringLiteral(" from FILES") + where);
    if (!r) return -1;
    for (int i = 0; i < needles.size(); ++i)
        r.value().bind(i + 1, QByteArrayView(needles[i]));
    QList<QPair<qint64, QString>> files;
    while (r.value().next()) {
        bool all = true;
        for (int i = 0; i < match.size() && all; ++i)
            all = r.value().text(i + 2).trimmed() == match[i].text;
        if (all) files.append({r.value().integer(0), r.value().text(1)});
    }
    if (!r.value().error().isEmpty()) return -1;
    r.value().close();
    int changed = 0;
    for (const auto& f : files) {
        if (writeFiles) {
            if (WriteTag(QString::number(f.first), code, value))
                ++changed;
            else if (failed)
                ++*failed;
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
        if (up.value().execute())
            ++changed;
        else if (failed)
            ++*failed;
    }
    return changed;
}

int TagService::ChangeArtist(const QString& oldArtist, const QString& newArtist,
                             const std::optional<QString>& album, bool writeFiles, int* failed) {
    QList<Match> match = {{"md_artist", oldArtist.trimmed()}};
    if (album) match.append({"md_album", album->trimmed()});
    return retag(match, Artist, newArtist, writeFiles, failed);
}

int TagService::ChangeAlbum(const QString& oldAlbum, const QString& newAlbum, const QString& artist,
                            bool writeFiles, int* failed) {
    return retag({{"md_artist", artist.trimmed()}, {"md_album", oldAlbum.trimmed()}}, Album,
                 newAlbum, writeFiles, failed);
}
