// Save rules against a real library, and filter statements that try to write.
#include "filters/FilterStore.h"
#include "filters/FilterCompiler.h"
#include "filters/FilterData.h"
#include "filters/FilterQuery.h"
#include "library/FileList.h"
#include "library/NodeQuery.h"
#include "support/LibraryFixture.h"

#include <QFile>

using namespace filters;

namespace {

class FilterStoreTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        addMusicFolder();
        ASSERT_TRUE(fixtures::WriteMp3(music() + "/a.mp3", fixtures::ArtistOnly("A")));
        ASSERT_TRUE(fixtures::WriteWav(music() + "/b.wav"));
        scan();
    }

    SaveRequest request(const QString& name, const QString& statement, qint64 id = 0) {
        return {id, name, EncodeGrid(FilterGrid::reset(QDateTime::currentDateTime())), statement};
    }

    SaveResult save(const SaveRequest& r, bool answer = false, int* asked = nullptr) {
        Result<SaveResult> s = SaveFilter(conn(), r, [&](const QString&) {
            if (asked) ++*asked;
            return answer;
        });
        EXPECT_TRUE(s.ok()) << s.error().toStdString();
        return s ? s.value() : SaveResult{};
    }

    QStringList table() {
        return rows("select * from MFILTERS order by id", {"id", "DESCRIPT", "QSQL"});
    }

    QByteArray libraryBytes() {
        QByteArray all;
        for (const char* suffix : {"", "-wal"}) {
            QFile f(dbPath() + QLatin1String(suffix));
            if (f.open(QIODevice::ReadOnly)) all += f.readAll();
        }
        return all;
    }

    const QString mp3s = "select * from files where (type=\"MP3\")";
};

} // namespace

TEST_F(FilterStoreTest, SavesNewFiltersAndRefusesShortNamesAndBadStatements) {
    EXPECT_EQ(save(request("  ab  ", mp3s)).outcome, SaveOutcome::NameTooShort);
    EXPECT_EQ(save(request("Bad", "select * from files where nosuchcolumn=1")).outcome,
              SaveOutcome::Invalid);
    // Every column the file list needs must be there.
    EXPECT_EQ(save(request("Bad", "select id, filename from files")).outcome, SaveOutcome::Invalid);
    EXPECT_EQ(save(request("Bad", ExpertStatement("((("))).outcome, SaveOutcome::Invalid);
    EXPECT_TRUE(table().isEmpty());

    const SaveResult s = save(request("  MP3 only ", mp3s));
    ASSERT_EQ(s.outcome, SaveOutcome::Saved);
    EXPECT_EQ(table(), QStringList{QStringLiteral("%1|MP3 only|%2").arg(s.id).arg(mp3s)});
    Result<std::optional<FilterRecord>> back = FindFilter(conn(), s.id);
    ASSERT_TRUE(back.ok() && back->has_value());
    EXPECT_EQ((*back)->fdata.count("\r\n"), 37);
    EXPECT_EQ(rows((*back)->qsql, {"filename"}), QStringList{"a.mp3"});
    Result<QList<FilterRecord>> all = ListFilters(conn());
    ASSERT_TRUE(all.ok());
    EXPECT_EQ(all->size(), 1);
}

TEST_F(FilterStoreTest, SameNameAsksBeforeReplacing) {
    const qint64 first = save(request("Rock", mp3s)).id;
    int asked = 0;
    const QStringList before = table();
    // Names compare as the database compares text: letter case aside.
    EXPECT_EQ(save(request("rock", ExpertStatement("type=\"WAV\"")), false, &asked).outcome,
              SaveOutcome::Declined);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(table(), before);

    const SaveResult replaced =
        save(request("rock", ExpertStatement("type=\"WAV\"")), true, &asked);
    EXPECT_EQ(replaced.outcome, SaveOutcome::Saved);
    EXPECT_NE(replaced.id, first);
    EXPECT_EQ(table(), QStringList{QStringLiteral("%1|rock|select * from files where "
                                                  "type=\"WAV\"")
                                       .arg(replaced.id)});

    // Saving the filter being edited under its own name updates it without asking.
    asked = 0;
    EXPECT_EQ(save(request("ROCK", mp3s, replaced.id), false, &asked).id, replaced.id);
    EXPECT_EQ(asked, 0);
}

