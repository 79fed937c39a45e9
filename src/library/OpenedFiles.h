#pragma once
// Files handed to the program on its command line, as a desktop's "Open with"
// does: sorted into those the library knows and those it lacks, with the
// folders that would have to become media folders to take the latter in.
#include <QString>
#include <QStringList>

class MediaLibrary;

struct OpenedFiles {
    QStringList known;   // playable files the library holds (full paths)
    QStringList outside; // playable files it does not hold
    QStringList folders; // the folders of `outside` that no media folder covers, each once
};

// Arguments that are not playable audio files (options, missing paths,
// programs named like audio) are left out; relative paths are taken from the
// current folder.
OpenedFiles SortOpenedFiles(MediaLibrary& library, const QStringList& arguments);
