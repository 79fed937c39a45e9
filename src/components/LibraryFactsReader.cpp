#include "components/LibraryFactsReader.h"

#include "core/Database.h"

#include <QFileInfo>

LibraryFacts ReadLibraryFacts(const QString& dataFolder, const QString& databasePath) {
    LibraryFacts facts;
    facts.dataFolder = dataFolder;
    const QFileInfo file(databasePath);
    if (databasePath.isEmpty() || !file.isFile()) return facts;
    facts.databasePath = databasePath;
    facts.databaseSize = file.size();
    Result<db::Database> database = db::Database::open(databasePath, db::Database::Mode::ReadOnly);
    if (!database.ok()) return facts;
    Result<db::Recordset> count =
        database.value().query(QStringLiteral("select count(*) from files"));
    if (count.ok() && count.value().next()) facts.fileCount = count.value().integer(0);
    return facts;
}
