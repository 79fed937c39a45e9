#include "core/LibrarySchema.h"

#include <QFile>
#include <QHash>

#include <taglib/id3v1genres.h>

#include <algorithm>

namespace LibrarySchema {

namespace {

// Text columns compare as Jet text (JETTEXT); fullpath compares as the file
// system does (binary). Dates are OLE day numbers (REAL).
const char* const kSchema = R"SQL(
CREATE TABLE IF NOT EXISTS FILES (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  fullpath TEXT NOT NULL COLLATE BINARY,
  filename TEXT NOT NULL DEFAULT '' COLLATE JETTEXT,
  filetitle TEXT NOT NULL DEFAULT '' COLLATE JETTEXT,
  type TEXT NOT NULL DEFAULT '' COLLATE JETTEXT,
  size INTEGER NOT NULL DEFAULT 0,
  duration REAL NOT NULL DEFAULT 0,
  bitrate INTEGER NOT NULL DEFAULT 0,
  frequency INTEGER NOT NULL DEFAULT 0,
  channels INTEGER NOT NULL DEFAULT 0,
  rating INTEGER NOT NULL DEFAULT 0,
  playcount INTEGER NOT NULL DEFAULT 0,
  lastplay REAL NOT NULL DEFAULT 0,
  md_artist TEXT NOT NULL DEFAULT '' COLLATE JETTEXT,
  md_album TEXT NOT NULL DEFAULT '' COLLATE JETTEXT,
  md_title TEXT NOT NULL DEFAULT '' COLLATE JETTEXT,
  md_track TEXT NOT NULL DEFAULT '' COLLATE JETTEXT,
  md_year TEXT NOT NULL DEFAULT '' COLLATE JETTEXT,
  md_genredesc TEXT NOT NULL DEFAULT '' COLLATE JETTEXT,
  MD_GENREID INTEGER NOT NULL DEFAULT 255,
  md_comment TEXT NOT NULL DEFAULT '' COLLATE JETTEXT,
  DATE_ADDED REAL NOT NULL DEFAULT 0,
  DATETIME REAL NOT NULL DEFAULT 0,
  date_updated REAL NOT NULL DEFAULT 0,
  file_mtime INTEGER NOT NULL DEFAULT 0,
  head_hash INTEGER
);
CREATE UNIQUE INDEX IF NOT EXISTS files_fullpath ON FILES(fullpath);
CREATE INDEX IF NOT EXISTS files_artist_album ON FILES(md_artist, md_album);
CREATE INDEX IF NOT EXISTS files_rating ON FILES(rating);
CREATE INDEX IF NOT EXISTS files_lastplay ON FILES(lastplay);

CREATE TABLE IF NOT EXISTS VFOLDERS (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  name TEXT NOT NULL COLLATE JETTEXT
);
CREATE TABLE IF NOT EXISTS VFFILES (
  VF_ID INTEGER NOT NULL,
  FL_ID INTEGER NOT NULL,
  FINDEX INTEGER NOT NULL
);
CREATE INDEX IF NOT EXISTS vffiles_folder ON VFFILES(VF_ID, FINDEX);
CREATE INDEX IF NOT EXISTS vffiles_file ON VFFILES(FL_ID);

CREATE TABLE IF NOT EXISTS MFILTERS (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  DESCRIPT TEXT NOT NULL DEFAULT '' COLLATE JETTEXT,
  QSQL TEXT NOT NULL DEFAULT '',
  FDATA TEXT NOT NULL DEFAULT ''
);

CREATE TABLE IF NOT EXISTS MMFOLDERS (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  path TEXT NOT NULL UNIQUE COLLATE BINARY,
  lastscan REAL NOT NULL DEFAULT 0
);

CREATE TABLE IF NOT EXISTS ID3_GENRES (
  id INTEGER PRIMARY KEY,
  descript TEXT NOT NULL COLLATE JETTEXT
);

CREATE TABLE IF NOT EXISTS INFO (
  name TEXT PRIMARY KEY,
  value TEXT NOT NULL DEFAULT ''
);

-- A file that leaves the library leaves its virtual folders too.
CREATE TRIGGER IF NOT EXISTS files_delete_vffiles AFTER DELETE ON FILES
BEGIN
  DELETE FROM VFFILES WHERE FL_ID = old.id;
END;
-- A deleted virtual folder takes its membership rows along.
CREATE TRIGGER IF NOT EXISTS vfolders_delete_vffiles AFTER DELETE ON VFOLDERS
BEGIN
  DELETE FROM VFFILES WHERE VF_ID = old.id;
END;
)SQL";

// Columns added after the first version, for libraries made before them.
struct AddedColumn {
    const char* table;
    const char* name;
    const char* definition;
};
const AddedColumn kAddedColumns[] = {
    {"FILES", "head_hash", "head_hash INTEGER"},
};

Status addMissingColumns(db::Database& db) {
    for (const AddedColumn& c : kAddedColumns) {
        Result<db::Recordset> r = db.prepare(
            QStringLiteral("select 1 from pragma_table_info('%1') where name='%2' collate nocase")
                .arg(QLatin1String(c.table), QLatin1String(c.name)));
        if (!r) return Status::failure(r.error());
        const bool present = r.value().next();
        r.value().close();
        if (present) continue;
        if (Status s =
                db.executeNative(QStringLiteral("alter table %1 add column %2")
                                     .arg(QLatin1String(c.table), QLatin1String(c.definition)));
            !s)
            return s;
    }
    return {};
}

} // namespace

