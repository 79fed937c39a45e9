#pragma once
// The query behind a selected tree node.
#include <QString>

// List modes of a fill: 0 keeps the current one.
namespace ListMode {
constexpr int Keep = 0;
constexpr int Library = 1;
constexpr int Filter = 2;
constexpr int Rating = 3;
constexpr int VirtualFolder = 4;
constexpr int Search = 5;
} // namespace ListMode

struct NodeQuery {
    QString sql; // empty: the list is left as it is
    int mode = ListMode::Library;
    bool virtualFolderEntries = false; // the list menu's folder-only entries apply
    int audioCd = 0;                   // for an audio-CD node: its number
};

struct EmptyTagTexts {
    QString artist; // shown for an empty artist tag
    QString album;  // shown for an empty album tag
};

// key: the node's key; tag: the node's tag (a filter's query).
NodeQuery BuildNodeQuery(const QString& key, const QString& tag, const EmptyTagTexts& empty);

// The conditions that match one artist or album text exactly (letter case
// included); the replacement text for empty tags matches blank tags.
QString ArtistCondition(const QString& artistText, const EmptyTagTexts& empty);
QString AlbumCondition(const QString& albumText, const EmptyTagTexts& empty);
