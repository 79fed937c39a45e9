#pragma once
// The nodes of the library tree, built from the database: the library by artist
// and album, the filters, the ratings, the virtual folders and the audio CDs.
// The widget shows them; the command line prints them.
#include "library/NodeQuery.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace db {
class Database;
}
class VirtualFolderStore;

struct TreeNode {
    QString key;
    QString parentKey; // empty for a top-level node
    QString text;
    QString image;
    QString selectedImage;
    QString tag;
    bool replacementText = false; // an empty tag's stand-in text, drawn in blue
};

// Sections of MakeTree.
namespace TreeSection {
constexpr int All = 0;
constexpr int Library = 1;
constexpr int Filters = 2;
constexpr int Ratings = 3;
constexpr int VirtualFolders = 4;
constexpr int AudioCds = 5;
} // namespace TreeSection

// The texts the tree takes from the language and the View menu.
struct TreeTexts {
    QString library = QStringLiteral("Library");
    QString filters = QStringLiteral("Filters");
    QString ratings = QStringLiteral("Rating");
    QString virtualFolders = QStringLiteral("My Virtual Folders");
    QString mostPlayed = QStringLiteral("Most Played");
    QStringList ratingNames; // rating 5 down to 0; "5".."0" when empty
    QString audioCds = QStringLiteral("Audio CDs");
    EmptyTagTexts empty{QStringLiteral("(Unknown)"), QStringLiteral("(Unknown)")};
};

class clsMUI;

namespace LibraryTree {

// The texts of the current language: branch captions from the main window's
// View menu entries, numbered texts for the rest.
TreeTexts TextsFrom(const clsMUI& lang);

extern const char* const LibraryQuery;    // every file by artist and album
extern const char* const MostPlayedQuery; // the 20 latest played, by play count
extern const char* const FiltersQuery;    // saved filters by name

// Each branch: its root first, then parents before their children. Artists are
// sorted by text; albums keep the order of the query.
QList<TreeNode> LibraryBranch(db::Database& db, const TreeTexts& texts);
QList<TreeNode> FiltersBranch(db::Database& db, const TreeTexts& texts);
QList<TreeNode> RatingsBranch(const TreeTexts& texts);
QList<TreeNode> VirtualFoldersBranch(const VirtualFolderStore& folders, const TreeTexts& texts);
// One node per audio-CD drive name; no nodes when there are none.
QList<TreeNode> AudioCdBranch(const QStringList& driveNames, const TreeTexts& texts);

// The status-bar description of a node, from its own text and its parent's.
QString Description(const QString& key, const QString& text, const QString& parentText,
                    const std::function<QString(int, const QStringList&)>& langText);

} // namespace LibraryTree
