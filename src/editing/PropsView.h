#pragma once
// What the properties dialog shows for one file, composed without widgets so
// that the dialog and "qvr props" show the same: the tabs that apply, the file
// facts read from the file system, the tag fields, the genre entry and the
// library facts.
#include "components/FileRecord.h"

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>

class MediaLibrary;

namespace props {

// The file facts the file system gives; exists is false when it gives none.
struct DiskFacts {
    bool exists = false;
    qint64 size = 0;
    QDateTime created, modified, accessed;
};
// Read from the raw file name (library text form, see FileNameCodec). The
// creation time is the birth time where the file system keeps one, else the
// time of the last status change.
DiskFacts ReadDiskFacts(const QString& fullPath);

// The short size text, followed by " (" + the bytes in plain digits + " bytes)"
// from 1024 bytes on.
QString SizeText(qint64 bytes);
// As SizeText, with the bytes grouped by the locale (the selection summary).
QString GroupedSizeText(double bytes, const QLocale& locale = QLocale());
// The long date format of the locale; "" for an invalid date.
QString LongDate(const QDateTime& when, const QLocale& locale);
// The locale of the application's current language (the default one without).
QLocale CurrentLocale();
// The folder part of a full path (without the file name and separator).
QString FolderOf(const QString& fullPath);

struct PropsView {
    FileRecord file;
    bool tagTab = false;     // "Id3/Tag": only for type "MP3" or "WMA" exactly
    bool libraryTab = false; // "Library": only for files in the library
    QString iconKey;         // the lower-case type
    QString fileName, location, type;
    QString coverPath; // the picture the library offers, or ""
    QString size, created, modified, accessed;
    QString title, artist, album, year, track, genre;
    QString bitrate, frequency, duration;
    int genreIndex = 0; // in TagService::GenreList(true)
    int rating = 0;     // index in the rating list
    QString added, updated, playCount;
};

// Fills the view from a record read by GetFileRecord.
PropsView Describe(MediaLibrary& library, const FileRecord& record,
                   const QLocale& locale = CurrentLocale());

// The rating names, index = rating (language texts 14 down to 9).
QStringList RatingNames();

} // namespace props
