#pragma once
// A fresh library database in a temporary folder, opened by a MediaLibrary,
// with a media folder "music/" beside it.
#include "components/MediaLibrary.h"
#include "support/AudioFixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

class LibraryTest : public ::testing::Test {
protected:
    LibraryTest();
    ~LibraryTest() override;
    void SetUp() override;

    QString dir() const { return m_dir.path(); }
    QString music() const { return m_dir.path() + QStringLiteral("/music"); }
    QString dbPath() const { return m_dir.path() + QStringLiteral("/data.qvd"); }
    db::Database& conn() { return lib.Connection(); }

    // Scans synchronously on the library's connection.
    ScanCounts scan(const QString& folder = QString());
    // Adds music() as media folder.
    void addMusicFolder();
    // Rows of a Jet statement, each row's columns joined by "|".
    QStringList rows(const QString& jetSql, const QStringList& columns);
    // Id of the row with that file name, 0 when none.
    qint32 idOf(const QString& fileName);

    QTemporaryDir m_dir;
    MediaLibrary lib;
};
