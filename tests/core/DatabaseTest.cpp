// The SQLite wrapper: recordsets, errors, read-only checks, the Jet functions
// as SQL sees them, transactions and connections.
#include "core/Database.h"
#include "core/LibrarySchema.h"
#include "core/OleDate.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <thread>

namespace {

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.path() + QStringLiteral("/t.qvd");
        Result<db::Database> d = db::Database::open(path, db::Database::Mode::ReadWriteCreate);
        ASSERT_TRUE(d.ok()) << d.error().toStdString();
        conn = std::move(d).value();
        ASSERT_TRUE(conn.executeNative(QStringLiteral(
            "create table T(id integer primary key, name text collate JETTEXT, n integer, x real);"
            "insert into T values(1, 'Abba', 3, 1.5), (2, NULL, NULL, NULL), (3, 'abba', 7, 2.25),"
            "(4, 'Émile', 1, 0)")));
    }
    // The single value of a Jet expression.
    QString eval(const QString& expr) {
        Result<db::Recordset> r = conn.query(QStringLiteral("select ") + expr);
        EXPECT_TRUE(r.ok()) << expr.toStdString() << ": " << r.error().toStdString();
        if (!r || !r.value().next()) return QStringLiteral("<none>");
        return r.value().isNull(0) ? "<null>" : r.value().text(0);
    }
    QTemporaryDir dir;
    QString path;
    db::Database conn;
};

} // namespace

TEST_F(DatabaseTest, RecordsetReadsFieldsByNameAndIndexWithNullAsEmptyOrZero) {
    Result<db::Recordset> r = conn.query("select * from T order by id");
    ASSERT_TRUE(r.ok());
    db::Recordset& rs = r.value();
    EXPECT_EQ(rs.fieldCount(), 4);
    EXPECT_EQ(rs.fieldIndex("NAME"), 1);
    EXPECT_EQ(rs.fieldIndex("Name"), 1);
    EXPECT_EQ(rs.fieldIndex("missing"), -1);
    EXPECT_EQ(rs.fieldName(3), "x");
    EXPECT_TRUE(rs.eof());
    ASSERT_TRUE(rs.next());
    EXPECT_FALSE(rs.eof());
    EXPECT_EQ(rs.text("name"), "Abba");
    EXPECT_EQ(rs.integer(2), 3);
    EXPECT_DOUBLE_EQ(rs.number("X"), 1.5);
    ASSERT_TRUE(rs.next());
    EXPECT_TRUE(rs.isNull("name"));
    EXPECT_EQ(rs.text("name"), QString());
    EXPECT_EQ(rs.integer("n"), 0);
    EXPECT_EQ(rs.number("x"), 0.0);
    EXPECT_FALSE(rs.value(1).isValid());
    // A missing field reads as empty too.
    EXPECT_EQ(rs.text("missing"), QString());
    ASSERT_TRUE(rs.next());
    ASSERT_TRUE(rs.next());
    EXPECT_EQ(rs.text(1), "Émile");
    EXPECT_FALSE(rs.next());
    EXPECT_TRUE(rs.eof());
    EXPECT_TRUE(rs.error().isEmpty());
    EXPECT_FALSE(rs.next());
}

