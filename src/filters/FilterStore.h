#pragma once
// Smart filters in table MFILTERS: listing, reading, deleting, and saving by
// the editor's rules (name length, a valid read-only statement, asking before
// another filter of the same name is replaced, a rename keeping the id).
#include "core/Database.h"
#include "core/Result.h"
#include "filters/FilterGrid.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace filters {

struct FilterRecord {
    qint64 id = 0;
    QString name;
    QString fdata;
    QString qsql;
};

constexpr int MinNameLength = 3;

// Every filter, by name as the tree lists them.
Result<QList<FilterRecord>> ListFilters(db::Database& db);
Result<std::optional<FilterRecord>> FindFilter(db::Database& db, qint64 id);
Result<std::optional<FilterRecord>> FindFilterByName(db::Database& db, const QString& name);
// True when a row was deleted.
Result<bool> DeleteFilter(db::Database& db, qint64 id);

// The genre list of the editor: `anyText` with item data 255, then the genres by name.
Result<GenreList> LoadGenres(db::Database& db, const QString& anyText);

struct SaveRequest {
    qint64 currentId = 0; // the filter being edited, 0 for a new one
    QString name;         // as typed; trimmed here
    QString fdata;
    QString statement;
};

enum class SaveOutcome {
    Saved,
    NameTooShort, // language texts 157/158
    Invalid,      // language texts 155/156
    Declined,     // the replace question (159/160) was answered no
};

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::Saved;
    qint64 id = 0;  // the saved row
    QString reason; // why the statement is invalid
};

// Asked with the trimmed name when another filter already has it; true replaces.
using ReplaceQuestion = std::function<bool(const QString& name)>;

// Applies the save rules; a database failure while writing leaves the table as it was.
Result<SaveResult> SaveFilter(db::Database& db, const SaveRequest& request,
                              const ReplaceQuestion& replace);

// The editor's statement: the basic grid's, or in expert mode "select * from
// files" with " where " and the hand-written text when there is one.
QString ExpertStatement(const QString& whereText);

} // namespace filters
