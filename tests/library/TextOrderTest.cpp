// Tree nodes and sorted list columns follow the database's text order, so that
// artists, albums and sorted columns agree: accents beside their plain letters,
// letter case ignored.
#include "core/Database.h"
#include "core/LibrarySchema.h"
#include "library/FileList.h"
#include "library/FileListModel.h"
#include "library/LibraryTree.h"
#include "library/ListColumns.h"
#include "library/NodeKeys.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(TextOrder, TreeAndListSortAsTheDatabaseDoes) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/data.qvd";
    ASSERT_TRUE(LibrarySchema::createTemplate(path).ok());
    Result<db::Database> d = db::Database::open(path);
    ASSERT_TRUE(d.ok());
    db::Database& db = d.value();
    const QStringList artists = {"Zaz", "Édith Piaf", "abba", "Bob", "edith", "Ölmann", "Oasis"};
    int n = 0;
    for (const QString& artist : artists)
        ASSERT_TRUE(db.execute(QStringLiteral("insert into files(fullpath, filename, md_artist, "
                                              "md_album) values('/m/%1.mp3', '%1.mp3', \"%2\", "
                                              "\"%3\")")
                                   .arg(++n)
                                   .arg(artist, artist == "Zaz" ? "Été" : "Ensemble")));

    // The database's own order of the artists.
    QStringList expected;
    Result<db::Recordset> r = db.query("select distinct md_artist from files order by md_artist");
    ASSERT_TRUE(r.ok());
    while (r.value().next())
        expected << r.value().text(0);
    EXPECT_EQ(expected,
              QStringList({"abba", "Bob", "edith", "Édith Piaf", "Oasis", "Ölmann", "Zaz"}));

    QStringList tree;
    for (const TreeNode& node : LibraryTree::LibraryBranch(db, TreeTexts{}))
        if (NodeKeys::prefixOf(node.key) == NodeKeys::ArtistPrefix) tree << node.text;
    EXPECT_EQ(tree, expected);

    FileListModel model;
    model.setColumns({0, ListColumns::Artist});
    FileList list(model);
    list.FillList(db, "select * from files", 1);
    model.sortBySection(1, Qt::AscendingOrder);
    QStringList sorted;
    for (int row = 0; row < model.rowCount(); ++row)
        sorted << model.text(row, 1);
    EXPECT_EQ(sorted, expected);
}
