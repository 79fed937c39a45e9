// Artists and albums with quotes in their names list their files.
#include "core/Formatting.h"
#include "library/NodeKeys.h"
#include "library/NodeQuery.h"
#include "library/QuickSearch.h"
#include "support/LibraryFixture.h"

namespace {

const EmptyTagTexts kEmpty{"[unknown]", "[unknown]"};

class QuotedNodeTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        Result<db::Recordset> ins = conn().prepare(QStringLiteral(
            "insert into FILES(fullpath, filename, md_artist, md_album) values(?, ?, ?, ?)"));
        ASSERT_TRUE(ins.ok()) << ins.error().toStdString();
        const char* rows[][3] = {
            {"q1.mp3", "The \"Best\" Band", "Live \"Loud\""},
            {"q2.mp3", "The \"Best\" Band", "It's \"Quiet\""},
            {"q3.mp3", "The ''Best'' Band", "Live \"Loud\""},
            {"q4.mp3", "The \"\"Best\"\" Band", "Live"},
        };
        for (const auto& r : rows) {
            const QString name = QString::fromUtf8(r[0]);
            ASSERT_TRUE(ins.value()
                            .bind(1, QStringLiteral("/music/") + name)
                            .bind(2, name)
                            .bind(3, QString::fromUtf8(r[1]))
                            .bind(4, QString::fromUtf8(r[2]))
                            .execute());
        }
    }
    QStringList names(const QString& sql) {
        return rows(
            sql + (sql.contains(QLatin1String("order by")) ? QString() : " order by filename"),
            {"filename"});
    }
};

} // namespace

TEST_F(QuotedNodeTest, ArtistAndAlbumNodesWithQuotesListTheirFiles) {
    const QString best = "The \"Best\" Band";
    EXPECT_EQ(names(BuildNodeQuery(NodeKeys::artistKey(best), {}, kEmpty).sql),
              (QStringList{"q1.mp3", "q2.mp3"}));
    EXPECT_EQ(names(BuildNodeQuery(NodeKeys::albumKey(best, "Live \"Loud\""), {}, kEmpty).sql),
              QStringList{"q1.mp3"});
    EXPECT_EQ(names(BuildNodeQuery(NodeKeys::albumKey(best, "It's \"Quiet\""), {}, kEmpty).sql),
              QStringList{"q2.mp3"});
    // Doubled quotes in a tag are two quotes, and match only themselves.
    EXPECT_EQ(names(BuildNodeQuery(NodeKeys::artistKey("The \"\"Best\"\" Band"), {}, kEmpty).sql),
              QStringList{"q4.mp3"});
    EXPECT_EQ(names(BuildNodeQuery(NodeKeys::artistKey("The ''Best'' Band"), {}, kEmpty).sql),
              QStringList{"q3.mp3"});
}

TEST_F(QuotedNodeTest, DoubleQuotedLiteralsTakeDoubledQuotesAsOne) {
    // A Jet "…" literal: "" inside is one quote, an apostrophe stays one.
    EXPECT_EQ(names(QStringLiteral("select * from files where md_artist=") +
                    mainMod::QuoteText("The \"Best\" Band")),
              (QStringList{"q1.mp3", "q2.mp3"}));
    EXPECT_EQ(names("select * from files where md_album=\"It's \"\"Quiet\"\"\""),
              QStringList{"q2.mp3"});
    // Between apostrophes Jet keeps "" as two quotes.
    EXPECT_EQ(names("select * from files where md_artist='The \"\"Best\"\" Band'"),
              QStringList{"q4.mp3"});
}

TEST_F(QuotedNodeTest, QuickSearchFindsQuotedWords) {
    // One quote stays one: "best" is found inside ""Best"" too, but not only there.
    EXPECT_EQ(names(QuickSearch::Sql("\"best\"")), (QStringList{"q1.mp3", "q2.mp3", "q4.mp3"}));
    EXPECT_EQ(names(QuickSearch::Sql("it's \"quiet")), QStringList{"q2.mp3"});
}