TEST_F(DatabaseTest, ErrorsCarrySqliteMessages) {
    Result<db::Recordset> bad = conn.query("select * from nosuchtable");
    ASSERT_FALSE(bad.ok());
    EXPECT_TRUE(bad.error().contains("no such table: nosuchtable")) << bad.error().toStdString();
    const Status s = conn.execute("insert into T(id) values(1)");
    ASSERT_FALSE(s.ok());
    EXPECT_TRUE(s.error().contains("UNIQUE")) << s.error().toStdString();
    EXPECT_FALSE(conn.prepare("select 1; select 2").ok());
    // A failing step reports through error().
    Result<db::Recordset> r = conn.query("select mid(name, 0) from T");
    ASSERT_TRUE(r.ok());
    EXPECT_FALSE(r.value().next());
    EXPECT_TRUE(r.value().error().contains("Mid")) << r.value().error().toStdString();
    // A file that is no database.
    const QString junk = dir.path() + QStringLiteral("/junk.qvd");
    {
        QFile f(junk);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    Result<db::Database> j = db::Database::open(junk);
    ASSERT_FALSE(j.ok());
    EXPECT_TRUE(j.error().contains("not a database")) << j.error().toStdString();
    EXPECT_FALSE(db::Database::open(dir.path() + QStringLiteral("/none.qvd")).ok());
}

TEST_F(DatabaseTest, TellsSingleReadOnlyStatements) {
    QString why;
    EXPECT_TRUE(conn.isSingleReadOnly("select * from T where name=\"Abba\""));
    EXPECT_TRUE(conn.isSingleReadOnly("select * from T;  "));
    // Jet has no comments: what follows the ";" is a second statement.
    EXPECT_FALSE(conn.isSingleReadOnly("select * from T;  -- done"));
    EXPECT_FALSE(conn.isSingleReadOnly("delete from T", &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_FALSE(conn.isSingleReadOnly("select * from T; delete from T", &why));
    EXPECT_FALSE(conn.isSingleReadOnly("update T set n=1"));
    for (const char* writer :
         {"insert into T (id) values (9)", "drop table T", "pragma user_version=7",
          "select * from T where 1=1 /* ; */ delete from T"})
        EXPECT_FALSE(conn.isSingleReadOnly(writer)) << writer;
    EXPECT_FALSE(conn.isSingleReadOnly("selec * from T", &why));
    EXPECT_TRUE(why.contains("syntax error"));
    EXPECT_FALSE(conn.isSingleReadOnly(QStringLiteral("")));
    // Nothing was changed by asking.
    EXPECT_EQ(eval("count(*) from T"), "4");
}

// What the function table's own cases leave out: functions inside larger
// expressions, operator precedence and the clock.
TEST_F(DatabaseTest, JetFunctionsAnswerAsJet) {
    const std::pair<const char*, const char*> cases[] = {
        {"strcomp('ABC','abc',0)", "-1"},
        {"strcomp('abc','ABC',1)", "0"},
        {"strcomp(NULL,'a',0)", "<null>"},
        {"val(128500/1000)", "128.5"},
        {"cdate('2024-03-02')", "45353.0"},
        {"format(45353.75,\"yyyy-MM-dd hh:nn\")", "2024-03-02 18:00"},
        {"format(1234.5,\"#,##0.00\")", "1,234.50"},
        {"cdate(format(45353.75,\"yyyy-MM-dd\"))=#2024-03-02#", "1"},
        {"left('Björk',3) & right('Björk',2)", "Björk"},
        {"year(#2024-03-02#) & '-' & month(45353) & '-' & day('2024-03-02')", "2024-3-2"},
        {"7 Mod 3", "1"},
        {"1 & 2 + 3", "15"},
        {"7/2", "3.5"},
        {"True", "1"},
        {"Now - 7 < Now", "1"},
    };
    for (const auto& [expr, expected] : cases)
        EXPECT_EQ(eval(expr), expected) << expr;
    // Now: a date near the current local time, in whole seconds.
    EXPECT_NEAR(eval("Now").toDouble(), OleDate::now(), 2.0 / 86400);
}

TEST_F(DatabaseTest, MinusMinusIsNoComment) {
    EXPECT_EQ(eval("5--3"), "8");
    EXPECT_EQ(eval("count(*) from T where n--1>3"), "2");
    EXPECT_EQ(eval("count(*) from T where n - -1 > 3"), "2");
    // "/*" is no comment either: a syntax error, as in Jet, not a shortened statement.
    EXPECT_FALSE(conn.query("select 6/*2").ok());
    EXPECT_FALSE(conn.query("select * from T /* all */").ok());
}

// The translator's refusals (its own test lists them) reach the caller.
TEST_F(DatabaseTest, UnterminatedLiteralsAndUnknownFunctionsAreRefused) {
    EXPECT_FALSE(conn.query("select * from T where name='Abba").ok());
    const Result<db::Recordset> r = conn.query("select Foo(name) from T");
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.error(), "unknown function Foo");
}

TEST_F(DatabaseTest, NullsJoinAsJetJoinsThem) {
    EXPECT_EQ(eval("'a' & Null"), "a");
    EXPECT_EQ(eval("Null & 'b' & Null"), "b");
    EXPECT_EQ(eval("Null & Null"), "<null>");
    EXPECT_EQ(eval("'a' + Null"), "<null>");
    // Per row: the Null name of row 2 joins as "".
    Result<db::Recordset> r = conn.query("select id & ':' & name & '/' & x from T order by id");
    ASSERT_TRUE(r.ok()) << r.error().toStdString();
    QStringList rows;
    while (r.value().next())
        rows << r.value().text(0);
    EXPECT_EQ(rows, (QStringList{"1:Abba/1.5", "2:/", "3:abba/2.25", "4:Émile/0"}));
}

TEST_F(DatabaseTest, FunctionsThatClashWithSqliteWordsAnswerAsJet) {
    // ISNULL is an SQLite operator; Jet's IsNull is a function.
    EXPECT_EQ(eval("count(*) from T where IsNull(name)"), "1");
    // SQLite's round and format would answer differently.
    EXPECT_EQ(eval("Round(2.5)"), "2");
    EXPECT_EQ(eval("Format(x, '0.00') from T where id=1"), "1.50");
    EXPECT_EQ(eval("Format(#2024-03-02#, 'Short Date')"), "3/2/2024");
    EXPECT_EQ(eval("Left$(name, 2) from T where id=1"), "Ab");
    // Asc is a function when called, a sort order otherwise.
    EXPECT_EQ(eval("Asc(name) from T where n > 0 order by id asc"), "65");
}

TEST_F(DatabaseTest, TextColumnsCompareAndSortAsJetText) {
    // "=" ignores case, LIKE too (accented letters included), strcomp(…,0) does not.
    EXPECT_EQ(eval("count(*) from T where name='ABBA'"), "2");
    EXPECT_EQ(eval("count(*) from T where name like '%ÉMI%'"), "1");
    EXPECT_EQ(eval("count(*) from T where strcomp(name,'abba',0)=0"), "1");
    Result<db::Recordset> r =
        conn.query("select name from T where name is not null order by name, id");
    ASSERT_TRUE(r.ok());
    QStringList order;
    while (r.value().next())
        order << r.value().text(0);
    EXPECT_EQ(order, (QStringList{"Abba", "abba", "Émile"}));
}

TEST_F(DatabaseTest, BindingAndTransactions) {
    Result<db::Recordset> ins = conn.prepare("insert into T(id, name, n, x) values(?, ?, ?, ?)");
    ASSERT_TRUE(ins.ok());
    {
        db::Transaction tx(conn);
        ASSERT_TRUE(tx.ok());
        ASSERT_TRUE(ins.value()
                        .bind(1, 10)
                        .bind(2, QStringLiteral("It's"))
                        .bind(3, 5)
                        .bind(4, 0.5)
                        .execute());
        // Destroyed without commit: rolled back.
    }
    EXPECT_EQ(eval("count(*) from T where id=10"), "0");
    {
        db::Transaction tx(conn);
        ASSERT_TRUE(ins.value()
                        .bind(1, 10)
                        .bind(2, QStringLiteral("It's"))
                        .bind(3, 5)
                        .bindNull(4)
                        .execute());
        ASSERT_TRUE(tx.commit());
    }
    EXPECT_EQ(conn.lastInsertId(), 10);
    EXPECT_EQ(eval("name from T where id=10"), "It's");
    EXPECT_EQ(eval("count(*) from T where x is null"), "2");
}

TEST_F(DatabaseTest, ConnectionsOfOtherThreadsSeeCommittedRowsInWal) {
    EXPECT_EQ(eval("journal_mode from pragma_journal_mode"), "wal");
    std::thread writer([this] {
        Result<db::Database> other = db::Database::open(path);
        ASSERT_TRUE(other.ok());
        db::Transaction tx(other.value());
        ASSERT_TRUE(other.value().execute("insert into T(id, name) values(20, \"from thread\")"));
        ASSERT_TRUE(tx.commit());
    });
    writer.join();
    EXPECT_EQ(eval("name from T where id=20"), "from thread");
}

TEST(LibrarySchema, TemplateHoldsTheTablesAndTheStandardGenres) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/data.blk");
    ASSERT_TRUE(LibrarySchema::createTemplate(path).ok());
    // One self-contained file.
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-wal")));
    Result<db::Database> d = db::Database::open(path, db::Database::Mode::ReadOnly);
    ASSERT_TRUE(d.ok());
    for (const char* table :
         {"FILES", "VFFILES", "VFOLDERS", "MFILTERS", "MMFOLDERS", "ID3_GENRES"}) {
        Result<db::Recordset> r =
            d.value().query(QStringLiteral("select * from %1").arg(QLatin1String(table)));
        EXPECT_TRUE(r.ok()) << table;
    }
    Result<db::Recordset> g = d.value().query("select min(id), max(id), count(*) from ID3_GENRES");
    ASSERT_TRUE(g.ok() && g.value().next());
    EXPECT_EQ(g.value().integer(0), 0);
    EXPECT_EQ(g.value().integer(1), 147);
    EXPECT_EQ(g.value().integer(2), 148);
    Result<db::Recordset> rock = d.value().query("select descript from ID3_GENRES where id=17");
    ASSERT_TRUE(rock.ok() && rock.value().next());
    EXPECT_EQ(rock.value().text(0), "Rock");
    // VFFILES has no id column, so joins keep FILES.id.
    Result<db::Recordset> vf = d.value().query("select * from VFFILES");
    EXPECT_EQ(vf.value().fieldIndex("id"), -1);
    EXPECT_EQ(LibrarySchema::GenreNumber("  rock "), 17);
    EXPECT_EQ(LibrarySchema::GenreNumber("Chiptune"), 255);
    EXPECT_EQ(LibrarySchema::GenreNumber(QString()), 255);
    EXPECT_EQ(LibrarySchema::GenreName(0), "Blues");
    EXPECT_EQ(LibrarySchema::GenreName(148), QString());
    EXPECT_EQ(LibrarySchema::GenreName(255), QString());
    const auto list = LibrarySchema::GenreList(true);
    ASSERT_EQ(list.size(), 149);
    EXPECT_EQ(list[0].second, 255);
    EXPECT_EQ(list[1].first, "A Cappella");
    // Sorted by name, and every name leads back to its number.
    for (int i = 2; i < list.size(); ++i) {
        EXPECT_LE(QString::compare(list[i - 1].first, list[i].first, Qt::CaseInsensitive), 0);
        EXPECT_EQ(LibrarySchema::GenreName(list[i].second), list[i].first);
    }
}