TEST_F(FilterStoreTest, RenameKeepsTheIdAndReplacingLeavesTheEditedFilter) {
    const qint64 a = save(request("First", mp3s)).id;
    const qint64 b = save(request("Second", mp3s)).id;
    EXPECT_EQ(save(request("Renamed", mp3s, a)).id, a);
    EXPECT_EQ(table().size(), 2);
    // Editing "Renamed" and saving it as "Second": "Second" is replaced by a new
    // row, "Renamed" stays.
    const SaveResult s = save(request("Second", ExpertStatement(""), a), true);
    EXPECT_NE(s.id, a);
    EXPECT_NE(s.id, b);
    EXPECT_EQ(table(), (QStringList{QStringLiteral("%1|Renamed|%2").arg(a).arg(mp3s),
                                    QStringLiteral("%1|Second|select * from files").arg(s.id)}));
    // The edited filter is gone meanwhile: its save adds a new row.
    ASSERT_TRUE(DeleteFilter(conn(), a).value());
    EXPECT_FALSE(DeleteFilter(conn(), a).value());
    EXPECT_GT(save(request("Renamed again", mp3s, a)).id, s.id);
}

TEST_F(FilterStoreTest, ExpertStatementWithTheBasicGrid) {
    FilterGrid g = FilterGrid::reset(QDateTime(QDate(2024, 3, 2), QTime(15, 0)));
    g.rows[Row::DateAdded].op = 1;
    const GenreList genres{{255, "any"}};
    const QString compiled = Compile(g, genres);
    EXPECT_TRUE(compiled.contains("=#2024-03-02#"));
    SaveRequest r{0, "Expert", EncodeGrid(g), ExpertStatement("  filename like \"b%\"  ")};
    const SaveResult s = save(r);
    ASSERT_EQ(s.outcome, SaveOutcome::Saved);
    const FilterRecord f = FindFilter(conn(), s.id).value().value();
    EXPECT_EQ(f.qsql, "select * from files where filename like \"b%\"");
    EXPECT_EQ(rows(f.qsql, {"filename"}), QStringList{"b.wav"});
    EXPECT_TRUE(f.fdata.contains(QStringLiteral("dtI*0") + QChar(u'\0') + "45354"));
    const FilterGrid back = DecodeGrid(f.fdata, FilterGrid::reset(QDateTime::currentDateTime()));
    EXPECT_EQ(back.rows[Row::DateAdded].op, 1);
}

TEST_F(FilterStoreTest, FilterStatementsCannotChangeTheLibrary) {
    save(request("Keep me", mp3s));
    const QString other = dir() + "/other.qvd";
    const QStringList writers = {
        "delete from files",
        "update files set rating=5",
        "insert into mfilters (descript) values ('x')",
        "drop table files",
        "pragma user_version=7",
        "pragma user_version",
        "attach database '" + other + "' as x",
        "select * from files; delete from files",
        "select * from files;delete from mfilters;",
        "select * from files where 1=1 --\n; delete from files",
        "select * from files where 1=1 /* ; */ delete from files",
        "select * from files where id in (select id from files) -- ; drop table files",
        "with x as (select 1) delete from files",
        "select load_extension('x') from files",
        "SELECT * FROM files\n;\ndrop table files",
        "",
    };
    conn().executeNative("pragma wal_checkpoint(TRUNCATE)");
    const QByteArray before = libraryBytes();
    for (const QString& sql : writers) {
        EXPECT_FALSE(QueryReadOnly(conn(), sql).ok()) << sql.toStdString();
        EXPECT_FALSE(ValidateStatement(conn(), sql).ok()) << sql.toStdString();
        EXPECT_EQ(save(request("Evil", sql)).outcome, SaveOutcome::Invalid) << sql.toStdString();
    }
    EXPECT_EQ(libraryBytes(), before);
    EXPECT_FALSE(QFile::exists(other));
    EXPECT_EQ(table().size(), 1);
    EXPECT_EQ(rows("select count(*) as n from files", {"n"}), QStringList{"2"});
    // Reading still works on the same connection afterwards.
    EXPECT_TRUE(ValidateStatement(conn(), mp3s).ok());
    EXPECT_TRUE(conn().execute("update files set rating=1").ok());
}

TEST_F(FilterStoreTest, FilterNodesListOnlyWithReadingStatements) {
    FileListModel model;
    FileList list(model);
    const NodeQuery good = BuildNodeQuery("_flt1", mp3s, {});
    FileList::Outcome o = list.FillList(conn(), good.sql, good.mode);
    EXPECT_TRUE(o.error.isEmpty()) << o.error.toStdString();
    EXPECT_EQ(o.count, 1);
    // A writer stored in MFILTERS by other means is refused, also on a refresh.
    const NodeQuery bad = BuildNodeQuery("_flt2", "delete from files", {});
    o = list.FillList(conn(), bad.sql, bad.mode);
    EXPECT_FALSE(o.error.isEmpty());
    o = list.FillList(conn(), FileList::LastQuery, ListMode::Keep);
    EXPECT_FALSE(o.error.isEmpty());
    EXPECT_EQ(rows("select count(*) as n from files", {"n"}), QStringList{"2"});
}