const QStringList& Genres() {
    static const QStringList list = [] {
        QStringList l;
        for (int i = 0; i <= 147; ++i)
            l.append(QString::fromStdWString(TagLib::ID3v1::genre(i).toWString()));
        return l;
    }();
    return list;
}

int GenreNumber(const QString& name) {
    static const QHash<QString, int> byName = [] {
        QHash<QString, int> h;
        const QStringList& g = Genres();
        for (int i = 0; i < g.size(); ++i)
            h.insert(g[i].toCaseFolded(), i);
        return h;
    }();
    return byName.value(name.trimmed().toCaseFolded(), 255);
}

QString GenreName(int number) {
    const QStringList& g = Genres();
    return number >= 0 && number < g.size() ? g[number] : QString();
}

QList<QPair<QString, int>> GenreList(bool includeNone) {
    QList<QPair<QString, int>> list;
    const QStringList& g = Genres();
    for (int i = 0; i < g.size(); ++i)
        list.append({g[i], i});
    std::sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
        const int c = QString::compare(a.first, b.first, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.second < b.second;
    });
    if (includeNone) list.prepend({QString(), 255});
    return list;
}

Status ensure(db::Database& db) {
    db::Transaction tx(db);
    if (!tx.ok()) return tx.status();
    if (Status s = db.executeNative(QString::fromLatin1(kSchema)); !s) return s;
    if (Status s = addMissingColumns(db); !s) return s;
    Result<db::Recordset> count = db.prepare(QStringLiteral("select count(*) from ID3_GENRES"));
    if (!count) return Status::failure(count.error());
    count.value().next();
    if (count.value().integer(0) == 0) {
        Result<db::Recordset> ins =
            db.prepare(QStringLiteral("insert into ID3_GENRES(id, descript) values(?, ?)"));
        if (!ins) return Status::failure(ins.error());
        const QStringList& g = Genres();
        for (int i = 0; i < g.size(); ++i)
            if (Status s = ins.value().bind(1, i).bind(2, g[i]).execute(); !s) return s;
    }
    count.value().close();
    if (Status s = db.executeNative(
            QStringLiteral("insert or replace into INFO(name, value) values('schema', '%1')")
                .arg(kVersion));
        !s)
        return s;
    return tx.commit();
}

Status createTemplate(const QString& path) {
    const QString temp = path + QStringLiteral(".tmp");
    QFile::remove(temp);
    {
        Result<db::Database> d = db::Database::open(temp, db::Database::Mode::ReadWriteCreate);
        if (!d) return Status::failure(d.error());
        if (Status s = ensure(d.value()); !s) return s;
        // The template is one self-contained file: no WAL beside it.
        if (Status s =
                d.value().executeNative(QStringLiteral("pragma journal_mode=DELETE; vacuum"));
            !s)
            return s;
    }
    QFile::remove(path);
    if (!QFile::rename(temp, path))
        return Status::failure(QStringLiteral("cannot write %1").arg(path));
    return {};
}

} // namespace LibrarySchema
